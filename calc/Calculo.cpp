#include "calc/Calculo.h"

#include "ratetable/BQDataModule.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "calc/MemoriaCalculo.h"

#include <QHash>
#include <QStringBuilder>

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
    static const DataHora virada = Datas::codificaData(2003, 10, 31);
    return virada;
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

namespace {

// Every calculation filters the table between two month starts, and the pairs of months
// repeat from row to row: each pair's filter text is kept whole, for the regional
// settings that wrote its dates.
class TextosDosFiltros {
public:
    const QString& texto(DataHora inicio, DataHora fim) {
        const ConfiguracaoRegional& cfg = regional();
        if (cfg != fRegional) {
            fTextos.clear();
            fRegional = cfg;
        }
        const std::pair<DataHora, DataHora> chave{inicio, fim};
        if (const auto lido = fTextos.constFind(chave); lido != fTextos.cend())
            return *lido;
        if (fTextos.size() >= 8192)
            fTextos.clear();
        return *fTextos.insert(chave, QLatin1String("(Data >= '") %
                                          Formato::dataParaTexto(inicio, cfg) %
                                          QLatin1String("') AND (Data <= '") %
                                          Formato::dataParaTexto(fim, cfg) % QLatin1String("')"));
    }

private:
    QHash<std::pair<DataHora, DataHora>, QString> fTextos;
    ConfiguracaoRegional fRegional;
};

// SomaTaxasSelic, giving the months it added to the account when there is one.
// With motivo, the missing-rates message is given there instead of shown.
// The months from inicio to fim, both month starts, both included: stepping one month at
// a time counts the same.
int mesesEntre(DataHora inicio, DataHora fim) {
    int anoInicio = 0, mesInicio = 0, diaInicio = 0, anoFim = 0, mesFim = 0, diaFim = 0;
    Datas::decodificaData(inicio, anoInicio, mesInicio, diaInicio);
    Datas::decodificaData(fim, anoFim, mesFim, diaFim);
    return std::max(0, 12 * (anoFim - anoInicio) + mesFim - mesInicio + 1);
}

// With previsao, the months past the table's last are summed after the table's, each at the
// last month's rate, and *estimou says whether there were any.
Estendido somaTaxasSelic(TBQDataModule& Dados, DataHora DataVencimento, DataHora DataPagamento,
                         MemoriaCalculo* memoria, QString* motivo,
                         const PrevisaoTaxas* previsao = nullptr, bool* estimou = nullptr) {
    TabelaMemoria& tabela = Dados.CDSSelic;
    const DataHora inicio = Datas::primeiroDiaDoMes(Datas::incrementaMes(DataVencimento, 1));
    const DataHora ultimoPedido = Datas::primeiroDiaDoMes(Datas::incrementaMes(DataPagamento, -1));
    // The table answers up to its last month; the forecast fills the months after it.
    const DataHora fim = previsao && ultimoPedido > previsao->UltimoMes
                             ? std::max(previsao->UltimoMes, Datas::incrementaMes(inicio, -1))
                             : ultimoPedido;

    tabela.defineFiltrado(false);
    try {
        thread_local TextosDosFiltros textos;
        tabela.defineFiltro(textos.texto(inicio, fim));
        tabela.defineFiltrado(true);

        const int meses = mesesEntre(inicio, fim);

        if (tabela.quantidade() != meses) {
            tabela.defineFiltrado(false);
            if (motivo)
                *motivo = MensagemFaltamTaxas();
            else
                Dados.dialogos().mensagem(MensagemFaltamTaxas());
            aborta();
        }
        Estendido soma = 0;
        for (tabela.primeiro(); !tabela.fimDaTabela(); tabela.proximo()) {
            const double valor = Dados.CDSSelicValor->comoFloat();
            soma = static_cast<Estendido>(valor) + soma;
            if (memoria)
                memoria->MesesSelic.append({Dados.CDSSelicData->comoDataHora(), valor});
        }
        tabela.defineFiltrado(false);
        if (fim != ultimoPedido) {
            for (DataHora mes = Datas::incrementaMes(fim, 1); mes <= ultimoPedido;
                 mes = Datas::incrementaMes(mes, 1)) {
                soma = static_cast<Estendido>(previsao->Taxa) + soma;
                if (memoria)
                    memoria->MesesSelic.append({mes, previsao->Taxa, true});
            }
            if (estimou)
                *estimou = true;
        }
        if (memoria) {
            // Added in the table's order; shown in the calendar's.
            std::stable_sort(
                memoria->MesesSelic.begin(), memoria->MesesSelic.end(),
                [](const TaxaSelicSomada& a, const TaxaSelicSomada& b) { return a.Mes < b.Mes; });
            memoria->SomaSelic = soma;
        }
        return soma / DivisorTaxa;
    } catch (...) {
        if (tabela.ativa() && tabela.filtrado())
            tabela.defineFiltrado(false);
        throw;
    }
}

Moeda calculaJuros(TBQDataModule& Dados, Moeda Valor, DataHora DataVencimento,
                   DataHora DataPagamento, Estendido& TaxaJuros, MemoriaCalculo* memoria,
                   QString* motivo, const PrevisaoTaxas* previsao = nullptr,
                   bool* estimou = nullptr) {
    TaxaJuros = 0;
    const Moeda multa = CalculaMulta(Valor, DataVencimento, DataPagamento);

    int anoV = 0, mesV = 0, diaV = 0, anoP = 0, mesP = 0, diaP = 0;
    Datas::decodificaData(DataVencimento, anoV, mesV, diaV);
    Datas::decodificaData(DataPagamento, anoP, mesP, diaP);
    const bool mesmoMes = anoP == anoV && mesP == mesV;
    Estendido taxa = 0;
    if (mesmoMes)
        taxa = 0;
    else if ((anoP == anoV && mesP == mesV + 1) || (anoP == anoV + 1 && mesV == 12 && mesP == 1))
        taxa = JurosMesPagamento;
    else
        taxa = somaTaxasSelic(Dados, DataVencimento, DataPagamento, memoria, motivo, previsao,
                              estimou) +
               JurosMesPagamento;

    const Moeda base = Valor + multa;
    const Moeda juros = Moeda::deEstendido(base.contagemEstendida() * taxa);
    TaxaJuros = taxa;
    if (memoria) {
        memoria->JurosMesPagamento = !mesmoMes;
        memoria->MesPagamento = Datas::primeiroDiaDoMes(DataPagamento);
        memoria->TaxaJuros = taxa;
        memoria->BaseJuros = base;
        memoria->JurosCalculados = juros;
    }
    return juros;
}

// The row of the last month the table holds, whatever the order its rows are stored in;
// -1 for an empty table.
int linhaDoUltimoMes(TBQDataModule& Dados) {
    const TabelaMemoria& tabela = Dados.CDSSelic;
    DataHora ultimo = Datas::Vazia;
    int linhaUltimo = -1;
    for (int linha = 0; linha < tabela.linhasExibidas(); ++linha) {
        const DataHora mes = tabela.valorExibido(linha, *Dados.CDSSelicData).toDouble();
        if (linhaUltimo < 0 || mes > ultimo) {
            ultimo = mes;
            linhaUltimo = linha;
        }
    }
    return linhaUltimo;
}

DataHora ultimoMesDaTabela(TBQDataModule& Dados) {
    const int linha = linhaDoUltimoMes(Dados);
    return linha < 0 ? Datas::Vazia
                     : Dados.CDSSelic.valorExibido(linha, *Dados.CDSSelicData).toDouble();
}

} // namespace

std::optional<PrevisaoTaxas> previsaoDaTabela(TBQDataModule& Dados) {
    const int linha = linhaDoUltimoMes(Dados);
    if (linha < 0)
        return std::nullopt;
    return PrevisaoTaxas{
        Datas::primeiroDiaDoMes(Dados.CDSSelic.valorExibido(linha, *Dados.CDSSelicData).toDouble()),
        Dados.CDSSelic.valorExibido(linha, *Dados.CDSSelicValor).toDouble()};
}

QString MensagemFaltamTaxas() {
    return QStringLiteral("Nem todos os índices mensais da Selic foram cadastrados. Favor fornecer "
                          "todos os índices para que o sistema efetue corretamente os cálculos!");
}

Estendido SomaTaxasSelic(TBQDataModule& Dados, DataHora DataVencimento, DataHora DataPagamento) {
    return somaTaxasSelic(Dados, DataVencimento, DataPagamento, nullptr, nullptr);
}

Moeda CalculaJuros(TBQDataModule& Dados, Moeda Valor, DataHora DataVencimento,
                   DataHora DataPagamento, Estendido& TaxaJuros) {
    return calculaJuros(Dados, Valor, DataVencimento, DataPagamento, TaxaJuros, nullptr, nullptr);
}

std::optional<ResultadoCalculo> CalculaValores(TBQDataModule& Dados, Moeda Valor,
                                               DataHora DataVencimento, DataHora DataPagamento,
                                               MemoriaCalculo* Memoria, QString* Motivo,
                                               const PrevisaoTaxas* Previsao) {
    ResultadoCalculo r;
    std::optional<MemoriaCalculo> conta;
    if (Memoria)
        conta.emplace();
    MemoriaCalculo* const m = conta ? &*conta : nullptr;
    const Moeda multa = CalculaMulta(Valor, DataVencimento, DataPagamento);
    r.MultaMora = multa.arredondadoCentavos();
    Moeda juros;
    try {
        juros = calculaJuros(Dados, Valor, DataVencimento, DataPagamento, r.TaxaJuros, m, Motivo,
                             Previsao, &r.Previsao);
    } catch (const AbortoSilencioso&) {
        return std::nullopt;
    }
    r.JurosMora = juros.arredondadoCentavos();
    r.Total = Valor + r.MultaMora + r.JurosMora;
    r.Dias = DiasEmAtraso(DataVencimento, DataPagamento);
    r.ValorICMS = Valor;
    if (m) {
        m->DataVencimento = static_cast<DataHora>(Datas::parteInteira(DataVencimento));
        m->DataPagamento = static_cast<DataHora>(Datas::parteInteira(DataPagamento));
        m->Dias = r.Dias;
        m->RegrasNovas = RegrasNovas(DataVencimento);
        m->Faixa = FaixaDaMulta(DataVencimento, DataPagamento);
        m->MultaCalculada = multa;
        m->UltimoMesTabela = ultimoMesDaTabela(Dados);
        *Memoria = std::move(*m);
    }
    return r;
}
