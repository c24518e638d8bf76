#pragma once

// The calculation from the texts a user types: the amount as in the value field
// ("1000,00"), the dates as dd/mm/yyyy. The same checks in the same order as the
// calculation window, then the same computation; every failure is shown through the data
// module's dialogs with the window's text, and no result is given. A sign before the
// amount, which the window's field never takes, is refused with the amount's message.

#include "Calculo.h"
#include "FormataResultado.h"

#include <QString>

#include <optional>

class TBQDataModule;

// With memoria, a success also gives there the account of the calculation.
std::optional<ResultadoCalculo> calculaDeTextos(TBQDataModule& dados, QString valor,
                                                const QString& vencimento, const QString& pagamento,
                                                MemoriaCalculo* memoria = nullptr);
