#pragma once

// The rate table shipped with the program (every month from 01/1998), for tests.

#include <QFile>
#include <QString>

// Copies the shipped table into pasta and gives the copy's path. Tests read and write the
// copy, never the shipped file.
inline QString copiaTabelaDistribuida(const QString& pasta) {
    const QString copia = pasta + QStringLiteral("/distribuida.cds");
    QFile::remove(copia);
    if (!QFile::copy(QStringLiteral(BELQOR_FONTE "/data/BELQOR.cds"), copia))
        qFatal("não foi possível copiar a tabela distribuída para %s", qPrintable(copia));
    QFile::setPermissions(copia, QFile::ReadOwner | QFile::WriteOwner);
    return copia;
}
