#include "framework/NURFWUtils.h"

#include "framework/NURFWMensagemStatus.h"
#include "widgets/PonteiroMouse.h"

#include <QAccessible>
#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

constexpr int LarguraMinima = 200;
// Bounds the wait for a display that never exposes the window (hidden, minimised).
constexpr int PrazoExposicaoMs = 500;

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

// Ends a wait as soon as the window is on screen.
class FimDaEspera : public QObject {
public:
    FimDaEspera(const QWindow& janela, QEventLoop& espera) : fJanela(janela), fEspera(espera) {}
    bool eventFilter(QObject*, QEvent* evento) override {
        if (evento->type() == QEvent::Expose && fJanela.isExposed())
            fEspera.quit();
        return false;
    }

private:
    const QWindow& fJanela;
    QEventLoop& fEspera;
};

// A window just shown reaches the screen only once the display has exposed it; a repaint
// before that draws nothing. So wait for the exposure, letting no user input through: the
// exposure itself paints the window.
void esperaFicarNaTela(QWidget* janela) {
    QWindow* nativa = janela->windowHandle();
    if (!nativa || nativa->isExposed())
        return;
    QEventLoop espera;
    FimDaEspera fim(*nativa, espera);
    nativa->installEventFilter(&fim);
    QTimer::singleShot(PrazoExposicaoMs, &espera, &QEventLoop::quit);
    espera.exec(QEventLoop::ExcludeUserInputEvents);
    nativa->removeEventFilter(&fim);
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
    esperaFicarNaTela(janela);
    janela->TimerAtualizaMensagem->start();
    janela->repaint();
    // The window is named by its message: a screen reader hears each new one.
    QAccessibleEvent nome(janela, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nome);
}
