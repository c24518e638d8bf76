#pragma once

// One libcurl session set up the way every transfer of the program starts: http and https
// only, certificates always verified (against the given authorities, or the system's trust
// store), no signals, the connection bounded in time. The reachability probe, the GET and
// the rate service library's POST each add only what is their own.

#include <QByteArray>

#include <curl/curl.h>

#include <chrono>
#include <initializer_list>
#include <memory>

class SessaoCurl {
public:
    // `arquivoCertificados` empty uses the system's trust store. A session libcurl could not
    // make is false; nothing else may be called on it.
    SessaoCurl(const char* agente, std::chrono::milliseconds tempoConexao,
               const QByteArray& arquivoCertificados);

    explicit operator bool() const { return bool(fSessao); }
    CURL* get() const { return fSessao.get(); }

    // Sets the request's headers, kept for as long as the session; false when libcurl
    // could not hold them.
    bool defineCabecalhos(std::initializer_list<const char*> linhas);

private:
    struct LiberaCurl {
        void operator()(CURL* sessao) const { curl_easy_cleanup(sessao); }
    };
    struct LiberaLista {
        void operator()(curl_slist* lista) const { curl_slist_free_all(lista); }
    };

    // libcurl keeps pointers to these texts, so they live with the session.
    QByteArray fAgente;
    QByteArray fCertificados;
    std::unique_ptr<curl_slist, LiberaLista> fCabecalhos;
    std::unique_ptr<CURL, LiberaCurl> fSessao;
};
