#include "ComandoCalcular.h"

#include "CalculoTextos.h"
#include "Formatacao.h"
#include "MemoriaCalculo.h"
#include "SessaoCli.h"

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
        saida << "Selic " << formataMesAno(m.Mes) << ": " << formataTaxa(m.Valor) << '\n';
    saida << "Mês do pagamento " << formataMesAno(d.MesPagamento) << ": " << formataTaxa(1) << '\n';
}

QJsonObject objetoJson(const ResultadoFormatado& f, const MemoriaCalculo& d) {
    QJsonArray selic;
    for (const TaxaSelicSomada& m : d.MesesSelic)
        selic.append(QJsonObject{{QStringLiteral("mes"), formataMesAno(m.Mes)},
                                 {QStringLiteral("taxa"), formataTaxa(m.Valor)}});
    QJsonObject detalhamento{
        {QStringLiteral("regraMulta"), textoRegraMulta(d)},
        {QStringLiteral("faixaMulta"), textoFaixaMulta(d)},
        {QStringLiteral("selic"), selic},
        {QStringLiteral("mesPagamento"),
         d.JurosMesPagamento
             ? QJsonValue(QJsonObject{{QStringLiteral("mes"), formataMesAno(d.MesPagamento)},
                                      {QStringLiteral("taxa"), formataTaxa(1)}})
             : QJsonValue()}};
    return QJsonObject{
        {QStringLiteral("numeroDias"), f.Dias},        {QStringLiteral("taxaJuros"), f.Taxa},
        {QStringLiteral("valorICMS"), f.Valor},        {QStringLiteral("multaMora"), f.Multa},
        {QStringLiteral("jurosMora"), f.Juros},        {QStringLiteral("total"), f.Total},
        {QStringLiteral("detalhamento"), detalhamento}};
}

} // namespace

int comandoCalcular(SessaoCli& sessao, const QStringList& argumentos, bool json,
                    const QString& pdf) {
    if (argumentos.size() != 3) {
        sessao.erro
            << "Uso: belqor-cli calcular VALOR VENCIMENTO PAGAMENTO [--json] [--pdf ARQUIVO.pdf]"
            << Qt::endl;
        return 2;
    }
    sessao.abreTabela();
    MemoriaCalculo d;
    const auto r = calculaDeTextos(sessao.dados(), argumentos[0], argumentos[1], argumentos[2], &d);
    if (!r)
        return 1;
    if (!pdf.isEmpty())
        sessao.gravaPdf(pdf, *r, d);
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
