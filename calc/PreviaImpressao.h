#pragma once

// The print preview of a printed document (the calculation memory, the statement of
// debts): A4 on the default printer, in the document's orientation, from which the user
// prints or, choosing the PDF file printer, saves it. Modal; returns when it closes.

#include <QString>

class Dialogos;
class QWidget;
struct DocumentoImpresso;
struct DocumentoMemoria;

// `nome` is the dialog's object name.
void abrePreviaImpressao(QWidget* pai, Dialogos& dialogos, const DocumentoImpresso& documento,
                         const QString& nome);

// The calculation memory's preview ("PreviaMemoria").
void abrePreviaImpressao(QWidget* pai, Dialogos& dialogos, const DocumentoMemoria& documento);
