#include "Calculo.h"

#include "BQDataModule.h"
#include "Erros.h"
#include "Formatacao.h"

#include <algorithm>

namespace {

constexpr Estendido TaxaDiaria = 0.0015L;
constexpr Estendido FaixaIntermediaria = 0.09L;
constexpr Estendido Teto = 0.12L;
constexpr Estendido JurosMesPagamento = 0.01L;
constexpr Estendido DivisorTaxa = 100;

struct Feriado {
    int dia, mes;
};
constexpr Feriado Feriados[] = {{1, 1}, {21, 4}, {1, 5}, {7, 9}, {12, 10}, {15, 11}, {25, 12}};

DataHora dataVirada() {
    return Datas::codificaData(2003, 10, 31);
}

Moeda multaDiaria(std::int64_t dias, Moeda valor) {
    // The per-day rate is formed first, then applied to the amount: two roundings.
    const Estendido taxa = static_cast<Estendido>(dias) * TaxaDiaria;
    return Moeda::deEstendido(taxa * valor.contagemEstendida());
}

} // namespace

bool EhDiaUtil(DataHora Data) {
    const int semana = Datas::diaDaSemana(Data);
    if (semana == 1 || semana == 7)
        return false;
    int ano = 0, mes = 0, dia = 0;
    Datas::decodificaData(Data, ano, mes, dia);
    for (const auto& f : Feriados)
        if (f.dia == dia && f.mes == mes)
            return false;
    return true;
}

std::int64_t DiasEmAtraso(DataHora DataVencimento, DataHora DataPagamento) {
    return Datas::parteInteira(DataPagamento) - Datas::parteInteira(DataVencimento);
}

bool RegrasNovas(DataHora DataVencimento) {
    return Datas::parteInteira(DataVencimento) > dataVirada();
}

FaixaMulta FaixaDaMulta(DataHora DataVencimento, DataHora DataPagamento) {
    const std::int64_t dias = DiasEmAtraso(DataVencimento, DataPagamento);
    if (dias <= 0)
        return FaixaMulta::SemAtraso;
    if (RegrasNovas(DataVencimento))
        return dias > 60   ? FaixaMulta::Teto
               : dias > 30 ? FaixaMulta::Intermediaria
                           : FaixaMulta::PorDia;
    // The old rules have no middle tier, and the cap starts at 80 days exactly.
    return dias < 80 ? FaixaMulta::PorDia : FaixaMulta::Teto;
}

Moeda CalculaMulta(Moeda Valor, DataHora DataVencimento, DataHora DataPagamento) {
    switch (FaixaDaMulta(DataVencimento, DataPagamento)) {
    case FaixaMulta::SemAtraso:
        break;
    case FaixaMulta::PorDia:
        return multaDiaria(DiasEmAtraso(DataVencimento, DataPagamento), Valor);
    case FaixaMulta::Intermediaria:
        return Moeda::deEstendido(FaixaIntermediaria * Valor.contagemEstendida());
    case FaixaMulta::Teto:
        return Moeda::deEstendido(Teto * Valor.contagemEstendida());
    }
    return Moeda();
}

Estendido SomaTaxasSelic(TBQDataModule& Dados, DataHora DataVencimento, DataHora DataPagamento) {
    TabelaMemoria& tabela = Dados.CDSSelic;
    const DataHora inicio = Datas::primeiroDiaDoMes(Datas::incrementaMes(DataVencimento, 1));
    const DataHora fim = Datas::primeiroDiaDoMes(Datas::incrementaMes(DataPagamento, -1));

    tabela.defineFiltrado(false);
    try {
        tabela.defineFiltro(QStringLiteral("(Data >= '%1') AND (Data <= '%2')")
                                .arg(Formato::dataParaTexto(inicio), Formato::dataParaTexto(fim)));
        tabela.defineFiltrado(true);

        // The months from start to end, both included: stepping one month at a time
        // counts the same.
        int anoInicio = 0, mesInicio = 0, diaInicio = 0, anoFim = 0, mesFim = 0, diaFim = 0;
        Datas::decodificaData(inicio, anoInicio, mesInicio, diaInicio);
        Datas::decodificaData(fim, anoFim, mesFim, diaFim);
        const int meses = std::max(0, 12 * (anoFim - anoInicio) + mesFim - mesInicio + 1);

        if (tabela.quantidade() != meses) {
            tabela.defineFiltrado(false);
            Dados.dialogos().mensagem(QStringLiteral(
                "Nem todos os índices mensais da Selic foram cadastrados. Favor fornecer todos os "
                "índices para que o sistema efetue corretamente os cálculos!"));
            aborta();
        }
        Estendido soma = 0;
        for (tabela.primeiro(); !tabela.fimDaTabela(); tabela.proximo())
            soma = static_cast<Estendido>(Dados.CDSSelicValor->comoFloat()) + soma;
        tabela.defineFiltrado(false);
        return soma / DivisorTaxa;
    } catch (...) {
        if (tabela.ativa() && tabela.filtrado())
            tabela.defineFiltrado(false);
        throw;
    }
}

Moeda CalculaJuros(TBQDataModule& Dados, Moeda Valor, DataHora DataVencimento,
                   DataHora DataPagamento, Estendido& TaxaJuros) {
    TaxaJuros = 0;
    const Moeda multa = CalculaMulta(Valor, DataVencimento, DataPagamento);

    int anoV = 0, mesV = 0, diaV = 0, anoP = 0, mesP = 0, diaP = 0;
    Datas::decodificaData(DataVencimento, anoV, mesV, diaV);
    Datas::decodificaData(DataPagamento, anoP, mesP, diaP);
    Estendido taxa = 0;
    if (anoP == anoV && mesP == mesV)
        taxa = 0;
    else if ((anoP == anoV && mesP == mesV + 1) || (anoP == anoV + 1 && mesV == 12 && mesP == 1))
        taxa = JurosMesPagamento;
    else
        taxa = SomaTaxasSelic(Dados, DataVencimento, DataPagamento) + JurosMesPagamento;

    const Moeda base = Valor + multa;
    const Moeda juros = Moeda::deEstendido(base.contagemEstendida() * taxa);
    TaxaJuros = taxa;
    return juros;
}

std::optional<ResultadoCalculo> CalculaValores(TBQDataModule& Dados, Moeda Valor,
                                               DataHora DataVencimento, DataHora DataPagamento) {
    ResultadoCalculo r;
    const Moeda multa = CalculaMulta(Valor, DataVencimento, DataPagamento);
    r.MultaMora = multa.arredondadoCentavos();
    Moeda juros;
    try {
        juros = CalculaJuros(Dados, Valor, DataVencimento, DataPagamento, r.TaxaJuros);
    } catch (const AbortoSilencioso&) {
        return std::nullopt;
    }
    r.JurosMora = juros.arredondadoCentavos();
    r.Total = Valor + r.MultaMora + r.JurosMora;
    r.Dias = DiasEmAtraso(DataVencimento, DataPagamento);
    r.ValorICMS = Valor;
    return r;
}
