#pragma once

// Lock files for tests of the one-writer-per-table rule.

#include "apoio/ArquivosTeste.h"

#include <QByteArray>
#include <QFile>
#include <QLockFile>
#include <QString>

// A lock file as a process that has ended would leave it: taken for real, so its layout is
// the library's own, then given the number of a process that cannot exist (the kernel
// hands out numbers below pid_max).
inline void escreveTravaAbandonada(const QString& caminhoTrava) {
    QByteArray conteudo;
    {
        QLockFile trava(caminhoTrava);
        if (!trava.tryLock(0))
            qFatal("não foi possível criar a trava de teste %s", qPrintable(caminhoTrava));
        conteudo = conteudoArquivo(caminhoTrava);
    }
    const QByteArray maximo = conteudoArquivo(QStringLiteral("/proc/sys/kernel/pid_max")).trimmed();
    if (maximo.isEmpty())
        qFatal("pid_max ilegível");
    gravaArquivoTeste(caminhoTrava, maximo + conteudo.mid(conteudo.indexOf('\n')));
}
