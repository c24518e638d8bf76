#include "sistema/PaginaAnsi.h"

#include <QList>

#include <array>

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the page is Latin-1.
constexpr std::array<char16_t, 32> Faixa80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char byteDe(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < Faixa80.size(); ++i)
        if (Faixa80[i] == c)
            return char(0x80 + i);
    return '?';
}

} // namespace

namespace PaginaAnsi {

QByteArray codifica(QStringView texto) {
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (char32_t c : texto.toUcs4())
        bytes.append(byteDe(c));
    return bytes;
}

QString decodifica(QByteArrayView bytes) {
    QString texto(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        texto[i] = (b >= 0x80 && b < 0xA0) ? QChar(Faixa80[b - 0x80]) : QChar(b);
    }
    return texto;
}

} // namespace PaginaAnsi
