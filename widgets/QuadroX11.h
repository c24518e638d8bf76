#pragma once

#include <QMargins>

#include <optional>

class QWidget;

// The frame the X11 window manager puts around a top-level window, as it reports it
// (_NET_FRAME_EXTENTS). A window not yet mapped has no frame: the manager is asked how wide
// it will be, and its answer is awaited a short while. Nothing when the program does not run
// on X11, no manager answers, or the window has no native window yet.
std::optional<QMargins> margensInformadasPeloGerenciador(const QWidget* janela);
