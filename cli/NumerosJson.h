#pragma once

// Numbers a program reads without knowing the Brazilian format: an amount exactly, from
// its count, with a point ("1138.26"); a rate in percent with its six shown decimals
// ("1.630000").

#include "valores/Moeda.h"

#include <QString>

QString decimalComPonto(Moeda valor);
QString percentualComPonto(Estendido taxa);
