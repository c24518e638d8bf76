#include "widgets/RotuloSilencioso.h"

#include "widgets/AcessivelPorClasse.h"

RotuloSilencioso::RotuloSilencioso(QWidget* parent) : QLabel(parent) {
    // Named by its current text, read when asked.
    static const bool registrado =
        (registraAcessivel(staticMetaObject, QAccessible::StaticText,
                           [](const QWidget* w) { return static_cast<const QLabel*>(w)->text(); }),
         true);
    Q_UNUSED(registrado);
    // A label tells of each new text only while it has no accessible name of its own; the
    // name given here is never read, as the registered interface names the label.
    setAccessibleName(QStringLiteral("rótulo"));
}
