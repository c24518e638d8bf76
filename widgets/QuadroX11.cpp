#include "widgets/QuadroX11.h"

#include "widgets/ConexaoX11.h"

#include <QWidget>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// How long the manager's estimate of a frame is awaited: it answers at once when it runs,
// and opening a window must not hang when it does not.
constexpr auto EsperaMaxima = std::chrono::milliseconds(250);
constexpr auto Intervalo = std::chrono::milliseconds(2);

xcb_window_t raiz(xcb_connection_t* conexao, xcb_window_t janela) {
    xcb_get_geometry_reply_t* geometria =
        xcb_get_geometry_reply(conexao, xcb_get_geometry(conexao, janela), nullptr);
    const xcb_window_t r = geometria ? geometria->root : 0;
    std::free(geometria);
    return r;
}

// Whether a window manager runs and says it estimates the frames of unmapped windows.
bool gerenciadorEstimaQuadros(xcb_connection_t* conexao, xcb_window_t raizDaTela) {
    const QList<std::uint32_t> verificacao = propriedadeX11(
        conexao, raizDaTela, atomoX11(conexao, QByteArrayLiteral("_NET_SUPPORTING_WM_CHECK")));
    if (verificacao.isEmpty())
        return false;
    return propriedadeX11(conexao, raizDaTela,
                          atomoX11(conexao, QByteArrayLiteral("_NET_SUPPORTED")))
        .contains(atomoX11(conexao, QByteArrayLiteral("_NET_REQUEST_FRAME_EXTENTS")));
}

void pedeEstimativa(xcb_connection_t* conexao, xcb_window_t raizDaTela, xcb_window_t janela) {
    xcb_client_message_event_t mensagem{};
    mensagem.response_type = XCB_CLIENT_MESSAGE;
    mensagem.format = 32;
    mensagem.window = janela;
    mensagem.type = atomoX11(conexao, QByteArrayLiteral("_NET_REQUEST_FRAME_EXTENTS"));
    xcb_send_event(conexao, 0, raizDaTela,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&mensagem));
    xcb_flush(conexao);
}

std::optional<QMargins> margens(const QList<std::uint32_t>& extensoes) {
    if (extensoes.size() != 4)
        return std::nullopt;
    return QMargins(int(extensoes[0]), int(extensoes[2]), int(extensoes[1]), int(extensoes[3]));
}

} // namespace

std::optional<QMargins> margensInformadasPeloGerenciador(const QWidget* janela) {
    xcb_connection_t* conexao = conexaoX11();
    const xcb_window_t id = conexao ? janelaX11(janela) : 0;
    if (!id)
        return std::nullopt;
    const xcb_atom_t extensoes = atomoX11(conexao, QByteArrayLiteral("_NET_FRAME_EXTENTS"));
    if (const auto m = margens(propriedadeX11(conexao, id, extensoes)))
        return m;
    const xcb_window_t raizDaTela = raiz(conexao, id);
    if (!raizDaTela || !gerenciadorEstimaQuadros(conexao, raizDaTela))
        return std::nullopt;
    pedeEstimativa(conexao, raizDaTela, id);
    // The answer is a property the manager writes on the window; each look is a round trip
    // that leaves Qt's event queue alone.
    for (auto esperado = std::chrono::milliseconds(0); esperado < EsperaMaxima;
         esperado += Intervalo) {
        if (const auto m = margens(propriedadeX11(conexao, id, extensoes)))
            return m;
        std::this_thread::sleep_for(Intervalo);
    }
    return std::nullopt;
}
