#include "framework/verlog/frmVerLog.h"

#include "ui_frmVerLog.h"

TfrmVisualiadorAvancadoLog_NURTO::TfrmVisualiadorAvancadoLog_NURTO(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TfrmVisualiadorAvancadoLog_NURTO>()) {
    ui->setupUi(this);
    connect(ui->btnLimpar, &QPushButton::clicked, this,
            &TfrmVisualiadorAvancadoLog_NURTO::btnLimparClick);
    connect(&fOuvinte, &OuvinteVisualizadorLog::linhaRecebida, this,
            &TfrmVisualiadorAvancadoLog_NURTO::acrescentaLinha);
}

TfrmVisualiadorAvancadoLog_NURTO::~TfrmVisualiadorAvancadoLog_NURTO() = default;

bool TfrmVisualiadorAvancadoLog_NURTO::escuta(const QString& nomeCanal) {
    QString erro;
    if (!fOuvinte.escuta(nomeCanal, &erro)) {
        ui->lblSituacao->setText(
            QStringLiteral("Não foi possível receber mensagens: %1").arg(erro));
        return false;
    }
    ui->lblSituacao->setText(QStringLiteral("Recebendo mensagens em %1").arg(nomeCanal));
    return true;
}

void TfrmVisualiadorAvancadoLog_NURTO::btnLimparClick() {
    ui->lstLinhas->clear();
}

void TfrmVisualiadorAvancadoLog_NURTO::acrescentaLinha(const QString& linha) {
    ui->lstLinhas->addItem(linha);
    ui->lstLinhas->scrollToBottom();
}
