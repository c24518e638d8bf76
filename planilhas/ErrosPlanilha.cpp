#include "planilhas/ErrosPlanilha.h"

void planilhaDanificada(const QString& nome, const QString& detalhe) {
    throw ErroPlanilha(QStringLiteral("A planilha \"%1\" está danificada: %2.").arg(nome, detalhe));
}

void naoEPlanilha(const QString& nome, const QString& extensao, const QString& detalhe) {
    QString texto = QStringLiteral("O arquivo \"%1\" não é uma planilha %2").arg(nome, extensao);
    if (!detalhe.isEmpty())
        texto += QStringLiteral(": ") + detalhe;
    throw ErroPlanilha(texto + QLatin1Char('.'));
}

void planilhaProtegida(const QString& nome) {
    throw ErroPlanilha(QStringLiteral("A planilha \"%1\" está protegida por senha: salve-a sem "
                                      "senha no programa de planilhas e abra-a de novo.")
                           .arg(nome));
}

void planilhaGrandeDemais(const QString& nome, const QString& detalhe) {
    throw ErroPlanilha(QStringLiteral("A planilha \"%1\" é grande demais: %2.").arg(nome, detalhe));
}

void planilhaIlegivel(const QString& nome, const QString& motivo) {
    throw ErroEntradaSaida(
        QStringLiteral("Não foi possível ler o arquivo \"%1\": %2").arg(nome, motivo));
}
