#pragma once

// The calculation memory ("Memória de Cálculo"): the A4 Portuguese record of one
// calculation, with the moment it was made, the three inputs, the six results as the
// window shows them, the account of how they were reached (penalty rule and tier, the
// months and rates added up, the payment month's 1 %, the base of the interest), the
// business-day notice and the program's version. One drawing, with QTextDocument, serves
// every paged device: the print preview's printer, a printer, a PDF file. Needs a
// QGuiApplication (fonts), not widgets.

#include "calc/Calculo.h"
#include "calc/DocumentoImpresso.h"
#include "calc/HtmlDocumento.h"
#include "calc/MemoriaCalculo.h"

#include <QString>

class QPagedPaintDevice;

struct DocumentoMemoria {
    ResultadoCalculo Resultado;
    MemoriaCalculo Memoria;
    DataHora Emissao = Datas::Vazia; // from the program's clock
    QString Versao;
};

QString tituloMemoria();

// How the results were reached, in the memory's words, read from the MemoriaCalculo: the
// penalty's rule and tier with its figure before and after rounding; the months whose rates
// were added, each with its rate (an estimated one said so: "Selic 10/2026 (estimada)"), the
// payment month's 1 % (or none, paid in the month due)
// and the rate applied; the interest's base and figures and the last month of the rate
// table. The memory lays it out in tables; the statement of debts prints it for each debt.
struct ContaMemoria {
    QString Regra;
    QString Faixa;
    QList<RotuloFigura> Multa;
    QList<RotuloFigura> Taxas;
    QList<RotuloFigura> Juros;
};
ContaMemoria contaMemoria(const ResultadoCalculo& resultado, const MemoriaCalculo& memoria);

// Draws the whole document, over as many pages as it needs, each with its number.
void desenhaMemoria(QPagedPaintDevice& destino, const DocumentoMemoria& documento);

// The document for the print preview and the PDF file: A4 portrait.
DocumentoImpresso impressoMemoria(const DocumentoMemoria& documento);

// Writes the document as a PDF file as ArquivoSaida writes: a regular file whole or not at
// all (replaced only when every byte was written), a device or a pipe in place; a failure
// throws ErroEntradaSaida naming the file, a folder ErroSaidaEmPasta.
void gravaPdfMemoria(const QString& caminho, const DocumentoMemoria& documento);
