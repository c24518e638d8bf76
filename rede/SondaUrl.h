#pragma once

#include <QString>

#include <chrono>

// Reachability probe over HTTP or HTTPS on libcurl, synchronous. It sends one fresh GET,
// follows redirections, reads only the final status and never the body. Certificates are
// always verified; the proxy comes from the system's environment (http_proxy, https_proxy,
// no_proxy).
struct OpcoesSonda {
    // File of trusted certificate authorities; empty uses the system's trust store.
    QString arquivoCertificados;
    // Bounds the connection, TLS handshake included.
    std::chrono::milliseconds tempoConexao{10000};
    // Gives up when nothing arrives for this long once the request is sent; counted in
    // whole seconds, rounded up.
    std::chrono::milliseconds tempoRecepcao{30000};
};

// The address with the scheme in front, unless its lower-case form already holds that
// scheme anywhere.
QString urlComEsquema(const QString& url, bool https);

// True exactly when the address answers with status 200 or 302.
bool CheckUrl(const QString& url, bool https, const OpcoesSonda& opcoes = {});
