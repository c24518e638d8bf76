#pragma once

// The first table of an OpenDocument spreadsheet (.ods): its content.xml, after the
// manifest has been checked for encryption. Repeated rows and cells (number-rows-repeated,
// number-columns-repeated) are counted rather than copied where they are empty, so the
// empty rows a program writes up to the end of the sheet cost nothing.

#include "planilhas/CelulaPlanilha.h"

#include <QList>

class PacoteZip;

#include <optional>

// The table at indice (0 the first); nothing when there is none so far along. A
// spreadsheet without any table is refused.
std::optional<QList<LinhaPlanilha>> leFolhaOds(PacoteZip& pacote, int indice);
