#include "widgets/AnuncioLeitor.h"

#include <QAccessible>
#include <QEvent>
#include <QString>
#include <QWidget>

namespace {

const QString NomeRestauro = QStringLiteral("belqorRestauraNome");

// Gives the control back its own name when the focus leaves it.
class RestauraNome : public QObject {
public:
    RestauraNome(QWidget* controle)
        : QObject(controle), fControle(controle), fOriginal(controle->accessibleName()) {
        setObjectName(NomeRestauro);
        controle->installEventFilter(this);
    }
    QString original() const { return fOriginal; }

protected:
    bool eventFilter(QObject*, QEvent* evento) override {
        if (evento->type() == QEvent::FocusOut) {
            fControle->setAccessibleName(fOriginal);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* fControle;
    QString fOriginal;
};

} // namespace

void anunciaNoFoco(QWidget* janela, const QString& texto) {
    QWidget* foco = janela->focusWidget();
    if (!foco)
        foco = janela;
    auto* restauro = foco->findChild<RestauraNome*>(NomeRestauro, Qt::FindDirectChildrenOnly);
    if (!restauro) {
        restauro = new RestauraNome(foco);
    } else {
        // Back to its own name first, which the control's interface works out from its caption.
        foco->setAccessibleName(restauro->original());
    }
    QString nome = QAccessible::queryAccessibleInterface(foco)->text(QAccessible::Name);
    if (!nome.isEmpty())
        nome += QStringLiteral(": ");
    foco->setAccessibleName(nome + texto);
    // The same results twice are still a new calculation to be told of: the event goes out
    // whether or not the name changed.
    QAccessibleEvent mudou(foco, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&mudou);
}
