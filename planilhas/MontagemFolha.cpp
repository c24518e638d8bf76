#include "planilhas/MontagemFolha.h"

#include "planilhas/ErrosPlanilha.h"
#include "valores/Formatacao.h"

#include <algorithm>

namespace {

QString quantidade(qint64 n) {
    return Formato::formataNumero(QStringLiteral("#,##0"), Estendido(n));
}

} // namespace

MontagemFolha::MontagemFolha(QString nome) : fNome(std::move(nome)) {}

void MontagemFolha::celula(qint64 coluna, const CelulaPlanilha& celula, qint64 vezes) {
    // An empty cell changes nothing: the columns it covers stay empty until a later cell
    // fills the row up to its own column.
    if (celula.vazia() || vezes <= 0)
        return;
    if (coluna < 0 || coluna >= MaximoColunas || vezes > MaximoColunas - coluna)
        planilhaGrandeDemais(
            fNome,
            QStringLiteral("a primeira folha passa de %1 colunas").arg(quantidade(MaximoColunas)));
    const qint64 fim = coluna + vezes;
    if (fim > fCelulas.size()) {
        if (fCelulasGuardadas + fim > MaximoCelulas)
            planilhaGrandeDemais(fNome, QStringLiteral("a primeira folha passa de %1 células")
                                            .arg(quantidade(MaximoCelulas)));
        fCelulas.resize(fim);
    }
    std::fill(fCelulas.begin() + coluna, fCelulas.begin() + fim, celula);
}

void MontagemFolha::fimDaLinha(qint64 numero, qint64 vezes) {
    QList<CelulaPlanilha> celulas;
    celulas.swap(fCelulas);
    if (celulas.isEmpty() || vezes <= 0)
        return;
    if (numero < 1)
        planilhaDanificada(fNome, QStringLiteral("uma linha tem o número %1").arg(numero));
    if (!fLinhas.isEmpty() && fLinhas.last().numero >= numero)
        planilhaDanificada(fNome, QStringLiteral("a linha %1 vem depois da linha %2")
                                      .arg(numero)
                                      .arg(fLinhas.last().numero));
    if (numero > MaximoLinhas || vezes > MaximoLinhas - numero + 1)
        planilhaGrandeDemais(
            fNome,
            QStringLiteral("a primeira folha passa de %1 linhas").arg(quantidade(MaximoLinhas)));
    if (vezes > (MaximoCelulas - fCelulasGuardadas) / celulas.size())
        planilhaGrandeDemais(
            fNome,
            QStringLiteral("a primeira folha passa de %1 células").arg(quantidade(MaximoCelulas)));
    // The copies share the cells until one of them is changed.
    for (qint64 i = 0; i < vezes; ++i)
        fLinhas.append(LinhaPlanilha{numero + i, celulas});
    fCelulasGuardadas += vezes * celulas.size();
}

QList<LinhaPlanilha> MontagemFolha::conclui() {
    return std::move(fLinhas);
}
