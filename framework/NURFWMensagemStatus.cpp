#include "framework/NURFWMensagemStatus.h"

#include "ui_NURFWMensagemStatus.h"

#include <QTimer>

TfrmNURMensagem::TfrmNURMensagem(QWidget* parent)
    : QWidget(parent), TimerAtualizaMensagem(new QTimer(this)),
      ui(std::make_unique<Ui::TfrmNURMensagem>()) {
    ui->setupUi(this);
    pnlMostraStatus = ui->pnlMostraStatus;
    FwBevel = ui->FwBevel;
    setBackgroundRole(QPalette::Button);
    TimerAtualizaMensagem->setObjectName(QStringLiteral("TimerAtualizaMensagem"));
    TimerAtualizaMensagem->setInterval(2000);
    connect(TimerAtualizaMensagem, &QTimer::timeout, this,
            &TfrmNURMensagem::TimerAtualizaMensagemTimer);
}

TfrmNURMensagem::~TfrmNURMensagem() = default;

void TfrmNURMensagem::TimerAtualizaMensagemTimer() {
    repaint();
}
