#pragma once

// The cells of a spreadsheet's sheet as the readers of .xlsx and .ods give them: each one
// typed as the file stores it, a number, a date, a text or nothing, never as the program
// that saved it happened to show it.

#include "valores/Datas.h"

#include <QList>
#include <QString>

struct CelulaPlanilha {
    enum class Tipo { Vazia, Numero, Data, Texto };

    Tipo tipo = Tipo::Vazia;
    // Numero: the value. Data: the date value, days since 30/12/1899 with the time of day
    // as the fraction (the serial number spreadsheets count dates in).
    double numero = 0;
    QString texto; // Texto

    static CelulaPlanilha deNumero(double valor) { return {Tipo::Numero, valor, {}}; }
    static CelulaPlanilha deData(DataHora valor) { return {Tipo::Data, valor, {}}; }
    // An empty text is an empty cell.
    static CelulaPlanilha deTexto(QString texto) {
        if (texto.isEmpty())
            return {};
        return {Tipo::Texto, 0, std::move(texto)};
    }
    bool vazia() const { return tipo == Tipo::Vazia; }
};

// A row that holds anything: its number as the spreadsheet program shows it (from 1), and
// its cells from column A up to the last one that is not empty.
struct LinhaPlanilha {
    qint64 numero = 0;
    QList<CelulaPlanilha> celulas;
};
