#pragma once

class QWidget;

// Asks the window manager for a fixed dialog whose title bar shows the caption and nothing
// else: no close, minimise or maximise button and no system menu, and that cannot be
// minimised, maximised or made full screen. Qt's window flags say so only in part; on X11
// the window's Motif hints withdraw those functions and its window type keeps the managers
// that ignore the Motif hints from offering them. Where a manager still lets a window be
// closed, it asks the window to close, which meets the window's own checks. Call it once,
// before the first showing.
void pedeTituloSemBotoes(QWidget* janela);
