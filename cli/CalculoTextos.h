#pragma once

// The calculation from the texts a user types: the amount as in the value field
// ("1000,00"), the dates as dd/mm/yyyy. The same checks in the same order as the
// calculation window, then the same computation; every failure is shown through the data
// module's dialogs with the window's text, and no result is given. A sign before the
// amount, which the window's field never takes, is refused with the amount's message.

#include "Calculo.h"

#include <QString>

#include <optional>

class TBQDataModule;

std::optional<ResultadoCalculo> calculaDeTextos(TBQDataModule& dados, QString valor,
                                                const QString& vencimento,
                                                const QString& pagamento);

// The six results as the window shows them.
struct ResultadoFormatado {
    QString Dias, Taxa, Valor, Multa, Juros, Total;
};
ResultadoFormatado formataResultado(const ResultadoCalculo& r);
QString formataReais(Moeda valor);
// The days as "0" formats them; a whole number of days has no fraction to round.
QString formataDias(std::int64_t dias);
// The interest rate as a percentage, without the unit: 1,630000.
QString formataTaxa(Estendido taxa);
// A rate in percent as the table window shows it: 0,290000.
QString formataPercentual(Estendido percentual);
