#include "ratetable/TfrmTabSelic.h"

#include "widgets/CentraJanela.h"
#include "widgets/ModeloGrade.h"
#include "widgets/TituloSemBotoes.h"
#include "ui_TfrmTabSelic.h"

#include <QKeyEvent>

// The pictures live in a static library: their resource is registered by hand.
static void registraImagens() {
    Q_INIT_RESOURCE(tabelaselic);
}

TfrmTabSelic::TfrmTabSelic(TBQDataModule& dados, Dialogos& dialogos, QWidget* parent)
    : QDialog(parent), dsSelic(new ModeloGrade(dados.CDSSelic, this)),
      ui(std::make_unique<Ui::TfrmTabSelic>()), fDados(dados), fDialogos(dialogos) {
    registraImagens();
    ui->setupUi(this);
    pedeTituloSemBotoes(this);
    setFixedSize(size());

    ui->DBGridTabSelic->defineFonte(dsSelic, &fDialogos);

    ui->btnFirst->setDefaultAction(ui->actFirst);
    ui->btnPrior->setDefaultAction(ui->actPrior);
    ui->btnNext->setDefaultAction(ui->actNext);
    ui->SpeedButton4->setDefaultAction(ui->actLast);
    ui->btnIncluir->setDefaultAction(ui->actIncluir);
    ui->SpeedButton1->setDefaultAction(ui->actExcluir);
    ui->btnFechar->setToolTip(ui->actFechar->toolTip());
    connect(ui->btnFechar, &QPushButton::clicked, ui->actFechar, &QAction::trigger);

    connect(ui->actFirst, &QAction::triggered, this, &TfrmTabSelic::actFirstExecute);
    connect(ui->actPrior, &QAction::triggered, this, &TfrmTabSelic::actPriorExecute);
    connect(ui->actNext, &QAction::triggered, this, &TfrmTabSelic::actNextExecute);
    connect(ui->actLast, &QAction::triggered, this, &TfrmTabSelic::actLastExecute);
    connect(ui->actIncluir, &QAction::triggered, this, &TfrmTabSelic::actIncluirExecute);
    connect(ui->actExcluir, &QAction::triggered, this, &TfrmTabSelic::actExcluirExecute);
    connect(ui->actFechar, &QAction::triggered, this, &TfrmTabSelic::actFecharExecute);
}

TfrmTabSelic::~TfrmTabSelic() = default;

void TfrmTabSelic::executa(const std::function<void(TabelaMemoria&)>& operacao) {
    executaProtegido(fDialogos, [&] {
        ui->DBGridTabSelic->aplicaEdicao();
        operacao(fDados.CDSSelic);
    });
}

void TfrmTabSelic::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (evento->spontaneous())
        return;
    centraSobreJanela(this, parentWidget());
    ui->DBGridTabSelic->setFocus();
    FormShow();
}

void TfrmTabSelic::keyPressEvent(QKeyEvent* evento) {
    // Only "Fechar" closes the window.
    if (evento->key() == Qt::Key_Escape) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void TfrmTabSelic::FormShow() {
    executa([](TabelaMemoria& t) { t.ultimo(); });
}

void TfrmTabSelic::actFirstExecute() {
    executa([](TabelaMemoria& t) { t.primeiro(); });
}

void TfrmTabSelic::actPriorExecute() {
    executa([](TabelaMemoria& t) { t.anterior(); });
}

void TfrmTabSelic::actNextExecute() {
    executa([](TabelaMemoria& t) { t.proximo(); });
}

void TfrmTabSelic::actLastExecute() {
    executa([](TabelaMemoria& t) { t.ultimo(); });
}

void TfrmTabSelic::actIncluirExecute() {
    executa([](TabelaMemoria& t) { t.inserir(); });
}

void TfrmTabSelic::actExcluirExecute() {
    executa([](TabelaMemoria& t) { t.excluir(); });
}

void TfrmTabSelic::actFecharExecute() {
    close();
}

void abreJanelaTabelaSelic(QWidget* pai, TBQDataModule& dados, Dialogos& dialogos) {
    TfrmTabSelic frmTabSelic(dados, dialogos, pai);
    frmTabSelic.exec();
}
