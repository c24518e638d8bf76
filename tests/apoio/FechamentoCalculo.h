#pragma once

// The rows of the tests that close the calculation window from outside (the window
// manager's close, Alt+F4): the amount typed, whether the window closes, and the messages
// the amount's check shows.

#include <QStringList>
#include <QTest>

inline void linhasDoFechamentoComValor() {
    QTest::addColumn<QString>("valor");
    QTest::addColumn<bool>("fecha");
    QTest::addColumn<QStringList>("mensagens");
    QTest::newRow("valor sem casas")
        << "12" << false
        << QStringList{QStringLiteral("Valor inválido! Digite o valor com as duas "
                                      "casas decimais.")};
    QTest::newRow("valor completo") << "12,50" << true << QStringList{};
}
