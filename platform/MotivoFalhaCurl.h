#pragma once

// Why a libcurl transfer failed, in Portuguese, for the messages of the programs and
// libraries that talk HTTP(S) through it.

#include <QString>

#include <curl/curl.h>

inline QString motivoFalhaCurl(CURLcode codigo, const char* detalhe) {
    switch (codigo) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return QStringLiteral("o nome do servidor não foi encontrado");
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("a conexão foi recusada ou o servidor está inacessível");
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("o servidor não respondeu a tempo");
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("o certificado do servidor não é confiável");
    case CURLE_SSL_CONNECT_ERROR:
        return QStringLiteral("a conexão segura não pôde ser estabelecida");
    case CURLE_GOT_NOTHING:
        return QStringLiteral("o servidor fechou a conexão sem responder");
    case CURLE_UNSUPPORTED_PROTOCOL:
        return QStringLiteral("o endereço não é http:// nem https://");
    case CURLE_URL_MALFORMAT:
        return QStringLiteral("o endereço do serviço é inválido");
    default:
        return QString::fromUtf8(detalhe[0] ? detalhe : curl_easy_strerror(codigo));
    }
}
