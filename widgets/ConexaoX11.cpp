#include "widgets/ConexaoX11.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <cstdlib>

xcb_connection_t* conexaoX11() {
    // Other platforms (offscreen among them) may answer for X11 without an X connection.
#if QT_CONFIG(xcb)
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
#else
    return nullptr;
#endif
}

xcb_window_t janelaX11(const QWidget* janela) {
    const QWindow* nativa = janela->windowHandle();
    if (!nativa || !nativa->handle())
        return 0;
    return xcb_window_t(nativa->winId());
}

xcb_atom_t atomoX11(xcb_connection_t* conexao, const QByteArray& nome) {
    xcb_intern_atom_reply_t* resposta = xcb_intern_atom_reply(
        conexao, xcb_intern_atom(conexao, 0, std::uint16_t(nome.size()), nome.constData()),
        nullptr);
    const xcb_atom_t atomo = resposta ? resposta->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(resposta);
    return atomo;
}

QList<std::uint32_t> propriedadeX11(xcb_connection_t* conexao, xcb_window_t janela,
                                    xcb_atom_t nome) {
    QList<std::uint32_t> valores;
    xcb_get_property_reply_t* resposta = xcb_get_property_reply(
        conexao, xcb_get_property(conexao, 0, janela, nome, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr);
    if (resposta && resposta->format == 32) {
        const auto* dados = static_cast<const std::uint32_t*>(xcb_get_property_value(resposta));
        const int quantos = xcb_get_property_value_length(resposta) / 4;
        valores.reserve(quantos);
        for (int i = 0; i < quantos; ++i)
            valores << dados[i];
    }
    std::free(resposta);
    return valores;
}
