#pragma once

// The statement of one taxpayer's overdue debts, paid together on one date: every debt
// calculated as the calculation window calculates one, after the same checks in the same
// order, with the failure kept as the debt's message instead of shown; then the totals of
// the debts that were calculated.

#include "calc/Calculo.h"
#include "calc/MemoriaCalculo.h"
#include "demonstrativo/Contribuinte.h"
#include "demonstrativo/Imputacao.h"

#include <QList>
#include <QString>

#include <optional>

class TBQDataModule;

struct Debito {
    QString Referencia; // the month the tax refers to, "MM/AAAA"
    DataHora Vencimento = Datas::Vazia;
    QString Valor; // as typed: "1000,00"
    QString Descricao;
    // Already made, allocated before the balance. Defaulted, so a debt is written without it.
    QList<PagamentoParcial> Pagamentos = {};
};

// One debt's outcome: the results and the account of how they were reached, or the
// message of the check or failure that stopped it. With partial payments, the results are
// the balance: the principal the payments left open, calculated to the statement's date
// from the original due date (all zero when a payment settled the debt).
struct ResultadoDebito {
    std::optional<ResultadoCalculo> Resultado;
    MemoriaCalculo Memoria;
    QString Mensagem;
    Imputacao Pagamentos;

    // A month's rate was estimated, in the balance or in a payment's cost.
    bool previsao() const;
};

// Sums of the debts calculated, in whole cents as each result shows them, and how many
// debts they cover: what was paid in part, then what remains (the principal still open,
// its penalty, interest and total).
struct TotaisDemonstrativo {
    int Quantidade = 0;
    Moeda Pago;
    Moeda Valor;
    Moeda Multa;
    Moeda Juros;
    Moeda Total;
    bool Previsao = false; // a debt they cover used an estimated month
};

// The window's checks for the amount (the sign refused, as its field never takes one) and
// its seven date checks, then the partial payments (imputaPagamentos), then CalculaValores
// on what they left; a debt that fails gives the message the window would show.
// With previsao, months past the table's last take its rate.
ResultadoDebito calculaDebito(TBQDataModule& dados, const Debito& debito, DataHora pagamento,
                              const PrevisaoTaxas* previsao = nullptr);

// A sum outside the currency range throws ErroEstouroMoeda.
TotaisDemonstrativo totaliza(const QList<ResultadoDebito>& resultados);

class Demonstrativo {
public:
    Contribuinte Titular;
    DataHora DataPagamento = Datas::Vazia;
    QList<Debito> Debitos;
    // "Prever meses sem taxa publicada": the months between the table's last and the
    // payment month take the last month's rate, and every result using one is marked.
    bool PreverMesesSemTaxa = false;

    // The payment date's checks as the calculation window runs them; nothing when it passes.
    std::optional<QString> validaDataPagamento() const;

    // Calculates every debt again, in order, and the totals.
    void calcula(TBQDataModule& dados);
    const QList<ResultadoDebito>& resultados() const { return fResultados; }
    const TotaisDemonstrativo& totais() const { return fTotais; }
    // The estimated months the results used, in month order, each once with its rate.
    QList<TaxaSelicSomada> mesesEstimados() const;

private:
    QList<ResultadoDebito> fResultados;
    TotaisDemonstrativo fTotais;
};
