#include "widgets/CalendarioPeloTeclado.h"

#include "widgets/FiltroTeclas.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

void abreCalendarioPeloTeclado(QDateTimeEdit* campo) {
    filtraTeclas(campo, [campo](QKeyEvent* tecla) {
        const Qt::KeyboardModifiers mods = tecla->modifiers() & ~Qt::KeypadModifier;
        const bool abre = (tecla->key() == Qt::Key_Down && mods == Qt::AltModifier) ||
                          (tecla->key() == Qt::Key_F4 && mods == Qt::NoModifier);
        if (!abre || !campo->calendarPopup() || campo->isReadOnly())
            return false;
        // The picker opens its calendar from a press on its arrow, and from nothing else.
        QStyleOptionComboBox opcao;
        opcao.initFrom(campo);
        opcao.editable = true;
        opcao.subControls = QStyle::SC_All;
        const QRect seta = campo->style()->subControlRect(QStyle::CC_ComboBox, &opcao,
                                                          QStyle::SC_ComboBoxArrow, campo);
        const QPointF ponto = seta.center();
        QMouseEvent clique(QEvent::MouseButtonPress, ponto, campo->mapToGlobal(ponto),
                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(campo, &clique);
        return true;
    });
}
