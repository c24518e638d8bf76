#pragma once

// The debts of a statement read from a spreadsheet: a .csv file (the batch's reader, with
// its encodings and amount forms), or the first sheet of an .xlsx or .ods file. A header row
// names the columns referencia, vencimento and valor, and optionally descricao, in any
// order, accents and case ignored ("Referência", "VALOR"; "Valor do ICMS" names the amount
// too, as the statement's own export calls it); rows above it are passed over (a title, the
// taxpayer). Below it every row that holds anything is a debt or is refused with its
// number, as the spreadsheet program shows it, and the reason; a row whose reference reads
// "Total" or "Totais" is the table's totals row and is passed over.
//
// Amounts and dates are taken as number and date cells or as text in the forms a Brazilian
// spreadsheet writes ("1.000,00", "R$ 1.000,00", "10/01/2020", "2020-01-10"); the reference
// month as a date cell or the text "MM/AAAA". Only what the cells hold is read here: the
// calculation's own checks (a due date on a Saturday, a month without its rate) are the
// statement's, debt by debt.

#include "demonstrativo/Demonstrativo.h"
#include "demonstrativo/LinhasRecusadas.h"
#include "planilhas/CelulaPlanilha.h"

#include <QList>
#include <QString>

class QIODevice;

struct DebitosLidos {
    QList<Debito> Debitos;
    QList<qint64> Linhas; // the row each debt was read from, in the order of Debitos
    QList<LinhaRecusada> Recusadas;
    bool Windows1252 = false; // a CSV that is not UTF-8, read as Windows-1252
};

// By the file's extension: .csv, .xlsx or .ods, without regard to case. Throws ErroBelqor
// for any other extension and for a file without the header row; ErroEntradaSaida when the
// file cannot be read; ErroPlanilha when a spreadsheet is damaged, protected by a password,
// not a spreadsheet or too large. Every message names the file.
DebitosLidos leDebitos(const QString& caminho);
// A CSV from a device already open (standard input); nome words it in the messages
// ("entrada padrão").
DebitosLidos leDebitosCsv(QIODevice& origem, const QString& nome);
// The rows of the spreadsheet `nome` (its file name) that were refused, in one message.
QString textoRecusadas(const QString& nome, const QList<LinhaRecusada>& recusadas);

// A CSV text already in memory.
DebitosLidos leDebitosCsv(const QString& texto, const QString& nome);
// The rows of a sheet already read (lePrimeiraFolha).
DebitosLidos leDebitosDasLinhas(const QList<LinhaPlanilha>& linhas, const QString& nome);
