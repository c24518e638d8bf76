#pragma once

// How the rate table's messages write a rate; the reports of the imports write it the
// same way. A month is written by Formato::mesAno.

#include <QString>

// A rate in percent with a decimal comma and only the digits it needs: 1,28.
QString textoTaxa(double taxa);
