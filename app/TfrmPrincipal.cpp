#include "TfrmPrincipal.h"

#include "AtualizacaoIndices.h"

#include "ui_TfrmPrincipal.h"

#include "ConfiguracaoRegional.h"
#include "Erros.h"
#include "Formatacao.h"
#include "VersaoBelqor.h"

#include <QCloseEvent>
#include <QScopeGuard>
#include <QTimer>

namespace {

const QString Versao = QStringLiteral(BELQOR_VERSAO);

// A push button takes the action's caption, hint and picture and runs it when clicked.
void ligaAcao(QPushButton* botao, QAction* acao) {
    botao->setText(acao->text());
    botao->setToolTip(acao->toolTip());
    QObject::connect(botao, &QPushButton::clicked, acao, &QAction::trigger);
}

QLabel* painelDeStatus(QWidget* pai, int largura) {
    auto* painel = new QLabel(pai);
    painel->setFixedWidth(largura);
    painel->setFrameShape(QFrame::Panel);
    painel->setFrameShadow(QFrame::Sunken);
    return painel;
}

} // namespace

TfrmPrincipal::TfrmPrincipal(const Relogio& relogio, Dialogos& dialogos, QWidget* parent)
    : QMainWindow(parent), Timer1(new QTimer(this)), ui(std::make_unique<Ui::frmPrincipal>()),
      fRelogio(relogio), fDialogos(dialogos) {
    Q_INIT_RESOURCE(figuras);
    ui->setupUi(this);

    ui->spdbtnTabelaSelic->setDefaultAction(ui->actTabelaSelic);
    ui->spdbtnCalcular->setDefaultAction(ui->actCalcular);
    ui->spdbtnSair->setDefaultAction(ui->actSair);
    ligaAcao(ui->btnTabelaSelic, ui->actTabelaSelic);
    ligaAcao(ui->btnCalcular, ui->actCalcular);
    ui->stbBasica->addWidget(painelDeStatus(ui->stbBasica, 180));
    ui->stbBasica->addWidget(painelDeStatus(ui->stbBasica, 50));

    connect(ui->actTabelaSelic, &QAction::triggered, this, [this] { actTabelaSelicExecute(); });
    connect(ui->actCalcular, &QAction::triggered, this, [this] { actCalcularExecute(); });
    connect(ui->actSair, &QAction::triggered, this, [this] { actSairExecute(); });
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    FormCreate();
}

TfrmPrincipal::~TfrmPrincipal() = default;

void TfrmPrincipal::defineModuloDados(TBQDataModule& modulo, const QString& arquivo) {
    fModuloDados = &modulo;
    fArquivoDados = arquivo;
}

void TfrmPrincipal::FormCreate() {
    executaProtegido(fDialogos, [this] {
        regional().padraoDataCurta = QStringLiteral("dd/mm/yyyy");
        ui->lblVersao->setText(QStringLiteral("Versão: ") + Versao);
        setWindowTitle(QStringLiteral("BELQOR - Atualização de ICMS vencido - Versão ") + Versao);
        setWindowState(windowState() | Qt::WindowMaximized);
        ui->btnCalcular->setFocus();
        Timer1->start();
    });
}

void TfrmPrincipal::FormShow() {
    executaProtegido(fDialogos, [this] {
        // From the first showing on, the toolbar shows only pictures and hints.
        const auto limpaBarra = qScopeGuard([this] {
            ui->spdbtnTabelaSelic->setText(QString());
            ui->spdbtnCalcular->setText(QString());
            ui->spdbtnSair->setText(QString());
        });
        try {
            if (fModuloDados) {
                fModuloDados->ArqDados = fArquivoDados;
                fModuloDados->AbreTabela();
            }
            if (fAtualizacaoInicial)
                fAtualizacaoInicial();
        } catch (const AbortoSilencioso&) {
            throw;
        } catch (const std::exception& e) {
            fDialogos.erro(AtualizacaoIndices::TextoFalhaGeral + mensagemDe(e));
        }
    });
}

bool TfrmPrincipal::FormClose() {
    if (!fDialogos.confirma(QStringLiteral("Deseja sair do programa?")))
        return false;
    // A write that failed at exit is not tried again: the next exit ends the program.
    if (fModuloDados)
        fModuloDados->FechaTabela();
    return true;
}

void TfrmPrincipal::Timer1Timer() {
    executaProtegido(fDialogos, [this] {
        const DataHora agora = fRelogio.agora();
        ui->lblData->setText(QStringLiteral("Data e hora do seu computador: ") +
                             Formato::dataParaTexto(agora) + QLatin1Char(' ') +
                             Formato::horaParaTexto(agora));
    });
}

void TfrmPrincipal::actCalcularExecute() {
    executaProtegido(fDialogos, [this] { mostraModal(fJanelaCalcular); });
}

void TfrmPrincipal::actTabelaSelicExecute() {
    executaProtegido(fDialogos, [this] { mostraModal(fJanelaTabelaSelic); });
}

void TfrmPrincipal::actSairExecute() {
    executaProtegido(fDialogos, [this] { close(); });
}

void TfrmPrincipal::mostraModal(const FabricaJanela& fabrica) {
    // Until the window exists the command shows nothing.
    if (!fabrica)
        return;
    const std::unique_ptr<QDialog> janela = fabrica(this);
    janela->exec();
}

void TfrmPrincipal::showEvent(QShowEvent* evento) {
    QMainWindow::showEvent(evento);
    if (fMostrada)
        return;
    fMostrada = true;
    FormShow();
}

void TfrmPrincipal::closeEvent(QCloseEvent* evento) {
    bool podeFechar = false;
    executaProtegido(fDialogos, [&] { podeFechar = FormClose(); });
    if (podeFechar) {
        Timer1->stop();
        evento->accept();
    } else {
        evento->ignore();
    }
}
