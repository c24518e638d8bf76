#include "demonstrativo/Demonstrativo.h"

#include "calc/ValidacaoCalculo.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"

#include <QMap>

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
    try {
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
    for (const ResultadoDebito& r : resultados) {
        if (!r.Resultado)
            continue;
        ++t.Quantidade;
        t.Pago = t.Pago + r.Pagamentos.Pago;
        t.Previsao = t.Previsao || r.previsao();
        t.Valor = t.Valor + r.Resultado->ValorICMS;
        t.Multa = t.Multa + r.Resultado->MultaMora;
        t.Juros = t.Juros + r.Resultado->JurosMora;
        t.Total = t.Total + r.Resultado->Total;
    }
    return t;
}

std::optional<QString> Demonstrativo::validaDataPagamento() const {
    if (const auto falha = ValidaDataPagamento(DataPagamento))
        return falha->Mensagem;
    return std::nullopt;
}

void Demonstrativo::calcula(TBQDataModule& dados) {
    std::optional<PrevisaoTaxas> previsao;
    if (PreverMesesSemTaxa)
        previsao = previsaoDaTabela(dados);
    QList<ResultadoDebito> resultados;
    resultados.reserve(Debitos.size());
    for (const Debito& debito : Debitos)
        resultados.append(
            calculaDebito(dados, debito, DataPagamento, previsao ? &*previsao : nullptr));
    fTotais = totaliza(resultados);
    fResultados = std::move(resultados);
}

QList<TaxaSelicSomada> Demonstrativo::mesesEstimados() const {
    QMap<DataHora, double> meses;
    const auto junta = [&meses](const MemoriaCalculo& m) {
        for (const TaxaSelicSomada& t : m.MesesSelic)
            if (t.Estimada)
                meses.insert(t.Mes, t.Valor);
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
