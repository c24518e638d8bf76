#pragma once

// Whole-file reads and writes for tests. A file that cannot be written stops the test
// program: nothing after it would mean anything.

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

inline void gravaArquivoTeste(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("não foi possível escrever o arquivo de teste %s", qPrintable(caminho));
}

// The same for a file of that name in pasta; gives its path.
inline QString gravaArquivoTeste(const QString& pasta, const QString& nome,
                                 const QByteArray& bytes) {
    const QString caminho = pasta + QLatin1Char('/') + nome;
    gravaArquivoTeste(caminho, bytes);
    return caminho;
}

// The file's bytes; seAusente when it cannot be read.
inline QByteArray conteudoArquivo(const QString& caminho,
                                  const QByteArray& seAusente = QByteArray()) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : seAusente;
}

// Gives the file a modification time long before the test, so that a file written again,
// even within the same second, shows it in its time. Returns that time.
inline QDateTime envelheceArquivo(const QString& caminho) {
    const QDateTime antigo(QDate(2001, 2, 3), QTime(4, 5, 6));
    QFile f(caminho);
    if (!f.open(QIODevice::ReadWrite) || !f.setFileTime(antigo, QFileDevice::FileModificationTime))
        qFatal("não foi possível mudar a hora do arquivo de teste %s", qPrintable(caminho));
    return antigo;
}
