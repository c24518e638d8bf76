#include "rede/ObtencaoHttp.h"

#include "rede/SessaoCurl.h"
#include "rede/TransferenciaCurl.h"

#include <curl/curl.h>

RespostaObtida obtemUrl(const QByteArray& url, const OpcoesObtencao& opcoes) {
    SessaoCurl sessao("BELQOR/3.02", opcoes.tempoConexao, opcoes.arquivoCertificados.toLocal8Bit());
    if (!sessao)
        throw ErroObtencao(QStringLiteral("a comunicação não pôde ser iniciada"));
    CURL* s = sessao.get();

    RecepcaoLimitada recepcao;
    recepcao.limite = opcoes.tamanhoMaximo;
    curl_easy_setopt(s, CURLOPT_URL, url.constData());
    curl_easy_setopt(s, CURLOPT_TIMEOUT_MS, long(opcoes.tempoTotal.count()));
    curl_easy_setopt(s, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(opcoes.tamanhoMaximo));
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
