#pragma once

#include "valores/Datas.h"

#include <optional>

class SessaoCli;

// tabela [--desde MM/AAAA]: the months the table holds, in date order, with their rates,
// and the months missing between the first and the last one listed; with desde (a month's
// first day), from that month on.
int comandoTabela(SessaoCli& sessao, std::optional<DataHora> desde);
