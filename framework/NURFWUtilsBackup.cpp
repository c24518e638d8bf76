#include "framework/NURFWUtils.h"

#include "widgets/PonteiroMouse.h"
#include "framework/Processos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString& nomeFerramenta() {
    static QString nome = QStringLiteral("gbak.exe");
    return nome;
}

// The tool's options, then the user, the password, the file it reads and the file it
// writes. Each value is one argument of its own, whatever blanks or quotes it holds, so
// none can add options to the tool's.
QStringList argumentos(QStringList opcoes, const QString& origem, const QString& destino,
                       const QString& usuario, const QString& senha) {
    opcoes << QStringLiteral("-user") << usuario << QStringLiteral("-password") << senha << origem
           << destino;
    return opcoes;
}

// The backup reads the database and writes the backup file.
QStringList argumentosBackup(const QString& origem, const QString& destino, const QString& usuario,
                             const QString& senha) {
    return argumentos({QStringLiteral("-b"), QStringLiteral("-t"), QStringLiteral("-l")}, origem,
                      destino, usuario, senha);
}

// The restore reads the backup file and replaces the database.
QStringList argumentosRestauracao(const QString& origem, const QString& destino,
                                  const QString& usuario, const QString& senha) {
    return argumentos({QStringLiteral("-c"), QStringLiteral("-r")}, origem, destino, usuario,
                      senha);
}

// True only when the tool started and ended with exit code 0.
bool executaFerramenta(const QStringList& argumentos) {
    try {
        return Processos::executaEAguarda(TNURUtils::FerramentaBackup(), argumentos,
                                          QDir::rootPath()) == 0;
    } catch (...) {
        return false;
    }
}

QString noMesmoDiretorio(const QString& arquivo, const QString& nome) {
    return QFileInfo(arquivo).absolutePath() + u'/' + nome;
}

// Holds the hourglass for the whole of an operation, whatever way it ends.
class Ampulheta {
public:
    Ampulheta() { PonteiroMouse::define(Ponteiro::Ampulheta); }
    ~Ampulheta() { PonteiroMouse::define(Ponteiro::Padrao); }
    Ampulheta(const Ampulheta&) = delete;
    Ampulheta& operator=(const Ampulheta&) = delete;
};

} // namespace

void TNURUtils::DefineFerramentaBackup(const QString& nome) {
    nomeFerramenta() = nome;
}

QString TNURUtils::FerramentaBackup() {
    return QCoreApplication::applicationDirPath() + u'/' + nomeFerramenta();
}

bool TNURUtils::BackupRestore(const QString& Tipo, const QString& sArquivoBase,
                              const QString& sArquivoBackup, const QString& sUsuario,
                              const QString& sSenha) {
    const QString temporario =
        noMesmoDiretorio(sArquivoBackup, QStringLiteral("bkp_tmp_base_Ignore.gbk"));
    const bool backup = Tipo == u"B";
    const bool restauracao = Tipo == u"R";

    // The previous backup is set aside, not thrown away, until the new one is made.
    bool guardouAnterior = false;
    if (backup && QFileInfo::exists(sArquivoBackup)) {
        QFile::remove(temporario);
        guardouAnterior = QFile::rename(sArquivoBackup, temporario);
        if (!guardouAnterior)
            return false;
    }

    bool resultado = false;
    {
        const Ampulheta ampulheta;
        if (backup)
            resultado =
                executaFerramenta(argumentosBackup(sArquivoBase, sArquivoBackup, sUsuario, sSenha));
        else if (restauracao)
            resultado = executaFerramenta(
                argumentosRestauracao(sArquivoBackup, sArquivoBase, sUsuario, sSenha));

        if (backup && !resultado) {
            // What a failed run left behind is no backup; the previous one comes back.
            QFile::remove(sArquivoBackup);
            if (guardouAnterior)
                QFile::rename(temporario, sArquivoBackup);
        }
        QFile::remove(temporario);
    }
    return resultado;
}

bool TNURUtils::ReestruturaBaseDados(const QString& sArquivoBase, const QString& sUsuario,
                                     const QString& sSenha) {
    const QString temporario = noMesmoDiretorio(sArquivoBase, QStringLiteral("bkp_tmp_Ignore.gbk"));
    QFile::remove(temporario);

    const Ampulheta ampulheta;
    // A database is only replaced from a backup that was made.
    const bool resultado =
        executaFerramenta(argumentosBackup(sArquivoBase, temporario, sUsuario, sSenha)) &&
        executaFerramenta(argumentosRestauracao(temporario, sArquivoBase, sUsuario, sSenha));
    QFile::remove(temporario);
    return resultado;
}
