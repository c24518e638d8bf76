#include "framework/AjudaEVersao.h"

#include "VersaoBelqor.h"

#include <cstdio>
#include <cstring>

namespace {

bool pedido(int argc, const char* const* argv, std::initializer_list<const char*> nomes) {
    for (int i = 1; i < argc; ++i)
        for (const char* nome : nomes)
            if (std::strcmp(argv[i], nome) == 0)
                return true;
    return false;
}

} // namespace

std::optional<int> respondeAjudaOuVersao(int argc, const char* const* argv, const char* programa,
                                         const QString& ajuda) {
    QByteArray texto;
    if (pedido(argc, argv, {"-h", "--help"}))
        texto = ajuda.toUtf8();
    else if (pedido(argc, argv, {"--version"}))
        texto = QByteArray(programa) + ' ' + BELQOR_VERSAO + '\n';
    else
        return std::nullopt;
    const bool gravou = std::fwrite(texto.constData(), 1, std::size_t(texto.size()), stdout) ==
                            std::size_t(texto.size()) &&
                        std::fflush(stdout) == 0;
    if (!gravou)
        std::fputs("Erro de gravação na saída padrão.\n", stderr);
    return gravou ? 0 : 1;
}
