#include "framework/NURFWUtils.h"

#include "valores/Erros.h"
#include "framework/Processos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString TNURUtils::GetTempDir() {
    const QString pasta = QCoreApplication::applicationDirPath() + QStringLiteral("/Temp/");
    if (!QDir().mkpath(pasta))
        throw ErroBelqor(QStringLiteral("Não foi possível criar a pasta \"%1\".").arg(pasta));
    return pasta;
}

qint64 TNURUtils::GetTamArq(const QString& sFileToExamine) {
    QFile arquivo(sFileToExamine);
    if (QFileInfo(arquivo).isDir() || !arquivo.open(QIODevice::ReadOnly))
        return -1;
    return arquivo.size();
}

void TNURUtils::DeleteAllFiles(const QString& Dir) {
    QString pasta = Dir;
    if (!pasta.endsWith(u'/') && !pasta.endsWith(u'\\'))
        pasta += u'/';
    // A root or an empty name: nothing so wide is ever emptied.
    if (pasta.size() < 4)
        return;
    const QFileInfoList arquivos = QDir(pasta).entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& arquivo : arquivos)
        // A read-only file is kept, as the desktop keeps it.
        if (arquivo.permission(QFileDevice::WriteOwner))
            QFile::remove(arquivo.absoluteFilePath());
}

quintptr TNURUtils::ExecuteFile(const QString& FileName, const QString& Params,
                                const QString& DefaultDir, qint32 ShowCmd) {
    Q_UNUSED(ShowCmd);
    return Processos::abreComShell(FileName, Params, DefaultDir);
}
