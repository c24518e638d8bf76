#pragma once

// The calculation from the texts a user gives the command line, on its own line or in a
// batch's row: the amount and the dates as a spreadsheet writes them ("R$ 1.000,00",
// "1.000", "12,5"; "2020-01-10"), brought to the window's forms (FormasPlanilha), or as
// the window takes them ("1000,00", dd/mm/yyyy). Then the same checks in the same order as
// the calculation window, and the same computation; every failure is shown through the
// data module's dialogs with the window's text, and no result is given. A sign before the
// amount, which the window's field never takes, is refused with the amount's message.

#include "calc/Calculo.h"
#include "calc/FormataResultado.h"

#include <QString>

#include <optional>

class TBQDataModule;

// With memoria, a success also gives there the account of the calculation.
std::optional<ResultadoCalculo> calculaDeTextos(TBQDataModule& dados, const QString& valor,
                                                const QString& vencimento, const QString& pagamento,
                                                MemoriaCalculo* memoria = nullptr);
