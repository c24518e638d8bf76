#pragma once

// Every row of a spreadsheet file, whatever its kind, one at a time: a CSV record by record
// (each record one row, numbered as a spreadsheet program numbers it when it opens the
// file, empty ones included; its cells as texts), or the rows of an .xlsx or .ods file's
// first sheet. For the readers of a statement's debts and of its partial payments.

#include "planilhas/CelulaPlanilha.h"

#include <QString>

#include <functional>

class LeitorCsv;

// A row and, when it cannot be read at all (a quote never closed), why; empty otherwise.
using VisitaLinha = std::function<void(const LinhaPlanilha& linha, const QString& falha)>;

// The rows of a CSV being read.
void percorreCsv(LeitorCsv& leitor, const VisitaLinha& visita);

// The rows of the file chosen by its extension, .csv, .xlsx or .ods. Gives whether a CSV was
// read as Windows-1252. Throws ErroBelqor for any other extension, ErroEntradaSaida when the
// file cannot be read, ErroPlanilha when it is refused; every message names the file.
bool percorrePlanilha(const QString& caminho, const VisitaLinha& visita);
