#pragma once

// Leaving a grid by the keyboard where Tab moves between its cells (Ctrl+Tab, Ctrl+Shift+Tab):
// the next control of the window in the tab order, outside the grid, takes the focus.

class QWidget;

void saiDaGradePeloTeclado(QWidget* grade, bool adiante);
