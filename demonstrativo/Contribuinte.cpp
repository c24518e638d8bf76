#include "demonstrativo/Contribuinte.h"

#include "framework/NURFWUtils.h"

#include <algorithm>

namespace {

bool ehDigito(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool ehAlfanumerico(QChar c) {
    return ehDigito(c) || (c >= u'A' && c <= u'Z');
}

// The check digit of the characters before it: weights 2 to 9 from the right, again from 2
// after 9; 11 minus the remainder, where 10 and 11 are written 0.
int digitoVerificador(QStringView caracteres) {
    int soma = 0;
    int peso = 2;
    for (qsizetype i = caracteres.size() - 1; i >= 0; --i) {
        soma += (caracteres[i].unicode() - u'0') * peso;
        peso = peso == 9 ? 2 : peso + 1;
    }
    const int dv = 11 - soma % 11;
    return dv >= 10 ? 0 : dv;
}

bool somenteDigitos(const QString& texto) {
    return std::all_of(texto.begin(), texto.end(), ehDigito);
}

} // namespace

QString documentoSemPontuacao(const QString& digitado) {
    QString limpo;
    limpo.reserve(digitado.size());
    for (const QChar c : digitado)
        if (c != u'.' && c != u'/' && c != u'-' && !c.isSpace())
            limpo += c.toUpper();
    return limpo;
}

bool ValidaCNPJAlfanumerico(const QString& cnpj) {
    if (cnpj.size() != 14 || !std::all_of(cnpj.begin(), cnpj.begin() + 12, ehAlfanumerico) ||
        !ehDigito(cnpj[12]) || !ehDigito(cnpj[13]))
        return false;
    const QStringView texto(cnpj);
    const int dv1 = digitoVerificador(texto.first(12));
    if (cnpj[12].unicode() - u'0' != dv1)
        return false;
    return cnpj[13].unicode() - u'0' == digitoVerificador(texto.first(13));
}

TipoDocumento tipoDoDocumento(const QString& semPontuacao) {
    if (semPontuacao.isEmpty())
        return TipoDocumento::Nenhum;
    if (semPontuacao.size() <= 11 && somenteDigitos(semPontuacao))
        return TipoDocumento::CPF;
    return TipoDocumento::CNPJ;
}

std::optional<QString> validaDocumento(const QString& digitado) {
    const QString numero = documentoSemPontuacao(digitado);
    switch (tipoDoDocumento(numero)) {
    case TipoDocumento::Nenhum:
        return std::nullopt;
    case TipoDocumento::CPF:
        if (TNURUtils::ValidaCPF(numero))
            return std::nullopt;
        return QStringLiteral("CPF inválido!");
    case TipoDocumento::CNPJ:
        // The numeric form goes to the framework's check, which takes digits only.
        if (somenteDigitos(numero) ? TNURUtils::ValidaCNPJ(numero) : ValidaCNPJAlfanumerico(numero))
            return std::nullopt;
        return QStringLiteral("CNPJ inválido!");
    }
    return std::nullopt;
}

QString formataDocumento(const QString& semPontuacao) {
    const QString& n = semPontuacao;
    if (n.size() == 11 && tipoDoDocumento(n) == TipoDocumento::CPF)
        return n.first(3) + u'.' + n.sliced(3, 3) + u'.' + n.sliced(6, 3) + u'-' + n.sliced(9);
    if (n.size() == 14)
        return n.first(2) + u'.' + n.sliced(2, 3) + u'.' + n.sliced(5, 3) + u'/' + n.sliced(8, 4) +
               u'-' + n.sliced(12);
    return n;
}

std::optional<QString> Contribuinte::defineDocumento(const QString& digitado) {
    if (auto falha = validaDocumento(digitado))
        return falha;
    fDocumento = documentoSemPontuacao(digitado);
    return std::nullopt;
}
