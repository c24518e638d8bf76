#include "widgets/PonteiroMouse.h"

#include <QCursor>
#include <QGuiApplication>

namespace PonteiroMouse {

void define(Ponteiro ponteiro) {
    if (ponteiro == Ponteiro::Padrao) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        return;
    }
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

Ponteiro atual() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor ? Ponteiro::Ampulheta : Ponteiro::Padrao;
}

} // namespace PonteiroMouse
