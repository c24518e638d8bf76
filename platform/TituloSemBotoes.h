#pragma once

class QWidget;

// Asks the window manager for a fixed dialog whose title bar shows the caption and nothing
// else: no close, minimise or maximise button and no system menu. Qt's window flags say so
// only in part; on X11 the window's Motif hints also withdraw those functions, which the
// window managers otherwise offer on a dialog's title bar. Call it once, before the first
// showing.
void pedeTituloSemBotoes(QWidget* janela);
