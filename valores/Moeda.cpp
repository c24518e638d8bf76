#include "valores/Moeda.h"

#include "valores/Erros.h"

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void estouro() {
    throw ErroEstouroMoeda(QStringLiteral("Valor fora do intervalo permitido para moeda."));
}

} // namespace

Moeda Moeda::deUnidades(std::int64_t unidades) {
    std::int64_t contagem = 0;
    if (__builtin_mul_overflow(unidades, Escala, &contagem))
        estouro();
    return Moeda(contagem);
}

Moeda Moeda::deEstendido(Estendido contagem) {
    if (!std::isfinite(contagem))
        estouro();
    // nearbyintl follows the current rounding mode; the program never changes it from
    // round-to-nearest, which breaks ties to even.
    const Estendido inteira = std::nearbyintl(contagem);
    // -2^63 is exact in extended; 2^63 is the first value past the top.
    constexpr Estendido limite = 9223372036854775808.0L;
    if (inteira < -limite || inteira >= limite)
        estouro();
    return Moeda(static_cast<std::int64_t>(inteira));
}

Moeda Moeda::centavosDeEstendido(Estendido contagem) {
    if (!std::isfinite(contagem))
        estouro();
    // roundl takes halves away from zero whatever the rounding mode.
    const Estendido centavos = std::roundl(contagem / 100.0L);
    constexpr Estendido limite = 9223372036854775808.0L / 100.0L;
    if (centavos < -limite || centavos >= limite)
        estouro();
    std::int64_t resultado = 0;
    if (__builtin_mul_overflow(static_cast<std::int64_t>(centavos), std::int64_t(100), &resultado))
        estouro();
    return Moeda(resultado);
}

Moeda Moeda::arredondadoCentavos() const {
    // Halves away from zero on the count: 12,3450 -> 12,35; -12,3450 -> -12,35.
    const std::int64_t resto = fContagem % 100;
    std::int64_t base = fContagem - resto;
    if (resto >= 50) {
        if (__builtin_add_overflow(base, 100, &base))
            estouro();
    } else if (resto <= -50) {
        if (__builtin_sub_overflow(base, 100, &base))
            estouro();
    }
    return Moeda(base);
}

Moeda Moeda::operator+(Moeda outra) const {
    std::int64_t soma = 0;
    if (__builtin_add_overflow(fContagem, outra.fContagem, &soma))
        estouro();
    return Moeda(soma);
}

Moeda Moeda::operator-(Moeda outra) const {
    std::int64_t diferenca = 0;
    if (__builtin_sub_overflow(fContagem, outra.fContagem, &diferenca))
        estouro();
    return Moeda(diferenca);
}

Moeda Moeda::operator-() const {
    if (fContagem == std::numeric_limits<std::int64_t>::min())
        estouro();
    return Moeda(-fContagem);
}

QString Moeda::textoDecimal() const {
    const bool negativo = fContagem < 0;
    // Work on the unsigned magnitude so the smallest count does not overflow.
    const std::uint64_t magnitude = negativo
                                        ? std::uint64_t(0) - static_cast<std::uint64_t>(fContagem)
                                        : static_cast<std::uint64_t>(fContagem);
    return QStringLiteral("%1%2.%3")
        .arg(negativo ? QStringLiteral("-") : QString())
        .arg(magnitude / Escala)
        .arg(magnitude % Escala, 4, 10, QLatin1Char('0'));
}

std::optional<Moeda> Moeda::deTextoDecimal(QStringView texto) {
    const bool negativo = texto.startsWith(u'-');
    if (negativo)
        texto = texto.mid(1);
    const qsizetype ponto = texto.size() - 5;
    if (ponto < 1 || texto[ponto] != u'.')
        return std::nullopt;
    // The magnitude of the smallest count is one past the largest: count in unsigned.
    std::uint64_t magnitude = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (i == ponto)
            continue;
        const char16_t c = texto[i].unicode();
        if (c < u'0' || c > u'9' ||
            __builtin_mul_overflow(magnitude, std::uint64_t(10), &magnitude) ||
            __builtin_add_overflow(magnitude, std::uint64_t(c - u'0'), &magnitude))
            return std::nullopt;
    }
    constexpr std::uint64_t limite = std::uint64_t(std::numeric_limits<std::int64_t>::max());
    if (magnitude > limite + (negativo ? 1 : 0))
        return std::nullopt;
    return Moeda(negativo ? static_cast<std::int64_t>(std::uint64_t(0) - magnitude)
                          : static_cast<std::int64_t>(magnitude));
}
