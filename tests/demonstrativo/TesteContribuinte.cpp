#include "demonstrativo/Contribuinte.h"
#include "framework/NURFWUtils.h"

#include <QTest>

Q_DECLARE_METATYPE(TipoDocumento)

class TesteContribuinte : public QObject {
    Q_OBJECT

private slots:
    void documento_data() {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("mensagem"); // empty: accepted
        QTest::addColumn<TipoDocumento>("tipo");
        QTest::addColumn<QString>("formatado");
        const QString cpf = QStringLiteral("CPF inválido!");
        const QString cnpj = QStringLiteral("CNPJ inválido!");
        const auto linha = [](const char* nome, const char* digitado, const QString& mensagem,
                              TipoDocumento tipo, const char* formatado) {
            QTest::newRow(nome) << QString::fromUtf8(digitado) << mensagem << tipo
                                << QString::fromUtf8(formatado);
        };
        linha("cpf pontuado", "123.456.789-09", {}, TipoDocumento::CPF, "123.456.789-09");
        linha("cpf sem pontuação", "12345678909", {}, TipoDocumento::CPF, "123.456.789-09");
        linha("cpf com espaços", " 123 456 789 09 ", {}, TipoDocumento::CPF, "123.456.789-09");
        linha("cpf dígito errado", "123.456.789-08", cpf, TipoDocumento::CPF, "");
        linha("cpf um dígito repetido", "111.111.111-11", cpf, TipoDocumento::CPF, "");
        linha("cpf curto", "123.456.789", cpf, TipoDocumento::CPF, "");
        linha("cnpj pontuado", "11.222.333/0001-81", {}, TipoDocumento::CNPJ, "11.222.333/0001-81");
        linha("cnpj sem pontuação", "11222333000181", {}, TipoDocumento::CNPJ,
              "11.222.333/0001-81");
        linha("cnpj dígito errado", "11.222.333/0001-82", cnpj, TipoDocumento::CNPJ, "");
        linha("cnpj longo", "112223330001810", cnpj, TipoDocumento::CNPJ, "");
        linha("alfanumérico pontuado", "12.ABC.345/01DE-35", {}, TipoDocumento::CNPJ,
              "12.ABC.345/01DE-35");
        linha("alfanumérico sem pontuação", "12ABC34501DE35", {}, TipoDocumento::CNPJ,
              "12.ABC.345/01DE-35");
        linha("alfanumérico em minúsculas", "12.abc.345/01de-35", {}, TipoDocumento::CNPJ,
              "12.ABC.345/01DE-35");
        linha("alfanumérico segundo dígito errado", "12ABC34501DE36", cnpj, TipoDocumento::CNPJ,
              "");
        linha("alfanumérico primeiro dígito errado", "12ABC34501DE45", cnpj, TipoDocumento::CNPJ,
              "");
        linha("alfanumérico letra no dígito", "12ABC34501DE3A", cnpj, TipoDocumento::CNPJ, "");
        linha("alfanumérico outro caractere", "12ABC34501D*35", cnpj, TipoDocumento::CNPJ, "");
        linha("alfanumérico acentuado", "12ÁBC34501DE35", cnpj, TipoDocumento::CNPJ, "");
        linha("vazio", "", {}, TipoDocumento::Nenhum, "");
    }
    void documento() {
        QFETCH(QString, digitado);
        QFETCH(QString, mensagem);
        QFETCH(TipoDocumento, tipo);
        QFETCH(QString, formatado);
        QCOMPARE(tipoDoDocumento(documentoSemPontuacao(digitado)), tipo);
        QCOMPARE(validaDocumento(digitado).value_or(QString()), mensagem);

        Contribuinte contribuinte;
        const auto recusa = contribuinte.defineDocumento(digitado);
        QCOMPARE(recusa.value_or(QString()), mensagem);
        if (mensagem.isEmpty()) {
            QCOMPARE(contribuinte.documentoFormatado(), formatado);
            QCOMPARE(contribuinte.tipoDocumento(), tipo);
        } else {
            QVERIFY(contribuinte.documento().isEmpty());
        }
    }

    // The alphanumeric rule counts a digit as itself, so on 14 digits it agrees with the
    // numeric check; the framework's check still takes bare digits only.
    void formasNumericaEAlfanumericaConcordam_data() {
        QTest::addColumn<QString>("cnpj");
        QTest::newRow("válido") << QStringLiteral("11222333000181");
        QTest::newRow("primeiro dígito errado") << QStringLiteral("11222333000191");
        QTest::newRow("segundo dígito errado") << QStringLiteral("11222333000182");
        QTest::newRow("outro válido") << QStringLiteral("04252011000110");
    }
    void formasNumericaEAlfanumericaConcordam() {
        QFETCH(QString, cnpj);
        QCOMPARE(ValidaCNPJAlfanumerico(cnpj), TNURUtils::ValidaCNPJ(cnpj));
    }
    void validaCNPJContinuaSoComDigitos() {
        QVERIFY(!TNURUtils::ValidaCNPJ(QStringLiteral("12ABC34501DE35")));
        QVERIFY(!TNURUtils::ValidaCNPJ(QStringLiteral("11.222.333/0001-81")));
        QVERIFY(TNURUtils::ValidaCNPJ(QStringLiteral("11222333000181")));
    }

    void recusaMantemDocumentoAnterior() {
        Contribuinte contribuinte;
        QVERIFY(!contribuinte.defineDocumento(QStringLiteral("12.ABC.345/01DE-35")));
        QCOMPARE(contribuinte.defineDocumento(QStringLiteral("12ABC34501DE36")).value_or(QString()),
                 QStringLiteral("CNPJ inválido!"));
        QCOMPARE(contribuinte.documento(), QStringLiteral("12ABC34501DE35"));
    }
};

QTEST_GUILESS_MAIN(TesteContribuinte)
#include "TesteContribuinte.moc"
