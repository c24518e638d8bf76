#include "calc/PreviaImpressao.h"

#include "dialogos/Dialogos.h"
#include "calc/DocumentoMemoria.h"
#include "widgets/EnterPressionaBotao.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolButton>

void abrePreviaImpressao(QWidget* pai, Dialogos& dialogos, const DocumentoMemoria& documento) {
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setDocName(tituloMemoria());
    preparaPaginaA4(impressora);
    QPrintPreviewDialog previa(&impressora, pai);
    previa.setObjectName(QStringLiteral("PreviaMemoria"));
    previa.setWindowTitle(tituloMemoria());
    // The toolbar's buttons (print, page set-up, pages, zoom) take no focus in Qt: Tab
    // reaches them here, and Space or Return presses them.
    for (QToolButton* botao : previa.findChildren<QToolButton*>()) {
        botao->setFocusPolicy(Qt::TabFocus);
        enterPressionaBotao(botao);
    }
    QObject::connect(&previa, &QPrintPreviewDialog::paintRequested, &previa,
                     [&](QPrinter* destino) {
                         executaProtegido(dialogos, [&] { desenhaMemoria(*destino, documento); });
                     });
    previa.exec();
}
