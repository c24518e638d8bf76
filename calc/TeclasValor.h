#pragma once

// The amount field's keystroke filter, shared by every field where an amount is typed: the
// calculation window's and the statement's cells. Each typed character is accepted,
// changed (a full stop becomes a comma) or discarded before it reaches the field; with
// everything selected the text goes first, whatever the key. Keys that type nothing
// (arrows, Home, Delete) and Tab reach the field unfiltered.

#include <QChar>

#include <optional>

class QKeyEvent;
class QLineEdit;

// The character a key would type into an edit field, as the keystroke event sees it:
// Backspace is character 8, Ctrl with a letter a control character (Ctrl+V is 22). Nothing
// for keys that type no character and for the focus keys Tab and Backtab.
std::optional<QChar> caractereDaTecla(const QKeyEvent& evento);

// Accepts, changes or discards (sets to the null character) one character typed into Campo.
void filtraTeclaValor(QLineEdit* Campo, QChar& Tecla);

// Runs the filter on a key pressed in campo and types what it leaves; true when the key
// was consumed here (discarded, or inserted in its changed form), false when it goes on to
// the field (Backspace, keys that type nothing).
bool aplicaFiltroValor(QLineEdit* campo, const QKeyEvent& evento);
