#include "calc/TfrmCalcular.h"

#include "ratetable/BQDataModule.h"
#include "calc/Calculo.h"
#include "widgets/AnuncioLeitor.h"
#include "widgets/CalendarioPeloTeclado.h"
#include "widgets/CentraJanela.h"
#include "dialogos/Dialogos.h"
#include "calc/DocumentoMemoria.h"
#include "valores/Erros.h"
#include "calc/FormataResultado.h"
#include "valores/Formatacao.h"
#include "calc/PreviaImpressao.h"
#include "calc/TeclasValor.h"
#include "valores/Relogio.h"
#include "widgets/EnterPressionaBotao.h"
#include "widgets/TituloSemBotoes.h"
#include "calc/ValidacaoCalculo.h"
#include "ui_TfrmCalcular.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include <optional>

// The pictures live in this static library; outside any namespace, as the resource
// initialiser is a global function.
static void carregaImagens() {
    Q_INIT_RESOURCE(Calculo);
}

TfrmCalcular::TfrmCalcular(TBQDataModule& dados, Dialogos& dialogos, const Relogio& relogio,
                           QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmCalcular>()), fDados(dados), fDialogos(dialogos),
      fRelogio(relogio),
      fAbrePrevia([this](const DocumentoMemoria& d) { abrePreviaImpressao(this, fDialogos, d); }) {
    carregaImagens();
    ui->setupUi(this);
    pedeTituloSemBotoes(this);
    setFixedSize(size());

    ligaBotao(ui->btnCalcular, ui->actCalcular);
    ligaBotao(ui->btnImprimir, ui->actImprimir);
    ligaBotao(ui->btnFechar, ui->actFechar);
    connect(ui->actCalcular, &QAction::triggered, this, &TfrmCalcular::actCalcularExecute);
    connect(ui->actImprimir, &QAction::triggered, this, &TfrmCalcular::actImprimirExecute);
    connect(ui->actFechar, &QAction::triggered, this, &TfrmCalcular::actFecharExecute);
    // Ctrl+P, wherever the focus is in the window.
    addAction(ui->actImprimir);

    ui->MaskEditValor->installEventFilter(this);
    ui->DTPickerDataVencimento->installEventFilter(this);
    ui->DTPickerDataPagamento->installEventFilter(this);
    ui->btnCalcular->installEventFilter(this);
    ui->btnImprimir->installEventFilter(this);
    ui->btnFechar->installEventFilter(this);
    for (QPushButton* botao : {ui->btnCalcular, ui->btnImprimir, ui->btnFechar})
        enterPressionaBotao(botao);
    abreCalendarioPeloTeclado(ui->DTPickerDataVencimento);
    abreCalendarioPeloTeclado(ui->DTPickerDataPagamento);
}

TfrmCalcular::~TfrmCalcular() = default;

void TfrmCalcular::ligaBotao(QPushButton* botao, QAction* acao) {
    botao->setText(acao->text());
    botao->setIcon(acao->icon());
    botao->setEnabled(acao->isEnabled());
    connect(acao, &QAction::enabledChanged, botao, &QWidget::setEnabled);
    connect(botao, &QPushButton::clicked, acao, [this, acao] {
        // A button takes the focus before it clicks; when the focus is back in the amount
        // field, its exit check refused the move and the click is abandoned with it.
        if (!ui->MaskEditValor->hasFocus())
            acao->trigger();
    });
}

void TfrmCalcular::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (!evento->spontaneous())
        centraSobreJanela(this, parentWidget());
    if (QWindow* janela = windowHandle())
        janela->installEventFilter(this);
    FormShow();
}

void TfrmCalcular::closeEvent(QCloseEvent* evento) {
    // A close asked from outside (the window manager, Alt+F4) leaves the amount field as
    // "Fechar" does: a badly formed amount keeps the window open.
    if (focusWidget() == ui->MaskEditValor && !MaskEditValorExit()) {
        evento->ignore();
        return;
    }
    QDialog::closeEvent(evento);
}

void TfrmCalcular::keyPressEvent(QKeyEvent* evento) {
    // The window closes through Fechar only: Escape would pass over the amount's exit check.
    if (evento->matches(QKeySequence::Cancel))
        return;
    QDialog::keyPressEvent(evento);
}

bool TfrmCalcular::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == ui->MaskEditValor) {
        if (evento->type() == QEvent::KeyPress)
            return MaskEditValorKeyPress(static_cast<QKeyEvent*>(evento));
        if (evento->type() == QEvent::FocusOut) {
            // Another application or a message box taking over is not leaving the field.
            const Qt::FocusReason motivo = static_cast<QFocusEvent*>(evento)->reason();
            if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason &&
                isVisible())
                MaskEditValorExit();
        }
        return false;
    }
    if ((objeto == ui->DTPickerDataVencimento || objeto == ui->DTPickerDataPagamento) &&
        evento->type() == QEvent::KeyPress) {
        // Tab leaves the picker as in the rest of the window; arrows move between its parts.
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Tab || tecla == Qt::Key_Backtab)
            return focusNextPrevChild(tecla == Qt::Key_Tab);
        return false;
    }
    if ((objeto == ui->btnCalcular || objeto == ui->btnImprimir || objeto == ui->btnFechar) &&
        evento->type() == QEvent::Shortcut && ui->MaskEditValor->hasFocus()) {
        // A key accelerator clicks without moving the focus; moving it first lets the
        // amount's exit check run, and a refusal keeps the button from clicking.
        static_cast<QWidget*>(objeto)->setFocus(Qt::ShortcutFocusReason);
        return ui->MaskEditValor->hasFocus();
    }
    if (objeto == windowHandle() && (evento->type() == QEvent::MouseButtonPress ||
                                     evento->type() == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<QMouseEvent*>(evento);
        return !saiDoValorAntesDoClique(mouse->position().toPoint());
    }
    return QDialog::eventFilter(objeto, evento);
}

// A click on another control would move the focus out of the amount field: the exit check
// runs first, and when it refuses, the click never reaches the control (no button is left
// pressed behind the message).
bool TfrmCalcular::saiDoValorAntesDoClique(const QPoint& posicao) {
    QLineEdit* campo = ui->MaskEditValor;
    if (!campo->hasFocus())
        return true;
    QWidget* alvo = childAt(posicao);
    while (alvo && alvo != this && !(alvo->isEnabled() && (alvo->focusPolicy() & Qt::ClickFocus)))
        alvo = alvo->parentWidget();
    if (!alvo || alvo == this || alvo == campo || campo->isAncestorOf(alvo))
        return true;
    return MaskEditValorExit();
}

void TfrmCalcular::FormShow() {
    executaProtegido(fDialogos, [this] {
        const QDate hoje = Datas::paraQDate(fRelogio.hoje());
        ui->DTPickerDataVencimento->setDate(hoje);
        ui->DTPickerDataPagamento->setDate(hoje);
        ui->MaskEditValor->setFocus(Qt::OtherFocusReason);
    });
}

bool TfrmCalcular::MaskEditValorKeyPress(QKeyEvent* evento) {
    bool consumido = true;
    executaProtegido(fDialogos, [&] { consumido = aplicaFiltroValor(ui->MaskEditValor, *evento); });
    return consumido;
}

void TfrmCalcular::FiltraTeclaValor(QLineEdit* Campo, QChar& Tecla) {
    filtraTeclaValor(Campo, Tecla);
}

bool TfrmCalcular::MaskEditValorExit() {
    if (fValidandoValor)
        return true;
    fValidandoValor = true;
    bool aceito = false;
    executaProtegido(fDialogos, [&] {
        ValidaValor(ui->MaskEditValor);
        aceito = true;
    });
    fValidandoValor = false;
    return aceito;
}

void TfrmCalcular::ValidaValor(QLineEdit* Campo) {
    QString texto = Campo->text();
    const auto falha = ValidaTextoValor(texto);
    if (texto != Campo->text())
        Campo->setText(texto);
    if (!falha)
        return;
    esqueceCalculo();
    fDialogos.mensagem(falha->Mensagem);
    Campo->setFocus(Qt::OtherFocusReason);
    aborta();
}

bool TfrmCalcular::ValidaDatas() {
    const auto falha = ::ValidaDatas(Datas::deQDate(ui->DTPickerDataVencimento->date()),
                                     Datas::deQDate(ui->DTPickerDataPagamento->date()));
    if (!falha)
        return true;
    fDialogos.mensagem(falha->Mensagem);
    if (falha->MoveFoco) {
        QWidget* campo = falha->Campo == CampoCalculo::DataVencimento ? ui->DTPickerDataVencimento
                                                                      : ui->DTPickerDataPagamento;
        campo->setFocus(Qt::OtherFocusReason);
    }
    return false;
}

void TfrmCalcular::esqueceCalculo() {
    fResultado.reset();
    ui->actImprimir->setEnabled(false);
}

void TfrmCalcular::actCalcularExecute() {
    // Whatever stops this calculation, the inputs on screen no longer match a printable
    // record.
    esqueceCalculo();
    executaProtegido(fDialogos, [this] {
        if (!ValidaDatas())
            return;
        ValorConsiderado = Formato::textoParaMoeda(ui->MaskEditValor->text());
        DataPagamento = Datas::deQDate(ui->DTPickerDataPagamento->date());
        DataVencimento = Datas::deQDate(ui->DTPickerDataVencimento->date());
        MemoriaCalculo memoria;
        const std::optional<ResultadoCalculo> r =
            CalculaValores(fDados, ValorConsiderado, DataVencimento, DataPagamento, &memoria);
        if (!r)
            return;
        // Every text is formed before any label changes: all six results or none.
        const ResultadoFormatado f = formataResultado(*r);
        ui->lblResNumDias->setText(f.Dias);
        ui->lblResTaxa->setText(f.Taxa);
        ui->lblResValor->setText(f.Valor);
        ui->lblResMulta->setText(f.Multa);
        ui->lblResJuros->setText(f.Juros);
        ui->lblResTotal->setText(f.Total);
        anunciaResultados();
        fResultado = r;
        fMemoria = std::move(memoria);
        ui->actImprimir->setEnabled(true);
        if (fAoCalcular)
            fAoCalcular(*fResultado, fMemoria);
    });
}

// A screen reader user hears the six results, each after its caption, where the focus is.
void TfrmCalcular::anunciaResultados() {
    QStringList partes;
    for (const QLabel* legenda :
         {ui->Label9, ui->Taxa, ui->Label4, ui->Label5, ui->Label6, ui->Label7})
        partes << legenda->text() + QStringLiteral(": ") +
                      static_cast<const QLabel*>(legenda->buddy())->text();
    anunciaNoFoco(this, partes.join(QStringLiteral("; ")));
}

void TfrmCalcular::actImprimirExecute() {
    executaProtegido(fDialogos, [this] {
        // Ctrl+P does not move the focus: a badly formed amount is refused first, as any
        // other control would refuse it.
        if (ui->MaskEditValor->hasFocus() && !MaskEditValorExit())
            return;
        if (!fResultado)
            return;
        fAbrePrevia({*fResultado, fMemoria, fRelogio.agora(), fDados.ConfigApp.Versao()});
    });
}

void TfrmCalcular::actFecharExecute() {
    executaProtegido(fDialogos, [this] { close(); });
}

void abreJanelaCalculo(QWidget* pai, TBQDataModule& dados, Dialogos& dialogos,
                       const Relogio& relogio) {
    const auto frmCalcular = std::make_unique<TfrmCalcular>(dados, dialogos, relogio, pai);
    frmCalcular->exec();
}
