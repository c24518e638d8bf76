#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QTableView>

#include <functional>

class Campo;
class Dialogos;
class ModeloGrade;

// A data grid over an in-memory table, through a ModeloGrade. It behaves as the standard
// data grid of the desktop does: typing into a cell starts an edit of the current row;
// Up, Down, Page Up, Page Down, Ctrl+Home and Ctrl+End move the table's current row
// (each settling the pending change first); Down on the last row begins a new row at the
// end; Insert begins one before the current row; Escape undoes the cell, then abandons
// the pending change; Ctrl+Delete asks the standard question and deletes; Tab moves
// between the cells and Ctrl+Tab (Ctrl+Shift+Tab) leaves the grid. Leaving the grid puts
// the typed text into its field and drops a new row nobody changed. The cell editor is
// named after its column's title.
//
// The grid adds no rules: every change is the table's operation, with the table's rules.
// Every failure is shown through the dialogs, as the general error report (a rule's
// silent refusal shows nothing more).
class GradeDados : public QTableView {
    Q_OBJECT

public:
    explicit GradeDados(QWidget* parent = nullptr);

    void defineFonte(ModeloGrade* modelo, Dialogos* dialogos);
    ModeloGrade* fonte() const { return fModelo; }

    // Puts the open cell editor's text into its field and closes the editor. Text that
    // cannot be read as the field's type throws; the editor then stays open, with the
    // focus, for the user to correct it.
    void aplicaEdicao();
    QLineEdit* editorAberto() const { return fEditor; }

    // Used by the cell editor's delegate.
    void editorCriado(QLineEdit* editor, int coluna);
    void editorDestruido(QWidget* editor);
    bool teclaDoEditor(QKeyEvent* evento);

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void currentChanged(const QModelIndex& atual, const QModelIndex& anterior) override;
    void hideEvent(QHideEvent* evento) override;

private:
    // Runs an operation with failures shown through the dialogs; true when it completed.
    bool protegido(const std::function<void()>& corpo);
    bool trataTecla(QKeyEvent* evento);
    void comecaEdicao(QKeyEvent* tecla);
    void fechaEditor();
    bool aplicaEdicaoProtegida();
    void move(const std::function<void()>& operacao);
    void moveUmaPagina(int sentido);
    void desce();
    void escape();
    void exclui();
    void saiDaGrade();
    void saiPeloTeclado(bool adiante);
    void focoMudou(QWidget* antigo, QWidget* novo);
    bool contem(const QWidget* widget) const;
    void sincronizaAtual();
    void ajustaColunas();
    int larguraIndicador() const;

    ModeloGrade* fModelo = nullptr;
    Dialogos* fDialogos = nullptr;
    QPointer<QLineEdit> fEditor;
    int fColunaEditor = -1;
    QString fTextoOriginal;
    bool fSincronizando = false;
    bool fFocoDentro = false;
};
