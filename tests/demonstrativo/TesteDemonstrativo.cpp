#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "calc/Calculo.h"
#include "calc/FormataResultado.h"
#include "calc/MemoriaCalculo.h"
#include "demonstrativo/Demonstrativo.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

DataHora data(int ano, int mes, int dia) {
    return Datas::codificaData(ano, mes, dia);
}

const QString faltamTaxas = QStringLiteral(
    "Nem todos os índices mensais da Selic foram cadastrados. Favor fornecer todos os índices "
    "para que o sistema efetue corretamente os cálculos!");

// An amount as a result shows it, read back: the cents the user sees.
Moeda mostrado(QString texto) {
    return Formato::textoParaMoeda(texto.remove(u'.'));
}

} // namespace

class TesteDemonstrativo : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{data(2024, 6, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

    // The single calculation for the same inputs, as the calculation window makes it.
    std::optional<ResultadoCalculo> calculoUnico(const Debito& debito, DataHora pagamento) {
        return CalculaValores(*fDados, Formato::textoParaMoeda(debito.Valor), debito.Vencimento,
                              pagamento);
    }

private slots:
    // The shipped table, copied so that nothing writes the program's own.
    void init() {
        fDialogos.limpa();
        const QString tabela = fPasta.filePath(QStringLiteral("BELQOR.cds"));
        QFile::remove(tabela);
        QVERIFY(QFile::copy(QStringLiteral(BELQOR_FONTE "/data/BELQOR.cds"), tabela));
        QFile(tabela).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        fDados->abreArquivo(tabela);
    }
    void cleanup() { fDados.reset(); }

    // Three debts calculated as three single calculations, a fourth (due on a Saturday)
    // left out with the window's message, the totals the sums of the three.
    void tresDebitosEUmRecusado() {
        Demonstrativo d;
        d.DataPagamento = data(2020, 4, 10);
        d.Debitos = {
            {QStringLiteral("12/2019"), data(2020, 1, 10), QStringLiteral("1000,00"), {}},
            {QStringLiteral("01/2020"), data(2020, 2, 10), QStringLiteral("2500,50"),
             QStringLiteral("ICMS próprio")},
            {QStringLiteral("02/2020"), data(2020, 3, 7), QStringLiteral("700,00"), {}},
            {QStringLiteral("02/2020"), data(2020, 3, 10), QStringLiteral("333,33"), {}},
        };
        d.calcula(*fDados);
        QCOMPARE(d.resultados().size(), 4);

        TotaisDemonstrativo esperado;
        for (const int i : {0, 1, 3}) {
            const ResultadoDebito& r = d.resultados()[i];
            QVERIFY2(r.Resultado, qPrintable(r.Mensagem));
            QVERIFY(r.Mensagem.isEmpty());
            const auto unico = calculoUnico(d.Debitos[i], d.DataPagamento);
            QVERIFY(unico);
            const ResultadoFormatado a = formataResultado(*r.Resultado);
            const ResultadoFormatado b = formataResultado(*unico);
            QCOMPARE(a.Dias, b.Dias);
            QCOMPARE(a.Taxa, b.Taxa);
            QCOMPARE(a.Valor, b.Valor);
            QCOMPARE(a.Multa, b.Multa);
            QCOMPARE(a.Juros, b.Juros);
            QCOMPARE(a.Total, b.Total);
            QCOMPARE(r.Memoria.Dias, unico->Dias);
            QCOMPARE(r.Memoria.DataVencimento, d.Debitos[i].Vencimento);
            ++esperado.Quantidade;
            esperado.Valor = esperado.Valor + mostrado(a.Valor);
            esperado.Multa = esperado.Multa + mostrado(a.Multa);
            esperado.Juros = esperado.Juros + mostrado(a.Juros);
            esperado.Total = esperado.Total + mostrado(a.Total);
        }
        QCOMPARE(formataReais(d.resultados()[0].Resultado->Total), QStringLiteral("1.138,26"));
        // February and March summed, April's 1 %.
        QCOMPARE(d.resultados()[0].Memoria.MesesSelic.size(), 2);
        QVERIFY(d.resultados()[0].Memoria.JurosMesPagamento);

        const ResultadoDebito& recusado = d.resultados()[2];
        QVERIFY(!recusado.Resultado);
        QCOMPARE(recusado.Mensagem, QStringLiteral("A Data do Vencimento deve ser dia útil!"));

        const TotaisDemonstrativo& t = d.totais();
        QCOMPARE(t.Quantidade, 3);
        QCOMPARE(formataReais(t.Valor), formataReais(esperado.Valor));
        QCOMPARE(formataReais(t.Multa), formataReais(esperado.Multa));
        QCOMPARE(formataReais(t.Juros), formataReais(esperado.Juros));
        QCOMPARE(formataReais(t.Total), formataReais(esperado.Total));
        QCOMPARE(t.Valor + t.Multa + t.Juros, t.Total);
        QCOMPARE(formataReais(t.Valor), QStringLiteral("3.833,83"));
        // Nothing was shown: every message stayed with its debt.
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // Each debt stops at the window's first failing check, in the window's order, with its
    // message; nothing is shown.
    void falhaPorDebito_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<DataHora>("vencimento");
        QTest::addColumn<DataHora>("pagamento");
        QTest::addColumn<QString>("mensagem");
        const QString valor = QStringLiteral("Valor inválido! Digite o valor com as duas casas "
                                             "decimais.");
        const DataHora sabado = data(2020, 3, 7);
        const DataHora pagamento = data(2020, 4, 10);
        QTest::newRow("sem centavos") << "1000" << data(2020, 1, 10) << pagamento << valor;
        QTest::newRow("um decimal antes das datas") << "12,5" << sabado << pagamento << valor;
        QTest::newRow("com sinal") << "-100,00" << data(2020, 1, 10) << pagamento << valor;
        QTest::newRow("sem vencimento") << "100,00" << DataHora(0) << pagamento
                                        << QStringLiteral("Digite a Data de Vencimento!");
        QTest::newRow("vencimento antigo")
            << "100,00" << data(1997, 12, 31) << pagamento
            << QStringLiteral("A Data de Vencimento deve ser maior do que 01/01/1998!");
        QTest::newRow("vencimento num sábado")
            << "100,00" << sabado << pagamento
            << QStringLiteral("A Data do Vencimento deve ser dia útil!");
        QTest::newRow("sem pagamento") << "100,00" << data(2020, 1, 10) << DataHora(0)
                                       << QStringLiteral("Digite a Data de Pagamento!");
        QTest::newRow("pagamento num feriado")
            << "100,00" << data(2020, 1, 10) << data(2020, 4, 21)
            << QStringLiteral("A Data do Pagamento deve ser dia útil!");
        QTest::newRow("pagamento antes do vencimento")
            << "100,00" << data(2020, 3, 10) << data(2020, 2, 10)
            << QStringLiteral("A Data do Pagamento deve ser maior ou igual a Data de Vencimento!");
        QTest::newRow("faltam taxas")
            << "100,00" << data(2020, 1, 10) << data(2030, 1, 10) << faltamTaxas;
    }
    void falhaPorDebito() {
        QFETCH(QString, valor);
        QFETCH(DataHora, vencimento);
        QFETCH(DataHora, pagamento);
        QFETCH(QString, mensagem);
        const ResultadoDebito r =
            calculaDebito(*fDados, {QStringLiteral("01/2020"), vencimento, valor, {}}, pagamento);
        QVERIFY(!r.Resultado);
        QCOMPARE(r.Mensagem, mensagem);
        QVERIFY(fDialogos.registros().isEmpty());
        QCOMPARE(totaliza({r}).Quantidade, 0);
    }

    // The window, for the same missing rates, still shows the message.
    void calculoUnicoAindaMostraFaltaDeTaxas() {
        QVERIFY(!CalculaValores(*fDados, Formato::textoParaMoeda(QStringLiteral("100,00")),
                                data(2020, 1, 10), data(2030, 1, 10)));
        QCOMPARE(fDialogos.textos(), QStringList{faltamTaxas});
    }

    void dataDePagamento_data() {
        QTest::addColumn<DataHora>("pagamento");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("vazia") << DataHora(0) << QStringLiteral("Digite a Data de Pagamento!");
        QTest::newRow("antes de 1998")
            << data(1997, 12, 31)
            << QStringLiteral("A Data de Pagamento deve ser maior do que 01/01/1998!");
        QTest::newRow("sábado") << data(2020, 4, 11)
                                << QStringLiteral("A Data do Pagamento deve ser dia útil!");
        QTest::newRow("dia útil") << data(2020, 4, 10) << QString();
        QTest::newRow("logo após o limite") << data(1998, 1, 2) << QString();
    }
    void dataDePagamento() {
        QFETCH(DataHora, pagamento);
        QFETCH(QString, mensagem);
        Demonstrativo d;
        d.DataPagamento = pagamento;
        QCOMPARE(d.validaDataPagamento().value_or(QString()), mensagem);
    }
};

QTEST_GUILESS_MAIN(TesteDemonstrativo)
#include "TesteDemonstrativo.moc"
