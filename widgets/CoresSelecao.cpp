#include "widgets/CoresSelecao.h"

#include <QPalette>
#include <QWidget>

void defineCoresSelecao(QWidget* grade) {
    QPalette cores = grade->palette();
    for (const QPalette::ColorGroup grupo : {QPalette::Active, QPalette::Inactive}) {
        cores.setColor(grupo, QPalette::Highlight, QColor(0x1F, 0x5F, 0x99));
        cores.setColor(grupo, QPalette::HighlightedText, Qt::white);
    }
    grade->setPalette(cores);
}
