#pragma once

// How the rate table's messages name a month and a rate; the reports of the imports and
// the main window's status bar name them the same way.

#include "valores/Datas.h"

#include <QString>

// "MM/AAAA".
QString textoMesAno(DataHora mes);

// A rate in percent with a decimal comma and only the digits it needs: 1,28.
QString textoTaxa(double taxa);
