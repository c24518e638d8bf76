#include "widgets/Decoracao.h"

#include "widgets/AcessivelPorClasse.h"

Decoracao::Decoracao(QWidget* parent) : QLabel(parent) {
    static const bool registrado = (registraAcessivel(
                                        staticMetaObject, QAccessible::Separator,
                                        [](const QWidget*) { return QString(); }, true),
                                    true);
    Q_UNUSED(registrado);
}
