#pragma once

#include <QStringList>

class SessaoCli;

// importar DOCUMENTO.xml: the rate import on a rate document from a file, through the
// table's insertion and its rules; the table file is written when a month was added.
// Reports how many months were added, already present, not yet due or refused, with the
// rules' messages; a failed walk is logged as at start-up and reported. 0 when nothing
// was refused and the walk went through.
int comandoImportar(SessaoCli& sessao, const QStringList& argumentos);
