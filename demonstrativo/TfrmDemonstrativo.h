#pragma once

// The window of the statement of debts ("Demonstrativo de Débitos"): the taxpayer, the
// payment date and the forecast on top, the grid of debts whose results follow every edit
// at once, under it the partial payments of the debt selected there, the totals (with the
// estimated months and their rates when a result used one) and the buttons below. It is
// modal and lives only while it is shown. What it calculates lives in ModeloDemonstrativo
// and, for the payments shown, ModeloPagamentos; the window puts the inputs there, shows
// what comes back and says why a number or a date was refused beside it, never in a
// dialog.
//
// "Abrir planilha..." adds the debts of a spreadsheet file, "Exportar..." writes the
// statement to one, "Imprimir" opens the print preview of the printed statement; the file
// names are asked through a function the window can be given (defineEscolhaArquivo), Qt's
// file dialog unless told otherwise.

#include "demonstrativo/Demonstrativo.h"
#include "widgets/EscolhaArquivo.h"

#include <QDialog>

#include <memory>
#include <utility>

class Dialogos;
class ModeloDemonstrativo;
class ModeloPagamentos;
class QPushButton;
class QTableView;
class QTimer;
class Relogio;
class TBQDataModule;

namespace Ui {
class TfrmDemonstrativo;
}

class TfrmDemonstrativo : public QDialog {
    Q_OBJECT

public:
    TfrmDemonstrativo(TBQDataModule& dados, Dialogos& dialogos, const Relogio& relogio,
                      QWidget* parent = nullptr);
    ~TfrmDemonstrativo() override;

    // The statement as the window holds it now, without the rows left in blank: the
    // taxpayer accepted, the payment date, every debt with its result or message, the
    // totals.
    Demonstrativo demonstrativo() const;
    ModeloDemonstrativo& modelo() const { return *fModelo; }
    ModeloPagamentos& pagamentos() const { return *fPagamentos; }

    void defineEscolhaArquivo(EscolhaArquivo escolha) { fEscolhaArquivo = std::move(escolha); }

    // The question asked before debts typed and neither exported nor printed are
    // discarded.
    static QString perguntaDescartar();

public slots:
    // Debts from outside (the clipboard, a spreadsheet) after the last one typed, in place
    // of the rows left in blank at the end; their results follow at once.
    void incluiDebitos(const QList<Debito>& debitos);
    // The debts on screen went into a file or onto paper: closing no longer asks, until
    // they change again.
    void marcaEntregue();

    // Handlers; they can be called directly.
    void actIncluirExecute();
    void actExcluirExecute();
    void actColarExecute();
    void actAbrirPlanilhaExecute();
    void actExportarExecute();
    void actImprimirExecute();
    void actFecharExecute();
    void edtDocumentoExit();
    void DTPickerDataPagamentoChange();
    void chkPreverMesesClick();
    // A payment in blank for the debt selected, its date's cell current.
    void actIncluirPagamentoExecute();
    // The payments selected in the panel (or the current one), after the question.
    void actRemoverPagamentoExecute();

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void reject() override;

private:
    // True when the window may close: nothing would be lost, or the user chose to discard.
    bool podeFechar();
    void ligaBotao(QPushButton* botao, void (TfrmDemonstrativo::*acao)());
    void atualizaTotais();
    void anunciaMudanca();
    void anunciaResultados();
    void vaiParaLinha(int linha);
    void vaiParaPagamento(int linha);
    // The panel shows the payments of the debt in linha (-1: none).
    void mostraPagamentos(int linha);
    // Which debt the panel shows, said beside its caption and to a screen reader.
    void atualizaDebitoDosPagamentos();
    // The table window's question before rows are deleted.
    bool confirmaExclusao();

    std::unique_ptr<Ui::TfrmDemonstrativo> ui;
    TBQDataModule& fDados;
    Dialogos& fDialogos;
    const Relogio& fRelogio;
    EscolhaArquivo fEscolhaArquivo;
    ModeloDemonstrativo* fModelo;
    ModeloPagamentos* fPagamentos;
    // Changes told to a screen reader once the event that made them is over.
    QTimer* fAnuncio;
    int fLinhaAlterada = -1;
    bool fAlterado = false;
    bool fFechando = false;
};
