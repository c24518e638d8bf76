#include "widgets/EnterPressionaBotao.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {

class FiltroEnter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() != QEvent::KeyPress)
            return false;
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        const bool enter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
        if (!enter || (tecla->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* botao = static_cast<QAbstractButton*>(objeto);
        if (botao->isEnabled())
            botao->click();
        return true;
    }
};

} // namespace

void enterPressionaBotao(QAbstractButton* botao) {
    botao->installEventFilter(new FiltroEnter(botao));
}
