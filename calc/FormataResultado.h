#pragma once

// The results as the calculation window shows them, in the regional number format: days
// without grouping, the rate with six decimals and " %", amounts with two decimals and
// thousands grouped. The window, the printed record and the command line share them.

#include "calc/Calculo.h"
#include "valores/Formatacao.h"

#include <QString>

#include <cstdint>

struct ResultadoFormatado {
    QString Dias, Taxa, Valor, Multa, Juros, Total;

    friend bool operator==(const ResultadoFormatado&, const ResultadoFormatado&) = default;
};
ResultadoFormatado formataResultado(const ResultadoCalculo& r);
// 1.000,00
QString formataReais(Moeda valor);
// The same into espaco, without allocating.
QStringView formataReais(Moeda valor, Formato::EspacoMoeda& espaco);
// 91: "0" on a whole number of days, which has no fraction to round.
QString formataDias(std::int64_t dias);
// A rate in percent as the table window shows it: 0,290000.
QString formataPercentual(Estendido percentual);
// The same followed by " %", as the rate label shows it: 0,290000 %.
QString formataTaxa(Estendido percentual);
