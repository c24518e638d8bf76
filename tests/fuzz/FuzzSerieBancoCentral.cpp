// The central bank's series reader: the bytes as a CSV or JSON file saved from its site.
// Property: no crash; every entry read is the first day of a month with a finite rate, and
// a reading that stops says where.

#include "fuzz/Alvo.h"
#include "refresh/LeitorSerie.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const QByteArray conteudo = bytesDe(dados, tamanho);
    const LeituraSerie leitura = leSerie(conteudo);
    for (const EntradaSerie& e : leitura.Entradas) {
        EXIGE(e.Mes == Datas::primeiroDiaDoMes(e.Mes), QString::fromUtf8(conteudo));
        EXIGE(std::isfinite(e.Valor), QString::fromUtf8(conteudo));
    }
    return 0;
}
