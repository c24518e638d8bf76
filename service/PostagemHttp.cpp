#include "service/PostagemHttp.h"

#include "service/AtualizacaoBelqorService.h"
#include "service/FalhaServico.h"
#include "rede/SessaoCurl.h"
#include "rede/TransferenciaCurl.h"

#include <curl/curl.h>

#include <chrono>
#include <new>

namespace {

// Larger answers are not a rate document; refusing them bounds the memory taken.
constexpr qsizetype tamanhoMaximoResposta = 32 * 1024 * 1024;

} // namespace

RespostaHttp postaSoap(const DestinoServico& destino, const QByteArray& pedido) {
    SessaoCurl sessao("AtualizacaoBelqorService/1.0",
                      std::chrono::milliseconds(destino.tempoConexaoMs),
                      destino.arquivoCertificados);
    if (!sessao)
        throw FalhaServico{ATUALIZACAO_BELQOR_ERRO_INTERNO,
                           QStringLiteral("Não foi possível iniciar a comunicação com o serviço de "
                                          "atualização de índices.")};
    CURL* s = sessao.get();

    if (!sessao.defineCabecalhos({"Content-Type: text/xml; charset=utf-8", "SOAPAction: \"\"",
                                  "Accept: text/xml", "Expect:"}))
        throw std::bad_alloc();

    RecepcaoLimitada recepcao;
    recepcao.limite = tamanhoMaximoResposta;
    curl_easy_setopt(s, CURLOPT_URL, destino.endereco.constData());
    curl_easy_setopt(s, CURLOPT_POST, 1L);
    curl_easy_setopt(s, CURLOPT_POSTFIELDS, pedido.constData());
    curl_easy_setopt(s, CURLOPT_POSTFIELDSIZE, long(pedido.size()));
    curl_easy_setopt(s, CURLOPT_TIMEOUT_MS, destino.tempoTotalMs);
    curl_easy_setopt(s, CURLOPT_WRITEFUNCTION, recebeLimitado);
    curl_easy_setopt(s, CURLOPT_WRITEDATA, &recepcao);

    const CURLcode resultado = curl_easy_perform(s);
    if (recepcao.excedeu)
        throw FalhaServico{
            ATUALIZACAO_BELQOR_RESPOSTA_INVALIDA,
            QStringLiteral("A resposta do serviço de atualização de índices é grande "
                           "demais para ser um documento de índices.")};
    if (resultado != CURLE_OK)
        throw FalhaServico{
            ATUALIZACAO_BELQOR_SEM_CONEXAO,
            QStringLiteral("Não foi possível comunicar com o serviço de atualização de "
                           "índices em %1: %2.")
                .arg(QString::fromUtf8(destino.endereco), motivoFalhaCurl(s, resultado))};

    RespostaHttp resposta;
    curl_easy_getinfo(s, CURLINFO_RESPONSE_CODE, &resposta.status);
    resposta.corpo = std::move(recepcao.corpo);
    return resposta;
}
