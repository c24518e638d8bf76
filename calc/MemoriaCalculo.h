#pragma once

// The account of one calculation, as the computation reached it: the penalty's rule set
// and tier, the months whose Selic rates were added (each with its rate), the 1 % of the
// payment month, the rate applied, the base of the interest and the last month the rate
// table held. Filled by CalculaValores beside its six results, so the printed record and
// the command line's breakdown repeat none of the computation's rules.

#include "calc/Calculo.h"

#include <QList>
#include <QString>

struct TaxaSelicSomada {
    DataHora Mes = Datas::Vazia; // the first day of the month
    double Valor = 0;            // percent, as the table holds it
    bool Estimada = false;       // not in the table: the forecast's rate

    friend bool operator==(const TaxaSelicSomada&, const TaxaSelicSomada&) = default;
};

struct MemoriaCalculo {
    DataHora DataVencimento = Datas::Vazia;
    DataHora DataPagamento = Datas::Vazia;
    std::int64_t Dias = 0;
    bool RegrasNovas = false;
    FaixaMulta Faixa = FaixaMulta::SemAtraso;
    Moeda MultaCalculada;              // four decimals: the interest's base uses it before rounding
    QList<TaxaSelicSomada> MesesSelic; // in month order
    Estendido SomaSelic = 0;           // percent, the rates as they were added
    bool JurosMesPagamento = false;    // the payment month's 1 % is in the rate
    DataHora MesPagamento = Datas::Vazia;
    Estendido TaxaJuros = 0;                 // a fraction, as in the result
    Moeda BaseJuros;                         // tax plus MultaCalculada
    Moeda JurosCalculados;                   // four decimals
    DataHora UltimoMesTabela = Datas::Vazia; // Vazia for an empty table

    friend bool operator==(const MemoriaCalculo&, const MemoriaCalculo&) = default;
};

// "regras novas (vencimento após 31/10/2003)" or "regras antigas (vencimento até 31/10/2003)".
QString textoRegraMulta(const MemoriaCalculo& memoria);
// The tier with its rate: "61 dias ou mais: 12 %", "1 a 30 dias: 0,15 % ao dia × 29 dias".
QString textoFaixaMulta(const MemoriaCalculo& memoria);
