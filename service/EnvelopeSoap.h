#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The SOAP 1.1 envelopes of retornaUltimoIndiceSELIC, document style, UTF-8. The argument
// ultimaDataSelic and the result retornaUltimoIndiceSELICReturn are unqualified.

// The request; an absent date goes as a nil argument.
QByteArray montaPedidoSoap(const QByteArray& espacoNomes,
                           const std::optional<QString>& ultimaDataSelic);

struct RespostaSoap {
    // The result text; none when the element is missing or nil.
    std::optional<QString> resultado;
    bool falha = false;
    QString codigoFalha;
    QString textoFalha;
};

// Reads an answer envelope. Throws FalhaServico (RESPOSTA_INVALIDA) when it is not one.
RespostaSoap leRespostaSoap(const QByteArray& corpo);
