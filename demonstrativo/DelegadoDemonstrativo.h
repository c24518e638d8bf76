#pragma once

// The cell editors of the statement's grids, each named after its column for a screen
// reader, of the kind the model asks for (PapelEditor): a month in a field shaped MM/AAAA,
// a date in a date editor whose calendar opens by the keyboard (Alt+Down, F4), starting on
// an empty cell at the date the model gives (the payment date); an amount in a field with
// the calculation window's keystroke filter, and text in a plain field. Ctrl+Tab in an
// editor puts its text into the cell and leaves the grid.

#include <QStyledItemDelegate>

class GradeDemonstrativo;

class DelegadoDemonstrativo : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit DelegadoDemonstrativo(GradeDemonstrativo& grade);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    GradeDemonstrativo& fGrade;
};
