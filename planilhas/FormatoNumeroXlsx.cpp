#include "planilhas/FormatoNumeroXlsx.h"

namespace {

bool ehTempoDecorrido(QStringView dentro) {
    if (dentro.isEmpty())
        return false;
    const char16_t letra = QChar::toLower(dentro[0].unicode());
    if (letra != u'h' && letra != u'm' && letra != u's')
        return false;
    for (const QChar c : dentro)
        if (QChar::toLower(c.unicode()) != letra)
            return false;
    return true;
}

} // namespace

bool formatoInternoDeData(int id) {
    return (id >= 14 && id <= 22) || (id >= 45 && id <= 47);
}

bool formatoDeData(int id, QStringView codigo) {
    if (codigo.isEmpty())
        return formatoInternoDeData(id);
    for (qsizetype i = 0; i < codigo.size(); ++i) {
        const char16_t c = QChar::toLower(codigo[i].unicode());
        switch (c) {
        case u'"': // quoted text, up to the next quote
            i = codigo.indexOf(u'"', i + 1);
            if (i < 0)
                return false;
            break;
        case u'\\': // the next character as it is
        case u'_':  // room as wide as the next character
        case u'*':  // the next character repeated to fill the cell
            ++i;
            break;
        case u'[': {
            const qsizetype fim = codigo.indexOf(u']', i + 1);
            if (fim < 0)
                return false;
            // [h], [mm], [ss]: an elapsed time; any other bracket ([Magenta], [$-416],
            // [>=100]) shows no part of a date.
            const QStringView dentro = codigo.sliced(i + 1, fim - i - 1);
            if (ehTempoDecorrido(dentro))
                return true;
            i = fim;
            break;
        }
        case u'd':
        case u'm':
        case u'y':
        case u'h':
        case u's':
            return true;
        default:
            break;
        }
    }
    return false;
}
