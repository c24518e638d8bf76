#pragma once

#include "valores/Estendido.h"

#include <QString>

#include <compare>
#include <cstdint>
#include <optional>

// A currency amount: a signed 64-bit count of ten-thousandths (four decimal places,
// range about ±922 trillion).
//
// Contract:
// - No implicit conversion from floating point. deEstendido() takes a value already
//   expressed in ten-thousandths and rounds it to the nearest count, ties to even.
// - arredondadoCentavos() rounds to two decimals with halves away from zero.
// - Every operation that would leave the range throws ErroEstouroMoeda; nothing wraps.
class Moeda {
public:
    static constexpr std::int64_t Escala = 10000;

    constexpr Moeda() = default;
    static constexpr Moeda deContagem(std::int64_t contagem) { return Moeda(contagem); }
    // Whole currency units (1000 gives 1.000,0000); throws when out of range.
    static Moeda deUnidades(std::int64_t unidades);
    // contagem is in ten-thousandths; rounded to nearest, ties to even.
    static Moeda deEstendido(Estendido contagem);
    // contagem is in ten-thousandths; rounded straight to whole cents, halves away from
    // zero, without passing through a rounded count first.
    static Moeda centavosDeEstendido(Estendido contagem);

    constexpr std::int64_t contagem() const { return fContagem; }
    // The count, exactly, as an extended value (every 64-bit integer fits its significand).
    Estendido contagemEstendida() const { return static_cast<Estendido>(fContagem); }

    Moeda arredondadoCentavos() const;

    Moeda operator+(Moeda outra) const;
    Moeda operator-(Moeda outra) const;
    Moeda operator-() const;
    constexpr auto operator<=>(const Moeda&) const = default;

    // Plain decimal text with four places and a point ("-12.3450"), for files and messages.
    QString textoDecimal() const;
    // Reads back exactly what textoDecimal writes: an optional "-", digits, a point and four
    // digits. Nothing for any other text or a count outside the range.
    static std::optional<Moeda> deTextoDecimal(QStringView texto);

private:
    constexpr explicit Moeda(std::int64_t contagem) : fContagem(contagem) {}
    std::int64_t fContagem = 0;
};
