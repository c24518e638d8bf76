#include "cli/ComandoDemonstrativo.h"

#include "calc/FormataResultado.h"
#include "calc/MemoriaCalculo.h"
#include "cli/NumerosJson.h"
#include "cli/SessaoCli.h"
#include "demonstrativo/Demonstrativo.h"
#include "demonstrativo/DocumentoDemonstrativo.h"
#include "demonstrativo/ExportacaoDemonstrativo.h"
#include "demonstrativo/LeituraDebitos.h"
#include "demonstrativo/LeituraPagamentos.h"
#include "planilhas/FormasPlanilha.h"
#include "valores/Formatacao.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

DebitosLidos leEntrada(const QString& entrada) {
    if (entrada == QLatin1String("-")) {
        QFile padrao;
        padrao.open(stdin, QIODevice::ReadOnly);
        return leDebitosCsv(padrao, QStringLiteral("entrada padrão"));
    }
    return leDebitos(entrada);
}

QString nomeDoDocumento(const Contribuinte& c) {
    return c.tipoDocumento() == TipoDocumento::CPF ? QStringLiteral("CPF") : QStringLiteral("CNPJ");
}

// The table as the window's grid shows it, one debt a line, columns separated by tabs; the
// last column, the message, only where there is one.
void escreveTexto(QTextStream& saida, const Demonstrativo& d, const DebitosLidos& lidos) {
    const Contribuinte& c = d.Titular;
    saida << "Demonstrativo de Débitos\n";
    if (!c.Nome.isEmpty())
        saida << "Contribuinte: " << c.Nome << '\n';
    if (!c.documento().isEmpty())
        saida << nomeDoDocumento(c) << ": " << c.documentoFormatado() << '\n';
    if (!c.InscricaoEstadual.isEmpty())
        saida << "Inscrição estadual: " << c.InscricaoEstadual << '\n';
    saida << "Data de pagamento: " << Formato::dataParaTexto(d.DataPagamento) << '\n';
    const QList<TaxaSelicSomada> estimados = d.mesesEstimados();
    if (!estimados.isEmpty())
        saida << textoMesesEstimados(estimados) << '\n';
    saida << '\n'
          << "Linha\tReferência\tVencimento\tValor do ICMS\tDescrição\tDias\tTaxa de Juros\t"
             "Multa de Mora\tJuros de Mora\tTotal\tMensagem\n";
    for (qsizetype i = 0; i < d.Debitos.size(); ++i) {
        const Debito& debito = d.Debitos[i];
        const ResultadoDebito& r = d.resultados()[i];
        saida << lidos.Linhas.value(i) << '\t' << debito.Referencia << '\t'
              << Formato::dataParaTexto(debito.Vencimento) << '\t';
        if (r.Resultado) {
            const ResultadoFormatado f = formataResultado(*r.Resultado);
            saida << f.Valor << '\t' << debito.Descricao << '\t' << f.Dias << '\t' << f.Taxa << '\t'
                  << f.Multa << '\t' << f.Juros << '\t' << f.Total
                  << (r.previsao() ? "\tPREVISÃO" : "") << '\n';
        } else {
            saida << debito.Valor << '\t' << debito.Descricao << "\t\t\t\t\t\t" << r.Mensagem
                  << '\n';
        }
        for (const ParcelaImputada& p : r.Pagamentos.Parcelas)
            saida << "\tpagamento parcial de " << Formato::dataParaTexto(p.Data) << ": "
                  << formataReais(p.Pago) << " (total na data " << formataReais(p.NaData.Total)
                  << "; principal " << formataReais(p.Principal) << ", multa "
                  << formataReais(p.Multa) << ", juros " << formataReais(p.Juros)
                  << (p.PagoAMaior > Moeda()
                          ? QStringLiteral("; pago a maior ") + formataReais(p.PagoAMaior)
                          : QString())
                  << ")\n";
    }
    const TotaisDemonstrativo& t = d.totais();
    saida << '\n' << "Débitos calculados: " << t.Quantidade << " de " << d.Debitos.size() << '\n';
    if (t.Pago > Moeda())
        saida << "Pago: " << formataReais(t.Pago) << '\n';
    saida << "Valor do ICMS: " << formataReais(t.Valor) << '\n'
          << "Multa de Mora: " << formataReais(t.Multa) << '\n'
          << "Juros de Mora: " << formataReais(t.Juros) << '\n'
          << "Total: " << formataReais(t.Total) << (t.previsao() ? " PREVISÃO" : "") << '\n';
}

QJsonArray mesesJson(const QList<TaxaSelicSomada>& meses) {
    QJsonArray lista;
    for (const TaxaSelicSomada& t : meses)
        lista.append(QJsonObject{{QStringLiteral("mes"), Formato::mesAno(t.Mes)},
                                 {QStringLiteral("taxa"), formataTaxa(t.Valor)}});
    return lista;
}

QJsonObject debitoJson(const Debito& debito, const ResultadoDebito& r, qint64 linha) {
    QJsonObject o{{QStringLiteral("linha"), linha},
                  {QStringLiteral("referencia"), debito.Referencia},
                  {QStringLiteral("vencimento"), Formato::dataParaTexto(debito.Vencimento)},
                  {QStringLiteral("valor"), debito.Valor},
                  {QStringLiteral("descricao"), debito.Descricao}};
    if (!r.Resultado) {
        o.insert(QStringLiteral("mensagem"), r.Mensagem);
        return o;
    }
    const ResultadoCalculo& c = *r.Resultado;
    o.insert(QStringLiteral("numeroDias"), qint64(c.Dias));
    o.insert(QStringLiteral("taxaJuros"), percentualComPonto(c.TaxaJuros));
    o.insert(QStringLiteral("valorICMS"), decimalComPonto(c.ValorICMS));
    o.insert(QStringLiteral("multaMora"), decimalComPonto(c.MultaMora));
    o.insert(QStringLiteral("jurosMora"), decimalComPonto(c.JurosMora));
    o.insert(QStringLiteral("total"), decimalComPonto(c.Total));
    o.insert(QStringLiteral("previsao"), r.previsao());
    if (!r.Pagamentos.Parcelas.isEmpty()) {
        QJsonArray pagamentos;
        for (const ParcelaImputada& p : r.Pagamentos.Parcelas)
            pagamentos.append(
                QJsonObject{{QStringLiteral("data"), Formato::dataParaTexto(p.Data)},
                            {QStringLiteral("valor"), decimalComPonto(p.Pago)},
                            {QStringLiteral("totalNaData"), decimalComPonto(p.NaData.Total)},
                            {QStringLiteral("multaNaData"), decimalComPonto(p.NaData.MultaMora)},
                            {QStringLiteral("jurosNaData"), decimalComPonto(p.NaData.JurosMora)},
                            {QStringLiteral("principal"), decimalComPonto(p.Principal)},
                            {QStringLiteral("multa"), decimalComPonto(p.Multa)},
                            {QStringLiteral("juros"), decimalComPonto(p.Juros)},
                            {QStringLiteral("pagoAMaior"), decimalComPonto(p.PagoAMaior)}});
        o.insert(QStringLiteral("pagamentos"), pagamentos);
        o.insert(QStringLiteral("principalEmAberto"),
                 decimalComPonto(r.Pagamentos.PrincipalEmAberto));
    }
    return o;
}

QJsonArray recusadasJson(const QList<LinhaRecusada>& linhas) {
    QJsonArray lista;
    for (const LinhaRecusada& l : linhas)
        lista.append(QJsonObject{{QStringLiteral("linha"), l.Linha},
                                 {QStringLiteral("mensagem"), l.Motivo}});
    return lista;
}

QJsonObject objetoJson(const Demonstrativo& d, const DebitosLidos& lidos,
                       const PagamentosLidos& pagamentos) {
    const Contribuinte& c = d.Titular;
    QJsonArray debitos;
    for (qsizetype i = 0; i < d.Debitos.size(); ++i)
        debitos.append(debitoJson(d.Debitos[i], d.resultados()[i], lidos.Linhas.value(i)));
    const TotaisDemonstrativo& t = d.totais();
    const QList<TaxaSelicSomada> estimados = d.mesesEstimados();
    return QJsonObject{{QStringLiteral("contribuinte"),
                        QJsonObject{{QStringLiteral("nome"), c.Nome},
                                    {QStringLiteral("documento"), c.documentoFormatado()},
                                    {QStringLiteral("inscricaoEstadual"), c.InscricaoEstadual}}},
                       {QStringLiteral("dataPagamento"), Formato::dataParaTexto(d.DataPagamento)},
                       {QStringLiteral("previsao"), !estimados.isEmpty()},
                       {QStringLiteral("mesesEstimados"), mesesJson(estimados)},
                       {QStringLiteral("debitos"), debitos},
                       {QStringLiteral("linhasRecusadas"), recusadasJson(lidos.Recusadas)},
                       {QStringLiteral("pagamentosRecusados"), recusadasJson(pagamentos.Recusadas)},
                       {QStringLiteral("totais"),
                        QJsonObject{{QStringLiteral("quantidade"), t.Quantidade},
                                    {QStringLiteral("pago"), decimalComPonto(t.Pago)},
                                    {QStringLiteral("valorICMS"), decimalComPonto(t.Valor)},
                                    {QStringLiteral("multaMora"), decimalComPonto(t.Multa)},
                                    {QStringLiteral("jurosMora"), decimalComPonto(t.Juros)},
                                    {QStringLiteral("total"), decimalComPonto(t.Total)},
                                    {QStringLiteral("previsao"), t.previsao()}}}};
}

} // namespace

int comandoDemonstrativo(SessaoCli& sessao, const OpcoesDemonstrativo& o, bool& respondeu) {
    Demonstrativo d;
    d.Titular.Nome = o.contribuinte;
    d.Titular.InscricaoEstadual = o.ie;
    // Checked when the command line was read.
    d.Titular.defineDocumento(o.documento);
    d.DataPagamento = Formato::textoParaData(dataDaPlanilha(o.pagamento));
    d.PreverMesesSemTaxa = o.prever;
    if (const auto falha = d.validaDataPagamento()) {
        sessao.erro << *falha << Qt::endl;
        return 1;
    }
    DebitosLidos lidos = leEntrada(o.entrada);
    for (const LinhaRecusada& l : lidos.Recusadas)
        sessao.erro << "Linha " << l.Linha << ": " << l.Motivo << '\n';
    PagamentosLidos pagamentos;
    // The payments' own file, or else the workbook's second sheet when it holds them.
    const auto daSegundaFolha = o.pagamentos.isEmpty() && o.entrada != QLatin1String("-")
                                    ? lePagamentosDaSegundaFolha(o.entrada)
                                    : std::nullopt;
    if (!o.pagamentos.isEmpty() || daSegundaFolha) {
        pagamentos = daSegundaFolha ? *daSegundaFolha : lePagamentos(o.pagamentos);
        juntaPagamentos(lidos.Debitos, pagamentos);
        for (const LinhaRecusada& l : pagamentos.Recusadas)
            sessao.erro << "Pagamentos, linha " << l.Linha << ": " << l.Motivo << '\n';
    }
    d.Debitos = lidos.Debitos;

    sessao.abreTabela();
    d.calcula(sessao.dados());
    if (!o.pdf.isEmpty())
        gravaPdfDemonstrativo(o.pdf, documentoDemonstrativo(sessao.dados(), d, sessao.relogio()));
    if (!o.saida.isEmpty())
        exportaDemonstrativo(d, o.saida);
    if (o.json)
        sessao.saida << QString::fromUtf8(QJsonDocument(objetoJson(d, lidos, pagamentos))
                                              .toJson(QJsonDocument::Compact))
                     << '\n';
    else
        escreveTexto(sessao.saida, d, lidos);
    respondeu = true;
    sessao.saida.flush();
    sessao.erro.flush();
    sessao.fechaTabela();
    const bool todos = d.totais().Quantidade == d.Debitos.size() && lidos.Recusadas.isEmpty() &&
                       pagamentos.Recusadas.isEmpty();
    return todos ? 0 : 1;
}
