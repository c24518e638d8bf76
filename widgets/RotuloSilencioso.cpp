#include "widgets/RotuloSilencioso.h"

#include <QAccessibleWidget>

namespace {

// The label's name is its current text, worked out when asked.
class AcessivelSilencioso : public QAccessibleWidget {
public:
    explicit AcessivelSilencioso(QLabel* rotulo)
        : QAccessibleWidget(rotulo, QAccessible::StaticText) {}
    QString text(QAccessible::Text tipo) const override {
        if (tipo == QAccessible::Name)
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(tipo);
    }
};

// Qt's own factory knows no such class, so the question comes here.
QAccessibleInterface* fabrica(const QString& classe, QObject* objeto) {
    if (classe == QLatin1String(RotuloSilencioso::staticMetaObject.className()))
        return new AcessivelSilencioso(static_cast<RotuloSilencioso*>(objeto));
    return nullptr;
}

} // namespace

RotuloSilencioso::RotuloSilencioso(QWidget* parent) : QLabel(parent) {
    static const bool instalada = (QAccessible::installFactory(fabrica), true);
    Q_UNUSED(instalada);
    // A label tells of each new text only while it has no accessible name of its own; the
    // name given here is never read, as the interface above names the label by its text.
    setAccessibleName(QStringLiteral("rótulo"));
}
