#pragma once

#include "tabela/TabelaMemoria.h"

#include <QAbstractTableModel>
#include <QList>
#include <QVariant>

// A table model over an in-memory table, for grids: one column per field, one row per
// displayed row (the row being inserted included). It keeps a copy of what it last showed
// and, whenever the table changes, tells the views exactly which rows came, went or
// changed, so column widths, the current cell and an open editor survive the change.
// It only reads: grids change the table through the table itself.
class ModeloGrade : public QAbstractTableModel {
    Q_OBJECT

public:
    // The mark of a row in the indicator header.
    enum class Indicador { Nenhum, Atual, Editando, Inserindo };
    // Header data role giving the row's Indicador as an int.
    static constexpr int PapelIndicador = Qt::UserRole + 1;
    // The mark's text, as the header shows it (empty for Nenhum).
    static QString textoIndicador(Indicador indicador);

    explicit ModeloGrade(TabelaMemoria& tabela, QObject* parent = nullptr);

    TabelaMemoria& tabela() const { return fTabela; }
    Campo* campoDaColuna(int coluna) const;
    int colunaDoCampo(const Campo* campo) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // True while the model passes a change of the table on to its views.
    bool atualizando() const { return fAtualizando; }

private:
    struct Linha {
        quint64 id = 0;
        QList<QVariant> valores;
        Indicador indicador = Indicador::Nenhum;
    };

    void atualiza();
    QList<Linha> leLinhas() const;

    TabelaMemoria& fTabela;
    QList<Linha> fLinhas;
    int fColunas = 0;
    bool fAtualizando = false;
};
