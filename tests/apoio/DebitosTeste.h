#pragma once

// Debts for the tests of the statement of debts.

#include "demonstrativo/Demonstrativo.h"

// Four debts to be paid on 10/04/2020: three that are calculated (the first, 1.000,00 due on
// 10/01/2020, totals 1.138,26; the second has a description) and the third, due on a
// Saturday (07/03/2020), refused.
inline QList<Debito> tresCalculadosEUmRecusado() {
    const auto data = [](int ano, int mes, int dia) { return Datas::codificaData(ano, mes, dia); };
    return {
        {QStringLiteral("12/2019"), data(2020, 1, 10), QStringLiteral("1000,00"), {}},
        {QStringLiteral("01/2020"), data(2020, 2, 10), QStringLiteral("2500,50"),
         QStringLiteral("ICMS próprio")},
        {QStringLiteral("02/2020"), data(2020, 3, 7), QStringLiteral("700,00"), {}},
        {QStringLiteral("02/2020"), data(2020, 3, 10), QStringLiteral("333,33"), {}},
    };
}

// Three debts to be paid on 10/06/2020: 1.000,00 due on 10/01/2020 with 500,00 paid on
// 10/03/2020 (that day 1.104,06; split 452,87, 40,76 and 6,37; 547,13 left, whose balance
// totals 625,96); 1.000,00 due on 10/02/2020 settled and overpaid by 2.000,00 on 10/03/2020;
// 300,00 due on 10/03/2020 without payments.
inline QList<Debito> comPagamentosParciais() {
    const auto data = [](int ano, int mes, int dia) { return Datas::codificaData(ano, mes, dia); };
    return {{QStringLiteral("12/2019"),
             data(2020, 1, 10),
             QStringLiteral("1000,00"),
             {},
             {{data(2020, 3, 10), QStringLiteral("500,00")}}},
            {QStringLiteral("01/2020"),
             data(2020, 2, 10),
             QStringLiteral("1000,00"),
             {},
             {{data(2020, 3, 10), QStringLiteral("2000,00")}}},
            {QStringLiteral("02/2020"), data(2020, 3, 10), QStringLiteral("300,00"), {}}};
}
