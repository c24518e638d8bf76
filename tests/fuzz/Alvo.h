#pragma once

// What every fuzz harness shares. A harness is one libFuzzer entry point,
// LLVMFuzzerTestOneInput, that feeds one input to one parser and checks the property the
// harness states; a broken property aborts, which libFuzzer and the replay driver both
// report as a failure. Harnesses control the locale and the clock like the tests do.

#include "ConfiguracaoRegional.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

// The application object some parsers reach for (the executable's folder), and the
// Brazilian regional settings.
inline void iniciaAlvo(char* programa) {
    static int argc = 1;
    static char* argv[] = {programa, nullptr};
    static QCoreApplication aplicacao(argc, argv);
    regional() = ConfiguracaoRegional::brasileira();
}

inline QByteArray bytesDe(const std::uint8_t* dados, std::size_t tamanho) {
    return QByteArray(reinterpret_cast<const char*>(dados), qsizetype(tamanho));
}

[[noreturn]] inline void propriedadeViolada(const char* propriedade, const QString& detalhe) {
    std::fprintf(stderr, "Propriedade violada: %s\n%s\n", propriedade, qPrintable(detalhe));
    std::abort();
}

#define EXIGE(condicao, detalhe)                                                               \
    do {                                                                                       \
        if (!(condicao))                                                                       \
            propriedadeViolada(#condicao, detalhe);                                            \
    } while (false)
