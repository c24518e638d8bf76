#pragma once

// The command-line companion: the calculation one at a time or in batches, the rate
// import from a document file and the listing of the rate table, on the same domain
// libraries, rules and messages as the windows. Where a window shows a message box, the
// command line prints the same text to standard error and ends with a non-zero status.

#include <QStringList>
#include <QTextStream>

// Runs one command line (without the program name); gives the exit status. A write to
// `saida` or `erro` that failed makes it 1 at least; the failure of `saida` is said on `erro`.
int executaCli(const QStringList& argumentos, QTextStream& saida, QTextStream& erro);

QString textoAjuda();
