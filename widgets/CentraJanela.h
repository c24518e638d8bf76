#pragma once

class QWidget;

// Places a window so that its frame is centred over the frame of base's window, kept on
// that window's screen. Before its first showing a window has no frame yet; it is taken
// to get one as wide as the base's. Nothing happens without a base.
void centraSobreJanela(QWidget* janela, const QWidget* base);
