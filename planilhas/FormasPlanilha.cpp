#include "planilhas/FormasPlanilha.h"

#include <algorithm>
#include <cmath>

namespace {

bool digito(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool soDigitos(QStringView t) {
    for (const QChar c : t)
        if (!digito(c))
            return false;
    return !t.isEmpty();
}

// "1.234.567": one to three digits, then groups of a dot and three digits.
bool agrupado(QStringView t) {
    const qsizetype primeiroPonto = t.indexOf(QLatin1Char('.'));
    if (primeiroPonto < 1 || primeiroPonto > 3 || (t.size() - primeiroPonto) % 4 != 0)
        return false;
    if (!soDigitos(t.first(primeiroPonto)))
        return false;
    for (qsizetype i = primeiroPonto; i < t.size(); i += 4)
        if (t[i] != QLatin1Char('.') || !soDigitos(t.sliced(i + 1, 3)))
            return false;
    return true;
}

bool branco(QChar c) {
    return c == QLatin1Char(' ') || c == QChar(0x00A0);
}

} // namespace

QString valorDaPlanilha(const QString& texto) {
    QStringView t = QStringView(texto).trimmed();
    if (t.startsWith(QLatin1String("R$"))) {
        t = t.sliced(2);
        while (!t.isEmpty() && branco(t.front()))
            t = t.sliced(1);
    }
    const qsizetype virgula = t.indexOf(QLatin1Char(','));
    const QStringView inteiros = virgula < 0 ? t : t.first(virgula);
    const QStringView decimais = virgula < 0 ? QStringView() : t.sliced(virgula + 1);
    if (virgula >= 0 && (decimais.isEmpty() || decimais.size() > 2 || !soDigitos(decimais)))
        return texto;
    if (decimais.size() == 2 && t.size() == texto.size() && soDigitos(inteiros))
        return texto; // already as the window takes it
    QString numero;
    if (soDigitos(inteiros))
        numero = inteiros.toString();
    else if (agrupado(inteiros))
        numero = inteiros.toString().remove(QLatin1Char('.'));
    else
        return texto;
    numero.append(QLatin1Char(',')).append(decimais);
    while (numero.size() - numero.indexOf(QLatin1Char(',')) - 1 < 2)
        numero += QLatin1Char('0');
    return numero;
}

QString numeroDaPlanilha(double numero) {
    if (!std::isfinite(numero))
        return QString::number(numero); // refused by every check after it
    if (numero == 0)
        return QStringLiteral("0");
    const int expoente = int(std::floor(std::log10(std::fabs(numero))));
    QString texto = QString::number(numero, 'f', std::clamp(14 - expoente, 0, 20));
    if (texto.contains(QLatin1Char('.'))) {
        while (texto.endsWith(QLatin1Char('0')))
            texto.chop(1);
        if (texto.endsWith(QLatin1Char('.')))
            texto.chop(1);
    }
    if (texto == QLatin1String("-0"))
        return QStringLiteral("0");
    return texto.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString dataDaPlanilha(const QString& texto) {
    const QStringView t = QStringView(texto).trimmed();
    if (t.size() != 10 || t[4] != QLatin1Char('-') || t[7] != QLatin1Char('-') ||
        !soDigitos(t.first(4)) || !soDigitos(t.sliced(5, 2)) || !soDigitos(t.sliced(8, 2)))
        return texto;
    QString data;
    data.append(t.sliced(8, 2)).append(QLatin1Char('/')).append(t.sliced(5, 2));
    return data.append(QLatin1Char('/')).append(t.first(4));
}
