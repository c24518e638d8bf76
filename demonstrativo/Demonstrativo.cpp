#include "demonstrativo/Demonstrativo.h"

#include "calc/ValidacaoCalculo.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"

ResultadoDebito calculaDebito(TBQDataModule& dados, const Debito& debito, DataHora pagamento) {
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
            r.Pagamentos =
                imputaPagamentos(dados, principal, debito.Vencimento, debito.Pagamentos, pagamento);
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
        r.Resultado =
            CalculaValores(dados, principal, debito.Vencimento, pagamento, &r.Memoria, &r.Mensagem);
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
    QList<ResultadoDebito> resultados;
    resultados.reserve(Debitos.size());
    for (const Debito& debito : Debitos)
        resultados.append(calculaDebito(dados, debito, DataPagamento));
    fTotais = totaliza(resultados);
    fResultados = std::move(resultados);
}
