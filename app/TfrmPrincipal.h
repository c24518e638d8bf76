#pragma once

#include "refresh/AtualizacaoBancoCentral.h"
#include "ratetable/BQDataModule.h"
#include "dialogos/Dialogos.h"
#include "valores/Relogio.h"

#include <QDialog>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class frmPrincipal;
}
class QLabel;
class QTimer;

// The home window for the whole run: menu, toolbar, notices, clock, the two large
// buttons and a status bar that tells how far the rate table goes and which months it
// lacks. It opens the rate table on its first showing and closes it on exit, after
// asking the user; the table is kept current from the central bank or from a file. The windows its
// commands open are built elsewhere and handed in as factories, so this window depends on none of
// them.
class TfrmPrincipal : public QMainWindow {
    Q_OBJECT

public:
    // Builds a fresh window for a command; the command shows it modally and destroys it.
    using FabricaJanela = std::function<std::unique_ptr<QDialog>(QWidget* pai)>;
    // Asks for the file to import rates from; empty when the user gave up.
    using EscolhaArquivo = std::function<QString(QWidget* pai)>;

    TfrmPrincipal(const Relogio& relogio, Dialogos& dialogos, QWidget* parent = nullptr);
    ~TfrmPrincipal() override;

    // The data module is created after the window; the first showing opens its table
    // from `arquivo` and the exit closes it.
    void defineModuloDados(TBQDataModule& modulo,
                           const QString& arquivo = TBQDataModule::arquivoPadrao());
    // Runs on the first showing right after the table is opened, inside the same guard:
    // what it throws is shown as a failure to update the rates.
    void defineAtualizacaoInicial(std::function<void()> atualizacao) {
        fAtualizacaoInicial = std::move(atualizacao);
    }
    void defineJanelaCalcular(FabricaJanela fabrica) { fJanelaCalcular = std::move(fabrica); }
    void defineJanelaTabelaSelic(FabricaJanela fabrica) { fJanelaTabelaSelic = std::move(fabrica); }
    void defineJanelaDemonstrativo(FabricaJanela fabrica) {
        fJanelaDemonstrativo = std::move(fabrica);
    }
    void defineDestinoBancoCentral(DestinoBancoCentral destino) {
        fDestinoBancoCentral = std::move(destino);
    }
    void defineEscolhaArquivo(EscolhaArquivo escolha) { fEscolhaArquivo = std::move(escolha); }

    // Handlers; they can be called directly.
    void FormCreate();
    void FormShow();
    // True when the window may close: the user confirms the exit, then a change left pending
    // in the rate table is stored or dropped as the user answers (closing the table at exit
    // would drop it without a word).
    bool FormClose();
    void Timer1Timer();
    void actCalcularExecute();
    void actTabelaSelicExecute();
    void actDemonstrativoExecute();
    void actSairExecute();
    void actAtualizarBancoCentralExecute();
    void actImportarTaxasExecute();

    QTimer* Timer1;

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void mostraModal(const FabricaJanela& fabrica);
    // False when the window must stay open: the user closed the question, or the rule
    // refused the change to be stored.
    bool resolveAlteracaoPendente();
    // Runs an operation on the table under the busy pointer and shows what it did.
    void atualizaTaxas(const std::function<ResultadoSerie()>& operacao);
    // One message of the given lines, an error when something failed; none without lines.
    void informaResultado(const QStringList& linhas, bool falhou);
    // The last month held and the months missing, after every change of the table.
    void atualizaBarraStatus();

    std::unique_ptr<Ui::frmPrincipal> ui;
    const Relogio& fRelogio;
    Dialogos& fDialogos;
    TBQDataModule* fModuloDados = nullptr;
    QString fArquivoDados;
    std::function<void()> fAtualizacaoInicial;
    FabricaJanela fJanelaCalcular;
    FabricaJanela fJanelaTabelaSelic;
    FabricaJanela fJanelaDemonstrativo;
    DestinoBancoCentral fDestinoBancoCentral = DestinoBancoCentral::padrao();
    EscolhaArquivo fEscolhaArquivo;
    QLabel* fPainelTabela;
    QLabel* fPainelFaltantes;
    bool fMostrada = false;
    // The day the status bar was last worked out for: a month ends with no change to the
    // table, and the missing months must show it.
    std::optional<DataHora> fDiaDaBarra;
};
