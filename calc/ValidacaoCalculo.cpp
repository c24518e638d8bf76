#include "calc/ValidacaoCalculo.h"

#include "calc/Calculo.h"

namespace {

DataHora limiteInferior() {
    static const DataHora limite = Datas::codificaData(1998, 1, 1);
    return limite;
}

FalhaValidacao falha(const QString& mensagem, CampoCalculo campo, bool moveFoco) {
    return FalhaValidacao{mensagem, campo, moveFoco};
}

} // namespace

QString MensagemValorInvalido() {
    return QStringLiteral("Valor inválido! Digite o valor com as duas casas decimais.");
}

std::optional<FalhaValidacao> ValidaTextoValor(QString& Texto) {
    if (Texto.isEmpty())
        Texto = QStringLiteral("0,00");
    const qsizetype virgula = Texto.indexOf(QLatin1Char(','));
    if (virgula >= 0 && Texto.size() - virgula - 1 == 2)
        return std::nullopt;
    return falha(MensagemValorInvalido(), CampoCalculo::Valor, true);
}

std::optional<FalhaValidacao> ValidaValorSemSinal(QString& Texto) {
    if (auto falha = ValidaTextoValor(Texto))
        return falha;
    if (Texto.startsWith(QLatin1Char('-')) || Texto.startsWith(QLatin1Char('+')))
        return falha(MensagemValorInvalido(), CampoCalculo::Valor, true);
    return std::nullopt;
}

std::optional<FalhaValidacao> ValidaDataPagamento(DataHora DataPagamento) {
    if (DataPagamento == 0)
        return falha(QStringLiteral("Digite a Data de Pagamento!"), CampoCalculo::DataPagamento,
                     true);
    if (Datas::parteInteira(DataPagamento) < limiteInferior())
        return falha(QStringLiteral("A Data de Pagamento deve ser maior do que 01/01/1998!"),
                     CampoCalculo::DataPagamento, true);
    if (!EhDiaUtil(DataPagamento))
        return falha(QStringLiteral("A Data do Pagamento deve ser dia útil!"),
                     CampoCalculo::DataPagamento, false);
    return std::nullopt;
}

std::optional<FalhaValidacao> ValidaDatas(DataHora DataVencimento, DataHora DataPagamento) {
    const std::int64_t vencimento = Datas::parteInteira(DataVencimento);
    const std::int64_t pagamento = Datas::parteInteira(DataPagamento);
    if (DataVencimento == 0)
        return falha(QStringLiteral("Digite a Data de Vencimento!"), CampoCalculo::DataVencimento,
                     true);
    if (vencimento < limiteInferior())
        return falha(QStringLiteral("A Data de Vencimento deve ser maior do que 01/01/1998!"),
                     CampoCalculo::DataVencimento, true);
    if (!EhDiaUtil(DataVencimento))
        return falha(QStringLiteral("A Data do Vencimento deve ser dia útil!"),
                     CampoCalculo::DataVencimento, false);
    if (auto falhaPagamento = ValidaDataPagamento(DataPagamento))
        return falhaPagamento;
    if (vencimento > pagamento)
        return falha(
            QStringLiteral("A Data do Pagamento deve ser maior ou igual a Data de Vencimento!"),
            CampoCalculo::DataPagamento, false);
    return std::nullopt;
}
