#pragma once

// One HTTP(S) GET on libcurl, synchronous, the way the reachability probe talks to a
// host: certificates always verified, the proxy from the system's environment, the
// connection and the whole transfer bounded in time, and the answer's size capped so
// that a runaway server cannot fill the memory.

#include "valores/Erros.h"

#include <QByteArray>
#include <QString>

#include <chrono>

struct OpcoesObtencao {
    // File of trusted certificate authorities; empty uses the system's trust store.
    QString arquivoCertificados;
    // Bounds the connection, TLS handshake included.
    std::chrono::milliseconds tempoConexao{10000};
    // Bounds the whole transfer, from the connection to the last byte.
    std::chrono::milliseconds tempoTotal{60000};
    // Larger answers are refused.
    qsizetype tamanhoMaximo = 4 * 1024 * 1024;
};

struct RespostaObtida {
    long status = 0;
    QByteArray corpo;
};

// A transfer that did not bring an answer; the message is the reason alone, in
// Portuguese ("o servidor não respondeu a tempo"), for the caller to put in its own text.
class ErroObtencao : public ErroBelqor {
    using ErroBelqor::ErroBelqor;
};

// The answer, whatever its status; redirections are not followed.
RespostaObtida obtemUrl(const QByteArray& url, const OpcoesObtencao& opcoes);
