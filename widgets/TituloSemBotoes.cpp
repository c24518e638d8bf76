#include "widgets/TituloSemBotoes.h"

#include "widgets/ConexaoX11.h"

#include <QEvent>
#include <QWidget>

#include <cstdint>

namespace {

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

// Qt writes the Motif hints with every function allowed when no button is asked for; they
// are written again here, before the window is mapped, allowing only moving. Some window
// managers (openbox among them) never let the Motif hints take a button away, and give a
// dialog a minimise button and full screen whatever it asks: minimising a modal dialog
// there hides the whole program. The one hint they all honour for a titled window that
// cannot be minimised, maximised or made full screen is the toolbar type; the dialog type
// follows it for any manager that knows only the basic types. The window stays transient
// for its main window and modal, and its fixed size (minimum = maximum) keeps it from
// being resized or maximised anywhere.
void escreveDicas(const QWidget* janela) {
    xcb_connection_t* conexao = conexaoX11();
    const xcb_window_t id = conexao ? janelaX11(janela) : 0;
    if (!id)
        return;
    const xcb_atom_t motif = atomoX11(conexao, QByteArrayLiteral("_MOTIF_WM_HINTS"));
    const DicasMotif dicas{CampoFuncoes | CampoDecoracoes, FuncaoMover,
                           DecoracaoBorda | DecoracaoTitulo, 0, 0};
    xcb_change_property(conexao, XCB_PROP_MODE_REPLACE, id, motif, motif, 32,
                        sizeof dicas / sizeof(std::uint32_t), &dicas);
    const xcb_atom_t tipos[] = {
        atomoX11(conexao, QByteArrayLiteral("_NET_WM_WINDOW_TYPE_TOOLBAR")),
        atomoX11(conexao, QByteArrayLiteral("_NET_WM_WINDOW_TYPE_DIALOG")),
    };
    xcb_change_property(conexao, XCB_PROP_MODE_REPLACE, id,
                        atomoX11(conexao, QByteArrayLiteral("_NET_WM_WINDOW_TYPE")), XCB_ATOM_ATOM,
                        32, std::size(tipos), tipos);
    xcb_flush(conexao);
}

// The native window exists when the show event comes, and is mapped right after it.
class FiltroTitulo : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::Show)
            escreveDicas(static_cast<QWidget*>(objeto));
        return false;
    }
};

} // namespace

void pedeTituloSemBotoes(QWidget* janela) {
    janela->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    janela->installEventFilter(new FiltroTitulo(janela));
}
