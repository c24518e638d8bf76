#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The SOAP 1.1 envelopes of retornaUltimoIndiceSELIC, document style, UTF-8. The argument
// ultimaDataSelic and the result retornaUltimoIndiceSELICReturn are unqualified.

// The request. The service declares its argument a required string that may not be nil, so
// an empty table's last date goes as an empty element.
QByteArray montaPedidoSoap(const QByteArray& espacoNomes, const QString& ultimaDataSelic);

struct RespostaSoap {
    // The result text; none when the element is missing or nil.
    std::optional<QString> resultado;
    bool falha = false;
    QString codigoFalha;
    QString textoFalha;
};

// Reads an answer envelope. Throws FalhaServico (RESPOSTA_INVALIDA) when it is not one.
RespostaSoap leRespostaSoap(const QByteArray& corpo);
