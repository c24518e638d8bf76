#include "framework/NURFWUtils.h"

#include "valores/Erros.h"

#include <QTest>

class TesteDocumentos : public QObject {
    Q_OBJECT

private slots:
    void validaCPF_data() {
        QTest::addColumn<QString>("cpf");
        QTest::addColumn<bool>("valido");
        QTest::newRow("primeiro dígito 10 vira 0") << "12345678909" << true;
        QTest::newRow("outro válido") << "52998224725" << true;
        QTest::newRow("décimo dígito trocado") << "12345678919" << false;
        QTest::newRow("último dígito trocado") << "12345678908" << false;
        QTest::newRow("onze uns, dígitos conferem") << "11111111111" << false;
        QTest::newRow("onze zeros") << "00000000000" << false;
        QTest::newRow("com pontuação") << "123.456.789-09" << false;
        QTest::newRow("com letra") << "1234567890X" << false;
        QTest::newRow("dez dígitos") << "1234567890" << false;
        QTest::newRow("doze dígitos") << "123456789091" << false;
        QTest::newRow("vazio") << "" << false;
        QTest::newRow("dígito de outra escrita") << QString::fromUtf8("1234567890٩") << false;
    }
    void validaCPF() {
        QFETCH(QString, cpf);
        QFETCH(bool, valido);
        QCOMPARE(TNURUtils::ValidaCPF(cpf), valido);
    }

    void validaCNPJ_data() {
        QTest::addColumn<QString>("cnpj");
        QTest::addColumn<bool>("valido");
        QTest::newRow("válido") << "11222333000181" << true;
        QTest::newRow("13º errado, 14º confere com os 13") << "11222333000190" << false;
        QTest::newRow("14º errado") << "11222333000182" << false;
        QTest::newRow("quinze caracteres") << "112223330001810" << false;
        QTest::newRow("com letra") << "1122233300018A" << false;
        QTest::newRow("com pontuação") << "11.222.333/0001-81" << false;
        QTest::newRow("quatorze zeros") << "00000000000000" << false;
        QTest::newRow("vazio") << "" << false;
    }
    void validaCNPJ() {
        QFETCH(QString, cnpj);
        QFETCH(bool, valido);
        QCOMPARE(TNURUtils::ValidaCNPJ(cnpj), valido);
    }

    void modulo11_data() {
        QTest::addColumn<QString>("seq");
        QTest::addColumn<int>("ciclo");
        QTest::addColumn<bool>("confere");
        QTest::newRow("só o dígito 0") << "0" << 9 << true;
        QTest::newRow("só o dígito 5") << "5" << 9 << false;
        QTest::newRow("13 primeiros do CNPJ") << "1122233300018" << 9 << true;
        QTest::newRow("CNPJ inteiro") << "11222333000181" << 9 << true;
        // 1x3 + 2x2 = 7, 11 - 7 = 4; with ciclo 2 every weight is 2: 1x2 + 2x2 = 6 → 5.
        QTest::newRow("pesos 2 e 3") << "124" << 9 << true;
        QTest::newRow("ciclo 2, todos os pesos 2") << "125" << 2 << true;
        QTest::newRow("ciclo 0, todos os pesos 2") << "125" << 0 << true;
        QTest::newRow("ciclo 1, todos os pesos 2") << "124" << 1 << false;
        // Weights from the right 2..9 then 2 again: the 9th digit from the right weighs 2.
        QTest::newRow("peso volta a 2 depois de 9") << "1000000009" << 9 << true;
        QTest::newRow("resto 1 dá dígito 0") << "60" << 9 << true;
        QTest::newRow("ciclo 255 sem voltar") << "1000000000000000000000" << 255 << true;
    }
    void modulo11() {
        QFETCH(QString, seq);
        QFETCH(int, ciclo);
        QFETCH(bool, confere);
        QCOMPARE(TNURUtils::Modulo11(seq, std::uint8_t(ciclo)), confere);
    }

    // Past the 8-bit counter of a 256-character limit the walk still covers the whole text.
    void modulo11TextoLongo_data() {
        QTest::addColumn<int>("zeros");
        QTest::newRow("256 caracteres") << 253;
        QTest::newRow("257 caracteres") << 254;
        QTest::newRow("1000 caracteres") << 997;
    }
    void modulo11TextoLongo() {
        QFETCH(int, zeros);
        // "1" + zeros + "2" + check: 2 weighs 2, the leading 1 a known weight.
        const QString corpo = QStringLiteral("1") + QString(zeros, u'0') + QStringLiteral("2");
        const int pesoDoUm = (zeros + 1) % 8 + 2;
        const int r = (4 + pesoDoUm) % 11;
        const int dv = r > 1 ? 11 - r : 0;
        QVERIFY(TNURUtils::Modulo11(corpo + QString::number(dv), 9));
        QVERIFY(!TNURUtils::Modulo11(corpo + QString::number((dv + 1) % 10), 9));
    }

    void modulo11RecusaNaoDigito_data() {
        QTest::addColumn<QString>("seq");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("vazio") << ""
                               << "'' is not a valid integer value";
        QTest::newRow("letra no meio") << "1a2"
                                       << "'a' is not a valid integer value";
        QTest::newRow("letra no fim") << "12x"
                                      << "'x' is not a valid integer value";
    }
    void modulo11RecusaNaoDigito() {
        QFETCH(QString, seq);
        QFETCH(QString, mensagem);
        try {
            TNURUtils::Modulo11(seq, 9);
            QFAIL("aceitou um caractere que não é dígito");
        } catch (const ErroConversao& e) {
            QCOMPARE(e.mensagem(), mensagem);
        }
    }

    void sameChars_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("iguais");
        QTest::newRow("um caractere") << "7" << true;
        QTest::newRow("todos iguais") << "aaaa" << true;
        QTest::newRow("difere no último") << "aaab" << false;
        QTest::newRow("difere no segundo") << "abbb" << false;
    }
    void sameChars() {
        QFETCH(QString, texto);
        QFETCH(bool, iguais);
        QCOMPARE(TNURUtils::SameChars(texto), iguais);
    }

    void getNumbers_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("numeros");
        QTest::newRow("pontuação") << "12.345-6"
                                   << "123456";
        QTest::newRow("CNPJ formatado") << "11.222.333/0001-81"
                                        << "11222333000181";
        QTest::newRow("sem dígitos") << "abc"
                                     << "";
        QTest::newRow("vazio") << ""
                               << "";
        QTest::newRow("dígitos de outra escrita caem") << QString::fromUtf8("1٢3") << "13";
    }
    void getNumbers() {
        QFETCH(QString, texto);
        QFETCH(QString, numeros);
        QCOMPARE(TNURUtils::GetNumbers(texto), numeros);
    }
};

QTEST_GUILESS_MAIN(TesteDocumentos)
#include "TesteDocumentos.moc"
