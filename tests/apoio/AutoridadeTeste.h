#pragma once

#include "apoio/ServidorHttpTeste.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A certificate authority made for one test run with the openssl tool, and the server
// identities it signs. Nothing is trusted outside the test that passes its file.
class AutoridadeTeste {
public:
    AutoridadeTeste();

    // Empty when the authority was made; otherwise what went wrong.
    const QString& erro() const { return fErro; }
    // The authority's certificate in PEM, to be given as the trusted file.
    QString arquivoCertificado() const;
    // A server identity for these subject alternative names ("IP:127.0.0.1",
    // "DNS:outro.exemplo"); empty fields and erro() set when it fails.
    IdentidadeTls emite(const QString& nomesAlternativos = QStringLiteral("IP:127.0.0.1"));

private:
    bool openssl(const QStringList& argumentos);

    QTemporaryDir fPasta;
    QString fErro;
    int fEmitidos = 0;
};
