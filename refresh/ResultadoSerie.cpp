#include "refresh/ResultadoSerie.h"

#include "ratetable/BQDataModule.h"
#include "valores/Formatacao.h"

#include <algorithm>
#include <cmath>

namespace {

// Rates are kept and shown to six decimals; closer than that they are the same rate.
bool mesmaTaxa(double a, double b) {
    return std::abs(a - b) < 0.5e-6;
}

// "01/2020 a 03/2020, 05/2020": months in date order, runs of consecutive months joined.
QString textoMeses(QList<DesfechoMes> meses) {
    std::sort(meses.begin(), meses.end(),
              [](const DesfechoMes& a, const DesfechoMes& b) { return a.Mes < b.Mes; });
    QStringList trechos;
    for (qsizetype i = 0; i < meses.size();) {
        qsizetype fim = i;
        while (fim + 1 < meses.size() &&
               Datas::parteInteira(meses[fim + 1].Mes) ==
                   Datas::parteInteira(Datas::incrementaMes(meses[fim].Mes, 1)))
            ++fim;
        trechos << (fim == i ? Formato::mesAno(meses[i].Mes)
                             : Formato::mesAno(meses[i].Mes) + QStringLiteral(" a ") +
                                   Formato::mesAno(meses[fim].Mes));
        i = fim + 1;
    }
    return trechos.join(QStringLiteral(", "));
}

} // namespace

bool mesEncerrado(DataHora mes, DataHora hoje) {
    return !(hoje < Datas::incrementaMes(Datas::primeiroDiaDoMes(mes), 1));
}

DesfechoMes desfechoDaInsercao(DataHora mes, double publicada, const DesfechoInsercao& insercao,
                               DataHora hoje) {
    DesfechoMes desfecho{Datas::primeiroDiaDoMes(mes), SituacaoMes::Incluido, publicada, 0, {}};
    switch (insercao.Situacao) {
    case DesfechoInsercao::Tipo::Gravado:
        break;
    case DesfechoInsercao::Tipo::Presente:
        desfecho.NaTabela = insercao.NaTabela;
        desfecho.Situacao = mesmaTaxa(insercao.NaTabela, publicada) ? SituacaoMes::JaPresente
                                                                    : SituacaoMes::OutraTaxa;
        break;
    case DesfechoInsercao::Tipo::Futuro:
        desfecho.Situacao = SituacaoMes::NaoEncerrado;
        break;
    case DesfechoInsercao::Tipo::Recusado:
        // The rule that refuses a month not yet over says just that: it is not over.
        if (mesEncerrado(mes, hoje)) {
            desfecho.Situacao = SituacaoMes::Recusado;
            desfecho.Motivo = insercao.Motivo;
        } else {
            desfecho.Situacao = SituacaoMes::NaoEncerrado;
        }
        break;
    }
    return desfecho;
}

bool ResultadoSerie::incluiu() const {
    return std::any_of(Meses.begin(), Meses.end(),
                       [](const DesfechoMes& m) { return m.Situacao == SituacaoMes::Incluido; });
}

QList<DesfechoMes> ResultadoSerie::meses(SituacaoMes situacao) const {
    QList<DesfechoMes> escolhidos;
    for (const DesfechoMes& m : Meses)
        if (m.Situacao == situacao)
            escolhidos << m;
    return escolhidos;
}

QStringList linhasResultado(const ResultadoSerie& resultado) {
    QStringList linhas;
    const QList<DesfechoMes> incluidos = resultado.meses(SituacaoMes::Incluido);
    linhas << (incluidos.isEmpty() ? QStringLiteral("Nenhum mês foi incluído na tabela.")
                                   : QStringLiteral("Meses incluídos: ") + textoMeses(incluidos));
    const QList<DesfechoMes> presentes = resultado.meses(SituacaoMes::JaPresente);
    if (!presentes.isEmpty())
        linhas << QStringLiteral("Meses já presentes: ") + textoMeses(presentes);
    for (const DesfechoMes& m : resultado.meses(SituacaoMes::OutraTaxa))
        linhas << QStringLiteral("Mês %1 presente com outra taxa: na tabela %2, publicada %3 "
                                 "(a da tabela foi mantida)")
                      .arg(Formato::mesAno(m.Mes), textoTaxa(m.NaTabela), textoTaxa(m.Publicada));
    const QList<DesfechoMes> abertos = resultado.meses(SituacaoMes::NaoEncerrado);
    if (!abertos.isEmpty())
        linhas << QStringLiteral("Meses ainda não encerrados (ignorados): ") + textoMeses(abertos);
    for (const DesfechoMes& m : resultado.meses(SituacaoMes::Recusado))
        linhas << QStringLiteral("Mês %1 recusado: %2").arg(Formato::mesAno(m.Mes), m.Motivo);
    if (!resultado.Falha.isEmpty())
        linhas << resultado.Falha;
    return linhas;
}
