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

    // Nothing typed in it yet (a row the window offers to fill): neither calculated nor
    // failed, and left out of the totals.
    bool emBranco() const;

    friend bool operator==(const Debito&, const Debito&) = default;
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

    friend bool operator==(const ResultadoDebito&, const ResultadoDebito&) = default;
};

// Sums of the debts calculated, in whole cents as each result shows them, and how many
// debts they cover: the debts' amounts, what was paid in part, then what remains (the
// principal still open, its penalty, interest and total).
struct TotaisDemonstrativo {
    int Quantidade = 0;
    Moeda ValorDebitos; // the amounts as typed, before any payment
    Moeda Pago;
    Moeda Valor;
    Moeda Multa;
    Moeda Juros;
    Moeda Total;
    int Previstos = 0; // debts among them that used an estimated month

    bool previsao() const { return Previstos > 0; }

    friend bool operator==(const TotaisDemonstrativo&, const TotaisDemonstrativo&) = default;
};

// The reference month's check: "Digite a Referência!" when there is none, "Referência
// inválida! Digite o mês como MM/AAAA." when it is not a month 01 to 12 of a four-digit
// year; nothing when it passes.
std::optional<QString> validaReferencia(const QString& referencia);

// "PREVISÃO": the mark of a result that used an estimated month, wherever it is shown.
QString marcaPrevisao();
// "PREVISÃO — taxas estimadas: 10/2026 1,080000 %; 11/2026 1,080000 %"; empty for no month.
QString textoMesesEstimados(const QList<TaxaSelicSomada>& meses);

// The reference's check, then the window's checks for the amount (the sign refused, as its
// field never takes one) and its seven date checks, then the partial payments
// (imputaPagamentos), then CalculaValores on what they left; a debt that fails gives the
// message the window would show. A debt in blank gives neither result nor message. With
// previsao, months past the table's last take its rate.
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

    // Calculates every debt again, in order, and the totals. A debt whose figures would
    // take a total beyond the currency's range fails with the overflow's message and stays
    // out of the totals.
    void calcula(TBQDataModule& dados);

    // Changes that calculate only the debts they bring and move the totals by what those
    // debts add or take away, so one edit costs the same however long the statement is.
    // They keep Debitos and resultados() in step, as calcula leaves them: a change made to
    // Debitos directly is followed by calcula before any of these.
    void alteraDebito(TBQDataModule& dados, qsizetype i, const Debito& debito);
    void insereDebitos(TBQDataModule& dados, qsizetype posicao, const QList<Debito>& debitos);
    void removeDebitos(qsizetype posicao, qsizetype quantidade);

    const QList<ResultadoDebito>& resultados() const { return fResultados; }
    const TotaisDemonstrativo& totais() const { return fTotais; }
    // The estimated months the results used, in month order, each once with its rate.
    QList<TaxaSelicSomada> mesesEstimados() const;
    // Some debt's results were reached after partial payments.
    bool temPagamentos() const;

    // The same statement without the debts in blank (Debito::emBranco), their results and
    // totals as they are: what a document or a file is made of.
    Demonstrativo semBrancos() const;

private:
    // The forecast's rate for the changes that follow, when it was asked for.
    void preparaPrevisao(TBQDataModule& dados);
    // The debt's result, counted in the totals; a sum beyond the currency's range turns it
    // into a failure with the overflow's message, and the totals stay as they were.
    ResultadoDebito calculaESoma(TBQDataModule& dados, const Debito& debito);
    void tiraDosTotais(const ResultadoDebito& r);

    QList<ResultadoDebito> fResultados;
    TotaisDemonstrativo fTotais;
    std::optional<PrevisaoTaxas> fPrevisao;
};
