#include "apoio/ServidorPostgresTeste.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QVersionNumber>

#include <grp.h>
#include <unistd.h>

namespace {

constexpr uid_t Nobody = 65534;
constexpr gid_t Nogroup = 65534;
const QString Senha = QStringLiteral("senha-de-teste");

bool comoAdministrador() {
    return ::geteuid() == 0;
}

// The folder of the newest PostgreSQL server Debian installed.
QString pastaDebian() {
    QString escolhida;
    QVersionNumber maior;
    const QDir raiz(QStringLiteral("/usr/lib/postgresql"));
    for (const QString& versao : raiz.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = raiz.filePath(versao + QStringLiteral("/bin"));
        const QVersionNumber numero = QVersionNumber::fromString(versao);
        if (QFileInfo(bin + QStringLiteral("/initdb")).isExecutable() && numero > maior) {
            maior = numero;
            escolhida = bin;
        }
    }
    return escolhida;
}

bool grava(const QString& caminho, const QByteArray& bytes, QFile::Permissions permissoes) {
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() &&
           f.setPermissions(permissoes);
}

} // namespace

ServidorPostgresTeste::ServidorPostgresTeste() {
    fBinarios = qEnvironmentVariable("BELQOR_PG_BIN");
    if (fBinarios.isEmpty())
        fBinarios = pastaDebian();
    if (binario(QStringLiteral("initdb")).isEmpty() ||
        binario(QStringLiteral("pg_ctl")).isEmpty()) {
        fErro = QStringLiteral("o servidor PostgreSQL não está instalado (initdb e pg_ctl não "
                               "foram encontrados; no Debian, pacote postgresql)");
        return;
    }
    if (!fPasta.isValid()) {
        fErro = QStringLiteral("pasta temporária: %1").arg(fPasta.errorString());
        return;
    }
    // The server's own folder, where nobody may write when the tests are root.
    const QString servidor = fPasta.filePath(QStringLiteral("servidor"));
    fDados = servidor + QStringLiteral("/dados");
    const QString arquivoSenha = servidor + QStringLiteral("/senha");
    if (!QDir().mkpath(servidor) ||
        !grava(arquivoSenha, Senha.toUtf8() + '\n', QFile::ReadOwner | QFile::WriteOwner) ||
        !grava(arquivoSenhas(), QStringLiteral("*:*:*:%1:%2\n").arg(usuario(), Senha).toUtf8(),
               QFile::ReadOwner | QFile::WriteOwner)) {
        fErro = QStringLiteral("não foi possível preparar a pasta %1").arg(servidor);
        return;
    }
    if (comoAdministrador() &&
        (::chown(QFile::encodeName(fPasta.path()).constData(), 0, Nogroup) != 0 ||
         !QFile::setPermissions(fPasta.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ExeGroup) ||
         ::chown(QFile::encodeName(servidor).constData(), Nobody, Nogroup) != 0 ||
         ::chown(QFile::encodeName(arquivoSenha).constData(), Nobody, Nogroup) != 0)) {
        fErro = QStringLiteral("não foi possível dar a pasta %1 ao usuário nobody").arg(servidor);
        return;
    }
    if (!executa(binario(QStringLiteral("initdb")),
                 {QStringLiteral("-D"), fDados, QStringLiteral("-U"), usuario(),
                  QStringLiteral("--pwfile=") + arquivoSenha, QStringLiteral("--auth-local=trust"),
                  QStringLiteral("--auth-host=scram-sha-256"), QStringLiteral("-E"),
                  QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"),
                  QStringLiteral("--no-sync")},
                 true))
        return;
    fPorta = portaLivre();
    // The socket in the server's folder: the system's one may not be writable by nobody.
    const QString opcoes = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                               .arg(fPorta)
                               .arg(servidor);
    if (!executa(binario(QStringLiteral("pg_ctl")),
                 {QStringLiteral("-D"), fDados, QStringLiteral("-l"),
                  servidor + QStringLiteral("/servidor.log"), QStringLiteral("-o"), opcoes,
                  QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"),
                  QStringLiteral("start")},
                 true)) {
        const QString log = QString::fromLocal8Bit([&] {
            QFile f(servidor + QStringLiteral("/servidor.log"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }());
        fErro += QStringLiteral("\n") + log;
        return;
    }
    fNoAr = true;
}

ServidorPostgresTeste::~ServidorPostgresTeste() {
    if (fNoAr)
        executa(binario(QStringLiteral("pg_ctl")),
                {QStringLiteral("-D"), fDados, QStringLiteral("-m"), QStringLiteral("immediate"),
                 QStringLiteral("-w"), QStringLiteral("stop")},
                true);
}

QString ServidorPostgresTeste::binario(const QString& nome) const {
    if (!fBinarios.isEmpty()) {
        const QString caminho = QDir(fBinarios).filePath(nome);
        return QFileInfo(caminho).isExecutable() ? caminho : QString();
    }
    return QStandardPaths::findExecutable(nome);
}

QString ServidorPostgresTeste::arquivoSenhas() const {
    return fPasta.filePath(QStringLiteral("pgpass"));
}

bool ServidorPostgresTeste::executa(const QString& programa, const QStringList& argumentos,
                                    bool comoServidor, int esperaMs) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    ambiente.insert(QStringLiteral("PGPASSFILE"), arquivoSenhas());
    if (comoServidor && comoAdministrador()) {
        ambiente.insert(QStringLiteral("HOME"), fPasta.filePath(QStringLiteral("servidor")));
        p.setChildProcessModifier([] {
            // In the child, before the program starts: the server's user for good.
            if (::setgroups(0, nullptr) != 0 || ::setgid(Nogroup) != 0 || ::setuid(Nobody) != 0)
                ::_exit(126);
        });
    }
    p.setProcessEnvironment(ambiente);
    p.setWorkingDirectory(fPasta.path());
    p.start(programa, argumentos);
    const bool terminou = p.waitForFinished(esperaMs);
    if (terminou && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    if (!terminou) {
        p.kill();
        p.waitForFinished(5000);
    }
    fErro = QStringLiteral("%1 %2 falhou (%3): %4")
                .arg(QFileInfo(programa).fileName(), argumentos.join(u' '),
                     terminou ? QStringLiteral("código %1").arg(p.exitCode())
                              : QStringLiteral("não terminou"),
                     QString::fromLocal8Bit(p.readAll()));
    return false;
}

QString ServidorPostgresTeste::criaBanco(const QString& nome) {
    if (!fErro.isEmpty())
        return QString();
    if (!executa(binario(QStringLiteral("createdb")),
                 {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                  QString::number(fPorta), QStringLiteral("-U"), usuario(), nome},
                 false))
        return QString();
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(usuario()).arg(fPorta).arg(nome);
}

int ServidorPostgresTeste::portaLivre() {
    QTcpServer servidor;
    if (!servidor.listen(QHostAddress::LocalHost, 0))
        return 0;
    return servidor.serverPort();
}
