#include "demonstrativo/Demonstrativo.h"

#include "calc/FormataResultado.h"
#include "calc/ValidacaoCalculo.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"

#include <QMap>

#include <algorithm>

namespace {

bool ehDigito(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The debt's amount as typed: the principal its payments left open and what they took of it.
Moeda valorDoDebito(const ResultadoDebito& debito) {
    Moeda valor = debito.Resultado->ValorICMS;
    for (const ParcelaImputada& p : debito.Pagamentos.Parcelas)
        valor = valor + p.Principal;
    return valor;
}

// The totals with one debt's figures added (sinal 1) or taken away (-1); a sum beyond the
// currency's range throws ErroEstouroMoeda.
TotaisDemonstrativo somados(TotaisDemonstrativo t, const ResultadoDebito& debito, int sinal) {
    const auto soma = [sinal](Moeda a, Moeda b) { return sinal > 0 ? a + b : a - b; };
    const ResultadoCalculo& r = *debito.Resultado;
    t.Quantidade += sinal;
    t.Previstos += debito.previsao() ? sinal : 0;
    t.ValorDebitos = soma(t.ValorDebitos, valorDoDebito(debito));
    t.Pago = soma(t.Pago, debito.Pagamentos.Pago);
    t.Valor = soma(t.Valor, r.ValorICMS);
    t.Multa = soma(t.Multa, r.MultaMora);
    t.Juros = soma(t.Juros, r.JurosMora);
    t.Total = soma(t.Total, r.Total);
    return t;
}

} // namespace

bool Debito::emBranco() const {
    return Referencia.trimmed().isEmpty() && Vencimento == Datas::Vazia &&
           Valor.trimmed().isEmpty() && Descricao.trimmed().isEmpty() && Pagamentos.isEmpty();
}

std::optional<QString> validaReferencia(const QString& referencia) {
    const QString r = referencia.trimmed();
    if (r.isEmpty())
        return QStringLiteral("Digite a Referência!");
    const bool forma = r.size() == 7 && r[2] == u'/' && ehDigito(r[0]) && ehDigito(r[1]) &&
                       std::all_of(r.begin() + 3, r.end(), ehDigito);
    const int mes = forma ? r.first(2).toInt() : 0;
    if (mes < 1 || mes > 12)
        return QStringLiteral("Referência inválida! Digite o mês como MM/AAAA.");
    return std::nullopt;
}

bool ResultadoDebito::previsao() const {
    if (Resultado && Resultado->Previsao)
        return true;
    for (const ParcelaImputada& p : Pagamentos.Parcelas)
        if (p.NaData.Previsao)
            return true;
    return false;
}

ResultadoDebito calculaDebito(TBQDataModule& dados, const Debito& debito, DataHora pagamento,
                              const PrevisaoTaxas* previsao) {
    ResultadoDebito r;
    if (debito.emBranco())
        return r;
    try {
        if (const auto falha = validaReferencia(debito.Referencia)) {
            r.Mensagem = *falha;
            return r;
        }
        QString valor = debito.Valor.trimmed();
        if (const auto falha = ValidaValorSemSinal(valor)) {
            r.Mensagem = falha->Mensagem;
            return r;
        }
        if (const auto falha = ValidaDatas(debito.Vencimento, pagamento)) {
            r.Mensagem = falha->Mensagem;
            return r;
        }
        Moeda principal = Formato::textoParaMoeda(valor);
        if (!debito.Pagamentos.isEmpty()) {
            r.Pagamentos = imputaPagamentos(dados, principal, debito.Vencimento, debito.Pagamentos,
                                            pagamento, previsao);
            if (!r.Pagamentos.Mensagem.isEmpty()) {
                r.Mensagem = r.Pagamentos.Mensagem;
                return r;
            }
            if (r.Pagamentos.Quitado) {
                // Nothing left to charge: the balance is zero, with no account to give.
                r.Resultado.emplace();
                return r;
            }
            principal = r.Pagamentos.PrincipalEmAberto;
        }
        r.Resultado = CalculaValores(dados, principal, debito.Vencimento, pagamento, &r.Memoria,
                                     &r.Mensagem, previsao);
    } catch (const ErroBelqor& e) {
        r.Resultado.reset();
        r.Mensagem = e.mensagem();
    }
    return r;
}

TotaisDemonstrativo totaliza(const QList<ResultadoDebito>& resultados) {
    TotaisDemonstrativo t;
    for (const ResultadoDebito& r : resultados)
        if (r.Resultado)
            t = somados(t, r, 1);
    return t;
}

std::optional<QString> Demonstrativo::validaDataPagamento() const {
    if (const auto falha = ValidaDataPagamento(DataPagamento))
        return falha->Mensagem;
    return std::nullopt;
}

void Demonstrativo::calcula(TBQDataModule& dados) {
    fTotais = {};
    fResultados.clear();
    fResultados.reserve(Debitos.size());
    preparaPrevisao(dados);
    for (const Debito& debito : Debitos)
        fResultados.append(calculaESoma(dados, debito));
}

void Demonstrativo::preparaPrevisao(TBQDataModule& dados) {
    fPrevisao.reset();
    if (PreverMesesSemTaxa)
        fPrevisao = previsaoDaTabela(dados);
}

ResultadoDebito Demonstrativo::calculaESoma(TBQDataModule& dados, const Debito& debito) {
    ResultadoDebito r =
        calculaDebito(dados, debito, DataPagamento, fPrevisao ? &*fPrevisao : nullptr);
    if (!r.Resultado)
        return r;
    try {
        fTotais = somados(fTotais, r, 1);
    } catch (const ErroEstouroMoeda& e) {
        r.Resultado.reset();
        r.Mensagem = e.mensagem();
    }
    return r;
}

void Demonstrativo::tiraDosTotais(const ResultadoDebito& r) {
    // What was added once comes off without leaving the range.
    if (r.Resultado)
        fTotais = somados(fTotais, r, -1);
}

void Demonstrativo::alteraDebito(TBQDataModule& dados, qsizetype i, const Debito& debito) {
    tiraDosTotais(fResultados[i]);
    // Until the new figures are in, the debt counts for nothing.
    fResultados[i] = ResultadoDebito();
    Debitos[i] = debito;
    preparaPrevisao(dados);
    fResultados[i] = calculaESoma(dados, debito);
}

void Demonstrativo::insereDebitos(TBQDataModule& dados, qsizetype posicao,
                                  const QList<Debito>& debitos) {
    QList<ResultadoDebito> novos;
    novos.reserve(debitos.size());
    preparaPrevisao(dados);
    for (const Debito& debito : debitos)
        novos.append(calculaESoma(dados, debito));
    Debitos.insert(posicao, debitos.size(), Debito());
    std::copy(debitos.cbegin(), debitos.cend(), Debitos.begin() + posicao);
    fResultados.insert(posicao, novos.size(), ResultadoDebito());
    std::move(novos.begin(), novos.end(), fResultados.begin() + posicao);
}

void Demonstrativo::removeDebitos(qsizetype posicao, qsizetype quantidade) {
    for (qsizetype i = posicao; i < posicao + quantidade; ++i)
        tiraDosTotais(fResultados[i]);
    Debitos.remove(posicao, quantidade);
    fResultados.remove(posicao, quantidade);
}

Demonstrativo Demonstrativo::semBrancos() const {
    Demonstrativo d;
    d.Titular = Titular;
    d.DataPagamento = DataPagamento;
    d.PreverMesesSemTaxa = PreverMesesSemTaxa;
    d.fTotais = fTotais;
    d.fPrevisao = fPrevisao;
    for (qsizetype i = 0; i < Debitos.size(); ++i)
        if (!Debitos[i].emBranco()) {
            d.Debitos.append(Debitos[i]);
            d.fResultados.append(fResultados[i]);
        }
    return d;
}

QString marcaPrevisao() {
    return QStringLiteral("PREVISÃO");
}

QString textoMesesEstimados(const QList<TaxaSelicSomada>& meses) {
    if (meses.isEmpty())
        return {};
    QStringList lista;
    for (const TaxaSelicSomada& t : meses)
        lista << Formato::mesAno(t.Mes) + u' ' + formataTaxa(t.Valor);
    return marcaPrevisao() + QStringLiteral(" — taxas estimadas: ") +
           lista.join(QStringLiteral("; "));
}

bool Demonstrativo::temPagamentos() const {
    for (const ResultadoDebito& r : fResultados)
        if (!r.Pagamentos.Parcelas.isEmpty())
            return true;
    return false;
}

QList<TaxaSelicSomada> Demonstrativo::mesesEstimados() const {
    QMap<DataHora, double> meses;
    // The estimated months come after every month the table holds: each account is read
    // from its end, and only as far as its estimated months go.
    const auto junta = [&meses](const MemoriaCalculo& m) {
        for (auto t = m.MesesSelic.crbegin(); t != m.MesesSelic.crend() && t->Estimada; ++t)
            meses.insert(t->Mes, t->Valor);
    };
    for (const ResultadoDebito& r : fResultados) {
        junta(r.Memoria);
        for (const ParcelaImputada& p : r.Pagamentos.Parcelas)
            junta(p.Memoria);
    }
    QList<TaxaSelicSomada> lista;
    for (auto i = meses.cbegin(); i != meses.cend(); ++i)
        lista.append({i.key(), i.value(), true});
    return lista;
}
