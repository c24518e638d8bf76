#pragma once

// Tells a screen reader of a change away from the focus without moving the focus: until the
// focus leaves it, the control that has the focus is named after its own name followed by
// the text, and a screen reader speaks the focused control's name when it changes. (Qt gives
// no announcement of its own here, and leaves a changed description off the bus.)

class QString;
class QWidget;

void anunciaNoFoco(QWidget* janela, const QString& texto);
