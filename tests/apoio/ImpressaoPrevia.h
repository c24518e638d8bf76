#pragma once

// The print preview a window opened, and printing from it to a PDF file as a user does:
// the preview's Print button, then, in Qt's print dialog, the PDF file printer with the
// file's name typed in its output field, and Print. Each step runs from inside the modal
// loop of the dialog before it; a test links Qt's print support (belqor_calc_ui does).

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

// The visible top-level window of that object name that is a print preview; null when there
// is none.
inline QPrintPreviewDialog* previaAberta(const QString& nome) {
    for (QWidget* janela : QApplication::topLevelWidgets())
        if (janela->objectName() == nome && janela->isVisible())
            return qobject_cast<QPrintPreviewDialog*>(janela);
    return nullptr;
}

// Runs `passo` once a print preview of that name is open, from inside its loop; gives up,
// leaving `passo` unrun, after a while without one (the window refused to open it).
inline void quandoAbrirPrevia(const QString& nome, std::function<void(QPrintPreviewDialog*)> passo,
                              int tentativas = 500) {
    QTimer::singleShot(10, [=] {
        if (QPrintPreviewDialog* previa = previaAberta(nome))
            passo(previa);
        else if (tentativas > 0)
            quandoAbrirPrevia(nome, passo, tentativas - 1);
    });
}

// Presses the preview's Print button and, in the print dialog it opens, prints to `pdf`
// (typed key by key: a path in ASCII). False when a control was not where Qt keeps it.
inline bool imprimePelaPrevia(QPrintPreviewDialog* previa, const QString& pdf) {
    QToolButton* imprimir = nullptr;
    for (QToolButton* b : previa->findChildren<QToolButton*>())
        if (b->defaultAction() && b->defaultAction()->text().remove(u'&') == QLatin1String("Print"))
            imprimir = b;
    if (!imprimir)
        return false;
    // Shared with the step, which outlives this call when no print dialog came.
    const auto achou = std::make_shared<bool>(false);
    QTimer::singleShot(0, [achou, pdf] {
        auto* dialogo = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialogo)
            return;
        // The PDF file printer, which Qt lists last, whatever printers the machine has: a
        // test never prints on paper.
        auto* impressoras = dialogo->findChild<QComboBox*>(QStringLiteral("printers"));
        if (impressoras)
            impressoras->setCurrentIndex(impressoras->count() - 1);
        auto* arquivo = dialogo->findChild<QLineEdit*>(QStringLiteral("filename"));
        auto* botoes = dialogo->findChild<QDialogButtonBox*>();
        QPushButton* ok = botoes ? botoes->button(QDialogButtonBox::Ok) : nullptr;
        if (!impressoras || !arquivo || !arquivo->isEnabled() || !ok) {
            dialogo->reject();
            return;
        }
        *achou = true;
        arquivo->setFocus();
        arquivo->selectAll();
        QTest::keyClicks(arquivo, pdf);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QTest::mouseClick(imprimir, Qt::LeftButton);
    return *achou;
}
