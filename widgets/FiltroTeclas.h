#pragma once

// Lets a function see each key pressed in a widget before the widget does; when it answers
// true the key goes no further. The filter lives as long as the widget.

#include <functional>

class QKeyEvent;
class QWidget;

void filtraTeclas(QWidget* alvo, std::function<bool(QKeyEvent*)> trata);
