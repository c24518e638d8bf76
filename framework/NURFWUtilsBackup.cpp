#include "NURFWUtils.h"

#include "PonteiroMouse.h"
#include "Processos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString& nomeFerramenta() {
    static QString nome = QStringLiteral("gbak.exe");
    return nome;
}

// The backup line reads the database and writes the backup file; the restore line reads
// the backup file and replaces the database. The user name goes unquoted, as the tool's
// callers have always written it.
QString linhaBackup(const QString& origem, const QString& destino, const QString& usuario,
                    const QString& senha) {
    return QStringLiteral("\"%1\" -b -t -l -user %2 -password \"%3\" \"%4\" \"%5\"")
        .arg(TNURUtils::FerramentaBackup(), usuario, senha, origem, destino)
        .trimmed();
}

QString linhaRestauracao(const QString& origem, const QString& destino, const QString& usuario,
                         const QString& senha) {
    return QStringLiteral("\"%1\" -c -r -user %2 -password \"%3\" \"%4\" \"%5\"")
        .arg(TNURUtils::FerramentaBackup(), usuario, senha, origem, destino)
        .trimmed();
}

// True only when the tool started and ended with exit code 0.
bool executaFerramenta(const QString& linha) {
    try {
        return Processos::executaEAguarda(linha, QDir::rootPath()) == 0;
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
                executaFerramenta(linhaBackup(sArquivoBase, sArquivoBackup, sUsuario, sSenha));
        else if (restauracao)
            resultado =
                executaFerramenta(linhaRestauracao(sArquivoBackup, sArquivoBase, sUsuario, sSenha));

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
        executaFerramenta(linhaBackup(sArquivoBase, temporario, sUsuario, sSenha)) &&
        executaFerramenta(linhaRestauracao(temporario, sArquivoBase, sUsuario, sSenha));
    QFile::remove(temporario);
    return resultado;
}
