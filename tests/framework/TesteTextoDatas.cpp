#include "framework/NURFWUtils.h"

#include "valores/Erros.h"

#include <QTest>

class TesteTextoDatas : public QObject {
    Q_OBJECT

private slots:
    void preenche_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("caractere");
        QTest::addColumn<int>("tamanho");
        QTest::addColumn<QString>("esquerda");
        QTest::addColumn<QString>("direita");
        QTest::newRow("zeros à esquerda") << "42"
                                          << "0" << 5 << "00042"
                                          << "42000";
        QTest::newRow("corta o mais longo") << "ABCDEF"
                                            << "*" << 3 << "ABC"
                                            << "ABC";
        QTest::newRow("já no tamanho") << "ABC"
                                       << "*" << 3 << "ABC"
                                       << "ABC";
        QTest::newRow("tamanho zero") << "ABC"
                                      << "*" << 0 << ""
                                      << "";
        QTest::newRow("tamanho negativo") << "ABC"
                                          << "*" << -2 << ""
                                          << "";
        QTest::newRow("vazio com negativo") << ""
                                            << "*" << -1 << ""
                                            << "";
        QTest::newRow("vazio preenchido") << ""
                                          << "-" << 3 << "---"
                                          << "---";
        QTest::newRow("enchimento de dois passa do tamanho") << "A"
                                                             << "xy" << 3 << "xyxyA"
                                                             << "Axyxy";
        QTest::newRow("enchimento vazio não muda") << "A"
                                                   << "" << 4 << "A"
                                                   << "A";
    }
    void preenche() {
        QFETCH(QString, texto);
        QFETCH(QString, caractere);
        QFETCH(int, tamanho);
        QFETCH(QString, esquerda);
        QFETCH(QString, direita);
        QCOMPARE(TNURUtils::PreencheEsquerda(texto, caractere, tamanho), esquerda);
        QCOMPARE(TNURUtils::PreencheDireita(texto, caractere, tamanho), direita);
    }

    void removeCaracterEspecial_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("frase") << "Ação & <São João>"
                               << "Acao e (Sao Joao)";
        QTest::newRow("maiúsculas") << "ÀÁÂÃÄÅ Ç ÈÉÊË ÌÍÎÏ Ñ ÒÓÔÕÖ ÙÚÛÜ Ý"
                                    << "AAAAAA C EEEE IIII N OOOOO UUUU Y";
        QTest::newRow("minúsculas") << "àáâãäå ç èéêë ìíîï ñ òóôõö ùúûü ýÿ"
                                    << "aaaaaa c eeee iiii n ooooo uuuu yy";
        QTest::newRow("fora da tabela fica") << "ÆÐØÞßæðøþ×÷Ÿ€ aZ09"
                                             << "ÆÐØÞßæðøþ×÷Ÿ€ aZ09";
        QTest::newRow("vazio") << ""
                               << "";
    }
    void removeCaracterEspecial() {
        QFETCH(QString, texto);
        QFETCH(QString, esperado);
        const QString resultado = TNURUtils::RemoveCaracterEspecial(texto);
        QCOMPARE(resultado, esperado);
        QCOMPARE(resultado.size(), texto.size());
    }

    void ultimoDiaMes_data() {
        QTest::addColumn<int>("mes");
        QTest::addColumn<int>("ano");
        QTest::addColumn<int>("dia");
        QTest::newRow("fevereiro bissexto") << 2 << 2012 << 29;
        QTest::newRow("fevereiro comum") << 2 << 2013 << 28;
        QTest::newRow("fevereiro de 1900") << 2 << 1900 << 28;
        QTest::newRow("fevereiro de 2000") << 2 << 2000 << 29;
        QTest::newRow("dezembro") << 12 << 2013 << 31;
        QTest::newRow("dezembro de 9999") << 12 << 9999 << 31;
        QTest::newRow("abril") << 4 << 2024 << 30;
        QTest::newRow("janeiro do ano 1") << 1 << 1 << 31;
    }
    void ultimoDiaMes() {
        QFETCH(int, mes);
        QFETCH(int, ano);
        QFETCH(int, dia);
        QCOMPARE(TNURUtils::UltimoDiaMes(mes, ano), dia);
    }

    void ultimoDiaMesForaDoIntervalo_data() {
        QTest::addColumn<int>("mes");
        QTest::addColumn<int>("ano");
        QTest::newRow("mês 0") << 0 << 2013;
        QTest::newRow("mês 13") << 13 << 2013;
        QTest::newRow("ano 0") << 1 << 0;
        QTest::newRow("ano 10000") << 1 << 10000;
    }
    void ultimoDiaMesForaDoIntervalo() {
        QFETCH(int, mes);
        QFETCH(int, ano);
        QVERIFY_THROWS_EXCEPTION(ErroConversao, TNURUtils::UltimoDiaMes(mes, ano));
    }
};

QTEST_GUILESS_MAIN(TesteTextoDatas)
#include "TesteTextoDatas.moc"
