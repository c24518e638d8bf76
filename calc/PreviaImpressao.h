#pragma once

// The print preview of a calculation memory: A4 on the default printer, from which the
// user prints or, choosing the PDF file printer, saves it. Modal; returns when it closes.

class Dialogos;
class QWidget;
struct DocumentoMemoria;

void abrePreviaImpressao(QWidget* pai, Dialogos& dialogos, const DocumentoMemoria& documento);
