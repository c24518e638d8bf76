#include "framework/NURFWUtils.h"

#include "valores/Erros.h"

namespace {

// A character read as a decimal number, with the number parser's error text.
int digito(QChar c) {
    if (c < u'0' || c > u'9')
        throw ErroConversao(QStringLiteral("'%1' is not a valid integer value").arg(c));
    return c.unicode() - u'0';
}

// 11 minus the remainder, where 10 and 11 are written 0.
int digitoVerificador(int soma) {
    const int dv = 11 - soma % 11;
    return dv >= 10 ? 0 : dv;
}

bool somenteDigitos(const QString& texto, qsizetype tamanho) {
    return texto.size() == tamanho && TNURUtils::GetNumbers(texto).size() == tamanho &&
           !TNURUtils::SameChars(texto);
}

} // namespace

bool TNURUtils::ValidaCPF(const QString& pCPF) {
    if (!somenteDigitos(pCPF, 11))
        return false;
    int s1 = 0;
    int s2 = 0;
    for (int i = 0; i < 9; ++i) {
        const int d = digito(pCPF[i]);
        s1 += (10 - i) * d;
        s2 += (11 - i) * d;
    }
    const int dv1 = digitoVerificador(s1);
    const int dv2 = digitoVerificador(s2 + 2 * dv1);
    return digito(pCPF[9]) == dv1 && digito(pCPF[10]) == dv2;
}

bool TNURUtils::ValidaCNPJ(const QString& pCNPJ) {
    return somenteDigitos(pCNPJ, 14) && Modulo11(pCNPJ.left(13), 9) && Modulo11(pCNPJ, 9);
}

bool TNURUtils::Modulo11(const QString& Seq, std::uint8_t ciclo) {
    if (Seq.isEmpty())
        throw ErroConversao(QStringLiteral("'' is not a valid integer value"));
    // A wide sum and counter: a text of any length is walked whole and only within itself.
    qint64 soma = 0;
    int peso = 2;
    for (qsizetype i = Seq.size() - 2; i >= 0; --i) {
        soma += qint64(digito(Seq[i])) * peso;
        if (++peso > ciclo)
            peso = 2;
    }
    const int r = int(soma % 11);
    const int dv = r > 1 ? 11 - r : 0;
    return digito(Seq.back()) == dv;
}

bool TNURUtils::SameChars(const QString& pString) {
    for (const QChar c : pString)
        if (c != pString.front())
            return false;
    return true;
}

QString TNURUtils::GetNumbers(const QString& pString) {
    QString numeros;
    for (const QChar c : pString)
        if (c >= u'0' && c <= u'9')
            numeros += c;
    return numeros;
}
