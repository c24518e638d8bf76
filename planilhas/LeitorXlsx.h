#pragma once

// The first sheet of an .xlsx workbook: the package's relationships lead to the workbook,
// the workbook to its first sheet; the shared texts and the cells' number formats (which
// alone tell a date from a number) come from the members the workbook names.

#include "planilhas/CelulaPlanilha.h"

#include <QList>

class PacoteZip;

QList<LinhaPlanilha> lePrimeiraFolhaXlsx(PacoteZip& pacote);
