#include "calc/CalculoJson.h"

#include "valores/FormasJson.h"

#include <QJsonArray>

#include <array>

namespace {

using namespace FormaJson;

// The tiers by name, in the order of the enumeration.
const std::array<QString, 4> NomesFaixas = {QStringLiteral("semAtraso"), QStringLiteral("porDia"),
                                            QStringLiteral("intermediaria"),
                                            QStringLiteral("teto")};

FaixaMulta faixaDeNome(const QString& nome) {
    for (std::size_t i = 0; i < NomesFaixas.size(); ++i)
        if (NomesFaixas[i] == nome)
            return static_cast<FaixaMulta>(i);
    campoInvalido(QStringLiteral("faixa"));
}

} // namespace

QJsonObject resultadoParaJson(const ResultadoCalculo& r) {
    QJsonObject o{{QStringLiteral("dias"), qint64(r.Dias)},
                  {QStringLiteral("taxaJuros"), deEstendido(r.TaxaJuros)},
                  {QStringLiteral("valorICMS"), deMoeda(r.ValorICMS)},
                  {QStringLiteral("multaMora"), deMoeda(r.MultaMora)},
                  {QStringLiteral("jurosMora"), deMoeda(r.JurosMora)},
                  {QStringLiteral("total"), deMoeda(r.Total)}};
    // Only a forecast says so: a record without it reads back as it was written.
    if (r.Previsao)
        o.insert(QStringLiteral("previsao"), true);
    return o;
}

ResultadoCalculo resultadoDeJson(const QJsonObject& o) {
    ResultadoCalculo r;
    r.Dias = inteiro(o, QStringLiteral("dias"));
    r.TaxaJuros = estendido(o, QStringLiteral("taxaJuros"));
    r.ValorICMS = moeda(o, QStringLiteral("valorICMS"));
    r.MultaMora = moeda(o, QStringLiteral("multaMora"));
    r.JurosMora = moeda(o, QStringLiteral("jurosMora"));
    r.Total = moeda(o, QStringLiteral("total"));
    r.Previsao = o.value(QStringLiteral("previsao")).toBool(false);
    return r;
}

QJsonObject memoriaParaJson(const MemoriaCalculo& m) {
    QJsonArray meses;
    for (const TaxaSelicSomada& t : m.MesesSelic) {
        QJsonObject mes{{QStringLiteral("mes"), deData(t.Mes)}, {QStringLiteral("taxa"), t.Valor}};
        if (t.Estimada)
            mes.insert(QStringLiteral("estimada"), true);
        meses.append(mes);
    }
    return {{QStringLiteral("dataVencimento"), deData(m.DataVencimento)},
            {QStringLiteral("dataPagamento"), deData(m.DataPagamento)},
            {QStringLiteral("dias"), qint64(m.Dias)},
            {QStringLiteral("regrasNovas"), m.RegrasNovas},
            {QStringLiteral("faixa"), NomesFaixas[static_cast<std::size_t>(m.Faixa)]},
            {QStringLiteral("multaCalculada"), deMoeda(m.MultaCalculada)},
            {QStringLiteral("mesesSelic"), meses},
            {QStringLiteral("somaSelic"), deEstendido(m.SomaSelic)},
            {QStringLiteral("jurosMesPagamento"), m.JurosMesPagamento},
            {QStringLiteral("mesPagamento"), deData(m.MesPagamento)},
            {QStringLiteral("taxaJuros"), deEstendido(m.TaxaJuros)},
            {QStringLiteral("baseJuros"), deMoeda(m.BaseJuros)},
            {QStringLiteral("jurosCalculados"), deMoeda(m.JurosCalculados)},
            {QStringLiteral("ultimoMesTabela"), deData(m.UltimoMesTabela)}};
}

MemoriaCalculo memoriaDeJson(const QJsonObject& o) {
    MemoriaCalculo m;
    m.DataVencimento = data(o, QStringLiteral("dataVencimento"));
    m.DataPagamento = data(o, QStringLiteral("dataPagamento"));
    m.Dias = inteiro(o, QStringLiteral("dias"));
    m.RegrasNovas = logico(o, QStringLiteral("regrasNovas"));
    m.Faixa = faixaDeNome(texto(o, QStringLiteral("faixa")));
    m.MultaCalculada = moeda(o, QStringLiteral("multaCalculada"));
    const QString nomeMeses = QStringLiteral("mesesSelic");
    for (const QJsonValue& elemento : lista(o, nomeMeses)) {
        const QJsonObject mes = objeto(elemento, nomeMeses);
        m.MesesSelic.append({data(mes, QStringLiteral("mes")), real(mes, QStringLiteral("taxa")),
                             mes.value(QStringLiteral("estimada")).toBool(false)});
    }
    m.SomaSelic = estendido(o, QStringLiteral("somaSelic"));
    m.JurosMesPagamento = logico(o, QStringLiteral("jurosMesPagamento"));
    m.MesPagamento = data(o, QStringLiteral("mesPagamento"));
    m.TaxaJuros = estendido(o, QStringLiteral("taxaJuros"));
    m.BaseJuros = moeda(o, QStringLiteral("baseJuros"));
    m.JurosCalculados = moeda(o, QStringLiteral("jurosCalculados"));
    m.UltimoMesTabela = data(o, QStringLiteral("ultimoMesTabela"));
    return m;
}
