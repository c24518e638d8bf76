#include "calc/ValidacaoCalculo.h"

#include "valores/Formatacao.h"

#include <QTest>

Q_DECLARE_METATYPE(CampoCalculo)

namespace {

DataHora data(const QString& texto) {
    return texto.isEmpty() ? 0 : Formato::textoParaData(texto);
}

const QString ValorInvalido =
    QStringLiteral("Valor inválido! Digite o valor com as duas casas decimais.");

} // namespace

class TesteValidacaoCalculo : public QObject {
    Q_OBJECT

private slots:
    void init() { regional() = ConfiguracaoRegional::brasileira(); }

    void textoValor_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("aceito");
        QTest::addColumn<QString>("textoFinal");
        QTest::newRow("vazio vira zero") << "" << true << "0,00";
        QTest::newRow("duas casas") << "12,50" << true << "12,50";
        QTest::newRow("só centavos") << ",50" << true << ",50";
        QTest::newRow("sem vírgula") << "12" << false << "12";
        QTest::newRow("uma casa") << "12,5" << false << "12,5";
        QTest::newRow("três casas") << "12,505" << false << "12,505";
        QTest::newRow("ponto decimal") << "12.50" << false << "12.50";
    }
    void textoValor() {
        QFETCH(QString, texto);
        QFETCH(bool, aceito);
        QFETCH(QString, textoFinal);
        const auto falha = ValidaTextoValor(texto);
        QCOMPARE(!falha.has_value(), aceito);
        QCOMPARE(texto, textoFinal);
        if (falha) {
            QCOMPARE(falha->Mensagem, ValorInvalido);
            QCOMPARE(falha->Campo, CampoCalculo::Valor);
            QVERIFY(falha->MoveFoco);
        }
    }

    void datas_data() {
        QTest::addColumn<QString>("vencimento");
        QTest::addColumn<QString>("pagamento");
        QTest::addColumn<QString>("mensagem");
        QTest::addColumn<CampoCalculo>("campo");
        QTest::addColumn<bool>("moveFoco");
        QTest::newRow("sem vencimento")
            << ""
            << ""
            << "Digite a Data de Vencimento!" << CampoCalculo::DataVencimento << true;
        QTest::newRow("vencimento antes de 1998")
            << "31/12/1997"
            << ""
            << "A Data de Vencimento deve ser maior do que 01/01/1998!"
            << CampoCalculo::DataVencimento << true;
        QTest::newRow("vencimento em 01/01/1998 é feriado")
            << "01/01/1998"
            << ""
            << "A Data do Vencimento deve ser dia útil!" << CampoCalculo::DataVencimento << false;
        QTest::newRow("vencimento num sábado")
            << "11/01/2020"
            << "13/01/2020"
            << "A Data do Vencimento deve ser dia útil!" << CampoCalculo::DataVencimento << false;
        QTest::newRow("vencimento feriado numa sexta")
            << "15/11/2019"
            << "18/11/2019"
            << "A Data do Vencimento deve ser dia útil!" << CampoCalculo::DataVencimento << false;
        QTest::newRow("sem pagamento")
            << "10/03/2020"
            << ""
            << "Digite a Data de Pagamento!" << CampoCalculo::DataPagamento << true;
        QTest::newRow("pagamento antes de 1998")
            << "10/03/2020"
            << "31/12/1997"
            << "A Data de Pagamento deve ser maior do que 01/01/1998!"
            << CampoCalculo::DataPagamento << true;
        QTest::newRow("pagamento num domingo")
            << "10/03/2020"
            << "15/03/2020"
            << "A Data do Pagamento deve ser dia útil!" << CampoCalculo::DataPagamento << false;
        QTest::newRow("pagamento antes do vencimento")
            << "10/03/2020"
            << "09/03/2020"
            << "A Data do Pagamento deve ser maior ou igual a Data de Vencimento!"
            << CampoCalculo::DataPagamento << false;
        QTest::newRow("mesmo dia passa") << "10/03/2020"
                                         << "10/03/2020"
                                         << "" << CampoCalculo::Valor << false;
    }
    void datas() {
        QFETCH(QString, vencimento);
        QFETCH(QString, pagamento);
        QFETCH(QString, mensagem);
        QFETCH(CampoCalculo, campo);
        QFETCH(bool, moveFoco);
        const auto falha = ValidaDatas(data(vencimento), data(pagamento));
        QCOMPARE(falha.has_value(), !mensagem.isEmpty());
        if (falha) {
            QCOMPARE(falha->Mensagem, mensagem);
            QCOMPARE(falha->Campo, campo);
            QCOMPARE(falha->MoveFoco, moveFoco);
        }
    }

    // Only the whole day counts: a time of day on the same day passes the order check.
    void horaDoDiaNaoConta() {
        const DataHora venc = data(QStringLiteral("10/03/2020")) + 0.75;
        QVERIFY(!ValidaDatas(venc, data(QStringLiteral("10/03/2020"))).has_value());
    }
};

QTEST_GUILESS_MAIN(TesteValidacaoCalculo)
#include "TesteValidacaoCalculo.moc"
