#pragma once

// The partial payments of a statement's debts, read from a spreadsheet (.csv, .xlsx or
// .ods, the first sheet): a header row naming the columns referencia, data and valor, in any
// order, accents and case ignored; below it one payment a row, the reference naming the
// debt it was made for. Rows it cannot read, and payments whose reference names no debt or
// more than one, are refused with their row number and reason.

#include "demonstrativo/LeituraDebitos.h"

#include <QList>
#include <QString>

#include <optional>

struct PagamentoLido {
    qint64 Linha = 0;
    QString Referencia; // "MM/AAAA"
    PagamentoParcial Pagamento;
};

struct PagamentosLidos {
    QList<PagamentoLido> Pagamentos;
    QList<LinhaRecusada> Recusadas;
};

// Throws as leDebitos does, naming the file.
PagamentosLidos lePagamentos(const QString& caminho);
// The payments of the second sheet of an .xlsx or .ods workbook whose first sheet holds the
// debts (as the statement's own export writes them); nothing for a CSV, a workbook of one
// sheet, or a second sheet without the payments' header.
std::optional<PagamentosLidos> lePagamentosDaSegundaFolha(const QString& caminho);

// Gives each debt the payments whose reference is its own; a payment whose reference names
// no debt, or more than one, is refused (in the payments' Recusadas).
void juntaPagamentos(QList<Debito>& debitos, PagamentosLidos& pagamentos);
