#pragma once

// The months the rate table holds, read without moving its current row, for the series
// import and the main window's status bar.

#include "valores/Datas.h"

#include <QMap>

#include <cstdint>
#include <optional>

class TBQDataModule;

// Each stored month's whole-day date with its rate; a new row not yet stored is left out.
// The table must be open; a filter is switched off first.
QMap<std::int64_t, double> taxasDaTabela(TBQDataModule& dados);

// The latest month held; nothing for an empty table.
std::optional<DataHora> ultimoMesDaTabela(TBQDataModule& dados);

struct MesesFaltantes {
    DataHora De = 0;
    DataHora Ate = 0;
};

// The months after the latest one held up to the last month already over on `hoje`;
// nothing when none is missing or the table is empty.
std::optional<MesesFaltantes> mesesFaltantes(TBQDataModule& dados, DataHora hoje);
