#include "calc/DocumentoMemoria.h"

#include "calc/FormataResultado.h"
#include "calc/HtmlDocumento.h"
#include "valores/Formatacao.h"

#include <QTextDocument>

QString tituloMemoria() {
    return QStringLiteral("Memória de Cálculo — ICMS pago em atraso");
}

namespace {

const QString AvisoDiaUtil = QStringLiteral(
    "O imposto só vence em dia de expediente normal na Repartição Fazendária ou na Agência "
    "Arrecadadora onde deva ser efetuado o pagamento (Artigo 91 - RICMS/02)");

// An amount at four decimals, as the computation holds it before rounding to cents.
QString quatroCasas(Moeda valor) {
    return Formato::formataNumero(QStringLiteral("#,###,##0.0000"),
                                  valor.contagemEstendida() / Moeda::Escala);
}

QString linhaTaxa(const RotuloFigura& linha) {
    const QString texto = linha.Destaque ? QStringLiteral("<b>%1</b>").arg(textoHtml(linha.Rotulo))
                                         : textoHtml(linha.Rotulo);
    return QStringLiteral("<tr><td>%1</td>%2</tr>")
        .arg(texto, celulaFigura(linha.Figura, linha.Destaque));
}

QString tabelaTaxas(const QList<RotuloFigura>& taxas) {
    QString s = inicioTabela(QStringLiteral("70%"),
                             {{QStringLiteral("Mês"), false}, {QStringLiteral("Taxa"), true}});
    for (const RotuloFigura& t : taxas)
        s += linhaTaxa(t);
    return s + QStringLiteral("</table>");
}

// The account in the memory's tables.
QString htmlContaMemoria(const ResultadoCalculo& resultado, const MemoriaCalculo& memoria) {
    const ContaMemoria c = contaMemoria(resultado, memoria);
    QString s = tituloSecao(QStringLiteral("Multa de Mora"));
    s += linhasSemQuebra({c.Regra, c.Faixa});
    s += quadroFiguras(c.Multa, false);
    s += tituloSecao(QStringLiteral("Juros de Mora"));
    s += tabelaTaxas(c.Taxas);
    s += quadroFiguras(c.Juros, false);
    return s;
}

QString htmlMemoria(const DocumentoMemoria& d) {
    const MemoriaCalculo& m = d.Memoria;
    const ResultadoFormatado f = formataResultado(d.Resultado);
    QString s = QStringLiteral("<html><body>");
    s += faixaTitulo(tituloMemoria());
    s += linhasSemQuebra(
        {QStringLiteral("Emitido em %1 às %2")
             .arg(Formato::dataParaTexto(d.Emissao), Formato::horaParaTexto(d.Emissao))});

    s += tituloSecao(QStringLiteral("Dados do Tributo"));
    s += quadroFiguras(
        {{QStringLiteral("Valor do ICMS"), f.Valor},
         {QStringLiteral("Data de Vencimento"), Formato::dataParaTexto(m.DataVencimento)},
         {QStringLiteral("Data de Pagamento"), Formato::dataParaTexto(m.DataPagamento)}});

    s += tituloSecao(QStringLiteral("Resultado"));
    s += quadroFiguras({{QStringLiteral("Número de dias"), f.Dias},
                        {QStringLiteral("Taxa de Juros"), f.Taxa},
                        {QStringLiteral("Valor do ICMS"), f.Valor},
                        {QStringLiteral("Multa de Mora"), f.Multa},
                        {QStringLiteral("Juros de Mora"), f.Juros},
                        {QStringLiteral("Total"), f.Total}});

    s += htmlContaMemoria(d.Resultado, m);

    s += QStringLiteral("<p style=\"color:red; font-weight:bold;\">%1</p>")
             .arg(textoHtml(AvisoDiaUtil));
    s += linhaVersao(d.Versao);
    return s + QStringLiteral("</body></html>");
}

} // namespace

ContaMemoria contaMemoria(const ResultadoCalculo& resultado, const MemoriaCalculo& m) {
    const ResultadoFormatado f = formataResultado(resultado);
    ContaMemoria c;
    c.Regra = QStringLiteral("Regra: ") + textoRegraMulta(m);
    c.Faixa = QStringLiteral("Faixa: ") + textoFaixaMulta(m);
    c.Multa = {{QStringLiteral("Multa calculada:"), quatroCasas(m.MultaCalculada)},
               {QStringLiteral("Arredondada aos centavos:"), f.Multa}};
    c.Taxas.reserve(m.MesesSelic.size() + 2);
    for (const TaxaSelicSomada& t : m.MesesSelic)
        c.Taxas.append({QStringLiteral("Selic ") + Formato::mesAno(t.Mes) +
                            (t.Estimada ? QStringLiteral(" (estimada)") : QString()),
                        formataTaxa(t.Valor)});
    if (m.JurosMesPagamento)
        c.Taxas.append({QStringLiteral("Mês do pagamento ") + Formato::mesAno(m.MesPagamento),
                        formataTaxa(1)});
    else
        c.Taxas.append(
            {QStringLiteral("Pagamento no mês do vencimento: sem juros"), formataTaxa(0)});
    c.Taxas.append({QStringLiteral("Soma: taxa de juros aplicada"), f.Taxa, true});
    c.Juros = {{QStringLiteral("Base dos juros (imposto + multa):"), quatroCasas(m.BaseJuros)},
               {QStringLiteral("Juros (base × taxa de juros):"), quatroCasas(m.JurosCalculados)},
               {QStringLiteral("Arredondados aos centavos:"), f.Juros},
               {QStringLiteral("Último mês da tabela Selic:"),
                m.UltimoMesTabela == Datas::Vazia ? QStringLiteral("nenhum")
                                                  : Formato::mesAno(m.UltimoMesTabela)}};
    return c;
}

void desenhaMemoria(QPagedPaintDevice& destino, const DocumentoMemoria& documento) {
    QTextDocument texto;
    texto.setDefaultFont(fonteDocumento());
    texto.setHtml(htmlMemoria(documento));
    texto.print(&destino);
}

DocumentoImpresso impressoMemoria(const DocumentoMemoria& documento) {
    return {tituloMemoria(), QStringLiteral("BELQOR ") + documento.Versao, QPageLayout::Portrait,
            [documento](QPagedPaintDevice& destino) { desenhaMemoria(destino, documento); }};
}

void gravaPdfMemoria(const QString& caminho, const DocumentoMemoria& documento) {
    gravaPdf(caminho, impressoMemoria(documento));
}
