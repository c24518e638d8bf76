#include "apoio/AutoridadeTeste.h"

#include <QFile>
#include <QProcess>

namespace {

QByteArray le(const QString& caminho) {
    QFile arquivo(caminho);
    return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
}

} // namespace

AutoridadeTeste::AutoridadeTeste() {
    if (!fPasta.isValid()) {
        fErro = QStringLiteral("pasta temporária: %1").arg(fPasta.errorString());
        return;
    }
    openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
             "-keyout", "autoridade.key", "-out", "autoridade.pem", "-days", "2", "-subj",
             "/CN=Autoridade de teste BELQOR", "-addext", "basicConstraints=critical,CA:TRUE",
             "-addext", "keyUsage=critical,keyCertSign,cRLSign"});
}

QString AutoridadeTeste::arquivoCertificado() const {
    return fPasta.filePath(QStringLiteral("autoridade.pem"));
}

IdentidadeTls AutoridadeTeste::emite(const QString& nomesAlternativos) {
    const QString nome = QStringLiteral("servidor%1").arg(++fEmitidos);
    QFile extensoes(fPasta.filePath(nome + QStringLiteral(".ext")));
    if (!extensoes.open(QIODevice::WriteOnly)) {
        fErro = QStringLiteral("extensões: %1").arg(extensoes.errorString());
        return {};
    }
    extensoes.write("subjectAltName=" + nomesAlternativos.toUtf8() +
                    "\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n");
    extensoes.close();
    if (!openssl({"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
                  "-keyout", nome + ".key", "-out", nome + ".csr", "-subj", "/CN=" + nome}) ||
        !openssl({"x509", "-req", "-in", nome + ".csr", "-CA", "autoridade.pem", "-CAkey",
                  "autoridade.key", "-set_serial", QString::number(1000 + fEmitidos), "-out",
                  nome + ".pem", "-days", "2", "-extfile", nome + ".ext"}))
        return {};
    return {le(fPasta.filePath(nome + ".pem")), le(fPasta.filePath(nome + ".key"))};
}

bool AutoridadeTeste::openssl(const QStringList& argumentos) {
    if (!fErro.isEmpty())
        return false;
    QProcess processo;
    processo.setWorkingDirectory(fPasta.path());
    processo.setProcessChannelMode(QProcess::MergedChannels);
    processo.start(QStringLiteral("openssl"), argumentos);
    if (!processo.waitForFinished(30000) || processo.exitStatus() != QProcess::NormalExit ||
        processo.exitCode() != 0) {
        processo.kill();
        processo.waitForFinished(1000);
        fErro = QStringLiteral("openssl %1: %2 %3")
                    .arg(argumentos.first(), processo.errorString(),
                         QString::fromLocal8Bit(processo.readAll()));
        return false;
    }
    return true;
}
