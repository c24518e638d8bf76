#pragma once

// The statement as a table for the window's grid, on Qt Core alone: one row per debt, the
// four columns typed (Referência, Vencimento, Valor do ICMS, Descrição), what its partial
// payments paid and left of the principal (Pago, Principal em Aberto), then the results
// on what they left (Dias, Taxa de Juros, Multa de Mora, Juros de Mora, Total) and the
// debt's Mensagem: why it failed, or "PREVISÃO" when a rate it used was estimated. An edit
// of a typed cell or of the debt's payments calculates that debt alone and moves the
// totals by the difference, and tells the views of that one row; the payment date and the
// forecast calculate every debt again.

#include "demonstrativo/Demonstrativo.h"

#include <QAbstractTableModel>

class TBQDataModule;

class ModeloDemonstrativo : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Coluna {
        Referencia,
        Vencimento,
        Valor,
        Descricao,
        Pago,
        PrincipalEmAberto,
        Dias,
        Taxa,
        Multa,
        Juros,
        Total,
        Mensagem,
        Colunas
    };
    static QString tituloDaColuna(int coluna);

    explicit ModeloDemonstrativo(TBQDataModule& dados, QObject* parent = nullptr);

    const Demonstrativo& demonstrativo() const { return fDemonstrativo; }
    Contribuinte& titular() { return fDemonstrativo.Titular; }
    // Whether any debt has something typed in it.
    bool temDebitos() const;

    void defineDataPagamento(DataHora data);
    // "Prever meses sem taxa publicada": every debt is calculated again.
    void definePrevisao(bool prever);
    // The partial payments of the debt in linha, as typed; that debt alone is calculated
    // again.
    void definePagamentos(int linha, const QList<PagamentoParcial>& pagamentos);
    void insereDebitos(int posicao, const QList<Debito>& debitos);
    void removeDebitos(int posicao, int quantidade);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The typed columns take text (Referência, Valor do ICMS, Descrição, as typed) and a
    // QDate (Vencimento; a null date is none, and so is an empty text). A value equal to
    // what is there changes nothing.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // After any change of the totals' figures.
    void totaisMudaram();
    // After any change of what was typed: a cell, rows added or taken away.
    void debitosMudaram();
    // After one typed cell of the row, or its payments, changed and its debt was
    // calculated again.
    void debitoAlterado(int linha);

private:
    // Debt linha becomes debito, calculated alone; the views and the window are told.
    void alteraDebito(int linha, const Debito& debito);
    // Every debt calculated again; the views and the window are told.
    void recalculaTodos();

    TBQDataModule& fDados;
    Demonstrativo fDemonstrativo;
};
