#pragma once

#include <QFont>
#include <QLabel>

// A fixed-size, one-line label that never cuts its text: when the text is wider than the
// label, it is drawn in a smaller size of the same font, the largest that fits. The
// label keeps its size, place, alignment, background and colours.
class RotuloAjustado : public QLabel {
    Q_OBJECT

public:
    explicit RotuloAjustado(QWidget* parent = nullptr);

    // The font the text is drawn in: the label's own, or a smaller size of it when the
    // text would not fit otherwise.
    QFont fonteDoTexto() const;
    // The width the text may take: the contents less the margins.
    int larguraDisponivel() const;

protected:
    void paintEvent(QPaintEvent* evento) override;
};
