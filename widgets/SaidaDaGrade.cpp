#include "widgets/SaidaDaGrade.h"

#include <QWidget>

void saiDaGradePeloTeclado(QWidget* grade, bool adiante) {
    const auto dentro = [grade](const QWidget* w) { return w == grade || grade->isAncestorOf(w); };
    QWidget* alvo = grade;
    do {
        alvo = adiante ? alvo->nextInFocusChain() : alvo->previousInFocusChain();
    } while (alvo != grade &&
             (dentro(alvo) || alvo->window() != grade->window() || !alvo->isVisible() ||
              !alvo->isEnabled() || !(alvo->focusPolicy() & Qt::TabFocus)));
    if (alvo != grade)
        alvo->setFocus(adiante ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}
