#include "rede/SondaUrl.h"

#include "rede/SessaoCurl.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace {

// Redirections followed before the address counts as unreachable.
constexpr int maximoRedirecionamentos = 10;

struct LiberaUrl {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

struct Resposta {
    CURL* sessao = nullptr;
    QByteArray destino; // the Location header of the response being read
};

// The blank line that closes a final response's headers ends the transfer: the status and
// the redirection target are all the probe wants, and a body is never waited for.
// Interim 1xx responses go on.
size_t observaCabecalho(char* dados, size_t tamanho, size_t quantidade, void* contexto) {
    auto* resposta = static_cast<Resposta*>(contexto);
    const size_t total = tamanho * quantidade;
    const QByteArray linha = QByteArray(dados, qsizetype(total)).trimmed();
    if (linha.startsWith("HTTP/")) {
        resposta->destino.clear();
    } else if (linha.isEmpty()) {
        long status = 0;
        curl_easy_getinfo(resposta->sessao, CURLINFO_RESPONSE_CODE, &status);
        if (status >= 200)
            return 0;
    } else if (linha.left(9).compare("Location:", Qt::CaseInsensitive) == 0) {
        resposta->destino = linha.mid(9).trimmed();
    }
    return total;
}

// The redirection target, relative or absolute, as an absolute address.
QByteArray resolve(const QByteArray& base, const QByteArray& destino) {
    std::unique_ptr<CURLU, LiberaUrl> url(curl_url());
    char* absoluto = nullptr;
    if (!url || curl_url_set(url.get(), CURLUPART_URL, base.constData(), 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_URL, destino.constData(), 0) != CURLUE_OK ||
        curl_url_get(url.get(), CURLUPART_URL, &absoluto, 0) != CURLUE_OK)
        return {};
    const QByteArray resultado(absoluto);
    curl_free(absoluto);
    return resultado;
}

size_t recusaCorpo(char*, size_t, size_t, void*) {
    return 0;
}

bool ehRedirecionamento(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

QString urlComEsquema(const QString& url, bool https) {
    const QString esquema = https ? QStringLiteral("https://") : QStringLiteral("http://");
    if (url.toLower().contains(esquema))
        return url;
    return esquema + url;
}

bool CheckUrl(const QString& url, bool https, const OpcoesSonda& opcoes) {
    QByteArray endereco = urlComEsquema(url, https).toUtf8();

    SessaoCurl sessao("InetURL:/1.0", opcoes.tempoConexao,
                      opcoes.arquivoCertificados.toLocal8Bit());
    // A cache between us and the host must not answer for it.
    if (!sessao || !sessao.defineCabecalhos({"Cache-Control: no-cache", "Pragma: no-cache"}))
        return false;
    CURL* s = sessao.get();

    curl_easy_setopt(s, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(s, CURLOPT_FORBID_REUSE, 1L);
    // Less than one byte a second for the whole receive time-out is no answer.
    curl_easy_setopt(s, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(s, CURLOPT_LOW_SPEED_TIME,
                     long(std::max<long long>(1, (opcoes.tempoRecepcao.count() + 999) / 1000)));
    curl_easy_setopt(s, CURLOPT_HEADERFUNCTION, observaCabecalho);
    Resposta resposta;
    resposta.sessao = s;
    curl_easy_setopt(s, CURLOPT_HEADERDATA, &resposta);
    curl_easy_setopt(s, CURLOPT_WRITEFUNCTION, recusaCorpo);

    // Redirections are followed here, one request each, so that no hop waits for a body.
    for (int salto = 0; salto <= maximoRedirecionamentos; ++salto) {
        curl_easy_setopt(s, CURLOPT_URL, endereco.constData());
        const CURLcode resultado = curl_easy_perform(s);
        if (resultado != CURLE_OK && resultado != CURLE_WRITE_ERROR)
            return false;
        long status = 0;
        if (curl_easy_getinfo(s, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK)
            return false;
        if (!ehRedirecionamento(status) || resposta.destino.isEmpty())
            return status == 200 || status == 302;
        // A target that cannot be followed leaves the status as it came.
        const QByteArray proximo = resolve(endereco, resposta.destino);
        if (proximo.isEmpty())
            return status == 302;
        endereco = proximo;
    }
    return false;
}
