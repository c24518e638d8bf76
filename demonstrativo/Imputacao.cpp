#include "demonstrativo/Imputacao.h"

#include "calc/ValidacaoCalculo.h"
#include "valores/Formatacao.h"

#include <algorithm>
#include <numeric>

namespace {

QString recusa(DataHora data, const QString& motivo) {
    return QStringLiteral("O pagamento parcial de %1 %2").arg(Formato::dataParaTexto(data), motivo);
}

// A part of x in the proportion parte ÷ total, in extended precision, rounded to cents.
Moeda proporcao(Moeda parte, Moeda x, Moeda total) {
    return Moeda::centavosDeEstendido(parte.contagemEstendida() * x.contagemEstendida() /
                                      total.contagemEstendida());
}

// Nothing when the payment can be taken; otherwise why not.
std::optional<QString> validaPagamento(const PagamentoParcial& p, DataHora vencimento,
                                       DataHora dataDemonstrativo) {
    const auto dia = Datas::parteInteira(p.Data);
    if (p.Data == Datas::Vazia)
        return QStringLiteral("Falta a data de um pagamento parcial!");
    if (!EhDiaUtil(p.Data))
        return recusa(p.Data, QStringLiteral("deve ser dia útil!"));
    if (dia < Datas::parteInteira(vencimento))
        return recusa(p.Data, QStringLiteral("deve ser posterior ao vencimento!"));
    if (dia > Datas::parteInteira(dataDemonstrativo))
        return recusa(p.Data,
                      QStringLiteral("deve ser anterior à data de pagamento do demonstrativo!"));
    QString valor = p.Valor.trimmed();
    if (const auto falha = ValidaValorSemSinal(valor))
        return recusa(p.Data, QStringLiteral("tem valor inválido: %1").arg(falha->Mensagem));
    if (Formato::textoParaMoeda(valor) <= Moeda())
        return recusa(p.Data, QStringLiteral("deve ter valor maior que zero!"));
    return std::nullopt;
}

} // namespace

Imputacao imputaPagamentos(TBQDataModule& dados, Moeda principal, DataHora vencimento,
                           const QList<PagamentoParcial>& pagamentos, DataHora dataDemonstrativo,
                           const PrevisaoTaxas* previsao) {
    Imputacao r;
    r.PrincipalEmAberto = principal;
    // Taken by date; each part remembers which payment it came from.
    QList<qsizetype> ordem(pagamentos.size());
    std::iota(ordem.begin(), ordem.end(), 0);
    std::stable_sort(ordem.begin(), ordem.end(), [&pagamentos](qsizetype a, qsizetype b) {
        return Datas::parteInteira(pagamentos[a].Data) < Datas::parteInteira(pagamentos[b].Data);
    });
    for (const qsizetype i : ordem) {
        const PagamentoParcial& p = pagamentos[i];
        if (const auto falha = validaPagamento(p, vencimento, dataDemonstrativo)) {
            r.Mensagem = *falha;
            return r;
        }
        if (r.Quitado) {
            r.Mensagem = recusa(p.Data, QStringLiteral("é posterior à quitação do débito em %1!")
                                            .arg(Formato::dataParaTexto(r.Parcelas.last().Data)));
            return r;
        }
        ParcelaImputada parcela;
        parcela.Pagamento = i;
        parcela.Data = p.Data;
        parcela.Pago = Formato::textoParaMoeda(p.Valor.trimmed());
        parcela.PrincipalAntes = r.PrincipalEmAberto;
        const auto naData = CalculaValores(dados, r.PrincipalEmAberto, vencimento, p.Data,
                                           &parcela.Memoria, &r.Mensagem, previsao);
        if (!naData)
            return r;
        parcela.NaData = *naData;
        const Moeda total = naData->Total;
        if (parcela.Pago >= total) {
            parcela.Quita = true;
            parcela.Principal = r.PrincipalEmAberto;
            parcela.Multa = naData->MultaMora;
            parcela.Juros = naData->JurosMora;
            parcela.PagoAMaior = parcela.Pago - total;
            r.Quitado = true;
        } else {
            parcela.Principal = proporcao(r.PrincipalEmAberto, parcela.Pago, total);
            parcela.Multa = proporcao(naData->MultaMora, parcela.Pago, total);
            parcela.Juros = parcela.Pago - parcela.Principal - parcela.Multa;
        }
        r.PrincipalEmAberto = r.PrincipalEmAberto - parcela.Principal;
        r.Pago = r.Pago + parcela.Pago;
        r.Parcelas.append(std::move(parcela));
    }
    return r;
}
