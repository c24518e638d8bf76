#include "demonstrativo/LinhasRecusadas.h"

#include <QStringList>

#include <algorithm>

QString textoLinhasRecusadas(const QString& abertura, const QList<LinhaRecusada>& linhas) {
    QStringList texto{abertura};
    for (const LinhaRecusada& l : linhas.first(std::min(linhas.size(), MaximoLinhasNaMensagem)))
        texto << QStringLiteral("Linha %1: %2").arg(l.Linha).arg(l.Motivo);
    const qsizetype resto = linhas.size() - MaximoLinhasNaMensagem;
    if (resto == 1)
        texto << QStringLiteral("… e mais uma linha.");
    else if (resto > 1)
        texto << QStringLiteral("… e mais %1 linhas.").arg(resto);
    // The line break the program's messages have always used.
    return texto.join(QStringLiteral("\n\r"));
}
