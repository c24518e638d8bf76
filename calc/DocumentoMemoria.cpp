#include "calc/DocumentoMemoria.h"

#include "sistema/ArquivoSaida.h"
#include "calc/FormataResultado.h"
#include "valores/Formatacao.h"
#include "calc/HtmlDocumento.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

QString tituloMemoria() {
    return QStringLiteral("Memória de Cálculo — ICMS pago em atraso");
}

namespace {

// The colours of the program's pictures and of the calculation window's notice.
const QString Azul = QStringLiteral("#164a8c");
const QString AzulClaro = QStringLiteral("#d2e4f7");
const QString Cinza = QStringLiteral("#6e6e6e");

const QString AvisoDiaUtil = QStringLiteral(
    "O imposto só vence em dia de expediente normal na Repartição Fazendária ou na Agência "
    "Arrecadadora onde deva ser efetuado o pagamento (Artigo 91 - RICMS/02)");

// An amount at four decimals, as the computation holds it before rounding to cents.
QString quatroCasas(Moeda valor) {
    return Formato::formataNumero(QStringLiteral("#,###,##0.0000"),
                                  valor.contagemEstendida() / Moeda::Escala);
}

QString titulo(const QString& texto) {
    return QStringLiteral("<h3 style=\"color:%1; margin-top:14px; margin-bottom:4px;\">%2</h3>")
        .arg(Azul, textoHtml(texto));
}

// Label and figure pairs, the figures right-aligned; bold as the window's result labels
// when `destaque`.
QString quadro(const QList<QPair<QString, QString>>& linhas, bool destaque = true) {
    QString s = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">");
    for (const auto& [rotulo, valor] : linhas)
        s += QStringLiteral("<tr><td width=\"240\">%1</td>%2</tr>")
                 .arg(textoHtml(rotulo), celulaFigura(valor, destaque, 160));
    return s + QStringLiteral("</table>");
}

QString linhaTaxa(const QString& rotulo, const QString& taxa, bool destaque = false) {
    const QString texto =
        destaque ? QStringLiteral("<b>%1</b>").arg(textoHtml(rotulo)) : textoHtml(rotulo);
    return QStringLiteral("<tr><td>%1</td>%2</tr>").arg(texto, celulaFigura(taxa, destaque));
}

QString tabelaTaxas(const DocumentoMemoria& d) {
    const MemoriaCalculo& m = d.Memoria;
    QString s = QStringLiteral("<table width=\"70%\" border=\"1\" cellspacing=\"0\" "
                               "cellpadding=\"4\" style=\"border-collapse:collapse; "
                               "border-color:%1;\">"
                               "<thead><tr style=\"background-color:%2;\">"
                               "<th align=\"left\">Mês</th><th align=\"right\">Taxa</th></tr>"
                               "</thead>")
                    .arg(Cinza, AzulClaro);
    for (const TaxaSelicSomada& t : m.MesesSelic)
        s += linhaTaxa(QStringLiteral("Selic ") + Formato::mesAno(t.Mes), formataTaxa(t.Valor));
    if (m.JurosMesPagamento)
        s += linhaTaxa(QStringLiteral("Mês do pagamento ") + Formato::mesAno(m.MesPagamento),
                       formataTaxa(1));
    else
        s += linhaTaxa(QStringLiteral("Pagamento no mês do vencimento: sem juros"), formataTaxa(0));
    s += linhaTaxa(QStringLiteral("Soma: taxa de juros aplicada"),
                   formataResultado(d.Resultado).Taxa, true);
    return s + QStringLiteral("</table>");
}

QString htmlMemoria(const DocumentoMemoria& d) {
    const MemoriaCalculo& m = d.Memoria;
    const ResultadoFormatado f = formataResultado(d.Resultado);
    QString s = QStringLiteral("<html><body>");
    s += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"8\" "
                        "style=\"background-color:%1;\"><tr><td><span style=\"color:white; "
                        "font-size:15pt; font-weight:bold;\">%2</span></td></tr></table>")
             .arg(Azul, textoHtml(tituloMemoria()));
    s += linhasSemQuebra(
        {QStringLiteral("Emitido em %1 às %2")
             .arg(Formato::dataParaTexto(d.Emissao), Formato::horaParaTexto(d.Emissao))});

    s += titulo(QStringLiteral("Dados do Tributo"));
    s += quadro({{QStringLiteral("Valor do ICMS"), f.Valor},
                 {QStringLiteral("Data de Vencimento"), Formato::dataParaTexto(m.DataVencimento)},
                 {QStringLiteral("Data de Pagamento"), Formato::dataParaTexto(m.DataPagamento)}});

    s += titulo(QStringLiteral("Resultado"));
    s += quadro({{QStringLiteral("Número de dias"), f.Dias},
                 {QStringLiteral("Taxa de Juros"), f.Taxa},
                 {QStringLiteral("Valor do ICMS"), f.Valor},
                 {QStringLiteral("Multa de Mora"), f.Multa},
                 {QStringLiteral("Juros de Mora"), f.Juros},
                 {QStringLiteral("Total"), f.Total}});

    s += titulo(QStringLiteral("Multa de Mora"));
    s += linhasSemQuebra({QStringLiteral("Regra: ") + textoRegraMulta(m),
                          QStringLiteral("Faixa: ") + textoFaixaMulta(m)});
    s += quadro({{QStringLiteral("Multa calculada:"), quatroCasas(m.MultaCalculada)},
                 {QStringLiteral("Arredondada aos centavos:"), f.Multa}},
                false);

    s += titulo(QStringLiteral("Juros de Mora"));
    s += tabelaTaxas(d);
    s += quadro({{QStringLiteral("Base dos juros (imposto + multa):"), quatroCasas(m.BaseJuros)},
                 {QStringLiteral("Juros (base × taxa de juros):"), quatroCasas(m.JurosCalculados)},
                 {QStringLiteral("Arredondados aos centavos:"), f.Juros},
                 {QStringLiteral("Último mês da tabela Selic:"),
                  m.UltimoMesTabela == Datas::Vazia ? QStringLiteral("nenhum")
                                                    : Formato::mesAno(m.UltimoMesTabela)}},
                false);

    s += QStringLiteral("<p style=\"color:red; font-weight:bold;\">%1</p>")
             .arg(textoHtml(AvisoDiaUtil));
    s += QStringLiteral("<hr><p style=\"color:%1; font-size:8pt;\">BELQOR - Atualização de ICMS "
                        "vencido - Versão %2</p>")
             .arg(Cinza, textoHtml(d.Versao));
    return s + QStringLiteral("</body></html>");
}

} // namespace

void preparaPaginaA4(QPagedPaintDevice& destino) {
    destino.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

void desenhaMemoria(QPagedPaintDevice& destino, const DocumentoMemoria& documento) {
    QTextDocument texto;
    QFont fonte(QStringLiteral("DejaVu Sans"));
    fonte.setStyleHint(QFont::SansSerif);
    fonte.setPointSizeF(10);
    texto.setDefaultFont(fonte);
    texto.setHtml(htmlMemoria(documento));
    texto.print(&destino);
}

void gravaPdfMemoria(const QString& caminho, const DocumentoMemoria& documento) {
    ArquivoSaida arquivo(caminho);
    arquivo.abre();
    {
        QPdfWriter pdf(&arquivo);
        pdf.setTitle(tituloMemoria());
        pdf.setCreator(QStringLiteral("BELQOR ") + documento.Versao);
        preparaPaginaA4(pdf);
        // The drawing's painter ends the PDF before it returns.
        desenhaMemoria(pdf, documento);
    }
    // The new file takes the old one's place only when every byte reached it.
    arquivo.conclui();
}
