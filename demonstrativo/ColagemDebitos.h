#pragma once

// Debts pasted from a spreadsheet: the cells it puts on the clipboard, columns separated by
// tabs and rows by line breaks (a cell holding either comes in double quotes, quotes
// doubled). The columns are referência, vencimento, valor and, when there, descrição, in
// that order; or a first row names them, in any order, accents and case ignored. Amounts
// and dates come as the spreadsheet writes them ("R$ 1.000,00", "2020-01-10") or as the
// window takes them; a reference month as "MM/AAAA", "M/AAAA", "AAAA-MM" or a date in it.

#include "demonstrativo/Demonstrativo.h"
#include "demonstrativo/LinhasRecusadas.h"

#include <QList>
#include <QString>

struct DebitosColados {
    QList<Debito> Debitos;
    // Rows that give no debt (too few columns, a due date that is no date), numbered in the
    // pasted text from 1, the header counted.
    QList<LinhaRecusada> NaoLidas;
};

DebitosColados leDebitosColados(const QString& texto);

// The reference month as the statement keeps it, "MM/AAAA", from the forms spreadsheets
// give it; any other text as it was, for the reference's check to refuse.
QString referenciaDaPlanilha(const QString& texto);

// The rows of text that could not be read, one line each, for a single message.
QString textoNaoLidas(const QList<LinhaRecusada>& naoLidas);
