#include "widgets/CentraJanela.h"

#include "widgets/QuadroX11.h"

#include <QMargins>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// The frame around a window: as the window manager reports it where it does (X11), else as
// Qt knows it; a window never shown has none yet.
QMargins margensDoQuadro(const QWidget* janela) {
    if (const auto informadas = margensInformadasPeloGerenciador(janela))
        return *informadas;
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
    const QMargins margensPrincipal = margensDoQuadro(principal);
    QMargins margens = margensDoQuadro(janela);
    if (margens.isNull())
        margens = margensPrincipal;
    const QSize quadro = janela->size().grownBy(margens);
    const QRect sobre = principal->geometry().marginsAdded(margensPrincipal);
    const QScreen* tela = principal->screen();
    const QRect area = tela ? tela->availableGeometry() : sobre;
    const QPoint canto(
        centrado(sobre.left(), sobre.width(), quadro.width(), area.left(), area.width()),
        centrado(sobre.top(), sobre.height(), quadro.height(), area.top(), area.height()));
    // The window's own area is placed inside its frame: a manager that has not drawn the
    // frame yet puts it around that area.
    janela->setGeometry(QRect(canto + QPoint(margens.left(), margens.top()), janela->size()));
}
