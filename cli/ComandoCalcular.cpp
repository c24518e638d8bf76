#include "cli/ComandoCalcular.h"

#include "cli/CalculoTextos.h"
#include "cli/NumerosJson.h"
#include "valores/Formatacao.h"
#include "calc/MemoriaCalculo.h"
#include "cli/SessaoCli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

void escreveTexto(QTextStream& saida, const ResultadoFormatado& f, const MemoriaCalculo& d) {
    saida << "Número de dias: " << f.Dias << '\n'
          << "Taxa de Juros: " << f.Taxa << '\n'
          << "Valor do ICMS: " << f.Valor << '\n'
          << "Multa de Mora: " << f.Multa << '\n'
          << "Juros de Mora: " << f.Juros << '\n'
          << "Total: " << f.Total << '\n'
          << '\n'
          << "Multa: " << textoRegraMulta(d) << ", " << textoFaixaMulta(d) << '\n';
    if (!d.JurosMesPagamento) {
        saida << "Juros: pagamento no mês do vencimento, sem juros" << '\n';
        return;
    }
    for (const TaxaSelicSomada& m : d.MesesSelic)
        saida << "Selic " << Formato::mesAno(m.Mes) << ": " << formataTaxa(m.Valor) << '\n';
    saida << "Mês do pagamento " << Formato::mesAno(d.MesPagamento) << ": " << formataTaxa(1)
          << '\n';
}

QJsonObject objetoJson(const ResultadoCalculo& r, const MemoriaCalculo& d) {
    const ResultadoFormatado f = formataResultado(r);
    QJsonArray selic;
    for (const TaxaSelicSomada& m : d.MesesSelic)
        selic.append(QJsonObject{{QStringLiteral("mes"), Formato::mesAno(m.Mes)},
                                 {QStringLiteral("taxa"), formataTaxa(m.Valor)}});
    QJsonObject detalhamento{
        {QStringLiteral("regraMulta"), textoRegraMulta(d)},
        {QStringLiteral("faixaMulta"), textoFaixaMulta(d)},
        {QStringLiteral("selic"), selic},
        {QStringLiteral("mesPagamento"),
         d.JurosMesPagamento
             ? QJsonValue(QJsonObject{{QStringLiteral("mes"), Formato::mesAno(d.MesPagamento)},
                                      {QStringLiteral("taxa"), formataTaxa(1)}})
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

int comandoCalcular(SessaoCli& sessao, const QStringList& argumentos, bool json, const QString& pdf,
                    bool registrar) {
    sessao.abreTabela();
    MemoriaCalculo d;
    const auto r = calculaDeTextos(sessao.dados(), argumentos[0], argumentos[1], argumentos[2], &d);
    if (!r)
        return 1;
    if (!pdf.isEmpty())
        sessao.gravaPdf(pdf, *r, d);
    // Records are numbered from 1: 0 is none.
    const qint64 registro = registrar ? sessao.registraCalculo(*r, d).value_or(0) : 0;
    if (json) {
        QJsonObject objeto = objetoJson(*r, d);
        if (registro > 0)
            objeto.insert(QStringLiteral("registro"), registro);
        sessao.saida << QString::fromUtf8(QJsonDocument(objeto).toJson(QJsonDocument::Compact))
                     << '\n';
    } else {
        escreveTexto(sessao.saida, formataResultado(*r), d);
        if (registro > 0)
            sessao.saida << '\n' << "Registro " << registro << " no histórico." << '\n';
    }
    sessao.saida.flush();
    sessao.fechaTabela();
    return 0;
}
