#include "app/TfrmPrincipal.h"

#include "refresh/AtualizacaoIndices.h"
#include "refresh/ImportacaoSerie.h"
#include "refresh/MesesDaTabelaPadrao.h"
#include "refresh/TaxasDaTabela.h"

#include "ui_TfrmPrincipal.h"

#include "valores/ConfiguracaoRegional.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "widgets/PonteiroMouse.h"
#include "VersaoBelqor.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMouseEvent>
#include <QScreen>
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

// A panel keeps its width and grows only when its text needs more.
QLabel* painelDeStatus(QWidget* pai, const QString& nome, int largura) {
    auto* painel = new QLabel(pai);
    painel->setObjectName(nome);
    painel->setMinimumWidth(largura);
    painel->resize(largura, painel->height());
    painel->setFrameShape(QFrame::Panel);
    painel->setFrameShadow(QFrame::Sunken);
    return painel;
}

QString escolheArquivoTaxas(QWidget* pai) {
    return QFileDialog::getOpenFileName(
        pai, QStringLiteral("Importar taxas de arquivo"), QString(),
        QStringLiteral("Taxas Selic (*.csv *.json *.xml);;Série do Banco Central (*.csv *.json);;"
                       "Documento de taxas (*.xml);;Todos os arquivos (*)"));
}

} // namespace

TfrmPrincipal::TfrmPrincipal(const Relogio& relogio, Dialogos& dialogos, QWidget* parent)
    : QMainWindow(parent), Timer1(new QTimer(this)), ui(std::make_unique<Ui::frmPrincipal>()),
      fRelogio(relogio), fDialogos(dialogos), fEscolhaArquivo(escolheArquivoTaxas) {
    Q_INIT_RESOURCE(figuras);
    ui->setupUi(this);

    ui->spdbtnTabelaSelic->setDefaultAction(ui->actTabelaSelic);
    ui->spdbtnCalcular->setDefaultAction(ui->actCalcular);
    ui->spdbtnDemonstrativo->setDefaultAction(ui->actDemonstrativo);
    ui->spdbtnSair->setDefaultAction(ui->actSair);
    ligaAcao(ui->btnTabelaSelic, ui->actTabelaSelic);
    ligaAcao(ui->btnCalcular, ui->actCalcular);
    fPainelTabela = painelDeStatus(ui->stbBasica, QStringLiteral("pnlTabelaSelic"), 180);
    fPainelFaltantes = painelDeStatus(ui->stbBasica, QStringLiteral("pnlMesesFaltantes"), 50);
    fPainelFaltantes->setToolTip(QStringLiteral("Clique para atualizar pelo Banco Central"));
    fPainelFaltantes->installEventFilter(this);
    ui->stbBasica->addWidget(fPainelTabela);
    ui->stbBasica->addWidget(fPainelFaltantes);

    connect(ui->actTabelaSelic, &QAction::triggered, this, [this] { actTabelaSelicExecute(); });
    connect(ui->actCalcular, &QAction::triggered, this, [this] { actCalcularExecute(); });
    connect(ui->actDemonstrativo, &QAction::triggered, this, [this] { actDemonstrativoExecute(); });
    connect(ui->actSair, &QAction::triggered, this, [this] { actSairExecute(); });
    connect(ui->actAtualizarBancoCentral, &QAction::triggered, this,
            [this] { actAtualizarBancoCentralExecute(); });
    connect(ui->actImportarTaxas, &QAction::triggered, this, [this] { actImportarTaxasExecute(); });
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
        // The layout's design size (1341 × 700) is wider than many screens; where nobody
        // maximises the window (no window manager, or before it acts) it must still fit.
        if (const QScreen* tela = screen())
            resize(size().boundedTo(tela->availableGeometry().size()));
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
            ui->spdbtnDemonstrativo->setText(QString());
            ui->spdbtnSair->setText(QString());
        });
        try {
            if (fModuloDados) {
                fModuloDados->ArqDados = fArquivoDados;
                fModuloDados->AbreTabela();
                // Before the refresh, so that the rate service is asked only for the months
                // after those the installed default brought.
                const ResultadoSerie trazidos = incluiMesesDaTabelaPadrao(*fModuloDados, fRelogio);
                informaResultado(linhasTabelaPadrao(trazidos), !trazidos.Falha.isEmpty());
            }
            if (fAtualizacaoInicial)
                fAtualizacaoInicial();
            atualizaBarraStatus();
        } catch (const AbortoSilencioso&) {
            throw;
        } catch (const std::exception& e) {
            fDialogos.erro(AtualizacaoIndices::TextoFalhaGeral + mensagemDe(e));
        }
    });
}

bool TfrmPrincipal::FormClose() {
    // The exit question comes first, as for any close: staying leaves a pending change as it
    // is; only a user who leaves is asked what becomes of it.
    if (!fDialogos.confirma(QStringLiteral("Deseja sair do programa?")))
        return false;
    if (!resolveAlteracaoPendente())
        return false;
    // A write that failed at exit is not tried again: the next exit ends the program.
    if (fModuloDados)
        fModuloDados->FechaTabela();
    return true;
}

bool TfrmPrincipal::resolveAlteracaoPendente() {
    if (!fModuloDados)
        return true;
    TabelaMemoria& tabela = fModuloDados->CDSSelic;
    const bool pendente = tabela.ativa() && tabela.modificado() &&
                          (tabela.estado() == TabelaMemoria::Estado::Editando ||
                           tabela.estado() == TabelaMemoria::Estado::Inserindo);
    if (!pendente)
        return true;
    switch (fDialogos.dialogo(
        QStringLiteral("Há uma alteração não gravada na Tabela Selic. Deseja gravá-la?"),
        TipoDialogo::Confirmacao, Botao::Sim | Botao::Nao)) {
    case Resposta::Sim:
        try {
            tabela.gravar();
        } catch (const AbortoSilencioso&) {
            // The rule has said why; the program stays open so the user can mend the row.
            return false;
        }
        return true;
    case Resposta::Nao:
        tabela.cancelar();
        return true;
    default:
        // The question was closed unanswered: nothing is dropped and nothing ends.
        return false;
    }
}

void TfrmPrincipal::Timer1Timer() {
    executaProtegido(fDialogos, [this] {
        const DataHora agora = fRelogio.agora();
        ui->lblData->setText(QStringLiteral("Data e hora do seu computador: ") +
                             Formato::dataParaTexto(agora) + QLatin1Char(' ') +
                             Formato::horaParaTexto(agora));
        if (fDiaDaBarra && fRelogio.hoje() != *fDiaDaBarra)
            atualizaBarraStatus();
    });
}

void TfrmPrincipal::actCalcularExecute() {
    executaProtegido(fDialogos, [this] { mostraModal(fJanelaCalcular); });
}

void TfrmPrincipal::actTabelaSelicExecute() {
    executaProtegido(fDialogos, [this] { mostraModal(fJanelaTabelaSelic); });
}

void TfrmPrincipal::actDemonstrativoExecute() {
    executaProtegido(fDialogos, [this] { mostraModal(fJanelaDemonstrativo); });
}

void TfrmPrincipal::actSairExecute() {
    executaProtegido(fDialogos, [this] { close(); });
}

void TfrmPrincipal::actAtualizarBancoCentralExecute() {
    executaProtegido(fDialogos, [this] {
        atualizaTaxas([this] {
            return AtualizacaoBancoCentral(*fModuloDados, fRelogio, fDestinoBancoCentral).executa();
        });
    });
}

void TfrmPrincipal::actImportarTaxasExecute() {
    executaProtegido(fDialogos, [this] {
        const QString arquivo = fEscolhaArquivo(this);
        if (arquivo.isEmpty())
            return;
        atualizaTaxas([&] { return importaArquivoTaxas(*fModuloDados, fRelogio, arquivo); });
    });
}

void TfrmPrincipal::atualizaTaxas(const std::function<ResultadoSerie()>& operacao) {
    if (!fModuloDados)
        return;
    ResultadoSerie resultado;
    {
        PonteiroMouse::define(Ponteiro::Ampulheta);
        const auto restaura = qScopeGuard([this] {
            PonteiroMouse::define(Ponteiro::Padrao);
            atualizaBarraStatus();
        });
        resultado = operacao();
    }
    informaResultado(linhasResultado(resultado), !resultado.Falha.isEmpty());
}

void TfrmPrincipal::informaResultado(const QStringList& linhas, bool falhou) {
    if (linhas.isEmpty())
        return;
    const QString texto = linhas.join(QStringLiteral("\n\r"));
    if (falhou)
        fDialogos.erro(texto);
    else
        fDialogos.mensagem(texto);
}

void TfrmPrincipal::atualizaBarraStatus() {
    if (!fModuloDados || !fModuloDados->CDSSelic.ativa())
        return;
    fDiaDaBarra = fRelogio.hoje();
    const std::optional<DataHora> ultimo = ultimoMesDaTabela(*fModuloDados);
    fPainelTabela->setText(ultimo ? QStringLiteral("Tabela Selic até ") + Formato::mesAno(*ultimo)
                                  : QStringLiteral("Tabela Selic vazia"));
    const std::optional<MesesFaltantes> faltam = mesesFaltantes(*fModuloDados, fRelogio.hoje());
    if (!faltam)
        fPainelFaltantes->clear();
    else if (faltam->De == faltam->Ate)
        fPainelFaltantes->setText(QStringLiteral("Falta a taxa de ") + Formato::mesAno(faltam->De));
    else
        fPainelFaltantes->setText(
            QStringLiteral("Faltam as taxas de %1 a %2")
                .arg(Formato::mesAno(faltam->De), Formato::mesAno(faltam->Ate)));
    fPainelFaltantes->setCursor(faltam ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TfrmPrincipal::mostraModal(const FabricaJanela& fabrica) {
    // Until the window exists the command shows nothing.
    if (!fabrica)
        return;
    const std::unique_ptr<QDialog> janela = fabrica(this);
    janela->exec();
    atualizaBarraStatus();
}

bool TfrmPrincipal::eventFilter(QObject* objeto, QEvent* evento) {
    // The missing months lead to the command that fetches them.
    if (objeto == fPainelFaltantes && evento->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton &&
        !fPainelFaltantes->text().isEmpty()) {
        ui->actAtualizarBancoCentral->trigger();
        return true;
    }
    return QMainWindow::eventFilter(objeto, evento);
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
