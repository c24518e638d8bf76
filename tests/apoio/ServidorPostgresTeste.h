#pragma once

// A PostgreSQL server the tests start themselves: initdb into a temporary folder and
// pg_ctl on a free loopback port (127.0.0.1 only), stopped when the object goes. The
// server runs as the unprivileged user "nobody" when the tests run as the system's
// administrator, as PostgreSQL refuses to run as root. Its one user, "belqor", logs in over
// TCP with a password (SCRAM), which the tests' processes find in the password file
// arquivoSenhas() names (set it as PGPASSFILE).
//
// The binaries are taken from BELQOR_PG_BIN when set, else from the newest
// /usr/lib/postgresql/N/bin (Debian's place), else from PATH. When the server cannot be
// started, erro() says why and the tests that need it fail with that message.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class ServidorPostgresTeste {
public:
    ServidorPostgresTeste();
    ~ServidorPostgresTeste();
    ServidorPostgresTeste(const ServidorPostgresTeste&) = delete;
    ServidorPostgresTeste& operator=(const ServidorPostgresTeste&) = delete;

    // Empty while the server serves.
    const QString& erro() const { return fErro; }
    int porta() const { return fPorta; }
    static QString usuario() { return QStringLiteral("belqor"); }
    // The PostgreSQL password file with the user's password.
    QString arquivoSenhas() const;

    // Creates an empty database; gives its address for BELQOR_HISTORICO
    // (postgresql://belqor@127.0.0.1:porta/nome), or an empty text after setting erro().
    QString criaBanco(const QString& nome);

    // A loopback port nothing listens on at the moment it is asked.
    static int portaLivre();

private:
    bool executa(const QString& programa, const QStringList& argumentos, bool comoServidor,
                 int esperaMs = 60000);
    QString binario(const QString& nome) const;

    QTemporaryDir fPasta;
    QString fBinarios;
    QString fDados;
    int fPorta = 0;
    bool fNoAr = false;
    QString fErro;
};
