#include "planilhas/FormasPlanilha.h"

#include <QTest>

class TesteFormasPlanilha : public QObject {
    Q_OBJECT

private slots:
    void valor_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("moeda com milhar") << "R$ 1.000,00"
                                          << "1000,00";
        QTest::newRow("moeda com espaço inseparável") << "R$\u00A01.234.567,8"
                                                      << "1234567,80";
        QTest::newRow("moeda sem espaço") << "R$12,5"
                                          << "12,50";
        QTest::newRow("milhar sem decimais") << "1.000"
                                             << "1000,00";
        QTest::newRow("inteiro") << "1000"
                                 << "1000,00";
        QTest::newRow("uma decimal") << "12,5"
                                     << "12,50";
        QTest::newRow("já na forma da janela") << "1000,00"
                                               << "1000,00";
        QTest::newRow("brancos em volta") << " 1000,00 "
                                          << "1000,00";
        // What the window refuses comes back as it was, for the window's own message.
        QTest::newRow("três decimais") << "1,234"
                                       << "1,234";
        QTest::newRow("vírgula sem decimais") << "12,"
                                              << "12,";
        QTest::newRow("ponto decimal") << "1.00"
                                       << "1.00";
        QTest::newRow("grupo curto") << "1.00.000"
                                     << "1.00.000";
        QTest::newRow("negativo") << "-5"
                                  << "-5";
        QTest::newRow("letras") << "mil"
                                << "mil";
        QTest::newRow("vazio") << ""
                               << "";
    }
    void valor() {
        QFETCH(QString, texto);
        QFETCH(QString, esperado);
        QCOMPARE(valorDaPlanilha(texto), esperado);
    }

    // A number cell as the spreadsheet shows it, then in the window's form.
    void numero_data() {
        QTest::addColumn<double>("numero");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("valor");
        QTest::newRow("inteiro") << 1000.0 << "1000"
                                 << "1000,00";
        QTest::newRow("uma decimal") << 2500.5 << "2500,5"
                                     << "2500,50";
        QTest::newRow("centavos") << 1234.56 << "1234,56"
                                  << "1234,56";
        // The binary sum is 0,30000000000000004: the cell shows 0,3.
        QTest::newRow("ruído de uma soma") << 0.1 + 0.2 << "0,3"
                                           << "0,30";
        QTest::newRow("grande") << 123456789012.34 << "123456789012,34"
                                << "123456789012,34";
        QTest::newRow("pequeno") << 0.01 << "0,01"
                                 << "0,01";
        QTest::newRow("zero negativo") << -0.0 << "0"
                                       << "0,00";
        // What the window refuses keeps what makes it refuse.
        QTest::newRow("três decimais") << 12.345 << "12,345"
                                       << "12,345";
        QTest::newRow("negativo") << -5.0 << "-5"
                                  << "-5";
    }
    void numero() {
        QFETCH(double, numero);
        QFETCH(QString, texto);
        QFETCH(QString, valor);
        QCOMPARE(numeroDaPlanilha(numero), texto);
        QCOMPARE(valorDaPlanilha(numeroDaPlanilha(numero)), valor);
    }

    void dataPlanilha_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("ISO") << "2020-01-10"
                             << "10/01/2020";
        QTest::newRow("ISO com brancos") << " 2020-01-10 "
                                         << "10/01/2020";
        QTest::newRow("já na forma da janela") << "10/01/2020"
                                               << "10/01/2020";
        QTest::newRow("mês sem zero") << "2020-1-10"
                                      << "2020-1-10";
        QTest::newRow("com hora") << "2020-01-10T00:00"
                                  << "2020-01-10T00:00";
        // Only the form changes; the window says what is wrong with the date.
        QTest::newRow("dia impossível") << "2020-02-31"
                                        << "31/02/2020";
    }
    void dataPlanilha() {
        QFETCH(QString, texto);
        QFETCH(QString, esperado);
        QCOMPARE(dataDaPlanilha(texto), esperado);
    }
};

QTEST_GUILESS_MAIN(TesteFormasPlanilha)
#include "TesteFormasPlanilha.moc"
