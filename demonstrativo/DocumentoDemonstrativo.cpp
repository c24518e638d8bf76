#include "demonstrativo/DocumentoDemonstrativo.h"

#include "calc/DocumentoMemoria.h"
#include "calc/FormataResultado.h"
#include "calc/HtmlDocumento.h"
#include "ratetable/BQDataModule.h"
#include "refresh/TaxasDaTabela.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

QString tituloDemonstrativo() {
    return QStringLiteral("Demonstrativo de Débitos — ICMS pago em atraso");
}

namespace {

const QString AvisoNaoEGuia = QStringLiteral(
    "Este documento é um demonstrativo do cálculo, não uma guia de recolhimento. Para "
    "recolher o imposto, transcreva para a guia de recolhimento do estado os valores de cada "
    "referência: o principal (Valor do ICMS), a multa de mora, os juros de mora e o total, "
    "reunidos no anexo.");

const QString Previsao = marcaPrevisao();
const QString TituloPrevisao = Previsao + QStringLiteral(" — taxas estimadas");

const QString ImputacaoProporcional = QStringLiteral(
    "Cada pagamento parcial foi imputado proporcionalmente ao principal, à multa e aos juros "
    "devidos na data em que foi feito.");

// What the statement holds beyond plain debts, looked up once for the whole document.
struct Conteudo {
    bool Pagamentos = false; // some debt carries partial payments
    QList<TaxaSelicSomada> Estimados;
};

Conteudo conteudo(const Demonstrativo& d) {
    return {d.temPagamentos(), d.mesesEstimados()};
}

QString data(DataHora d) {
    return d == Datas::Vazia ? QString() : Formato::dataParaTexto(d);
}

// A row of the header: the label, then a value that is a figure (never wrapped) or free text
// typed by the user (wrapped at the page's edge).
QString linhaCabecalho(const QString& rotulo, const QString& valor, bool figura) {
    QString s =
        QStringLiteral("<tr><td width=\"240\">") + textoHtml(rotulo) + QStringLiteral("</td>");
    if (figura)
        return s + QStringLiteral("<td style=\"") + estiloSemQuebra() + QStringLiteral("\"><b>") +
               textoHtml(valor) + QStringLiteral("</b></td></tr>");
    return s + QStringLiteral("<td><b>") + textoHtml(valor) + QStringLiteral("</b></td></tr>");
}

void cabecalho(const DocumentoDemonstrativo& d, QString& s) {
    const Contribuinte& c = d.Dados.Titular;
    QString rotuloDocumento = QStringLiteral("CPF/CNPJ");
    if (c.tipoDocumento() == TipoDocumento::CPF)
        rotuloDocumento = QStringLiteral("CPF");
    else if (c.tipoDocumento() == TipoDocumento::CNPJ)
        rotuloDocumento = QStringLiteral("CNPJ");
    const QString inscricao = c.InscricaoEstadual.trimmed();

    s += faixaTitulo(tituloDemonstrativo());
    s += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\" style=\"margin-top:8px;\">");
    s += linhaCabecalho(QStringLiteral("Contribuinte"), c.Nome.trimmed(), false);
    s += linhaCabecalho(
        rotuloDocumento,
        c.documento().isEmpty() ? QStringLiteral("não informado") : c.documentoFormatado(), true);
    s += linhaCabecalho(QStringLiteral("Inscrição Estadual"),
                        inscricao.isEmpty() ? QStringLiteral("não informada") : inscricao, false);
    s += linhaCabecalho(QStringLiteral("Data de Pagamento"), data(d.Dados.DataPagamento), true);
    s += linhaCabecalho(
        QStringLiteral("Emitido em"),
        QStringLiteral("%1 às %2")
            .arg(Formato::dataParaTexto(d.Emissao), Formato::horaParaTexto(d.Emissao)),
        true);
    s += linhaCabecalho(QStringLiteral("Último mês da tabela Selic"),
                        d.UltimoMesTabela == Datas::Vazia ? QStringLiteral("nenhum")
                                                          : Formato::mesAno(d.UltimoMesTabela),
                        true);
    s += linhaCabecalho(QStringLiteral("Programa"),
                        QStringLiteral("BELQOR - Atualização de ICMS vencido - Versão ") + d.Versao,
                        true);
    s += QStringLiteral("</table>");
    s += QStringLiteral("<p style=\"font-weight:bold;\">") + textoHtml(AvisoNaoEGuia) +
         QStringLiteral("</p>");
}

// A cell of text that is a figure but no amount (a reference, a date): left-aligned, whole.
QString celulaTexto(const QString& texto) {
    return QStringLiteral("<td style=\"") + estiloSemQuebra() + QStringLiteral("\">") +
           textoHtml(texto) + QStringLiteral("</td>");
}

QString quantidadeDebitos(int n) {
    return n == 1 ? QStringLiteral("1 débito") : QStringLiteral("%1 débitos").arg(n);
}

// The months no table held yet, each with the rate it took.
void secaoPrevisao(const Conteudo& c, QString& s) {
    if (c.Estimados.isEmpty())
        return;
    s += tituloSecao(TituloPrevisao);
    s += QStringLiteral("<p>") +
         textoHtml(QStringLiteral(
             "A tabela Selic ainda não tem a taxa destes meses: cada um levou a taxa do último "
             "mês da tabela. Os resultados marcados com PREVISÃO usaram alguma delas e mudam "
             "quando as taxas forem publicadas.")) +
         QStringLiteral("</p>");
    QList<RotuloFigura> meses;
    meses.reserve(c.Estimados.size());
    for (const TaxaSelicSomada& t : c.Estimados)
        meses.append(
            {QStringLiteral("Selic ") + Formato::mesAno(t.Mes) + QStringLiteral(" (estimada)"),
             formataTaxa(t.Valor)});
    s += linhasFiguras(meses, 4);
}

void tabelaCalculados(const DocumentoDemonstrativo& d, const Conteudo& c, QString& s) {
    const QList<Debito>& debitos = d.Dados.Debitos;
    const QList<ResultadoDebito>& resultados = d.Dados.resultados();
    const TotaisDemonstrativo& t = d.Dados.totais();
    s += tituloSecao(QStringLiteral("Débitos calculados"));
    if (t.Quantidade == 0) {
        s += QStringLiteral("<p>Nenhum débito foi calculado.</p>");
        return;
    }
    const bool previsao = !c.Estimados.isEmpty();
    QList<ColunaTabela> colunas{{QStringLiteral("Referência"), false},
                                {QStringLiteral("Vencimento"), false}};
    // With payments, the amount is what they left of the principal.
    if (c.Pagamentos)
        colunas += {{QStringLiteral("Pago"), true}, {QStringLiteral("Principal em Aberto"), true}};
    else
        colunas += {QStringLiteral("Valor do ICMS"), true};
    colunas += {{QStringLiteral("Dias"), true},
                {QStringLiteral("Taxa de Juros"), true},
                {QStringLiteral("Multa de Mora"), true},
                {QStringLiteral("Juros de Mora"), true},
                {QStringLiteral("Total"), true}};
    if (previsao)
        colunas += {QStringLiteral("Previsão"), false};
    s += QStringLiteral("<div style=\"font-size:9pt;\">");
    s += inicioTabela(QStringLiteral("100%"), colunas, 3, false);
    qsizetype linha = 0;
    for (qsizetype i = 0; i < resultados.size(); ++i) {
        if (!resultados[i].Resultado)
            continue;
        const ResultadoFormatado f = formataResultado(*resultados[i].Resultado);
        s += inicioLinhaListrada(linha++);
        s += celulaTexto(debitos[i].Referencia);
        s += celulaTexto(data(debitos[i].Vencimento));
        if (c.Pagamentos)
            s += celulaFigura(formataReais(resultados[i].Pagamentos.Pago));
        s += celulaFigura(f.Valor);
        s += celulaFigura(f.Dias);
        s += celulaFigura(f.Taxa);
        s += celulaFigura(f.Multa);
        s += celulaFigura(f.Juros);
        s += celulaFigura(f.Total);
        if (previsao)
            s += celulaTexto(resultados[i].previsao() ? Previsao : QString());
        s += QStringLiteral("</tr>");
    }
    s += inicioLinhaTotais() + QStringLiteral("<td colspan=\"2\" style=\"") + estiloSemQuebra() +
         QStringLiteral("\"><b>Totais (") + quantidadeDebitos(t.Quantidade) +
         QStringLiteral(")</b></td>");
    if (c.Pagamentos)
        s += celulaFigura(formataReais(t.Pago), true);
    s += celulaFigura(formataReais(t.Valor), true);
    s += QStringLiteral("<td></td><td></td>");
    s += celulaFigura(formataReais(t.Multa), true);
    s += celulaFigura(formataReais(t.Juros), true);
    s += celulaFigura(formataReais(t.Total), true);
    if (previsao)
        s += QStringLiteral("<td style=\"") + estiloSemQuebra() + QStringLiteral("\"><b>") +
             (t.previsao() ? Previsao : QString()) + QStringLiteral("</b></td>");
    s += QStringLiteral("</tr></table></div>");
    if (c.Pagamentos)
        s += QStringLiteral("<p>") + textoHtml(ImputacaoProporcional) + QStringLiteral("</p>");
}

void tabelaNaoCalculados(const DocumentoDemonstrativo& d, QString& s) {
    const QList<Debito>& debitos = d.Dados.Debitos;
    const QList<ResultadoDebito>& resultados = d.Dados.resultados();
    const qsizetype falhas = resultados.size() - d.Dados.totais().Quantidade;
    if (falhas == 0)
        return;
    s += tituloSecao(QStringLiteral("Débitos não calculados (%1)")
                         .arg(quantidadeDebitos(static_cast<int>(falhas))));
    s += inicioTabela(QStringLiteral("100%"),
                      {{QStringLiteral("Referência"), false},
                       {QStringLiteral("Vencimento"), false},
                       {QStringLiteral("Valor do ICMS"), true},
                       {QStringLiteral("Mensagem"), false}},
                      4, false);
    qsizetype linha = 0;
    for (qsizetype i = 0; i < resultados.size(); ++i) {
        if (resultados[i].Resultado)
            continue;
        s += inicioLinhaListrada(linha++);
        s += celulaTexto(debitos[i].Referencia);
        s += celulaTexto(data(debitos[i].Vencimento));
        // As typed: it may be what could not be read.
        s += celulaFigura(debitos[i].Valor.trimmed());
        s += QStringLiteral("<td>") + textoHtml(resultados[i].Mensagem) +
             QStringLiteral("</td></tr>");
    }
    s += QStringLiteral("</table>");
}

// Each payment of a debt: what settling it would have cost that day and how the payment was
// split among principal, penalty and interest.
void pagamentosDoDebito(const Imputacao& imputacao, QString& s) {
    s += tituloSecao(QStringLiteral("Pagamentos parciais"));
    for (const ParcelaImputada& p : imputacao.Parcelas) {
        const ResultadoFormatado naData = formataResultado(p.NaData);
        QList<RotuloFigura> linhas{
            {QStringLiteral("Pagamento de %1:").arg(data(p.Data)), formataReais(p.Pago), true},
            {QStringLiteral("Principal em aberto antes do pagamento:"),
             formataReais(p.PrincipalAntes)},
            {QStringLiteral("Dias de atraso na data:"), naData.Dias},
            {QStringLiteral("Taxa de juros na data:"), naData.Taxa},
            {QStringLiteral("Multa de Mora na data:"), naData.Multa},
            {QStringLiteral("Juros de Mora na data:"), naData.Juros},
            {QStringLiteral("Total na data (principal + multa + juros):"), naData.Total},
            {QStringLiteral("Imputado ao principal:"), formataReais(p.Principal)},
            {QStringLiteral("Imputado à multa:"), formataReais(p.Multa)},
            {QStringLiteral("Imputado aos juros:"), formataReais(p.Juros)}};
        if (p.PagoAMaior != Moeda())
            linhas.append({QStringLiteral("Pago a maior:"), formataReais(p.PagoAMaior), true});
        linhas.append({QStringLiteral("Principal em aberto após o pagamento:"),
                       formataReais(p.PrincipalAntes - p.Principal), true});
        if (p.NaData.Previsao)
            linhas.append({TituloPrevisao, {}});
        s += linhasFiguras(linhas);
    }
}

// Each debt calculated: the values its payment form asks for, then the account of how they
// were reached.
void anexo(const DocumentoDemonstrativo& d, QString& s) {
    const QList<Debito>& debitos = d.Dados.Debitos;
    const QList<ResultadoDebito>& resultados = d.Dados.resultados();
    if (d.Dados.totais().Quantidade == 0)
        return;
    // No page break before it: Qt would leave a page empty when the tables end at a page's
    // foot.
    s += faixaTitulo(QStringLiteral("Anexo — Memória de cálculo de cada débito"));
    for (qsizetype i = 0; i < resultados.size(); ++i) {
        const ResultadoDebito& r = resultados[i];
        if (!r.Resultado)
            continue;
        const Debito& debito = debitos[i];
        const ResultadoFormatado f = formataResultado(*r.Resultado);
        s += QStringLiteral("<h2 style=\"margin-top:18px; margin-bottom:2px; ") +
             estiloSemQuebra() + QStringLiteral("\">") +
             textoHtml(QStringLiteral("Referência %1 — vencimento %2")
                           .arg(debito.Referencia, data(debito.Vencimento)) +
                       (r.previsao() ? QStringLiteral(" — ") + Previsao : QString())) +
             QStringLiteral("</h2>");
        if (!debito.Descricao.trimmed().isEmpty())
            s += QStringLiteral("<p>") + textoHtml(debito.Descricao.trimmed()) +
                 QStringLiteral("</p>");
        s += tituloSecao(QStringLiteral("Valores para a guia de recolhimento"));
        s += linhasFiguras({{QStringLiteral("Referência:"), debito.Referencia},
                            {QStringLiteral("Vencimento:"), data(debito.Vencimento)},
                            {QStringLiteral("Valor do ICMS (principal):"), f.Valor, true},
                            {QStringLiteral("Multa de Mora:"), f.Multa, true},
                            {QStringLiteral("Juros de Mora:"), f.Juros, true},
                            {QStringLiteral("Total:"), f.Total, true}});
        if (!r.Pagamentos.Parcelas.isEmpty()) {
            pagamentosDoDebito(r.Pagamentos, s);
            s += tituloSecao(
                QStringLiteral("Saldo em %1: memória de cálculo").arg(data(d.Dados.DataPagamento)));
        }
        const ContaMemoria c = contaMemoria(*r.Resultado, r.Memoria);
        s += tituloSecao(QStringLiteral("Multa de Mora"));
        s += linhasFiguras(QList<RotuloFigura>{{c.Regra, {}}, {c.Faixa, {}}} + c.Multa);
        s += tituloSecao(QStringLiteral("Juros de Mora"));
        const qsizetype meses = r.Memoria.MesesSelic.size();
        s += linhasFiguras(c.Taxas.first(meses), 4);
        s += linhasFiguras(c.Taxas.sliced(meses));
        s += linhasFiguras(c.Juros);
    }
}

// About how long the document's HTML is, so that it is built in one allocation: a thousand
// debts with years of months each make megabytes.
qsizetype tamanhoEstimado(const DocumentoDemonstrativo& d) {
    qsizetype meses = 0;
    for (const ResultadoDebito& r : d.Dados.resultados())
        meses += r.Memoria.MesesSelic.size();
    return 8000 + 3000 * d.Dados.resultados().size() + 110 * meses;
}

QString htmlDemonstrativo(const DocumentoDemonstrativo& d, const Conteudo& c) {
    QString s;
    s.reserve(tamanhoEstimado(d));
    s += inicioHtml();
    cabecalho(d, s);
    secaoPrevisao(c, s);
    tabelaCalculados(d, c, s);
    tabelaNaoCalculados(d, s);
    anexo(d, s);
    s += linhaVersao(d.Versao);
    s += QStringLiteral("</body></html>");
    return s;
}

} // namespace

std::optional<QString> validaImpressaoDemonstrativo(const Demonstrativo& demonstrativo) {
    if (demonstrativo.Titular.Nome.trimmed().isEmpty())
        return QStringLiteral("O nome do contribuinte é obrigatório para imprimir o "
                              "demonstrativo!");
    return std::nullopt;
}

DocumentoDemonstrativo documentoDemonstrativo(TBQDataModule& dados,
                                              const Demonstrativo& demonstrativo,
                                              const Relogio& relogio) {
    return {demonstrativo, relogio.agora(), ultimoMesDaTabela(dados).value_or(Datas::Vazia),
            dados.ConfigApp.Versao()};
}

void desenhaDemonstrativo(QPagedPaintDevice& destino, const DocumentoDemonstrativo& documento) {
    const Conteudo c = conteudo(documento.Dados);
    desenhaComPaginasNumeradas(destino, htmlDemonstrativo(documento, c),
                               c.Estimados.isEmpty() ? QString() : TituloPrevisao);
}

DocumentoImpresso impressoDemonstrativo(const DocumentoDemonstrativo& documento) {
    return {tituloDemonstrativo(), QStringLiteral("BELQOR ") + documento.Versao,
            QPageLayout::Landscape,
            [documento](QPagedPaintDevice& destino) { desenhaDemonstrativo(destino, documento); }};
}

void gravaPdfDemonstrativo(const QString& caminho, const DocumentoDemonstrativo& documento) {
    if (const auto recusa = validaImpressaoDemonstrativo(documento.Dados))
        throw ErroBelqor(*recusa);
    gravaPdf(caminho, impressoDemonstrativo(documento));
}
