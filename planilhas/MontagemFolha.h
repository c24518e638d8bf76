#pragma once

// The rows of a sheet gathered as a reader walks its XML, under the bounds every reader of
// an outside file keeps: a file of a few kilobytes may claim a million rows, or a cell
// repeated across every column of them (.ods counts repeated rows and cells instead of
// writing them). Empty cells at the end of a row and empty rows are only counted, never
// stored, so a repeated empty row costs nothing whatever its count; what is stored stops at
// MaximoCelulas.

#include "planilhas/CelulaPlanilha.h"

#include <QList>
#include <QString>

class MontagemFolha {
public:
    // The rows and columns a sheet of the spreadsheet programs holds.
    static constexpr qint64 MaximoLinhas = 1 << 20;
    static constexpr qint64 MaximoColunas = 1 << 14;
    // Stored cells, the empty ones between others included: ten columns of 100 000 rows.
    static constexpr qint64 MaximoCelulas = 1 << 20;

    // nome words the file in the messages.
    explicit MontagemFolha(QString nome);

    // The cell at column coluna (from 0) of the row being built, repeated vezes times to its
    // right. Columns may be skipped; a column already given is given again.
    void celula(qint64 coluna, const CelulaPlanilha& celula, qint64 vezes = 1);
    // The row being built is row numero (from 1), repeated vezes times downward; the next
    // row starts empty. Rows that hold anything come in increasing order: any other order
    // damages the file.
    void fimDaLinha(qint64 numero, qint64 vezes = 1);

    // The rows that hold anything.
    QList<LinhaPlanilha> conclui();

private:
    QString fNome;
    QList<CelulaPlanilha> fCelulas; // the row being built
    QList<LinhaPlanilha> fLinhas;
    qint64 fCelulasGuardadas = 0;
};
