#pragma once

// Amounts and dates as a Brazilian spreadsheet writes them, brought to the forms the
// calculation window takes: "R$ 1.000,00", "1.000", "1000" and "12,5" become "1000,00",
// "1000,00", "1000,00" and "12,50"; "2020-01-10" becomes "10/01/2020". Any other text is
// given back as it was, so the window's checks refuse it with their own message (more
// than two decimals, letters, a misplaced dot).

#include <QString>

QString valorDaPlanilha(const QString& texto);
QString dataDaPlanilha(const QString& texto);
