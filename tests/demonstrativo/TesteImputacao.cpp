#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "apoio/TabelaDistribuida.h"
#include "calc/FormataResultado.h"
#include "demonstrativo/Demonstrativo.h"
#include "demonstrativo/Imputacao.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

DataHora data(const QString& texto) {
    return Formato::textoParaData(texto, ConfiguracaoRegional::brasileira());
}

// "10/03/2020=500,00;10/04/2020=200,00"
QList<PagamentoParcial> pagamentos(const QString& texto) {
    QList<PagamentoParcial> lista;
    for (const QString& item : texto.split(u';', Qt::SkipEmptyParts)) {
        const QStringList partes = item.split(u'=');
        lista.append({data(partes[0]), partes[1]});
    }
    return lista;
}

// Each payment as "#1|T|A|B|C|pago a maior": its place in the payments as given, then its
// split.
QStringList partes(const Imputacao& r) {
    QStringList lista;
    for (const ParcelaImputada& p : r.Parcelas)
        lista << QStringList{QStringLiteral("#%1").arg(p.Pagamento),
                             formataReais(p.NaData.Total),
                             formataReais(p.Principal),
                             formataReais(p.Multa),
                             formataReais(p.Juros),
                             formataReais(p.PagoAMaior)}
                     .join(u'|');
    return lista;
}

} // namespace

class TesteImputacao : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2026, 12, 11)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

private slots:
    // The shipped table, copied so that nothing writes the program's own.
    void init() {
        regional() = ConfiguracaoRegional::brasileira();
        fDialogos.limpa();
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        fDados->abreArquivo(copiaTabelaDistribuida(fPasta.path()));
    }
    void cleanup() { fDados.reset(); }

    // Each day's cost T (with its penalty M and interest J) is the single calculation's for
    // the principal then open; the expected splits were worked out apart, in decimal, from
    // those figures.
    void imputacaoProporcional_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("vencimento");
        QTest::addColumn<QString>("pagos");
        QTest::addColumn<QString>("dataDemonstrativo");
        QTest::addColumn<QStringList>("esperado");
        QTest::addColumn<QString>("emAberto");
        QTest::addColumn<bool>("quitado");

        QTest::newRow("um pagamento")
            << "1000,00"
            << "10/01/2020"
            << "10/03/2020=500,00"
            << "10/06/2020" << QStringList{"#0|1.104,06|452,87|40,76|6,37|0,00"} << "547,13"
            << false;
        // Given out of order: taken by date.
        QTest::newRow("dois pagamentos")
            << "1000,00"
            << "10/01/2020"
            << "10/03/2020=200,00;10/02/2020=300,00"
            << "10/06/2020"
            << QStringList{"#1|1.100,90|272,50|24,53|2,97|0,00", "#0|803,21|181,15|16,30|2,55|0,00"}
            << "546,35" << false;
        QTest::newRow("quita exatamente")
            << "1000,00"
            << "10/01/2020"
            << "10/03/2020=1104,06"
            << "10/06/2020" << QStringList{"#0|1.104,06|1.000,00|90,00|14,06|0,00"} << "0,00"
            << true;
        QTest::newRow("paga a maior")
            << "1000,00"
            << "10/01/2020"
            << "10/03/2020=1200,00"
            << "10/06/2020" << QStringList{"#0|1.104,06|1.000,00|90,00|14,06|95,94"} << "0,00"
            << true;
        // No penalty or interest on the due date: the whole payment is principal.
        QTest::newRow("no vencimento")
            << "1000,00"
            << "10/01/2020"
            << "10/01/2020=400,00"
            << "10/06/2020" << QStringList{"#0|1.000,00|400,00|0,00|0,00|0,00"} << "600,00"
            << false;
        // Fifteen years of interest: one cent is less than half a cent of principal.
        QTest::newRow("um centavo, nada de principal")
            << "100,00"
            << "10/01/2005"
            << "10/01/2020=0,01"
            << "10/01/2020" << QStringList{"#0|289,05|0,00|0,00|0,01|0,00"} << "100,00" << false;
        QTest::newRow("maiores valores da moeda")
            << "180770000000000,00"
            << "02/01/1998"
            << "10/09/2026=500000000000000,00"
            << "10/09/2026"
            << QStringList{"#0|922.297.216.960.000,00|97.999.862.016.194,28|"
                           "11.759.983.441.943,31|390.240.154.541.862,41|0,00"}
            << "82.770.137.983.805,72" << false;
    }
    void imputacaoProporcional() {
        QFETCH(QString, valor);
        QFETCH(QString, vencimento);
        QFETCH(QString, pagos);
        QFETCH(QString, dataDemonstrativo);
        QFETCH(QStringList, esperado);
        QFETCH(QString, emAberto);
        QFETCH(bool, quitado);
        const Imputacao r =
            imputaPagamentos(*fDados, Formato::textoParaMoeda(valor), data(vencimento),
                             pagamentos(pagos), data(dataDemonstrativo));
        QCOMPARE(r.Mensagem, QString());
        QCOMPARE(partes(r), esperado);
        QCOMPARE(formataReais(r.PrincipalEmAberto), emAberto);
        QCOMPARE(r.Quitado, quitado);
        Moeda pago;
        for (const ParcelaImputada& p : r.Parcelas) {
            // The three parts always add up to the payment, less what was paid in excess.
            QCOMPARE(p.Principal + p.Multa + p.Juros + p.PagoAMaior, p.Pago);
            pago = pago + p.Pago;
        }
        QCOMPARE(r.Pago, pago);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void pagamentoRecusado_data() {
        QTest::addColumn<QString>("pagos");
        QTest::addColumn<QString>("mensagem");
        QTest::addColumn<int>("tomados");
        QTest::newRow("sábado") << "07/03/2020=100,00"
                                << "O pagamento parcial de 07/03/2020 deve ser dia útil!" << 0;
        QTest::newRow("feriado") << "21/04/2020=100,00"
                                 << "O pagamento parcial de 21/04/2020 deve ser dia útil!" << 0;
        QTest::newRow("antes do vencimento")
            << "09/01/2020=100,00"
            << "O pagamento parcial de 09/01/2020 deve ser posterior ao vencimento!" << 0;
        QTest::newRow("depois do demonstrativo")
            << "10/03/2020=100,00;11/06/2020=100,00"
            << "O pagamento parcial de 11/06/2020 deve ser anterior à data de pagamento do "
               "demonstrativo!"
            << 1;
        QTest::newRow("depois da quitação")
            << "10/03/2020=1104,06;10/04/2020=10,00"
            << "O pagamento parcial de 10/04/2020 é posterior à quitação do débito em "
               "10/03/2020!"
            << 1;
        QTest::newRow("valor sem centavos")
            << "10/03/2020=100"
            << "O pagamento parcial de 10/03/2020 tem valor inválido: Valor inválido! Digite o "
               "valor com as duas casas decimais."
            << 0;
        QTest::newRow("valor zero") << "10/03/2020=0,00"
                                    << "O pagamento parcial de 10/03/2020 deve ter valor maior "
                                       "que zero!"
                                    << 0;
    }
    void pagamentoRecusado() {
        QFETCH(QString, pagos);
        QFETCH(QString, mensagem);
        QFETCH(int, tomados);
        const Imputacao r =
            imputaPagamentos(*fDados, Formato::textoParaMoeda(QStringLiteral("1000,00")),
                             data(QStringLiteral("10/01/2020")), pagamentos(pagos),
                             data(QStringLiteral("10/06/2020")));
        QCOMPARE(r.Mensagem, mensagem);
        QCOMPARE(r.Parcelas.size(), tomados);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // In the statement: the balance is the principal left open, calculated from the original
    // due date to the statement's date; a settled debt counts with nothing left; a refused
    // payment leaves its debt out of the totals with its message.
    void saldoNoDemonstrativo() {
        Demonstrativo d;
        d.DataPagamento = data(QStringLiteral("10/06/2020"));
        const DataHora vencimento = data(QStringLiteral("10/01/2020"));
        d.Debitos = {
            {QStringLiteral("12/2019"),
             vencimento,
             QStringLiteral("1000,00"),
             {},
             pagamentos(QStringLiteral("10/03/2020=500,00"))},
            {QStringLiteral("12/2019"),
             vencimento,
             QStringLiteral("1000,00"),
             {},
             pagamentos(QStringLiteral("10/03/2020=1200,00"))},
            {QStringLiteral("12/2019"),
             vencimento,
             QStringLiteral("1000,00"),
             {},
             pagamentos(QStringLiteral("07/03/2020=100,00"))},
            {QStringLiteral("12/2019"), vencimento, QStringLiteral("200,00"), {}, {}},
        };
        d.calcula(*fDados);

        const ResultadoDebito& parcial = d.resultados()[0];
        QVERIFY2(parcial.Resultado, qPrintable(parcial.Mensagem));
        const ResultadoFormatado saldo = formataResultado(*parcial.Resultado);
        QCOMPARE(saldo.Dias, QStringLiteral("152"));
        QCOMPARE(saldo.Taxa, QStringLiteral("2,150000 %"));
        QCOMPARE(saldo.Valor, QStringLiteral("547,13"));
        QCOMPARE(saldo.Multa, QStringLiteral("65,66"));
        QCOMPARE(saldo.Juros, QStringLiteral("13,17"));
        QCOMPARE(saldo.Total, QStringLiteral("625,96"));
        QCOMPARE(parcial.Memoria.DataVencimento, vencimento);
        QCOMPARE(parcial.Memoria.MesesSelic.size(), 4);

        const ResultadoDebito& quitado = d.resultados()[1];
        QVERIFY(quitado.Resultado);
        QVERIFY(quitado.Pagamentos.Quitado);
        QCOMPARE(quitado.Resultado->Total, Moeda());

        QVERIFY(!d.resultados()[2].Resultado);
        QCOMPARE(d.resultados()[2].Mensagem,
                 QStringLiteral("O pagamento parcial de 07/03/2020 deve ser dia útil!"));

        const ResultadoFormatado semPagamento = formataResultado(*d.resultados()[3].Resultado);
        const TotaisDemonstrativo& t = d.totais();
        QCOMPARE(t.Quantidade, 3);
        // The amounts of the three debts counted, as typed: the payments took part of them.
        QCOMPARE(formataReais(t.ValorDebitos), QStringLiteral("2.200,00"));
        QCOMPARE(formataReais(t.Pago), QStringLiteral("1.700,00"));
        QCOMPARE(formataReais(t.Valor), QStringLiteral("747,13"));
        QCOMPARE(formataReais(t.Total),
                 formataReais(Formato::textoParaMoeda(QStringLiteral("625,96")) +
                              Formato::textoParaMoeda(QString(semPagamento.Total).remove(u'.'))));
        QVERIFY(fDialogos.registros().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TesteImputacao)
#include "TesteImputacao.moc"
