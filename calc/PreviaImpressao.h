#pragma once

// The print preview of a printed document (the calculation memory, the statement of
// debts): A4 on the default printer, in the document's orientation, from which the user
// prints or, choosing the PDF file printer, saves it. Modal; returns when it closes, true
// when the document was printed (or saved) from it: the preview closes accepted only once
// its print dialog was accepted and the pages went out; closed any other way, false.

#include <QString>

class Dialogos;
class QWidget;
struct DocumentoImpresso;
struct DocumentoMemoria;

// `nome` is the dialog's object name.
bool abrePreviaImpressao(QWidget* pai, Dialogos& dialogos, const DocumentoImpresso& documento,
                         const QString& nome);

// The calculation memory's preview ("PreviaMemoria").
bool abrePreviaImpressao(QWidget* pai, Dialogos& dialogos, const DocumentoMemoria& documento);
