#pragma once

#include <QStringList>

class SessaoCli;

// importar ARQUIVO: the central bank's series saved from its site (CSV or JSON), or a rate
// document (XML, told apart by content) through the rate import of the start-up refresh,
// every month through the table's insertion and its rules, as the main window's import
// does; the same month-by-month outcome (see informaResultadoSerie). A failed walk of a
// rate document is logged as at start-up. The table file is written when a month was
// added.
int comandoImportar(SessaoCli& sessao, const QStringList& argumentos);
