#include "calc/PreviaImpressao.h"

#include "dialogos/Dialogos.h"
#include "calc/DocumentoMemoria.h"
#include "widgets/EnterPressionaBotao.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolButton>

bool abrePreviaImpressao(QWidget* pai, Dialogos& dialogos, const DocumentoImpresso& documento,
                         const QString& nome) {
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setDocName(documento.Titulo);
    preparaPaginaA4(impressora, documento.Orientacao);
    QPrintPreviewDialog previa(&impressora, pai);
    previa.setObjectName(nome);
    previa.setWindowTitle(documento.Titulo);
    // The toolbar's buttons (print, page set-up, pages, zoom) take no focus in Qt: Tab
    // reaches them here, and Space or Return presses them.
    for (QToolButton* botao : previa.findChildren<QToolButton*>()) {
        botao->setFocusPolicy(Qt::TabFocus);
        enterPressionaBotao(botao);
    }
    QObject::connect(&previa, &QPrintPreviewDialog::paintRequested, &previa,
                     [&](QPrinter* destino) {
                         executaProtegido(dialogos, [&] { documento.Desenha(*destino); });
                     });
    return previa.exec() == QDialog::Accepted;
}

bool abrePreviaImpressao(QWidget* pai, Dialogos& dialogos, const DocumentoMemoria& documento) {
    return abrePreviaImpressao(pai, dialogos, impressoMemoria(documento),
                               QStringLiteral("PreviaMemoria"));
}
