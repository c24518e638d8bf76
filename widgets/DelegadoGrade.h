#pragma once

#include <QStyledItemDelegate>

class GradeDados;

// The grid's mask of a field's edit mask ("!99/99/0000;1;_" becomes "99/99/0000;_"): the
// leading "!" and the keep-literals section have no meaning for a line edit, whose text
// always carries the literals.
QString mascaraDeEntrada(const QString& mascaraEdicao);

// The cell editor of a GradeDados: a line edit with the field's edit mask. It never writes
// into the model: the grid puts the text into the field itself, so that a text that cannot
// be read stops the move that asked for it. Keys that move or settle go to the grid.
class DelegadoGrade : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit DelegadoGrade(GradeDados& grade);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    GradeDados& fGrade;
};
