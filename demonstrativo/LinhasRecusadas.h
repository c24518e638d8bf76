#pragma once

// Rows that gave no debt (pasted from a spreadsheet, or in a spreadsheet file) and why, told
// in one message: a first line, then one line per row with its number and reason. A long
// list is cut after the first rows, with how many more there were, so the message stays
// on one screen however many rows a file refused.

#include <QList>
#include <QString>

struct LinhaRecusada {
    qint64 Linha = 0; // as the spreadsheet program numbers it, from 1
    QString Motivo;
};

// The rows the message lists one by one; the rest are counted.
inline constexpr qsizetype MaximoLinhasNaMensagem = 20;

// The message, `abertura` its first line.
QString textoLinhasRecusadas(const QString& abertura, const QList<LinhaRecusada>& linhas);
