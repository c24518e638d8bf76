#include "calc/HtmlDocumento.h"

#include <algorithm>

namespace {

// The colours of the program's pictures.
const QString Azul = QStringLiteral("#164a8c");
const QString AzulClaro = QStringLiteral("#d2e4f7");
const QString Cinza = QStringLiteral("#6e6e6e");
const QString Listra = QStringLiteral("#eef3f9");

} // namespace

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

QString inicioHtml() {
    // The lines of linhasFiguras name their style, which is read once here instead of once
    // for each of tens of thousands of lines.
    return QStringLiteral("<html><head><style>"
                          "p.linha { %1 margin-top:0; margin-bottom:0; } "
                          "p.ultima { %1 margin-top:0; margin-bottom:8px; }"
                          "</style></head><body>")
        .arg(estiloSemQuebra());
}

namespace {

// A caption and its figure, the figure in bold when it stands out.
QString rotuloEFigura(const RotuloFigura& l) {
    QString s = textoHtml(l.Rotulo);
    if (!l.Figura.isEmpty())
        s += QLatin1Char(' ') +
             (l.Destaque ? QStringLiteral("<b>") + textoHtml(l.Figura) + QStringLiteral("</b>")
                         : textoHtml(l.Figura));
    return s;
}

} // namespace

QString linhasFiguras(const QList<RotuloFigura>& linhas, int porLinha) {
    QString s;
    for (qsizetype i = 0; i < linhas.size(); i += porLinha) {
        const bool ultima = i + porLinha >= linhas.size();
        s +=
            ultima ? QStringLiteral("<p class=\"ultima\">") : QStringLiteral("<p class=\"linha\">");
        for (qsizetype j = i; j < std::min(i + porLinha, linhas.size()); ++j) {
            if (j > i)
                s += QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;");
            s += rotuloEFigura(linhas[j]);
        }
        s += QStringLiteral("</p>");
    }
    return s;
}

QString faixaTitulo(const QString& titulo) {
    return QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"8\" "
                          "style=\"background-color:%1;\"><tr><td><span style=\"color:white; "
                          "font-size:15pt; font-weight:bold;\">%2</span></td></tr></table>")
        .arg(Azul, textoHtml(titulo));
}

QString tituloSecao(const QString& titulo, int nivel) {
    return QStringLiteral("<h%1 style=\"color:%2; margin-top:14px; margin-bottom:4px;\">%3</h%1>")
        .arg(QString::number(nivel), Azul, textoHtml(titulo));
}

QString quadroFiguras(const QList<RotuloFigura>& linhas, bool destaque) {
    QString s = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">");
    for (const RotuloFigura& l : linhas)
        s += QStringLiteral("<tr><td width=\"240\">%1</td>%2</tr>")
                 .arg(textoHtml(l.Rotulo), celulaFigura(l.Figura, destaque || l.Destaque, 160));
    return s + QStringLiteral("</table>");
}

QString inicioTabela(const QString& largura, const QList<ColunaTabela>& colunas, int margem,
                     bool bordas) {
    const QString estilo = bordas ? QStringLiteral("border=\"1\" style=\"border-collapse:collapse; "
                                                   "border-color:%1;\"")
                                        .arg(Cinza)
                                  : QStringLiteral("border=\"0\"");
    QString s = QStringLiteral("<table width=\"%1\" cellspacing=\"0\" cellpadding=\"%2\" %3>"
                               "<thead><tr style=\"background-color:%4;\">")
                    .arg(largura, QString::number(margem), estilo, AzulClaro);
    for (const ColunaTabela& c : colunas)
        s += QStringLiteral("<th align=\"%1\" style=\"%2\">%3</th>")
                 .arg(c.Figura ? QStringLiteral("right") : QStringLiteral("left"),
                      estiloSemQuebra(), textoHtml(c.Titulo));
    return s + QStringLiteral("</tr></thead>");
}

QString inicioLinhaListrada(qsizetype indice) {
    return indice % 2 ? QStringLiteral("<tr style=\"background-color:%1;\">").arg(Listra)
                      : QStringLiteral("<tr>");
}

QString inicioLinhaTotais() {
    return QStringLiteral("<tr style=\"background-color:%1;\">").arg(AzulClaro);
}

QString linhaVersao(const QString& versao) {
    return QStringLiteral("<hr><p style=\"color:%1; font-size:8pt;\">BELQOR - Atualização de ICMS "
                          "vencido - Versão %2</p>")
        .arg(Cinza, textoHtml(versao));
}
