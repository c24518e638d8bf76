#pragma once

// Pieces of the HTML that the printed documents are drawn from (QTextDocument, on any paged
// device). A figure (an amount, a rate, a date, a count) never wraps: Qt's line breaking
// finds break opportunities inside numbers ("3." | "982.047.999.999,96", "1,630000" | "%"),
// and a reader would take the two halves for two numbers. So every figure stands in a cell
// or a line laid out without wrapping, and the table's column grows to hold the widest one.

#include <QList>
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

// The blue band with the document's title that opens every printed document.
QString faixaTitulo(const QString& titulo);

// A section's heading, in the documents' blue: <h3>, or the level given.
QString tituloSecao(const QString& titulo, int nivel = 3);

// A caption and its figure, the figure in bold when `Destaque`.
struct RotuloFigura {
    QString Rotulo;
    QString Figura;
    bool Destaque = false;
};

// Captions and their figures, the figures right-aligned and never wrapped; all in bold when
// `destaque`. The caption column is as wide in every such table, so their figures line up.
QString quadroFiguras(const QList<RotuloFigura>& linhas, bool destaque = true);

// A column of a bordered table: its caption, and whether it holds figures (right-aligned).
struct ColunaTabela {
    QString Titulo;
    bool Figura = false;
};

// The opening of a document's HTML, up to <body>, with the styles linhasFiguras names.
QString inicioHtml();

// Captions each followed by its figure (when there is one), `porLinha` to a line, lines
// never wrapped; a figure in bold when `Destaque`. Pairs of one width (a month and its rate)
// side by side stand in columns. Lighter to lay out than a table of as many rows. Each line is
// a paragraph of its own: Qt draws a paragraph's last line above the page it continues on as
// well (clipped out of sight, but read by whoever extracts the text). The document begins
// with inicioHtml().
QString linhasFiguras(const QList<RotuloFigura>& linhas, int porLinha = 1);

// The opening of a bordered table `largura` wide ("70%") with its header row, which the
// layout repeats at the top of every page the table continues on; the rows and "</table>"
// follow. The captions are not wrapped either: Qt breaks a word inside when its column is
// narrow ("Referê" | "ncia"), and figures wide enough leave the others little room.
// `margem`: the space around each cell's text, in pixels. Without `bordas` the rows are told
// apart by their background (inicioLinhaListrada): Qt takes several times as long to lay out
// and draw a table whose cells share their borders, which tells in a table of a thousand rows.
QString inicioTabela(const QString& largura, const QList<ColunaTabela>& colunas, int margem = 4,
                     bool bordas = true);

// The opening of a row of a table without borders: every other row on a light background.
QString inicioLinhaListrada(qsizetype indice);

// The opening of a table's row of totals, on the header's background.
QString inicioLinhaTotais();

// The last line of a document: the program and its version, small and grey.
QString linhaVersao(const QString& versao);
