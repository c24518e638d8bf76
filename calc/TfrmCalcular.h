#pragma once

// The calculation window: the user types the tax amount and picks the due and payment
// dates; the window filters the amount's keystrokes, checks the amount when the field is
// left, validates the dates in a fixed order, runs the computation and shows six results.
// It is modal and lives only while it is shown (abreJanelaCalculo).

#include "Datas.h"
#include "Moeda.h"

#include <QChar>
#include <QDialog>

#include <memory>

class Dialogos;
class Relogio;
class TBQDataModule;

class QAction;
class QCloseEvent;
class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace Ui {
class TfrmCalcular;
}

class TfrmCalcular : public QDialog {
    Q_OBJECT

public:
    TfrmCalcular(TBQDataModule& dados, Dialogos& dialogos, const Relogio& relogio,
                 QWidget* parent = nullptr);
    ~TfrmCalcular() override;

    // Both date pickers to today; the amount field takes the focus.
    void FormShow();

    // Applies FiltraTeclaValor to a key typed into the amount field; true when the key
    // was consumed here (discarded, or inserted in its changed form).
    bool MaskEditValorKeyPress(QKeyEvent* evento);
    // Accepts, changes or discards (sets to the null character) one typed character.
    void FiltraTeclaValor(QLineEdit* Campo, QChar& Tecla);

    // Runs ValidaValor on the amount field; false when the field must keep the focus.
    bool MaskEditValorExit();
    // Completes an empty amount to "0,00"; a badly formed one shows its message, takes the
    // focus back and abandons silently.
    void ValidaValor(QLineEdit* Campo);

    // True when both dates are acceptable; otherwise one message, maybe a focus move.
    bool ValidaDatas();

    void actCalcularExecute();
    void actFecharExecute();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void ligaBotao(QPushButton* botao, QAction* acao);
    bool saiDoValorAntesDoClique(const QPoint& posicao);

    std::unique_ptr<Ui::TfrmCalcular> ui;
    TBQDataModule& fDados;
    Dialogos& fDialogos;
    const Relogio& fRelogio;
    bool fValidandoValor = false;

    Moeda ValorConsiderado;
    DataHora DataPagamento = Datas::Vazia;
    DataHora DataVencimento = Datas::Vazia;
};

// Creates a fresh calculation window over pai, shows it modally and destroys it when the
// modal display ends.
void abreJanelaCalculo(QWidget* pai, TBQDataModule& dados, Dialogos& dialogos,
                       const Relogio& relogio);
