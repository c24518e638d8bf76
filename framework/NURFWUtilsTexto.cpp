#include "framework/NURFWUtils.h"

#include "valores/Datas.h"

#include <QHash>

namespace {

QString preenche(const QString& texto, const QString& caractere, qint32 tamanho, bool aDireita) {
    if (texto.size() > tamanho)
        return texto.left(qMax(tamanho, 0));
    const QString enchimento = caractere.repeated(tamanho - texto.size());
    return aDireita ? texto + enchimento : enchimento + texto;
}

QHash<QChar, QChar> tabelaSemAcentos() {
    const struct {
        const char16_t* origens;
        char16_t destino;
    } grupos[] = {
        {u"&", u'e'},    {u"<", u'('},      {u">", u')'},    {u"ÀÁÂÃÄÅ", u'A'}, {u"Ç", u'C'},
        {u"ÈÉÊË", u'E'}, {u"ÌÍÎÏ", u'I'},   {u"Ñ", u'N'},    {u"ÒÓÔÕÖ", u'O'},  {u"ÙÚÛÜ", u'U'},
        {u"Ý", u'Y'},    {u"àáâãäå", u'a'}, {u"ç", u'c'},    {u"èéêë", u'e'},   {u"ìíîï", u'i'},
        {u"ñ", u'n'},    {u"òóôõö", u'o'},  {u"ùúûü", u'u'}, {u"ýÿ", u'y'},
    };
    QHash<QChar, QChar> tabela;
    for (const auto& g : grupos)
        for (const char16_t* c = g.origens; *c; ++c)
            tabela.insert(QChar(*c), QChar(g.destino));
    return tabela;
}

} // namespace

QString TNURUtils::PreencheDireita(const QString& pString, const QString& pChar, qint32 pLength) {
    return preenche(pString, pChar, pLength, true);
}

QString TNURUtils::PreencheEsquerda(const QString& pString, const QString& pChar, qint32 pLength) {
    return preenche(pString, pChar, pLength, false);
}

QString TNURUtils::RemoveCaracterEspecial(const QString& sString) {
    static const QHash<QChar, QChar> tabela = tabelaSemAcentos();
    QString resultado = sString;
    for (QChar& c : resultado)
        c = tabela.value(c, c);
    return resultado;
}

qint32 TNURUtils::UltimoDiaMes(qint32 iMes, qint32 iAno) {
    const DataHora primeiro = Datas::codificaData(iAno, iMes, 1);
    int ano = 0, mes = 0, dia = 0;
    Datas::decodificaData(Datas::incrementaMes(primeiro, 1) - 1, ano, mes, dia);
    return dia;
}
