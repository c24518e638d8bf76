#include "widgets/EnterPressionaBotao.h"

#include "widgets/FiltroTeclas.h"

#include <QAbstractButton>
#include <QKeyEvent>

void enterPressionaBotao(QAbstractButton* botao) {
    filtraTeclas(botao, [botao](QKeyEvent* tecla) {
        const bool enter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
        if (!enter || (tecla->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (botao->isEnabled())
            botao->click();
        return true;
    });
}
