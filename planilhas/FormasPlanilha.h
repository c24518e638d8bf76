#pragma once

// Amounts and dates as a Brazilian spreadsheet writes them, brought to the forms the
// calculation window takes: "R$ 1.000,00", "1.000", "1000" and "12,5" become "1000,00",
// "1000,00", "1000,00" and "12,50"; "2020-01-10" becomes "10/01/2020". Any other text is
// given back as it was, so the window's checks refuse it with their own message (more
// than two decimals, letters, a misplaced dot).

#include <QString>

QString valorDaPlanilha(const QString& texto);
// A number cell as a spreadsheet shows it, to 15 significant digits, which drops the binary
// noise of a sum (0,1 + 0,2 is 0,3), with a decimal comma and no grouping: "1234,5", "-2",
// "0,3". valorDaPlanilha then gives it the two decimals the window takes.
QString numeroDaPlanilha(double numero);
QString dataDaPlanilha(const QString& texto);
