#pragma once

// The contrast ratio of two colours as the accessibility guidelines measure it: the
// lighter colour's relative luminance plus 0.05 over the darker one's plus 0.05. Normal
// text needs 4.5:1.

#include <QColor>
#include <QHash>
#include <QImage>

#include <algorithm>
#include <cmath>

inline double luminanciaRelativa(const QColor& cor) {
    const auto canal = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * canal(cor.redF()) + 0.7152 * canal(cor.greenF()) + 0.0722 * canal(cor.blueF());
}

inline double contraste(const QColor& a, const QColor& b) {
    const double la = luminanciaRelativa(a);
    const double lb = luminanciaRelativa(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What a picture of text shows: its background (the commonest colour) and its text (the
// colour that stands out most from that background, where the strokes are fully covered).
struct CoresDoTexto {
    QColor fundo;
    QColor texto;
};

inline CoresDoTexto coresDoTexto(const QImage& imagem) {
    QHash<QRgb, int> vezes;
    for (int y = 0; y < imagem.height(); ++y)
        for (int x = 0; x < imagem.width(); ++x)
            ++vezes[imagem.pixel(x, y)];
    QRgb fundo = 0;
    int maisVezes = -1;
    for (auto i = vezes.cbegin(); i != vezes.cend(); ++i)
        if (i.value() > maisVezes) {
            maisVezes = i.value();
            fundo = i.key();
        }
    QRgb texto = fundo;
    double maior = 1;
    for (auto i = vezes.cbegin(); i != vezes.cend(); ++i) {
        const double c = contraste(QColor(i.key()), QColor(fundo));
        if (c > maior) {
            maior = c;
            texto = i.key();
        }
    }
    return {QColor(fundo), QColor(texto)};
}
