#include "DetalhamentoCalculo.h"

#include "BQDataModule.h"
#include "Calculo.h"

#include <QHash>

namespace {

QString faixaPorDia(std::int64_t dias, const QString& intervalo) {
    return QStringLiteral("%1: 0,15 % ao dia × %2 dias").arg(intervalo).arg(dias);
}

} // namespace

DetalhamentoCalculo detalhaCalculo(TBQDataModule& dados, DataHora vencimento, DataHora pagamento) {
    DetalhamentoCalculo d;
    const std::int64_t dias = DiasEmAtraso(vencimento, pagamento);
    const bool regrasNovas = RegrasNovas(vencimento);
    d.RegraMulta = regrasNovas ? QStringLiteral("regras novas (vencimento após 31/10/2003)")
                               : QStringLiteral("regras antigas (vencimento até 31/10/2003)");
    switch (FaixaDaMulta(vencimento, pagamento)) {
    case FaixaMulta::SemAtraso:
        d.FaixaMulta = QStringLiteral("sem atraso: sem multa");
        break;
    case FaixaMulta::PorDia:
        d.FaixaMulta = faixaPorDia(dias, regrasNovas ? QStringLiteral("1 a 30 dias")
                                                     : QStringLiteral("1 a 79 dias"));
        break;
    case FaixaMulta::Intermediaria:
        d.FaixaMulta = QStringLiteral("31 a 60 dias: 9 %");
        break;
    case FaixaMulta::Teto:
        d.FaixaMulta = regrasNovas ? QStringLiteral("61 dias ou mais: 12 %")
                                   : QStringLiteral("80 dias ou mais: 12 %");
        break;
    }

    const DataHora mesVencimento = Datas::primeiroDiaDoMes(vencimento);
    d.MesPagamento = Datas::primeiroDiaDoMes(pagamento);
    if (d.MesPagamento == mesVencimento)
        return d;
    d.JurosMesPagamento = true;

    const DataHora inicio = Datas::incrementaMes(mesVencimento, 1);
    const DataHora fim = Datas::incrementaMes(d.MesPagamento, -1);
    if (inicio > fim)
        return d;
    QHash<std::int64_t, double> taxas;
    TabelaMemoria& tabela = dados.CDSSelic;
    for (tabela.primeiro(); !tabela.fimDaTabela(); tabela.proximo())
        taxas.insert(Datas::parteInteira(dados.CDSSelicData->comoDataHora()),
                     dados.CDSSelicValor->comoFloat());
    for (DataHora mes = inicio; mes <= fim; mes = Datas::incrementaMes(mes, 1))
        d.MesesSelic.append({mes, taxas.value(Datas::parteInteira(mes))});
    return d;
}
