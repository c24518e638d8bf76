#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "apoio/TabelaDistribuida.h"
#include "apoio/TabelaTeste.h"
#include "calc/FormataResultado.h"
#include "demonstrativo/Demonstrativo.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

DataHora data(const QString& texto) {
    return Formato::textoParaData(texto, ConfiguracaoRegional::brasileira());
}

const QString faltamTaxas = QStringLiteral(
    "Nem todos os índices mensais da Selic foram cadastrados. Favor fornecer todos os índices "
    "para que o sistema efetue corretamente os cálculos!");

// "10/2026=1,08;11/2026=1,08", a month not marked as estimated followed by "?".
QString estimados(const QList<TaxaSelicSomada>& meses) {
    QStringList lista;
    for (const TaxaSelicSomada& t : meses)
        lista << Formato::mesAno(t.Mes) + u'=' +
                     Formato::formataNumero(QStringLiteral("0.00"), t.Valor) +
                     (t.Estimada ? QString() : QStringLiteral("?"));
    return lista.join(u';');
}

} // namespace

class TestePrevisao : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2026, 12, 11)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

    void abreTabelaDistribuida() {
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        fDados->abreArquivo(copiaTabelaDistribuida(fPasta.path()));
    }

    Demonstrativo umDebito(const QString& vencimento, const QString& pagamento, bool prever) {
        Demonstrativo d;
        d.DataPagamento = data(pagamento);
        d.PreverMesesSemTaxa = prever;
        d.Debitos = {{QStringLiteral("08/2026"), data(vencimento), QStringLiteral("1000,00"), {}}};
        return d;
    }

private slots:
    void init() {
        regional() = ConfiguracaoRegional::brasileira();
        fDialogos.limpa();
    }
    void cleanup() { fDados.reset(); }

    // The shipped table ends at 09/2026 (1,08 %): October to January take that rate, and
    // February's 1 % completes it. Nothing is added to the table.
    void previsaoNaTabelaDistribuida() {
        abreTabelaDistribuida();
        const int meses = fDados->CDSSelic.quantidade();
        Demonstrativo d =
            umDebito(QStringLiteral("10/09/2026"), QStringLiteral("10/02/2027"), true);
        d.calcula(*fDados);
        const ResultadoDebito& r = d.resultados().first();
        QVERIFY2(r.Resultado, qPrintable(r.Mensagem));
        const ResultadoFormatado f = formataResultado(*r.Resultado);
        QCOMPARE(f.Dias, QStringLiteral("153"));
        QCOMPARE(f.Taxa, QStringLiteral("5,320000 %"));
        QCOMPARE(f.Multa, QStringLiteral("120,00"));
        QCOMPARE(f.Juros, QStringLiteral("59,58"));
        QCOMPARE(f.Total, QStringLiteral("1.179,58"));
        QVERIFY(r.previsao());
        QVERIFY(d.totais().previsao());
        QCOMPARE(estimados(d.mesesEstimados()),
                 QStringLiteral("10/2026=1,08;11/2026=1,08;12/2026=1,08;01/2027=1,08"));
        QCOMPARE(fDados->CDSSelic.quantidade(), meses);
        QVERIFY(fDialogos.registros().isEmpty());

        // Off, as by default: the missing-rates message, as in every other calculation.
        d.PreverMesesSemTaxa = false;
        d.calcula(*fDados);
        QVERIFY(!d.resultados().first().Resultado);
        QCOMPARE(d.resultados().first().Mensagem, faltamTaxas);
        QCOMPARE(d.totais().Quantidade, 0);
        QVERIFY(!d.totais().previsao());
    }

    // Where every month is published, the forecast changes nothing and marks nothing.
    void semMesEstimadoNaoHaMarca() {
        abreTabelaDistribuida();
        Demonstrativo d =
            umDebito(QStringLiteral("10/01/2020"), QStringLiteral("10/04/2020"), true);
        d.calcula(*fDados);
        const ResultadoDebito& r = d.resultados().first();
        QVERIFY(r.Resultado);
        QCOMPARE(formataReais(r.Resultado->Total), QStringLiteral("1.138,26"));
        QVERIFY(!r.previsao());
        QVERIFY(!d.totais().previsao());
        QVERIFY(d.mesesEstimados().isEmpty());
    }

    void tabelaPequena_data() {
        QTest::addColumn<MesesTeste>("meses");
        QTest::addColumn<QString>("taxa");
        QTest::addColumn<QString>("estimados");
        QTest::addColumn<QString>("mensagem");
        // January and February from the table, March and April at February's 0,29 %.
        QTest::newRow("parte publicada, parte prevista")
            << MesesTeste{{QDate(2020, 1, 1), "0.38"}, {QDate(2020, 2, 1), "0.29"}} << "2,250000 %"
            << "03/2020=0,29;04/2020=0,29" << QString();
        // The rows stored out of order: the last month is the latest, not the last row.
        QTest::newRow("linhas fora de ordem")
            << MesesTeste{{QDate(2020, 2, 1), "0.29"}, {QDate(2020, 1, 1), "0.38"}} << "2,250000 %"
            << "03/2020=0,29;04/2020=0,29" << QString();
        // A month missing inside the table is not forecast.
        QTest::newRow("lacuna antes do último mês")
            << MesesTeste{{QDate(2020, 1, 1), "0.38"}, {QDate(2020, 3, 1), "0.34"}} << QString()
            << QString() << faltamTaxas;
    }
    void tabelaPequena() {
        QFETCH(MesesTeste, meses);
        QFETCH(QString, taxa);
        QFETCH(QString, estimados);
        QFETCH(QString, mensagem);
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(), meses);
        Demonstrativo d =
            umDebito(QStringLiteral("10/12/2019"), QStringLiteral("11/05/2020"), true);
        d.calcula(*fDados);
        const ResultadoDebito& r = d.resultados().first();
        QCOMPARE(r.Mensagem, mensagem);
        if (!mensagem.isEmpty())
            return;
        QCOMPARE(formataResultado(*r.Resultado).Taxa, taxa);
        QCOMPARE(::estimados(d.mesesEstimados()), estimados);
        QCOMPARE(fDados->CDSSelic.quantidade(), 2);
    }

    // A partial payment whose day's cost needs an estimated month marks the debt too.
    void pagamentoParcialPrevisto() {
        abreTabelaDistribuida();
        Demonstrativo d =
            umDebito(QStringLiteral("10/09/2026"), QStringLiteral("10/02/2027"), true);
        d.Debitos[0].Pagamentos = {{data(QStringLiteral("10/12/2026")), QStringLiteral("100,00")}};
        d.calcula(*fDados);
        const ResultadoDebito& r = d.resultados().first();
        QVERIFY2(r.Resultado, qPrintable(r.Mensagem));
        QCOMPARE(r.Pagamentos.Parcelas.size(), 1);
        QVERIFY(r.Pagamentos.Parcelas.first().NaData.Previsao);
        QVERIFY(r.previsao());
    }
};

QTEST_GUILESS_MAIN(TestePrevisao)
#include "TestePrevisao.moc"
