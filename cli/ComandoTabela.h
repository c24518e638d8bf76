#pragma once

#include <QStringList>

class SessaoCli;

// tabela [--desde MM/AAAA]: the months the table holds, in date order, with their rates,
// and the months missing between the first and the last one listed.
int comandoTabela(SessaoCli& sessao, const QString& desde);
