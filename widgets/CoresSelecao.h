#pragma once

// The grids' selection highlight: the style's leaves the selected cell's white text under
// 4.5:1; this blue, with or without the focus, keeps it at 6.7:1.

class QWidget;

void defineCoresSelecao(QWidget* grade);
