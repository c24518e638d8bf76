#pragma once

// belqor-cli as a portable copy: the program copied into a folder of the test's, with the
// rate service library beside it, where its run path looks; so its table, its history and
// its log are those of that folder.

#include <QFile>
#include <QFileInfo>
#include <QString>

// Gives the copy's path, or an empty text when a file could not be copied.
inline QString copiaProgramaPortatil(const QString& pasta, const QString& programa,
                                     const QString& servico) {
    const QString copia = pasta + u'/' + QFileInfo(programa).fileName();
    if (!QFile::copy(programa, copia) ||
        !QFile::copy(servico, pasta + u'/' + QFileInfo(servico).fileName()))
        return QString();
    QFile::setPermissions(copia, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return copia;
}
