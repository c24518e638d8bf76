#include "rede/SessaoCurl.h"

SessaoCurl::SessaoCurl(const char* agente, std::chrono::milliseconds tempoConexao,
                       const QByteArray& arquivoCertificados)
    : fAgente(agente), fCertificados(arquivoCertificados), fSessao(curl_easy_init()) {
    if (!fSessao)
        return;
    CURL* s = fSessao.get();
    curl_easy_setopt(s, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(s, CURLOPT_USERAGENT, fAgente.constData());
    curl_easy_setopt(s, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(s, CURLOPT_CONNECTTIMEOUT_MS, long(tempoConexao.count()));
    curl_easy_setopt(s, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(s, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!fCertificados.isEmpty())
        curl_easy_setopt(s, CURLOPT_CAINFO, fCertificados.constData());
}

bool SessaoCurl::defineCabecalhos(std::initializer_list<const char*> linhas) {
    std::unique_ptr<curl_slist, LiberaLista> lista;
    for (const char* linha : linhas) {
        curl_slist* maior = curl_slist_append(lista.get(), linha);
        if (!maior)
            return false;
        lista.release();
        lista.reset(maior);
    }
    fCabecalhos = std::move(lista);
    curl_easy_setopt(fSessao.get(), CURLOPT_HTTPHEADER, fCabecalhos.get());
    return true;
}
