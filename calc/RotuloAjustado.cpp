#include "calc/RotuloAjustado.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace {

// The text's width as drawn: its advance, or its ink when a glyph reaches past it.
int larguraDoTexto(const QFont& fonte, const QString& texto) {
    const QFontMetrics medidas(fonte);
    return qMax(medidas.horizontalAdvance(texto), medidas.boundingRect(texto).right() + 1);
}

// One step smaller, in the unit the font was given in; false when it is as small as it gets.
bool diminui(QFont& fonte) {
    if (fonte.pixelSize() > 1) {
        fonte.setPixelSize(fonte.pixelSize() - 1);
        return true;
    }
    if (fonte.pointSizeF() > 1.0) {
        fonte.setPointSizeF(qMax(1.0, fonte.pointSizeF() - 0.5));
        return true;
    }
    return false;
}

} // namespace

RotuloAjustado::RotuloAjustado(QWidget* parent) : QLabel(parent) {}

int RotuloAjustado::larguraDisponivel() const {
    return contentsRect().width() - 2 * margin();
}

QFont RotuloAjustado::fonteDoTexto() const {
    QFont fonte = font();
    const int largura = larguraDisponivel();
    while (larguraDoTexto(fonte, text()) > largura && diminui(fonte)) {
    }
    return fonte;
}

void RotuloAjustado::paintEvent(QPaintEvent* evento) {
    // The frame and the background as any label; the text in the font that fits.
    QFrame::paintEvent(evento);
    QPainter pintor(this);
    pintor.setFont(fonteDoTexto());
    const QRect area =
        contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    style()->drawItemText(&pintor, area, int(alignment()), palette(), isEnabled(), text(),
                          foregroundRole());
}
