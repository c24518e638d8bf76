#include "NURFWUtilsStatus.h"

#include "NURFWMensagemStatus.h"
#include "PonteiroMouse.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int LarguraMinima = 200;

// The one status window, or nothing.
QPointer<TfrmNURMensagem> frmNURMensagem;

TfrmNURMensagem* criaJanela() {
    auto* janela = new TfrmNURMensagem();
    janela->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // A window still shown when the program ends goes away with the application.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, janela, &QObject::deleteLater);
    return janela;
}

void centraNaAreaDeTrabalho(QWidget* janela) {
    const QScreen* tela = QGuiApplication::primaryScreen();
    if (!tela)
        return;
    const QRect area = tela->availableGeometry();
    janela->move(area.left() + (area.width() - janela->width()) / 2,
                 area.top() + (area.height() - janela->height()) / 2);
}

} // namespace

void TNURUtils::MostraStatus(const QString& Mensagem) {
    if (Mensagem.isEmpty()) {
        TfrmNURMensagem* janela = frmNURMensagem;
        frmNURMensagem = nullptr;
        delete janela;
        PonteiroMouse::define(Ponteiro::Padrao);
        return;
    }
    if (!frmNURMensagem) {
        frmNURMensagem = criaJanela();
        PonteiroMouse::define(Ponteiro::Ampulheta);
    }
    TfrmNURMensagem* janela = frmNURMensagem;
    janela->pnlMostraStatus->setText(Mensagem);
    // Measured in the window's own regular font, not the panel's bold one.
    const int largura = 2 * QFontMetrics(janela->font()).horizontalAdvance(Mensagem);
    janela->resize(qMax(largura, LarguraMinima), janela->height());
    centraNaAreaDeTrabalho(janela);
    janela->show();
    janela->raise();
    janela->TimerAtualizaMensagem->start();
    janela->repaint();
}
