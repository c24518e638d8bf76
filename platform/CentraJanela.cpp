#include "CentraJanela.h"

#include <QMargins>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

QMargins margensDoQuadro(const QWidget* janela) {
    const QRect area = janela->geometry();
    const QRect quadro = janela->frameGeometry();
    return QMargins(area.left() - quadro.left(), area.top() - quadro.top(),
                    quadro.right() - area.right(), quadro.bottom() - area.bottom());
}

// The start of a span of tamanho centred over [inicio, inicio + espaco), kept in the screen.
int centrado(int inicio, int espaco, int tamanho, int telaInicio, int telaEspaco) {
    const int posicao = inicio + (espaco - tamanho) / 2;
    return std::clamp(posicao, telaInicio, std::max(telaInicio, telaInicio + telaEspaco - tamanho));
}

} // namespace

void centraSobreJanela(QWidget* janela, const QWidget* base) {
    if (!base)
        return;
    const QWidget* principal = base->window();
    QMargins margens = margensDoQuadro(janela);
    if (margens.isNull())
        margens = margensDoQuadro(principal);
    const QSize quadro = janela->size().grownBy(margens);
    const QRect sobre = principal->frameGeometry();
    const QScreen* tela = principal->screen();
    const QRect area = tela ? tela->availableGeometry() : sobre;
    // A window's position is that of its frame.
    janela->move(centrado(sobre.left(), sobre.width(), quadro.width(), area.left(), area.width()),
                 centrado(sobre.top(), sobre.height(), quadro.height(), area.top(), area.height()));
}
