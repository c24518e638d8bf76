#pragma once

// What the program and the service library share about a libcurl transfer: the answer's
// body received up to a limit, and why a transfer failed, in Portuguese.

#include "sistema/MotivosFalha.h"

#include <QByteArray>
#include <QString>

#include <cerrno>

#include <curl/curl.h>

// Why a transfer failed. For a failure not worded here, the system's reason libcurl last
// met follows its code.
inline QString motivoFalhaCurl(CURL* sessao, CURLcode codigo) {
    long erroSistema = 0;
    curl_easy_getinfo(sessao, CURLINFO_OS_ERRNO, &erroSistema);
    const auto comMotivo = [&](const QString& texto) {
        return erroSistema ? texto + QStringLiteral(": ") + motivoDoSistema(int(erroSistema))
                           : texto;
    };
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
    case CURLE_SSL_CACERT_BADFILE:
        return QStringLiteral("o arquivo de autoridades certificadoras não pôde ser lido");
    case CURLE_GOT_NOTHING:
        return QStringLiteral("o servidor fechou a conexão sem responder");
    case CURLE_UNSUPPORTED_PROTOCOL:
        return QStringLiteral("o endereço não é http:// nem https://");
    case CURLE_URL_MALFORMAT:
        return QStringLiteral("o endereço do serviço é inválido");
    case CURLE_SEND_ERROR:
        return QStringLiteral("a conexão foi interrompida durante o envio do pedido");
    case CURLE_RECV_ERROR:
        return QStringLiteral("a conexão foi interrompida durante a resposta");
    case CURLE_PARTIAL_FILE:
        return QStringLiteral("a resposta chegou incompleta");
    case CURLE_WEIRD_SERVER_REPLY:
        return QStringLiteral("o servidor deu uma resposta que não é HTTP");
    case CURLE_TOO_MANY_REDIRECTS:
        return QStringLiteral("redirecionamentos demais");
    case CURLE_BAD_CONTENT_ENCODING:
        return QStringLiteral("a resposta veio numa codificação desconhecida");
    case CURLE_OUT_OF_MEMORY:
        return motivoDoSistema(ENOMEM);
    default:
        return comMotivo(
            QStringLiteral("falha de comunicação (código %1 da libcurl)").arg(int(codigo)));
    }
}

// The body of an answer, refused past `limite` bytes so that a runaway server cannot fill
// the memory.
struct RecepcaoLimitada {
    QByteArray corpo;
    qsizetype limite = 0;
    bool excedeu = false;
};

// CURLOPT_WRITEFUNCTION for a RecepcaoLimitada given as CURLOPT_WRITEDATA.
inline size_t recebeLimitado(char* dados, size_t tamanho, size_t quantidade, void* contexto) {
    auto* recepcao = static_cast<RecepcaoLimitada*>(contexto);
    const size_t total = tamanho * quantidade;
    if (recepcao->corpo.size() + qsizetype(total) > recepcao->limite) {
        recepcao->excedeu = true;
        return 0;
    }
    recepcao->corpo.append(dados, qsizetype(total));
    return total;
}
