#pragma once

// What every fuzz harness shares. A harness is one libFuzzer entry point,
// LLVMFuzzerTestOneInput, that feeds one input to one parser and checks the property the
// harness states; a broken property aborts, which libFuzzer and the replay driver both
// report as a failure. LLVMFuzzerInitialize (Alvo.cpp) starts the application object some
// parsers reach for (the executable's folder) and sets the Brazilian regional settings,
// as the tests do.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

QByteArray bytesDe(const std::uint8_t* dados, std::size_t tamanho);

// A file of that name in the harness's own temporary folder, holding the bytes.
QString arquivoComEntrada(const QString& nome, const QByteArray& bytes);
// The harness's own temporary folder, and a path in it (the file is not made).
QString pastaDoAlvo();
QString caminhoNoAlvo(const QString& nome);

[[noreturn]] void propriedadeViolada(const char* propriedade, const QString& detalhe);

#define EXIGE(condicao, detalhe)                                                                   \
    do {                                                                                           \
        if (!(condicao))                                                                           \
            propriedadeViolada(#condicao, detalhe);                                                \
    } while (false)
