#pragma once

#include <QStringList>

class SessaoCli;

// importar ARQUIVO: the central bank's series saved from its site (CSV or JSON) goes
// through the series import, with its month-by-month outcome (see comandoAtualizar). A
// rate document (XML, told apart by content) goes through the rate import of the start-up
// refresh, through the table's insertion and its rules; the table file is written when a
// month was added. For it, reports how many months were added, already present, not yet
// due or refused, with the rules' messages; a failed walk is logged as at start-up and
// reported. 0 when nothing was refused and the walk went through.
int comandoImportar(SessaoCli& sessao, const QStringList& argumentos);
