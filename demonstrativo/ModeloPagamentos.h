#pragma once

// The partial payments of one debt of the statement, as a table for the window's panel
// under the debts, on Qt Core alone: one row per payment as typed (Data, Valor Pago), then
// how it was allocated (the total settling the debt would have cost that day, and its
// principal, penalty and interest parts; what was paid beyond it, "Pago a maior"). Only the
// debt shown is read: an edit here changes that debt's payments in ModeloDemonstrativo,
// which calculates it alone, and a change there to that debt is shown here.

#include "demonstrativo/Imputacao.h"

#include <QAbstractTableModel>
#include <QPersistentModelIndex>

class ModeloDemonstrativo;

class ModeloPagamentos : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Coluna { Data, Valor, TotalNaData, Principal, Multa, Juros, PagoAMaior, Colunas };
    static QString tituloDaColuna(int coluna);

    explicit ModeloPagamentos(ModeloDemonstrativo& debitos, QObject* parent = nullptr);

    // The debt whose payments are shown: a row of the debts' model, or -1 for none. The
    // row follows its debt when debts are added or taken away before it; when the debt
    // goes, none is shown.
    void defineDebito(int linha);
    int debito() const;

    // A payment in blank after the last one; its row, or -1 when no debt is shown.
    int incluiPagamento();
    // Payments primeira to ultima go.
    void removePagamentos(int primeira, int ultima);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Data takes a QDate or a text (none when null or empty), Valor Pago the amount as
    // typed. A value equal to what is there changes nothing.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QList<PagamentoParcial> pagamentos() const;
    // The allocation of the payment in linha; nothing when it was not taken (refused, or
    // after one refused).
    const ParcelaImputada* parcela(int linha) const;
    // The debt's payments become these, calculated at once; every row's allocation may
    // move, as the payments are taken by date.
    void alteraPagamentos(const QList<PagamentoParcial>& pagamentos);
    void avisaAlocacoes();
    void debitosAlterados(const QModelIndex& de, const QModelIndex& ate);
    void debitosSaindo(const QModelIndex& pai, int primeira, int ultima);

    ModeloDemonstrativo& fDebitos;
    QPersistentModelIndex fDebito;
    // The rows the views know of.
    int fLinhas = 0;
    // While this model changes the debt: the debts' model's notice is not relayed.
    bool fAlterando = false;
};
