#pragma once

// What a spreadsheet's cells hold, read for the statement: a column's name compared without
// accents or case, the reference month, an amount in the window's form, a date, a
// description, and a cell quoted in a reason. Shared by the readers of debts and of partial
// payments.

#include "planilhas/CelulaPlanilha.h"

#include <QString>

#include <optional>

// "Referência " and "REFERENCIA" alike: "referencia".
QString semAcentos(const QString& texto);
// A cell's content as a reason quotes it: on one line and short.
QString citacao(const CelulaPlanilha& celula);
// "01/2020" or "1/2020", as the month "01/2020".
std::optional<QString> mesAnoDoTexto(const QString& texto);
// The reference month of a date cell or of a text "MM/AAAA".
std::optional<QString> mesAnoDaCelula(const CelulaPlanilha& celula);
// The amount in the window's form, "1000,00" or ",50"; nothing for anything else.
std::optional<QString> valorDaCelula(const CelulaPlanilha& celula);
std::optional<DataHora> dataDaCelula(const CelulaPlanilha& celula);
QString descricaoDaCelula(const CelulaPlanilha& celula);
// Nothing, or blanks only.
bool semConteudo(const CelulaPlanilha& celula);
