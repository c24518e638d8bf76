#pragma once

// What the statement's grids (the debts, a debt's payments) share about a cell, on Qt Core
// alone: how an amount or a date typed into it is read and shown, and the roles through
// which a model tells its grid how to edit and size each column, so one grid and one set
// of cell editors serve both.

#include "valores/Datas.h"

#include <QString>
#include <QVariant>

#include <optional>

// The editor a cell takes.
enum class EditorCelula {
    Nenhum, // not typed into
    Mes,    // MM/AAAA
    Data,   // a date editor
    Valor,  // an amount, with the calculation window's keystroke filter
    Texto,  // free text
};

enum PapelCelula {
    // EditorCelula, as an int, for a cell.
    PapelEditor = Qt::UserRole + 1,
    // The QDate an empty date cell's editor starts at.
    PapelDataInicial,
    // For a column's header: the most characters its cells show, as an int; 0 leaves the
    // column as wide as the grid makes it.
    PapelLargura,
    // For a text cell: the most characters it takes, as an int; 0 for no bound.
    PapelTamanhoMaximo,
};

// The amount as the results show it, grouped, once it passes the amount's check; as typed
// until then, so the text a message speaks of stays on screen.
QString valorExibido(const QString& digitado);

// The date a grid puts into a cell: a QDate (a null one is none) or a text in the regional
// form (an empty one is none); Datas::Vazia for none, nothing for a text that is no date.
std::optional<DataHora> dataDaCelula(const QVariant& valor);

// A date as its cell shows it: "10/01/2020", or empty for none; as its editor takes it: a
// QDate, null for none.
QString dataExibida(DataHora data);
QDate dataEditada(DataHora data);
