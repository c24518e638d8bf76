#pragma once

#include "rede/SondaUrl.h"

#include <QString>

#include <chrono>

// Everything the start-up refresh needs to know about the tax authority's network: the
// hosts it probes, the service addresses behind the library's two entry points, and the
// trust and time limits of both. Production takes padrao(), fixed at build time by the
// CMake cache variables BELQOR_HOST_PUBLICO, BELQOR_HOST_INTRANET, BELQOR_SERVICO_INTRANET,
// BELQOR_SERVICO_INTERNET and BELQOR_SERVICO_ESPACO_NOMES; tests pass loopback servers.
struct DestinosAtualizacao {
    QString hostPublico;     // probed as "https://" + host + "/sol"
    QString hostIntranet;    // probed as "http://" + host + "/sol"
    QString servicoIntranet; // address of the service through the intranet
    QString servicoInternet; // address of the service through the public internet
    QString espacoNomes;     // the service namespace URI
    // Trusted certificate authorities for the probe and the service; empty: the system's.
    QString arquivoCertificados;
    std::chrono::milliseconds tempoConexao{10000};
    std::chrono::milliseconds tempoRecepcaoSonda{30000};
    std::chrono::milliseconds tempoTotalServico{60000};

    static DestinosAtualizacao padrao();

    QString urlSondaPublica() const { return hostPublico + QStringLiteral("/sol"); }
    QString urlSondaIntranet() const { return hostIntranet + QStringLiteral("/sol"); }
    OpcoesSonda opcoesSonda() const;
};
