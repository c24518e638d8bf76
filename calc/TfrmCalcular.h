#pragma once

// The calculation window: the user types the tax amount and picks the due and payment
// dates; the window filters the amount's keystrokes, checks the amount when the field is
// left, validates the dates in a fixed order, runs the computation and shows six results.
// It is modal and lives only while it is shown (abreJanelaCalculo). After a successful
// calculation, Imprimir (or Ctrl+P) previews the calculation memory of the results on
// screen; any later failed check or calculation disables it again.

#include "calc/Calculo.h"
#include "valores/Datas.h"
#include "calc/MemoriaCalculo.h"
#include "valores/Moeda.h"

#include <QChar>
#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class Dialogos;
class Relogio;
class TBQDataModule;
struct DocumentoMemoria;

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
    // Previews the memory of the calculation on screen, made now by the window's clock.
    void actImprimirExecute();
    void actFecharExecute();

    // How the preview opens: the print preview dialog unless a test puts another here.
    using AbrePrevia = std::function<void(const DocumentoMemoria&)>;
    void definePrevia(AbrePrevia abrePrevia) { fAbrePrevia = std::move(abrePrevia); }

    // Given every successful calculation once its results are on screen: the program
    // records it in the history, which this window knows nothing of.
    using AoCalcular = std::function<void(const ResultadoCalculo&, const MemoriaCalculo&)>;
    void defineAoCalcular(AoCalcular aoCalcular) { fAoCalcular = std::move(aoCalcular); }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void ligaBotao(QPushButton* botao, QAction* acao);
    bool saiDoValorAntesDoClique(const QPoint& posicao);
    void esqueceCalculo();
    void anunciaResultados();

    std::unique_ptr<Ui::TfrmCalcular> ui;
    TBQDataModule& fDados;
    Dialogos& fDialogos;
    const Relogio& fRelogio;
    bool fValidandoValor = false;
    AbrePrevia fAbrePrevia;
    AoCalcular fAoCalcular;
    // The calculation whose results are on screen, while it may be printed.
    std::optional<ResultadoCalculo> fResultado;
    MemoriaCalculo fMemoria;

    Moeda ValorConsiderado;
    DataHora DataPagamento = Datas::Vazia;
    DataHora DataVencimento = Datas::Vazia;
};

// Creates a fresh calculation window over pai, shows it modally and destroys it when the
// modal display ends.
void abreJanelaCalculo(QWidget* pai, TBQDataModule& dados, Dialogos& dialogos,
                       const Relogio& relogio);
