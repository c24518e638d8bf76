#pragma once

// The penalty and interest computation for ICMS paid after its due date.
//
// Penalty: fixed tiers by days late, with the old rules for due dates up to 31/10/2003
// and the new rules after it. Interest: 1 % for the payment month plus the monthly Selic
// rates of the whole months between the due month and the payment month, charged on the
// tax plus the penalty. Floating steps run in extended precision in the order written
// below; counts of ten-thousandths round ties to even, cents round halves away from zero.

#include "valores/Datas.h"
#include "valores/Estendido.h"
#include "valores/Moeda.h"

#include <QString>

#include <cstdint>
#include <optional>

class TBQDataModule;
struct MemoriaCalculo;

struct ResultadoCalculo {
    std::int64_t Dias = 0;
    Estendido TaxaJuros = 0; // a fraction: 0.01 is 1 %
    Moeda ValorICMS;
    Moeda MultaMora; // whole cents
    Moeda JurosMora; // whole cents
    Moeda Total;
    bool Previsao = false; // a month's rate was estimated (PrevisaoTaxas)

    friend bool operator==(const ResultadoCalculo&, const ResultadoCalculo&) = default;
};

// A forecast for months the table does not hold yet: each month after the last one it holds
// takes that month's rate. Used only where the user asked for it; never stored.
struct PrevisaoTaxas {
    DataHora UltimoMes = Datas::Vazia; // the first day of the last month the table holds
    double Taxa = 0;                   // percent, that month's rate
};
// The table's last month and its rate; nothing for an empty table.
std::optional<PrevisaoTaxas> previsaoDaTabela(TBQDataModule& Dados);

// Not Saturday, Sunday or one of the seven fixed holidays.
bool EhDiaUtil(DataHora Data);

// Calendar days from the due date to the payment date, whole days only.
std::int64_t DiasEmAtraso(DataHora DataVencimento, DataHora DataPagamento);

// The penalty tier that applies: none, per day, the middle tier (new rules only) or the cap.
enum class FaixaMulta { SemAtraso, PorDia, Intermediaria, Teto };
// Due dates after 31/10/2003 follow the new rules.
bool RegrasNovas(DataHora DataVencimento);
FaixaMulta FaixaDaMulta(DataHora DataVencimento, DataHora DataPagamento);

// The penalty at four decimals, not rounded to cents.
Moeda CalculaMulta(Moeda Valor, DataHora DataVencimento, DataHora DataPagamento);

// "Nem todos os índices mensais da Selic foram cadastrados. …"
QString MensagemFaltamTaxas();

// Sum of the monthly Selic rates of the months strictly between the due month and the
// payment month, as a fraction. When the table lacks a month (or holds too many rows)
// it shows the missing-rates message and abandons the calculation (AbortoSilencioso).
// The table's filter is off afterwards on every path; its filter text stays set.
Estendido SomaTaxasSelic(TBQDataModule& Dados, DataHora DataVencimento, DataHora DataPagamento);

// The interest at four decimals, on the tax plus the unrounded penalty; sets the rate.
Moeda CalculaJuros(TBQDataModule& Dados, Moeda Valor, DataHora DataVencimento,
                   DataHora DataPagamento, Estendido& TaxaJuros);

// The whole calculation; nothing when it was abandoned. A total outside the currency
// range throws ErroEstouroMoeda. With Memoria, a success also gives there the account of
// how the results were reached (MemoriaCalculo.h); an abandoned calculation leaves it as
// it was. With Motivo, a calculation abandoned for missing rates gives its message there
// instead of showing it, so a caller of many calculations can keep it beside each one.
// With Previsao, the months past the table's last take its rate (marked in the result and
// in the account) instead of abandoning the calculation; a month missing before it still
// abandons it.
std::optional<ResultadoCalculo> CalculaValores(TBQDataModule& Dados, Moeda Valor,
                                               DataHora DataVencimento, DataHora DataPagamento,
                                               MemoriaCalculo* Memoria = nullptr,
                                               QString* Motivo = nullptr,
                                               const PrevisaoTaxas* Previsao = nullptr);
