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

QJsonObject objetoJson(const ResultadoFormatado& f, const DetalhamentoCalculo& d) {
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
    return QJsonObject{
        {QStringLiteral("numeroDias"), f.Dias},        {QStringLiteral("taxaJuros"), f.Taxa},
        {QStringLiteral("valorICMS"), f.Valor},        {QStringLiteral("multaMora"), f.Multa},
        {QStringLiteral("jurosMora"), f.Juros},        {QStringLiteral("total"), f.Total},
        {QStringLiteral("detalhamento"), detalhamento}};
}

} // namespace

int comandoCalcular(SessaoCli& sessao, const QStringList& argumentos, bool json) {
    if (argumentos.size() != 3) {
        sessao.erro << "Uso: belqor-cli calcular VALOR VENCIMENTO PAGAMENTO [--json]" << Qt::endl;
        return 2;
    }
    sessao.abreTabela();
    const auto r = calculaDeTextos(sessao.dados(), argumentos[0], argumentos[1], argumentos[2]);
    if (!r)
        return 1;
    const DataHora vencimento = Formato::textoParaData(argumentos[1].trimmed());
    const DataHora pagamento = Formato::textoParaData(argumentos[2].trimmed());
    const DetalhamentoCalculo d = detalhaCalculo(sessao.dados(), vencimento, pagamento);
    const ResultadoFormatado f = formataResultado(*r);
    if (json)
        sessao.saida << QString::fromUtf8(
                            QJsonDocument(objetoJson(f, d)).toJson(QJsonDocument::Compact))
                     << '\n';
    else
        escreveTexto(sessao.saida, f, d);
    sessao.saida.flush();
    sessao.fechaTabela();
    return 0;
}
