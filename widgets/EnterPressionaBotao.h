#pragma once

// Return and keypad Enter press the button that has the focus, as Space does: the windows'
// buttons are not default buttons, so Qt leaves those keys to nobody.

class QAbstractButton;

void enterPressionaBotao(QAbstractButton* botao);
