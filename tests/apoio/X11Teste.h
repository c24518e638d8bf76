#pragma once

// What the X server holds of a test's windows, read on the application's own connection:
// properties, where a window and its frame lie, whether it is on screen, and the pixels of
// the screen; and xdotool, which sends the server what a user's keyboard would.

#include "widgets/ConexaoX11.h"

#include <QImage>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>

inline xcb_atom_t atomoTeste(const char* nome) {
    return atomoX11(conexaoX11(), QByteArray(nome));
}

inline QList<quint32> propriedadeTeste(xcb_window_t janela, const char* nome) {
    return propriedadeX11(conexaoX11(), janela, atomoTeste(nome));
}

// Where the X server holds the window, on the root window.
inline QRect geometriaNoServidor(xcb_window_t id) {
    xcb_connection_t* c = conexaoX11();
    xcb_get_geometry_reply_t* geometria =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr);
    xcb_translate_coordinates_reply_t* posicao =
        geometria ? xcb_translate_coordinates_reply(
                        c, xcb_translate_coordinates(c, id, geometria->root, 0, 0), nullptr)
                  : nullptr;
    QRect r;
    if (geometria && posicao)
        r = QRect(posicao->dst_x, posicao->dst_y, geometria->width, geometria->height);
    std::free(posicao);
    std::free(geometria);
    return r;
}

inline QRect geometriaNoServidor(const QWidget* janela) {
    return geometriaNoServidor(janelaX11(janela));
}

// The window the window manager framed the window in (its ancestor that is a child of the
// root window), on the root window, its border included; the window itself when nobody
// framed it.
inline QRect quadroNoServidor(xcb_window_t id) {
    xcb_connection_t* c = conexaoX11();
    for (;;) {
        xcb_query_tree_reply_t* arvore = xcb_query_tree_reply(c, xcb_query_tree(c, id), nullptr);
        if (!arvore)
            return QRect();
        const bool noTopo = arvore->parent == arvore->root;
        const xcb_window_t pai = arvore->parent;
        std::free(arvore);
        if (noTopo)
            break;
        id = pai;
    }
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr);
    QRect r;
    if (g)
        r = QRect(g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width);
    std::free(g);
    return r;
}

// On screen: mapped, and every ancestor too.
inline bool visivelNoServidor(xcb_window_t id) {
    xcb_connection_t* c = conexaoX11();
    xcb_get_window_attributes_reply_t* a =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr);
    const bool visivel = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(a);
    return visivel;
}

// The pixels the screen shows in a rectangle of the root window (24-bit colour).
inline QImage capturaDaTela(const QRect& area) {
    xcb_connection_t* c = conexaoX11();
    const xcb_window_t raiz = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_image_reply_t* imagem = xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, raiz, qint16(area.x()), qint16(area.y()),
                      quint16(area.width()), quint16(area.height()), ~0u),
        nullptr);
    QImage copia;
    if (imagem && imagem->depth == 24 &&
        xcb_get_image_data_length(imagem) >= area.width() * area.height() * 4)
        copia = QImage(xcb_get_image_data(imagem), area.width(), area.height(), area.width() * 4,
                       QImage::Format_RGB32)
                    .copy();
    std::free(imagem);
    return copia;
}

// Runs xdotool against the display the test runs on.
inline bool xdotool(const QStringList& argumentos) {
    QProcess processo;
    processo.start(QStringLiteral("xdotool"), argumentos);
    if (!processo.waitForStarted() || !processo.waitForFinished())
        return false;
    return processo.exitStatus() == QProcess::NormalExit && processo.exitCode() == 0;
}
