#include "TituloSemBotoes.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#endif

namespace {

#if QT_CONFIG(xcb)
// The property _MOTIF_WM_HINTS, five 32-bit values, as window managers read it.
struct DicasMotif {
    std::uint32_t campos;
    std::uint32_t funcoes;
    std::uint32_t decoracoes;
    std::int32_t modoEntrada;
    std::uint32_t estado;
};
constexpr std::uint32_t CampoFuncoes = 1u << 0;
constexpr std::uint32_t CampoDecoracoes = 1u << 1;
constexpr std::uint32_t FuncaoMover = 1u << 2;
constexpr std::uint32_t DecoracaoBorda = 1u << 1;
constexpr std::uint32_t DecoracaoTitulo = 1u << 3;

// Qt writes the hints with every function allowed when no button is asked for; they are
// written again here, before the window is mapped, allowing only moving.
void escreveDicasMotif(const QWidget* janela) {
    // Other platforms (offscreen among them) may answer for X11 without an X connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const QWindow* nativa = janela->windowHandle();
    if (!x11 || !x11->connection() || !nativa || !nativa->handle())
        return;
    xcb_connection_t* conexao = x11->connection();
    static const char Nome[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* resposta =
        xcb_intern_atom_reply(conexao, xcb_intern_atom(conexao, 0, sizeof Nome - 1, Nome), nullptr);
    if (!resposta)
        return;
    const xcb_atom_t atomo = resposta->atom;
    std::free(resposta);
    const DicasMotif dicas{CampoFuncoes | CampoDecoracoes, FuncaoMover,
                           DecoracaoBorda | DecoracaoTitulo, 0, 0};
    xcb_change_property(conexao, XCB_PROP_MODE_REPLACE, xcb_window_t(nativa->winId()), atomo, atomo,
                        32, sizeof dicas / sizeof(std::uint32_t), &dicas);
    xcb_flush(conexao);
}
#else
void escreveDicasMotif(const QWidget*) {}
#endif

// The native window exists when the show event comes, and is mapped right after it.
class FiltroTitulo : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::Show)
            escreveDicasMotif(static_cast<QWidget*>(objeto));
        return false;
    }
};

} // namespace

void pedeTituloSemBotoes(QWidget* janela) {
    janela->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    janela->installEventFilter(new FiltroTitulo(janela));
}
