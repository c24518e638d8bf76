#include "calc/HtmlDocumento.h"

QString textoHtml(const QString& texto) {
    return texto.toHtmlEscaped();
}

QString estiloSemQuebra() {
    // Qt lays a block styled so without line breaks (QTextOption::NoWrap); a table cell's
    // minimum width then is its whole line.
    return QStringLiteral("white-space:nowrap;");
}

QString celulaFigura(const QString& figura, bool destaque, int largura) {
    const QString texto =
        destaque ? QStringLiteral("<b>%1</b>").arg(textoHtml(figura)) : textoHtml(figura);
    const QString atributoLargura =
        largura > 0 ? QStringLiteral(" width=\"%1\"").arg(largura) : QString();
    return QStringLiteral("<td align=\"right\"%1 style=\"%2\">%3</td>")
        .arg(atributoLargura, estiloSemQuebra(), texto);
}

QString linhasSemQuebra(const QStringList& linhas) {
    QStringList escapadas;
    for (const QString& l : linhas)
        escapadas << textoHtml(l);
    return QStringLiteral("<p style=\"%1\">%2</p>")
        .arg(estiloSemQuebra(), escapadas.join(QStringLiteral("<br>")));
}
