#pragma once

// The months a newer installed default brings to the user's rate table. That table was
// copied from the default once and is never overwritten, so the months of a later package
// reach it only here: at the desktop's start and before a command-line command writes the
// table. They go through InsereRegistro and its rules like any import.

#include "valores/Relogio.h"
#include "refresh/ResultadoSerie.h"

#include <QStringList>

class TBQDataModule;

// Adds the months the installed default holds and the open table lacks, where the table in
// use has a default of its own (LocaisArquivos::tabelaPadraoPara). A month the table holds
// is never replaced, and one held with another rate is reported with both rates; months
// held with the same rate are left out of the result. Nothing changes, and so nothing is
// written at close, when no month was added. A default that cannot be read is the result's
// failure, naming it; the table stays as it was.
ResultadoSerie incluiMesesDaTabelaPadrao(TBQDataModule& dados, const Relogio& relogio);

// What to tell the user: a heading and the outcome's lines, only when a month was added or
// something failed; nothing otherwise, so a start with nothing new says nothing.
QStringList linhasTabelaPadrao(const ResultadoSerie& resultado);
