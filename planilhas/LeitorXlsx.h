#pragma once

// The first sheet of an .xlsx workbook: the package's relationships lead to the workbook,
// the workbook to its first sheet; the shared texts and the cells' number formats (which
// alone tell a date from a number) come from the members the workbook names.

#include "planilhas/CelulaPlanilha.h"

#include <QList>

class PacoteZip;

#include <optional>

// The sheet at indice (0 the first) in the workbook's order; nothing when there is none so
// far along. A workbook without a first sheet is refused.
std::optional<QList<LinhaPlanilha>> leFolhaXlsx(PacoteZip& pacote, int indice);
