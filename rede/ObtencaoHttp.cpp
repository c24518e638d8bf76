#include "rede/ObtencaoHttp.h"

#include "rede/TransferenciaCurl.h"

#include <curl/curl.h>

#include <memory>

RespostaObtida obtemUrl(const QByteArray& url, const OpcoesObtencao& opcoes) {
    std::unique_ptr<CURL, LiberaCurl> sessao(curl_easy_init());
    if (!sessao)
        throw ErroObtencao(QStringLiteral("a comunicação não pôde ser iniciada"));
    CURL* s = sessao.get();
    const QByteArray certificados = opcoes.arquivoCertificados.toLocal8Bit();

    RecepcaoLimitada recepcao;
    recepcao.limite = opcoes.tamanhoMaximo;
    curl_easy_setopt(s, CURLOPT_URL, url.constData());
    curl_easy_setopt(s, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(s, CURLOPT_USERAGENT, "BELQOR/3.02");
    curl_easy_setopt(s, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(s, CURLOPT_CONNECTTIMEOUT_MS, long(opcoes.tempoConexao.count()));
    curl_easy_setopt(s, CURLOPT_TIMEOUT_MS, long(opcoes.tempoTotal.count()));
    curl_easy_setopt(s, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(opcoes.tamanhoMaximo));
    curl_easy_setopt(s, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(s, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!certificados.isEmpty())
        curl_easy_setopt(s, CURLOPT_CAINFO, certificados.constData());
    curl_easy_setopt(s, CURLOPT_WRITEFUNCTION, recebeLimitado);
    curl_easy_setopt(s, CURLOPT_WRITEDATA, &recepcao);

    const CURLcode resultado = curl_easy_perform(s);
    if (recepcao.excedeu || resultado == CURLE_FILESIZE_EXCEEDED)
        throw ErroObtencao(QStringLiteral("a resposta passa de %1 KiB, grande demais para o "
                                          "que foi pedido")
                               .arg(opcoes.tamanhoMaximo / 1024));
    if (resultado != CURLE_OK)
        throw ErroObtencao(motivoFalhaCurl(s, resultado));
    RespostaObtida resposta;
    curl_easy_getinfo(s, CURLINFO_RESPONSE_CODE, &resposta.status);
    resposta.corpo = std::move(recepcao.corpo);
    return resposta;
}
