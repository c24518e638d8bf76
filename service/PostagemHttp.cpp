#include "service/PostagemHttp.h"

#include "service/AtualizacaoBelqorService.h"
#include "service/FalhaServico.h"
#include "rede/TransferenciaCurl.h"

#include <curl/curl.h>

#include <memory>
#include <new>

namespace {

// Larger answers are not a rate document; refusing them bounds the memory taken.
constexpr qsizetype tamanhoMaximoResposta = 32 * 1024 * 1024;

struct LiberaLista {
    void operator()(curl_slist* lista) const { curl_slist_free_all(lista); }
};

} // namespace

RespostaHttp postaSoap(const DestinoServico& destino, const QByteArray& pedido) {
    std::unique_ptr<CURL, LiberaCurl> sessao(curl_easy_init());
    if (!sessao)
        throw FalhaServico{ATUALIZACAO_BELQOR_ERRO_INTERNO,
                           QStringLiteral("Não foi possível iniciar a comunicação com o serviço de "
                                          "atualização de índices.")};
    CURL* s = sessao.get();

    std::unique_ptr<curl_slist, LiberaLista> cabecalhos;
    for (const char* linha : {"Content-Type: text/xml; charset=utf-8", "SOAPAction: \"\"",
                              "Accept: text/xml", "Expect:"}) {
        curl_slist* lista = curl_slist_append(cabecalhos.get(), linha);
        if (!lista)
            throw std::bad_alloc();
        cabecalhos.release();
        cabecalhos.reset(lista);
    }

    RecepcaoLimitada recepcao;
    recepcao.limite = tamanhoMaximoResposta;
    curl_easy_setopt(s, CURLOPT_URL, destino.endereco.constData());
    curl_easy_setopt(s, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(s, CURLOPT_POST, 1L);
    curl_easy_setopt(s, CURLOPT_POSTFIELDS, pedido.constData());
    curl_easy_setopt(s, CURLOPT_POSTFIELDSIZE, long(pedido.size()));
    curl_easy_setopt(s, CURLOPT_HTTPHEADER, cabecalhos.get());
    curl_easy_setopt(s, CURLOPT_USERAGENT, "AtualizacaoBelqorService/1.0");
    curl_easy_setopt(s, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(s, CURLOPT_CONNECTTIMEOUT_MS, destino.tempoConexaoMs);
    curl_easy_setopt(s, CURLOPT_TIMEOUT_MS, destino.tempoTotalMs);
    curl_easy_setopt(s, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(s, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!destino.arquivoCertificados.isEmpty())
        curl_easy_setopt(s, CURLOPT_CAINFO, destino.arquivoCertificados.constData());
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
