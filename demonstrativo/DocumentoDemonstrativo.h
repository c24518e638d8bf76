#pragma once

// The printed statement of debts ("Demonstrativo de Débitos"): A4 landscape, in Portuguese,
// drawn once for every paged device as the calculation memory is. A header with the
// taxpayer, the payment date, when it was issued, the last month of the rate table and the
// program's version; a line per debt calculated (reference, due date, amount, days, rate,
// penalty, interest, total) and their totals; the debts that were not calculated with their
// messages; then an annex with each debt's values for the state's payment form and the
// calculation memory's account of how they were reached (the months summed four to a line),
// read from the debt's MemoriaCalculo, never calculated again. Table headers repeat on every page;
// every page reads "Página N de M"; no figure is ever split over two lines. It is a statement of
// the calculation, not a payment slip, and says so. Needs a QGuiApplication (fonts), not widgets.
//
// A statement that used estimated months says "PREVISÃO — taxas estimadas" at the top of every
// page, lists those months with the rate each took, and marks "PREVISÃO" on each debt and on
// the totals that used one. With partial payments, the table shows what each debt paid and the
// principal left, one sentence says how the payments were allocated, and the annex gives for
// each payment what settling the debt would have cost that day and its three parts before the
// balance's memory. A statement with neither prints as it did without them.

#include "calc/DocumentoImpresso.h"
#include "demonstrativo/Demonstrativo.h"

#include <QString>

#include <optional>

class QPagedPaintDevice;
class Relogio;
class TBQDataModule;

struct DocumentoDemonstrativo {
    Demonstrativo Dados;                     // calculated: a result for every debt
    DataHora Emissao = Datas::Vazia;         // from the program's clock
    DataHora UltimoMesTabela = Datas::Vazia; // Vazia for an empty table
    QString Versao;
};

QString tituloDemonstrativo();

// Nothing when the statement can be printed; otherwise why not, in Portuguese: the
// taxpayer's name is required. The window and the command line ask before printing.
std::optional<QString> validaImpressaoDemonstrativo(const Demonstrativo& demonstrativo);

// The document of a calculated statement, issued now by `relogio`, with the last month of
// the table and the version of `dados`.
DocumentoDemonstrativo documentoDemonstrativo(TBQDataModule& dados,
                                              const Demonstrativo& demonstrativo,
                                              const Relogio& relogio);

// Draws the whole document, over as many pages as it needs.
void desenhaDemonstrativo(QPagedPaintDevice& destino, const DocumentoDemonstrativo& documento);

// The document for the print preview and the PDF file: A4 landscape.
DocumentoImpresso impressoDemonstrativo(const DocumentoDemonstrativo& documento);

// Writes the document as a PDF file through ArquivoSaida, as gravaPdf does. A statement
// without the taxpayer's name is refused with validaImpressaoDemonstrativo's message
// (ErroBelqor) before anything is written.
void gravaPdfDemonstrativo(const QString& caminho, const DocumentoDemonstrativo& documento);
