#include "cli/CalculoTextos.h"

#include "ratetable/BQDataModule.h"
#include "valores/Erros.h"
#include "planilhas/FormasPlanilha.h"
#include "valores/Formatacao.h"
#include "calc/ValidacaoCalculo.h"

namespace {

// An empty text is no date, as a cleared picker would give.
DataHora leData(const QString& texto) {
    const QString limpo = texto.trimmed();
    return limpo.isEmpty() ? 0 : Formato::textoParaData(limpo);
}

} // namespace

std::optional<ResultadoCalculo> calculaDeTextos(TBQDataModule& dados, const QString& textoValor,
                                                const QString& vencimento, const QString& pagamento,
                                                MemoriaCalculo* memoria) {
    Dialogos& dialogos = dados.dialogos();
    try {
        QString valor = valorDaPlanilha(textoValor).trimmed();
        if (const auto falha = ValidaValorSemSinal(valor)) {
            dialogos.mensagem(falha->Mensagem);
            return std::nullopt;
        }
        const DataHora dataVencimento = leData(dataDaPlanilha(vencimento));
        const DataHora dataPagamento = leData(dataDaPlanilha(pagamento));
        if (const auto falha = ValidaDatas(dataVencimento, dataPagamento)) {
            dialogos.mensagem(falha->Mensagem);
            return std::nullopt;
        }
        const Moeda valorConsiderado = Formato::textoParaMoeda(valor);
        return CalculaValores(dados, valorConsiderado, dataVencimento, dataPagamento, memoria);
    } catch (const AbortoSilencioso&) {
        return std::nullopt;
    } catch (const ErroBelqor& e) {
        dialogos.relatorioErro(e.mensagem());
        return std::nullopt;
    }
}
