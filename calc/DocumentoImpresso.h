#pragma once

// How a printed document reaches a paged device: the A4 page it is laid out on, the font it
// is written in, its pages numbered "Página N de M", and the PDF file written through
// ArquivoSaida. The calculation memory and the statement of debts are each drawn once, with
// QTextDocument, for every device: the print preview's printer, a printer, a PDF file. Needs
// a QGuiApplication (fonts), not widgets.

#include <QFont>
#include <QPageLayout>
#include <QString>

#include <functional>

class QPagedPaintDevice;

// A document as the devices take it: its title (the PDF's and the print job's), who made it
// (the PDF's creator, "BELQOR 3.02.00"), the orientation of its A4 page and its drawing.
struct DocumentoImpresso {
    QString Titulo;
    QString Criador;
    QPageLayout::Orientation Orientacao = QPageLayout::Portrait;
    std::function<void(QPagedPaintDevice&)> Desenha;
};

// A4 in the orientation given, no device margins: the drawing keeps its own.
void preparaPaginaA4(QPagedPaintDevice& destino,
                     QPageLayout::Orientation orientacao = QPageLayout::Portrait);

// The printed documents' font: DejaVu Sans (shipped with the program's dependencies, so the
// figures have the same widths on every machine), 10 points.
QFont fonteDocumento();

// Lays `html` out once, in the device's own units, within margins of 12 mm at the sides and
// 15 mm at the top, and draws every page with "Página N de M" at its foot. Table header rows
// (<thead>) repeat at the top of each page a table continues on. A `cabecalho` is written in
// bold in the top margin of every page.
void desenhaComPaginasNumeradas(QPagedPaintDevice& destino, const QString& html,
                                const QString& cabecalho = {});

// Writes the document as a PDF file as ArquivoSaida writes: a regular file whole or not at
// all (replaced only when every byte was written), a device or a pipe in place; a failure
// throws ErroEntradaSaida naming the file, a folder ErroSaidaEmPasta.
void gravaPdf(const QString& caminho, const DocumentoImpresso& documento);
