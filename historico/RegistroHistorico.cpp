#include "historico/RegistroHistorico.h"

#include "calc/CalculoJson.h"
#include "historico/CadeiaHistorico.h"
#include "framework/Maquina.h"
#include "valores/Erros.h"
#include "valores/FormasJson.h"

#include <QLocale>
#include <QMap>

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

using namespace FormaJson;

namespace {

// The version of the content's layout; a reader refuses one it does not know.
constexpr qint64 FormatoConteudo = 1;

QString loginDoProcesso() {
    if (const passwd* p = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(p->pw_name);
    return QStringLiteral("uid %1").arg(::geteuid());
}

QString maquinaDoProcesso() {
    try {
        return Maquina::nomeComputador();
    } catch (const ErroBelqor&) {
        return QString();
    }
}

QJsonObject exibidoParaJson(const ResultadoFormatado& f) {
    return {{QStringLiteral("dias"), f.Dias},   {QStringLiteral("taxa"), f.Taxa},
            {QStringLiteral("valor"), f.Valor}, {QStringLiteral("multa"), f.Multa},
            {QStringLiteral("juros"), f.Juros}, {QStringLiteral("total"), f.Total}};
}

ResultadoFormatado exibidoDeJson(const QJsonObject& o) {
    return {texto(o, QStringLiteral("dias")),  texto(o, QStringLiteral("taxa")),
            texto(o, QStringLiteral("valor")), texto(o, QStringLiteral("multa")),
            texto(o, QStringLiteral("juros")), texto(o, QStringLiteral("total"))};
}

QJsonObject debitoParaJson(const DebitoRegistrado& d) {
    const bool calculado = d.Saida.Resultado.has_value();
    return {{QStringLiteral("referencia"), d.Entrada.Referencia},
            {QStringLiteral("vencimento"), deData(d.Entrada.Vencimento)},
            {QStringLiteral("valor"), d.Entrada.Valor},
            {QStringLiteral("descricao"), d.Entrada.Descricao},
            {QStringLiteral("resultado"),
             calculado ? QJsonValue(resultadoParaJson(*d.Saida.Resultado)) : QJsonValue()},
            {QStringLiteral("memoria"),
             calculado ? QJsonValue(memoriaParaJson(d.Saida.Memoria)) : QJsonValue()},
            {QStringLiteral("exibido"),
             calculado ? QJsonValue(exibidoParaJson(d.Exibido)) : QJsonValue()},
            {QStringLiteral("mensagem"), d.Saida.Mensagem}};
}

DebitoRegistrado debitoDeJson(const QJsonObject& o) {
    DebitoRegistrado d;
    d.Entrada.Referencia = texto(o, QStringLiteral("referencia"));
    d.Entrada.Vencimento = data(o, QStringLiteral("vencimento"));
    d.Entrada.Valor = texto(o, QStringLiteral("valor"));
    d.Entrada.Descricao = texto(o, QStringLiteral("descricao"));
    d.Saida.Mensagem = texto(o, QStringLiteral("mensagem"));
    if (o.value(QStringLiteral("resultado")).isNull())
        return d;
    d.Saida.Resultado = resultadoDeJson(objeto(o, QStringLiteral("resultado")));
    d.Saida.Memoria = memoriaDeJson(objeto(o, QStringLiteral("memoria")));
    d.Exibido = exibidoDeJson(objeto(o, QStringLiteral("exibido")));
    return d;
}

QJsonObject totaisParaJson(const TotaisDemonstrativo& t) {
    return {{QStringLiteral("quantidade"), t.Quantidade},
            {QStringLiteral("valorDebitos"), deMoeda(t.ValorDebitos)},
            {QStringLiteral("pago"), deMoeda(t.Pago)},
            {QStringLiteral("valor"), deMoeda(t.Valor)},
            {QStringLiteral("multa"), deMoeda(t.Multa)},
            {QStringLiteral("juros"), deMoeda(t.Juros)},
            {QStringLiteral("total"), deMoeda(t.Total)},
            {QStringLiteral("previstos"), t.Previstos}};
}

TotaisDemonstrativo totaisDeJson(const QJsonObject& o) {
    TotaisDemonstrativo t;
    t.Quantidade = int(inteiro(o, QStringLiteral("quantidade")));
    t.ValorDebitos = moeda(o, QStringLiteral("valorDebitos"));
    t.Pago = moeda(o, QStringLiteral("pago"));
    t.Previstos = int(inteiro(o, QStringLiteral("previstos")));
    t.Valor = moeda(o, QStringLiteral("valor"));
    t.Multa = moeda(o, QStringLiteral("multa"));
    t.Juros = moeda(o, QStringLiteral("juros"));
    t.Total = moeda(o, QStringLiteral("total"));
    return t;
}

// The totals as a statement shows them, beside their exact values.
QJsonObject totaisExibidos(const TotaisDemonstrativo& t) {
    return {{QStringLiteral("valor"), formataReais(t.Valor)},
            {QStringLiteral("multa"), formataReais(t.Multa)},
            {QStringLiteral("juros"), formataReais(t.Juros)},
            {QStringLiteral("total"), formataReais(t.Total)}};
}

// A record of its debts, with what every record works out from them: the texts shown,
// the totals and the table's marks.
RegistroHistorico registroDeDebitos(TipoRegistro tipo, DataHora momento,
                                    const IdentidadeRegistro& identidade,
                                    const Contribuinte& titular, DataHora pagamento,
                                    const QList<DebitoRegistrado>& debitos) {
    RegistroHistorico r;
    r.Tipo = tipo;
    r.Emissao = momentoEmMilissegundos(momento);
    r.Identidade = identidade;
    r.Titular = titular;
    r.DataPagamento = pagamento;
    r.Debitos = debitos;
    QList<ResultadoDebito> saidas;
    for (DebitoRegistrado& d : r.Debitos) {
        if (d.Saida.Resultado) {
            d.Exibido = formataResultado(*d.Saida.Resultado);
            r.UltimoMesTabela = std::max(r.UltimoMesTabela, d.Saida.Memoria.UltimoMesTabela);
        }
        saidas.append(d.Saida);
    }
    r.Totais = totaliza(saidas);
    r.HashTaxas = hashDasTaxas(r.Debitos);
    return r;
}

TipoRegistro tipoDeNome(const QString& nome) {
    for (TipoRegistro t : {TipoRegistro::Calculo, TipoRegistro::Demonstrativo})
        if (nomeTipoRegistro(t) == nome)
            return t;
    campoInvalido(QStringLiteral("tipo"));
}

} // namespace

QString nomeTipoRegistro(TipoRegistro tipo) {
    return tipo == TipoRegistro::Calculo ? QStringLiteral("calculo")
                                         : QStringLiteral("demonstrativo");
}

IdentidadeRegistro IdentidadeRegistro::doProcesso(const QString& versao) {
    return {loginDoProcesso(), maquinaDoProcesso(), versao};
}

RegistroHistorico registroDeCalculo(const ResultadoCalculo& resultado,
                                    const MemoriaCalculo& memoria, DataHora momento,
                                    const IdentidadeRegistro& identidade) {
    DebitoRegistrado d;
    d.Entrada.Vencimento = memoria.DataVencimento;
    d.Entrada.Valor = formataReais(resultado.ValorICMS);
    d.Saida.Resultado = resultado;
    d.Saida.Memoria = memoria;
    return registroDeDebitos(TipoRegistro::Calculo, momento, identidade, Contribuinte(),
                             memoria.DataPagamento, {d});
}

RegistroHistorico registroDeDemonstrativo(const Demonstrativo& demonstrativo, DataHora momento,
                                          const IdentidadeRegistro& identidade) {
    QList<DebitoRegistrado> debitos;
    for (qsizetype i = 0; i < demonstrativo.Debitos.size(); ++i)
        debitos.append({demonstrativo.Debitos[i], demonstrativo.resultados().value(i), {}});
    return registroDeDebitos(TipoRegistro::Demonstrativo, momento, identidade,
                             demonstrativo.Titular, demonstrativo.DataPagamento, debitos);
}

QString hashDasTaxas(const QList<DebitoRegistrado>& debitos) {
    QMap<DataHora, double> taxas;
    for (const DebitoRegistrado& d : debitos)
        if (d.Saida.Resultado)
            for (const TaxaSelicSomada& t : d.Saida.Memoria.MesesSelic)
                taxas.insert(t.Mes, t.Valor);
    QByteArray linhas;
    for (auto i = taxas.cbegin(); i != taxas.cend(); ++i)
        linhas += Datas::paraQDate(i.key()).toString(QStringLiteral("yyyy-MM")).toUtf8() + ';' +
                  QByteArray::number(i.value(), 'f', QLocale::FloatingPointShortest) + '\n';
    return sha256Hexadecimal(linhas);
}

QJsonObject conteudoDoRegistro(const RegistroHistorico& r) {
    QJsonArray debitos;
    for (const DebitoRegistrado& d : r.Debitos)
        debitos.append(debitoParaJson(d));
    return {{QStringLiteral("formato"), FormatoConteudo},
            {QStringLiteral("tipo"), nomeTipoRegistro(r.Tipo)},
            {QStringLiteral("emissao"), deMomento(r.Emissao)},
            {QStringLiteral("usuario"), r.Identidade.Usuario},
            {QStringLiteral("maquina"), r.Identidade.Maquina},
            {QStringLiteral("versao"), r.Identidade.Versao},
            {QStringLiteral("contribuinte"),
             QJsonObject{{QStringLiteral("nome"), r.Titular.Nome},
                         {QStringLiteral("documento"), r.Titular.documento()},
                         {QStringLiteral("inscricaoEstadual"), r.Titular.InscricaoEstadual}}},
            {QStringLiteral("dataPagamento"), deData(r.DataPagamento)},
            {QStringLiteral("debitos"), debitos},
            {QStringLiteral("totais"), totaisParaJson(r.Totais)},
            {QStringLiteral("totaisExibidos"), totaisExibidos(r.Totais)},
            {QStringLiteral("pagamentosParciais"), r.PagamentosParciais},
            {QStringLiteral("previsao"), r.Previsao},
            {QStringLiteral("tabela"),
             QJsonObject{{QStringLiteral("ultimoMes"), deData(r.UltimoMesTabela)},
                         {QStringLiteral("hashTaxas"), r.HashTaxas}}}};
}

RegistroHistorico registroDoConteudo(qint64 id, const QJsonObject& o) {
    if (inteiro(o, QStringLiteral("formato")) != FormatoConteudo)
        campoInvalido(QStringLiteral("formato"));
    RegistroHistorico r;
    r.Id = id;
    r.Tipo = tipoDeNome(texto(o, QStringLiteral("tipo")));
    r.Emissao = momento(o, QStringLiteral("emissao"));
    r.Identidade = {texto(o, QStringLiteral("usuario")), texto(o, QStringLiteral("maquina")),
                    texto(o, QStringLiteral("versao"))};
    const QJsonObject titular = objeto(o, QStringLiteral("contribuinte"));
    r.Titular.Nome = texto(titular, QStringLiteral("nome"));
    r.Titular.InscricaoEstadual = texto(titular, QStringLiteral("inscricaoEstadual"));
    if (r.Titular.defineDocumento(texto(titular, QStringLiteral("documento"))))
        campoInvalido(QStringLiteral("documento"));
    r.DataPagamento = data(o, QStringLiteral("dataPagamento"));
    const QString nomeDebitos = QStringLiteral("debitos");
    for (const QJsonValue& d : lista(o, nomeDebitos))
        r.Debitos.append(debitoDeJson(objeto(d, nomeDebitos)));
    r.Totais = totaisDeJson(objeto(o, QStringLiteral("totais")));
    r.PagamentosParciais = lista(o, QStringLiteral("pagamentosParciais"));
    r.Previsao = logico(o, QStringLiteral("previsao"));
    const QJsonObject tabela = objeto(o, QStringLiteral("tabela"));
    r.UltimoMesTabela = data(tabela, QStringLiteral("ultimoMes"));
    r.HashTaxas = texto(tabela, QStringLiteral("hashTaxas"));
    return r;
}

QStringList palavrasDoNome(const QString& nome) {
    QStringList palavras;
    QString palavra;
    // Decomposed, an accented letter is its base letter followed by its marks.
    for (const QChar c : nome.normalized(QString::NormalizationForm_KD)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        const QChar minuscula = c.toLower();
        if ((minuscula >= u'a' && minuscula <= u'z') || (minuscula >= u'0' && minuscula <= u'9')) {
            palavra += minuscula;
        } else if (!palavra.isEmpty()) {
            palavras.append(palavra);
            palavra.clear();
        }
    }
    if (!palavra.isEmpty())
        palavras.append(palavra);
    return palavras;
}
