#include "PonteiroMouse.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

bool temAplicacaoGrafica() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

} // namespace

namespace PonteiroMouse {

void mostraAmpulheta() {
    if (!temAplicacaoGrafica())
        return;
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void restauraPadrao() {
    if (!temAplicacaoGrafica())
        return;
    if (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

bool ampulhetaAtiva() {
    if (!temAplicacaoGrafica())
        return false;
    const QCursor* atual = QGuiApplication::overrideCursor();
    return atual && atual->shape() == Qt::WaitCursor;
}

} // namespace PonteiroMouse
