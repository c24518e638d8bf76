#include "ComandoCalcular.h"

#include "CalculoTextos.h"
#include "DetalhamentoCalculo.h"
#include "Formatacao.h"
#include "SessaoCli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString mesAno(DataHora mes) {
    return Formato::formataData(QStringLiteral("mm/yyyy"), mes);
}

const QString UmPorCento = QStringLiteral("1,000000 %");

void escreveTexto(QTextStream& saida, const ResultadoFormatado& f, const DetalhamentoCalculo& d) {
    saida << "Número de dias: " << f.Dias << '\n'
          << "Taxa de Juros: " << f.Taxa << '\n'
          << "Valor do ICMS: " << f.Valor << '\n'
          << "Multa de Mora: " << f.Multa << '\n'
          << "Juros de Mora: " << f.Juros << '\n'
          << "Total: " << f.Total << '\n'
          << '\n'
          << "Multa: " << d.RegraMulta << ", " << d.FaixaMulta << '\n';
    if (!d.JurosMesPagamento) {
        saida << "Juros: pagamento no mês do vencimento, sem juros" << '\n';
        return;
    }
    for (const MesSelic& m : d.MesesSelic)
        saida << "Selic " << mesAno(m.Mes) << ": " << formataPercentual(m.Valor) << " %" << '\n';
    saida << "Mês do pagamento " << mesAno(d.MesPagamento) << ": " << UmPorCento << '\n';
}

// Numbers a program reads without knowing the Brazilian format: an amount exactly, from
// its count, with a point ("1138.26"); the rate in percent with its six shown decimals.
QString decimalComPonto(Moeda valor) {
    const std::int64_t c = valor.contagem();
    if (c % 100 != 0)
        return valor.textoDecimal();
    const std::int64_t centavos = c / 100;
    const std::int64_t absoluto = centavos < 0 ? -centavos : centavos;
    return QStringLiteral("%1%2.%3")
        .arg(centavos < 0 ? QStringLiteral("-") : QString())
        .arg(absoluto / 100)
        .arg(absoluto % 100, 2, 10, QLatin1Char('0'));
}

QString percentualComPonto(Estendido taxa) {
    ConfiguracaoRegional ponto = regional();
    ponto.separadorDecimal = QLatin1Char('.');
    return Formato::formataNumero(QStringLiteral("0.000000"), taxa * 100, ponto);
}

QJsonObject objetoJson(const ResultadoCalculo& r, const DetalhamentoCalculo& d) {
    const ResultadoFormatado f = formataResultado(r);
    QJsonArray selic;
    for (const MesSelic& m : d.MesesSelic)
        selic.append(QJsonObject{{QStringLiteral("mes"), mesAno(m.Mes)},
                                 {QStringLiteral("taxa"), formataPercentual(m.Valor) + " %"}});
    QJsonObject detalhamento{
        {QStringLiteral("regraMulta"), d.RegraMulta},
        {QStringLiteral("faixaMulta"), d.FaixaMulta},
        {QStringLiteral("selic"), selic},
        {QStringLiteral("mesPagamento"),
         d.JurosMesPagamento
             ? QJsonValue(QJsonObject{{QStringLiteral("mes"), mesAno(d.MesPagamento)},
                                      {QStringLiteral("taxa"), UmPorCento}})
             : QJsonValue()}};
    const QJsonObject textos{
        {QStringLiteral("numeroDias"), f.Dias}, {QStringLiteral("taxaJuros"), f.Taxa},
        {QStringLiteral("valorICMS"), f.Valor}, {QStringLiteral("multaMora"), f.Multa},
        {QStringLiteral("jurosMora"), f.Juros}, {QStringLiteral("total"), f.Total}};
    return QJsonObject{{QStringLiteral("numeroDias"), qint64(r.Dias)},
                       {QStringLiteral("taxaJuros"), percentualComPonto(r.TaxaJuros)},
                       {QStringLiteral("valorICMS"), decimalComPonto(r.ValorICMS)},
                       {QStringLiteral("multaMora"), decimalComPonto(r.MultaMora)},
                       {QStringLiteral("jurosMora"), decimalComPonto(r.JurosMora)},
                       {QStringLiteral("total"), decimalComPonto(r.Total)},
                       {QStringLiteral("textos"), textos},
                       {QStringLiteral("detalhamento"), detalhamento}};
}

} // namespace

int comandoCalcular(SessaoCli& sessao, const QStringList& argumentos, bool json) {
    sessao.abreTabela();
    const auto r = calculaDeTextos(sessao.dados(), argumentos[0], argumentos[1], argumentos[2]);
    if (!r)
        return 1;
    const DataHora vencimento = Formato::textoParaData(argumentos[1].trimmed());
    const DataHora pagamento = Formato::textoParaData(argumentos[2].trimmed());
    const DetalhamentoCalculo d = detalhaCalculo(sessao.dados(), vencimento, pagamento);
    if (json)
        sessao.saida << QString::fromUtf8(
                            QJsonDocument(objetoJson(*r, d)).toJson(QJsonDocument::Compact))
                     << '\n';
    else
        escreveTexto(sessao.saida, formataResultado(*r), d);
    sessao.saida.flush();
    sessao.fechaTabela();
    return 0;
}
