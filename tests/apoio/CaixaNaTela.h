#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <memory>

// What a test saw of a message box that was on screen.
struct CaixaVista {
    bool vista = false;
    QString titulo;
    QString texto;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    QStringList botoes; // captions, sorted
};

// Waits for the next message box to come up, records it into `vista` and clicks the button
// whose caption is `legenda` (or closes the box when no button has it). Call it before the
// code that shows the box; the box's own event loop runs the timer.
inline void respondeCaixa(const QString& legenda, std::shared_ptr<CaixaVista> vista) {
    auto* espera = new QTimer;
    espera->setInterval(5);
    QObject::connect(espera, &QTimer::timeout, [espera, legenda, vista] {
        QMessageBox* caixa = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* c = qobject_cast<QMessageBox*>(w); c && c->isVisible())
                caixa = c;
        if (!caixa)
            return;
        espera->stop();
        espera->deleteLater();
        vista->vista = true;
        vista->titulo = caixa->windowTitle();
        vista->texto = caixa->text();
        vista->icone = caixa->icon();
        for (QAbstractButton* b : caixa->buttons())
            vista->botoes << b->text();
        std::sort(vista->botoes.begin(), vista->botoes.end());
        for (QAbstractButton* b : caixa->buttons())
            if (b->text() == legenda) {
                b->click();
                return;
            }
        // A box without an escape button ignores closing; end its loop all the same.
        caixa->close();
        if (caixa->isVisible())
            caixa->done(0);
    });
    espera->start();
}

inline QStringList ordenadas(QStringList l) {
    std::sort(l.begin(), l.end());
    return l;
}
