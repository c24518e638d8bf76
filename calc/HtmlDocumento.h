#pragma once

// Pieces of the HTML that the printed documents are drawn from (QTextDocument, on any paged
// device). A figure (an amount, a rate, a date, a count) never wraps: Qt's line breaking
// finds break opportunities inside numbers ("3." | "982.047.999.999,96", "1,630000" | "%"),
// and a reader would take the two halves for two numbers. So every figure stands in a cell
// or a line laid out without wrapping, and the table's column grows to hold the widest one.

#include <QString>
#include <QStringList>

// The text with the characters HTML gives a meaning escaped.
QString textoHtml(const QString& texto);

// The style of a cell or block laid out on one line whatever its width.
QString estiloSemQuebra();

// A table cell holding one figure: right-aligned, bold when `destaque`, never wrapped. A
// `largura` (pixels) aligns the figures of several tables; a wider figure widens the cell.
QString celulaFigura(const QString& figura, bool destaque = false, int largura = 0);

// A paragraph of short lines of text that hold figures among their words ("Emitido em
// 15/06/2020 às 10:00:00"), each line kept whole.
QString linhasSemQuebra(const QStringList& linhas);
