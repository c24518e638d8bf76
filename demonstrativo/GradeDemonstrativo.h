#pragma once

// A grid of the statement (its debts, a debt's payments), sized and edited as its model
// says (CelulasDemonstrativo.h). Typing into a cell of a typed column opens its editor
// with the key typed, F2 opens it as it is; Tab and Shift+Tab move between the cells,
// Ctrl+Tab and Ctrl+Shift+Tab leave the grid, from a cell or from its open editor. Ctrl+V
// asks for the clipboard's rows, Insert for a new row and Ctrl+Delete for the current one
// to go: the window decides what each means.

#include <QTableView>

class GradeDemonstrativo : public QTableView {
    Q_OBJECT

public:
    explicit GradeDemonstrativo(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    // Out of the grid by the keyboard (its editor, when open, has put its text into its
    // cell and closed first).
    void saiPeloTeclado(bool adiante);

signals:
    void colar();
    void incluir();
    void excluir();

protected:
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void ajustaColunas();
};
