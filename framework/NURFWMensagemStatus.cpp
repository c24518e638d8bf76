#include "framework/NURFWMensagemStatus.h"

#include "ui_NURFWMensagemStatus.h"

#include "widgets/AcessivelPorClasse.h"

#include <QLabel>
#include <QTimer>

TfrmNURMensagem::TfrmNURMensagem(QWidget* parent)
    : QWidget(parent), TimerAtualizaMensagem(new QTimer(this)),
      ui(std::make_unique<Ui::TfrmNURMensagem>()) {
    // A screen reader meets the window as a dialog named by its message.
    static const bool registrado =
        (registraAcessivel(
             staticMetaObject, QAccessible::Dialog,
             [](const QWidget* w) {
                 return static_cast<const TfrmNURMensagem*>(w)->pnlMostraStatus->text();
             }),
         true);
    Q_UNUSED(registrado);
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
