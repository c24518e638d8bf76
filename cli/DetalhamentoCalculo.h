#pragma once

// How a calculation came about, for the user to check it: the penalty rule set and tier
// that applied, the months whose Selic rates were added with each rate, and the 1 % of
// the payment month. Read after a calculation that succeeded, so every month is present.

#include "Datas.h"

#include <QList>
#include <QString>

class TBQDataModule;

struct MesSelic {
    DataHora Mes;
    double Valor; // percent, as the table holds it
};

struct DetalhamentoCalculo {
    QString RegraMulta; // "novas" or "antigas", with the cut-over date
    QString FaixaMulta;
    QList<MesSelic> MesesSelic;
    bool JurosMesPagamento = false;
    DataHora MesPagamento = 0;
};

DetalhamentoCalculo detalhaCalculo(TBQDataModule& dados, DataHora vencimento, DataHora pagamento);
