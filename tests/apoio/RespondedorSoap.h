#pragma once

#include "apoio/ServidorHttpTeste.h"

#include <QMutex>
#include <QStringList>

#include <optional>

// Plays the rate service behind a ServidorHttpTeste: it checks each request it receives
// (POST, text/xml in UTF-8, empty SOAP action, the envelope of retornaUltimoIndiceSELIC
// with its unqualified ultimaDataSelic, a string that may be empty but not nil) and answers
// as told. A wrong request is recorded
// in problemas() and answered with status 400.
class RespondedorSoap {
public:
    explicit RespondedorSoap(QString espacoNomes);

    void respondeDocumento(const QString& documento);
    // The result element with xsi:nil.
    void respondeNulo();
    // The response element without the result element, which is optional.
    void respondeAusente();
    // A SOAP fault with status 500.
    void respondeFalha(const QString& codigo, const QString& texto);
    // Any status and body as they are.
    void respondeCru(int status, const QByteArray& corpo);

    // Called on the server's thread.
    RespostaHttpTeste responde(const PedidoHttp& pedido);
    ServidorHttpTeste::Respondedor respondedor() {
        return [this](const PedidoHttp& pedido) { return responde(pedido); };
    }

    QStringList problemas() const;
    // ultimaDataSelic of each request; none for a request that could not be read.
    QList<std::optional<QString>> datasRecebidas() const;

private:
    QString fEspacoNomes;
    mutable QMutex fTrava;
    RespostaHttpTeste fResposta;
    QStringList fProblemas;
    QList<std::optional<QString>> fDatas;
};
