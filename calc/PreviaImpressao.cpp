#include "calc/PreviaImpressao.h"

#include "dialogos/Dialogos.h"
#include "calc/DocumentoMemoria.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

void abrePreviaImpressao(QWidget* pai, Dialogos& dialogos, const DocumentoMemoria& documento) {
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setDocName(tituloMemoria());
    preparaPaginaA4(impressora);
    QPrintPreviewDialog previa(&impressora, pai);
    previa.setObjectName(QStringLiteral("PreviaMemoria"));
    previa.setWindowTitle(tituloMemoria());
    QObject::connect(&previa, &QPrintPreviewDialog::paintRequested, &previa,
                     [&](QPrinter* destino) {
                         executaProtegido(dialogos, [&] { desenhaMemoria(*destino, documento); });
                     });
    previa.exec();
}
