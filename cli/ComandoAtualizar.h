#pragma once

#include "refresh/ResultadoSerie.h"

#include <QString>
#include <QStringList>

class SessaoCli;

// atualizar [--url ENDEREÇO]: the update from the central bank's series, from the month
// after the last one held up to today; ENDEREÇO replaces the series' address up to
// "/dados" (the query is added by the program). The trusted certificate authorities come
// from the system, or from the file named by BELQOR_CERTIFICADOS.
int comandoAtualizar(SessaoCli& sessao, const QStringList& argumentos, const QString& url);

// Closes the table (writing its file when a month was added) and prints the month-by-month
// outcome, the failure to standard error. 0 when the reading went through and no month
// was found with another rate or refused.
int informaResultadoSerie(SessaoCli& sessao, const ResultadoSerie& resultado);
