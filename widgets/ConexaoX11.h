#pragma once

// The X connection of the running application, for what Qt's window flags cannot say to
// an X11 window manager. Compiled only where Qt has its xcb platform.

#include <QByteArray>
#include <QList>

#include <xcb/xcb.h>

#include <cstdint>

class QWidget;

// The application's connection, or null when it does not run on the xcb platform (offscreen
// among others).
xcb_connection_t* conexaoX11();

// The X window behind a top-level widget that already has its native window; 0 otherwise.
xcb_window_t janelaX11(const QWidget* janela);

xcb_atom_t atomoX11(xcb_connection_t* conexao, const QByteArray& nome);

// The 32-bit values of a window's property; empty when it has none.
QList<std::uint32_t> propriedadeX11(xcb_connection_t* conexao, xcb_window_t janela,
                                    xcb_atom_t nome);
