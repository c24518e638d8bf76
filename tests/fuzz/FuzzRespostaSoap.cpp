// The service answer reader: the bytes as the body of an HTTP answer of the rate service.
// Property: no crash; an answer is either read or refused as an invalid answer
// (FalhaServico with RESPOSTA_INVALIDA and a message), never another failure.

#include "fuzz/Alvo.h"
#include "service/AtualizacaoBelqorService.h"
#include "service/EnvelopeSoap.h"
#include "service/FalhaServico.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const QByteArray corpo = bytesDe(dados, tamanho);
    try {
        const RespostaSoap resposta = leRespostaSoap(corpo);
        EXIGE(!(resposta.falha && resposta.resultado), QString::fromUtf8(corpo));
    } catch (const FalhaServico& f) {
        EXIGE(f.status == ATUALIZACAO_BELQOR_RESPOSTA_INVALIDA && !f.mensagem.isEmpty(),
              QString::fromUtf8(corpo));
    }
    return 0;
}
