#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "calc/Calculo.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "calc/MemoriaCalculo.h"
#include "apoio/TabelaDistribuida.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

DataHora data(const QString& texto) {
    return Formato::textoParaData(texto);
}
Moeda valor(const QString& texto) {
    return Formato::textoParaMoeda(texto);
}
QString reais(Moeda m) {
    return Formato::formataNumero(QStringLiteral("#,##0.00"),
                                  m.contagemEstendida() / Moeda::Escala);
}
QString taxa(Estendido t) {
    return Formato::formataNumero(QStringLiteral("#,##0.000000"), t * 100);
}
QString quatroCasas(Moeda m) {
    return Formato::formataNumero(QStringLiteral("#,##0.0000"),
                                  m.contagemEstendida() / Moeda::Escala);
}
QString mes(DataHora d) {
    return Formato::formataData(QStringLiteral("mm/yyyy"), d);
}
// "02/2020 0,290000" per month added, in the order the account gives them.
QStringList meses(const MemoriaCalculo& m) {
    QStringList textos;
    for (const TaxaSelicSomada& t : m.MesesSelic)
        textos << mes(t.Mes) + QLatin1Char(' ') +
                      Formato::formataNumero(QStringLiteral("0.000000"), t.Valor);
    return textos;
}

} // namespace

class TesteCalculo : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2024, 6, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

    void abreTabela(const MesesTeste& meses) {
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(), meses);
    }

private slots:
    void init() {
        fDialogos.limpa();
        abreTabela({{QDate(2003, 11, 1), QStringLiteral("1")},
                    {QDate(2003, 12, 1), QStringLiteral("1.2")},
                    {QDate(2019, 12, 1), QStringLiteral("0.37")},
                    {QDate(2020, 1, 1), QStringLiteral("0.38")},
                    {QDate(2020, 2, 1), QStringLiteral("0.29")},
                    {QDate(2020, 3, 1), QStringLiteral("0.34")}});
    }
    void cleanup() { fDados.reset(); }

    void diaUtil_data() {
        QTest::addColumn<QString>("dia");
        QTest::addColumn<bool>("util");
        QTest::newRow("segunda") << "13/01/2020" << true;
        QTest::newRow("sábado") << "11/01/2020" << false;
        QTest::newRow("domingo") << "12/01/2020" << false;
        QTest::newRow("ano novo") << "01/01/2020" << false;
        QTest::newRow("tiradentes") << "21/04/2020" << false;
        QTest::newRow("trabalho") << "01/05/2020" << false;
        QTest::newRow("independência") << "07/09/2020" << false;
        QTest::newRow("padroeira") << "12/10/2021" << false;
        QTest::newRow("república") << "15/11/2021" << false;
        QTest::newRow("natal") << "25/12/2020" << false;
        QTest::newRow("finados não é feriado") << "02/11/2020" << true;
        QTest::newRow("carnaval não é feriado") << "25/02/2020" << true;
    }
    void diaUtil() {
        QFETCH(QString, dia);
        QFETCH(bool, util);
        QCOMPARE(EhDiaUtil(data(dia)), util);
    }

    // Penalty on 1.000,00 by days late, new rules (due 03/11/2003 and later) and old rules.
    void multaPorDias_data() {
        QTest::addColumn<int>("dias");
        QTest::addColumn<QString>("novas");
        QTest::addColumn<QString>("antigas");
        QTest::newRow("0") << 0 << "0,00"
                           << "0,00";
        QTest::newRow("1") << 1 << "1,50"
                           << "1,50";
        QTest::newRow("29") << 29 << "43,50"
                            << "43,50";
        QTest::newRow("30") << 30 << "45,00"
                            << "45,00";
        QTest::newRow("31") << 31 << "90,00"
                            << "46,50";
        QTest::newRow("60") << 60 << "90,00"
                            << "90,00";
        QTest::newRow("61") << 61 << "120,00"
                            << "91,50";
        QTest::newRow("79") << 79 << "120,00"
                            << "118,50";
        QTest::newRow("80") << 80 << "120,00"
                            << "120,00";
        QTest::newRow("81") << 81 << "120,00"
                            << "120,00";
    }
    void multaPorDias() {
        QFETCH(int, dias);
        QFETCH(QString, novas);
        QFETCH(QString, antigas);
        const DataHora vencNovas = data(QStringLiteral("03/11/2003"));
        const DataHora vencAntigas = data(QStringLiteral("31/10/2003"));
        const Moeda mil = valor(QStringLiteral("1000,00"));
        QCOMPARE(reais(CalculaMulta(mil, vencNovas, vencNovas + dias).arredondadoCentavos()),
                 novas);
        QCOMPARE(reais(CalculaMulta(mil, vencAntigas, vencAntigas + dias).arredondadoCentavos()),
                 antigas);
    }

    void calculoCompleto_data() {
        QTest::addColumn<QString>("valorIcms");
        QTest::addColumn<QString>("vencimento");
        QTest::addColumn<QString>("pagamento");
        QTest::addColumn<int>("dias");
        QTest::addColumn<QString>("taxaJuros");
        QTest::addColumn<QString>("multa");
        QTest::addColumn<QString>("juros");
        QTest::addColumn<QString>("total");
        QTest::newRow("mesmo dia") << "1000,00"
                                   << "10/03/2020"
                                   << "10/03/2020" << 0 << "0,000000"
                                   << "0,00"
                                   << "0,00"
                                   << "1.000,00";
        QTest::newRow("mesmo mês") << "1000,00"
                                   << "02/03/2020"
                                   << "31/03/2020" << 29 << "0,000000"
                                   << "43,50"
                                   << "0,00"
                                   << "1.043,50";
        QTest::newRow("mês seguinte") << "1000,00"
                                      << "10/03/2020"
                                      << "14/04/2020" << 35 << "1,000000"
                                      << "90,00"
                                      << "10,90"
                                      << "1.100,90";
        QTest::newRow("dezembro a janeiro") << "1000,00"
                                            << "20/12/2019"
                                            << "20/01/2020" << 31 << "1,000000"
                                            << "90,00"
                                            << "10,90"
                                            << "1.100,90";
        QTest::newRow("dezembro a fevereiro") << "2500,00"
                                              << "20/12/2019"
                                              << "20/02/2020" << 62 << "1,380000"
                                              << "300,00"
                                              << "38,64"
                                              << "2.838,64";
        QTest::newRow("dois meses entre") << "1000,00"
                                          << "10/01/2020"
                                          << "10/04/2020" << 91 << "1,630000"
                                          << "120,00"
                                          << "18,26"
                                          << "1.138,26";
        QTest::newRow("virada, regras antigas") << "1000,00"
                                                << "31/10/2003"
                                                << "19/12/2003" << 49 << "2,000000"
                                                << "73,50"
                                                << "21,47"
                                                << "1.094,97";
        QTest::newRow("virada, regras novas") << "1000,00"
                                              << "03/11/2003"
                                              << "19/12/2003" << 46 << "1,000000"
                                              << "90,00"
                                              << "10,90"
                                              << "1.100,90";
        QTest::newRow("antigas, 79 dias") << "1000,00"
                                          << "15/10/2003"
                                          << "02/01/2004" << 79 << "3,200000"
                                          << "118,50"
                                          << "35,79"
                                          << "1.154,29";
        QTest::newRow("antigas, 82 dias") << "1000,00"
                                          << "15/10/2003"
                                          << "05/01/2004" << 82 << "3,200000"
                                          << "120,00"
                                          << "35,84"
                                          << "1.155,84";
        QTest::newRow("arredondamento em dois estágios") << "1,10"
                                                         << "10/03/2020"
                                                         << "13/03/2020" << 3 << "0,000000"
                                                         << "0,01"
                                                         << "0,00"
                                                         << "1,11";
        QTest::newRow("1.234,57 por 7 dias") << "1234,57"
                                             << "10/01/2020"
                                             << "17/01/2020" << 7 << "0,000000"
                                             << "12,96"
                                             << "0,00"
                                             << "1.247,53";
        QTest::newRow("333,33 por 5 dias") << "333,33"
                                           << "10/01/2020"
                                           << "15/01/2020" << 5 << "0,000000"
                                           << "2,50"
                                           << "0,00"
                                           << "335,83";
        QTest::newRow("valor zero") << "0,00"
                                    << "10/01/2020"
                                    << "10/04/2020" << 91 << "1,630000"
                                    << "0,00"
                                    << "0,00"
                                    << "0,00";
        QTest::newRow("negativo, meio longe do zero") << "-1,10"
                                                      << "10/03/2020"
                                                      << "13/03/2020" << 3 << "0,000000"
                                                      << "-0,01"
                                                      << "0,00"
                                                      << "-1,11";
    }
    void calculoCompleto() {
        QFETCH(QString, valorIcms);
        QFETCH(QString, vencimento);
        QFETCH(QString, pagamento);
        QFETCH(int, dias);
        QFETCH(QString, taxaJuros);
        QFETCH(QString, multa);
        QFETCH(QString, juros);
        QFETCH(QString, total);
        const auto r = CalculaValores(*fDados, valor(valorIcms), data(vencimento), data(pagamento));
        QVERIFY(r.has_value());
        QCOMPARE(r->Dias, qint64(dias));
        QCOMPARE(taxa(r->TaxaJuros), taxaJuros);
        QCOMPARE(r->ValorICMS, valor(valorIcms));
        QCOMPARE(reais(r->MultaMora), multa);
        QCOMPARE(reais(r->JurosMora), juros);
        QCOMPARE(reais(r->Total), total);
        QVERIFY(fDialogos.registros().isEmpty());
        QVERIFY(!fDados->CDSSelic.filtrado());
    }

    // The account given beside the results: the penalty's rule and tier, the months added
    // with their rates, the payment month's 1 %, the interest's base and the last month.
    void memoria_data() {
        QTest::addColumn<QString>("valorIcms");
        QTest::addColumn<QString>("vencimento");
        QTest::addColumn<QString>("pagamento");
        QTest::addColumn<QString>("regra");
        QTest::addColumn<QString>("faixa");
        QTest::addColumn<QString>("multa");
        QTest::addColumn<QStringList>("somados");
        QTest::addColumn<QString>("soma");
        QTest::addColumn<QString>("mesPagamento"); // empty: no 1 %
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("juros");
        const QString novas = QStringLiteral("regras novas (vencimento após 31/10/2003)");
        const QString antigas = QStringLiteral("regras antigas (vencimento até 31/10/2003)");
        QTest::newRow("dois meses entre")
            << "1000,00"
            << "10/01/2020"
            << "10/04/2020" << novas << "61 dias ou mais: 12 %"
            << "120,0000" << QStringList{"02/2020 0,290000", "03/2020 0,340000"} << "0,630000"
            << "04/2020"
            << "1.120,0000"
            << "18,2560";
        QTest::newRow("antigas por dia")
            << "1000,00"
            << "15/10/2003"
            << "02/01/2004" << antigas << "1 a 79 dias: 0,15 % ao dia × 79 dias"
            << "118,5000" << QStringList{"11/2003 1,000000", "12/2003 1,200000"} << "2,200000"
            << "01/2004"
            << "1.118,5000"
            << "35,7920";
        QTest::newRow("antigas a partir de 80 dias")
            << "1000,00"
            << "15/10/2003"
            << "05/01/2004" << antigas << "80 dias ou mais: 12 %"
            << "120,0000" << QStringList{"11/2003 1,000000", "12/2003 1,200000"} << "2,200000"
            << "01/2004"
            << "1.120,0000"
            << "35,8400";
        QTest::newRow("mês seguinte") << "1000,00"
                                      << "10/03/2020"
                                      << "14/04/2020" << novas << "31 a 60 dias: 9 %"
                                      << "90,0000" << QStringList() << "0,000000"
                                      << "04/2020"
                                      << "1.090,0000"
                                      << "10,9000";
        QTest::newRow("dezembro a janeiro") << "1000,00"
                                            << "20/12/2019"
                                            << "20/01/2020" << novas << "31 a 60 dias: 9 %"
                                            << "90,0000" << QStringList() << "0,000000"
                                            << "01/2020"
                                            << "1.090,0000"
                                            << "10,9000";
        QTest::newRow("mesmo mês")
            << "1000,00"
            << "02/03/2020"
            << "31/03/2020" << novas << "1 a 30 dias: 0,15 % ao dia × 29 dias"
            << "43,5000" << QStringList() << "0,000000"
            << ""
            << "1.043,5000"
            << "0,0000";
        QTest::newRow("sem atraso") << "1000,00"
                                    << "10/03/2020"
                                    << "10/03/2020" << novas << "sem atraso: sem multa"
                                    << "0,0000" << QStringList() << "0,000000"
                                    << ""
                                    << "1.000,0000"
                                    << "0,0000";
        QTest::newRow("multa antes de arredondar")
            << "1,10"
            << "10/03/2020"
            << "13/03/2020" << novas << "1 a 30 dias: 0,15 % ao dia × 3 dias"
            << "0,0050" << QStringList() << "0,000000"
            << ""
            << "1,1050"
            << "0,0000";
    }
    void memoria() {
        QFETCH(QString, valorIcms);
        QFETCH(QString, vencimento);
        QFETCH(QString, pagamento);
        MemoriaCalculo m;
        const auto r =
            CalculaValores(*fDados, valor(valorIcms), data(vencimento), data(pagamento), &m);
        QVERIFY(r.has_value());
        QCOMPARE(m.DataVencimento, data(vencimento));
        QCOMPARE(m.DataPagamento, data(pagamento));
        QCOMPARE(m.Dias, r->Dias);
        QTEST(textoRegraMulta(m), "regra");
        QTEST(textoFaixaMulta(m), "faixa");
        QTEST(quatroCasas(m.MultaCalculada), "multa");
        QTEST(meses(m), "somados");
        QTEST(Formato::formataNumero(QStringLiteral("0.000000"), m.SomaSelic), "soma");
        QFETCH(QString, mesPagamento);
        QCOMPARE(m.JurosMesPagamento, !mesPagamento.isEmpty());
        QCOMPARE(mes(m.MesPagamento), mesPagamento.isEmpty() ? mes(data(pagamento)) : mesPagamento);
        QCOMPARE(m.TaxaJuros, r->TaxaJuros);
        QTEST(quatroCasas(m.BaseJuros), "base");
        QTEST(quatroCasas(m.JurosCalculados), "juros");
        QCOMPARE(mes(m.UltimoMesTabela), QStringLiteral("03/2020"));

        // The account changes nothing of the results nor of the table's state.
        const auto semMemoria =
            CalculaValores(*fDados, valor(valorIcms), data(vencimento), data(pagamento));
        QVERIFY(semMemoria.has_value());
        QCOMPARE(r->TaxaJuros, semMemoria->TaxaJuros);
        QCOMPARE(r->MultaMora, semMemoria->MultaMora);
        QCOMPARE(r->JurosMora, semMemoria->JurosMora);
        QCOMPARE(r->Total, semMemoria->Total);
        QVERIFY(fDialogos.registros().isEmpty());
        QVERIFY(!fDados->CDSSelic.filtrado());
    }

    // Rows in stored order, not the calendar's: the months are listed by date, and the last
    // month is the latest, not the last row.
    void memoriaComTabelaForaDeOrdem() {
        abreTabela({{QDate(2020, 3, 1), QStringLiteral("0.34")},
                    {QDate(2020, 5, 1), QStringLiteral("0.21")},
                    {QDate(2020, 2, 1), QStringLiteral("0.29")}});
        MemoriaCalculo m;
        QVERIFY(CalculaValores(*fDados, valor(QStringLiteral("1000,00")),
                               data(QStringLiteral("10/01/2020")),
                               data(QStringLiteral("10/04/2020")), &m)
                    .has_value());
        QCOMPARE(meses(m), (QStringList{"02/2020 0,290000", "03/2020 0,340000"}));
        QCOMPARE(mes(m.UltimoMesTabela), QStringLiteral("05/2020"));
    }

    // An abandoned calculation gives no account either.
    void memoriaNaoMudaQuandoFaltamTaxas() {
        abreTabela({{QDate(2020, 2, 1), QStringLiteral("0.29")}});
        MemoriaCalculo m;
        m.Dias = 12345;
        QVERIFY(!CalculaValores(*fDados, valor(QStringLiteral("1000,00")),
                                data(QStringLiteral("10/01/2020")),
                                data(QStringLiteral("10/04/2020")), &m)
                     .has_value());
        QCOMPARE(m.Dias, qint64(12345));
        QVERIFY(m.MesesSelic.isEmpty());
        QCOMPARE(m.UltimoMesTabela, Datas::Vazia);
    }

    // The example in the rules with November 2003 at 1,02 instead of the table's 1,00.
    void viradaComTaxaDeNovembro() {
        abreTabela({{QDate(2003, 11, 1), QStringLiteral("1.02")}});
        const auto r =
            CalculaValores(*fDados, valor(QStringLiteral("1000,00")),
                           data(QStringLiteral("31/10/2003")), data(QStringLiteral("19/12/2003")));
        QVERIFY(r.has_value());
        QCOMPARE(reais(r->MultaMora), QStringLiteral("73,50"));
        QCOMPARE(taxa(r->TaxaJuros), QStringLiteral("2,020000"));
        QCOMPARE(reais(r->JurosMora), QStringLiteral("21,68"));
        QCOMPARE(reais(r->Total), QStringLiteral("1.095,18"));
    }

    // Unrounded counts: the penalty at four decimals feeds the interest.
    void contagensSemArredondar() {
        QCOMPARE(CalculaMulta(valor(QStringLiteral("1,10")), data(QStringLiteral("10/03/2020")),
                              data(QStringLiteral("13/03/2020")))
                     .contagem(),
                 qint64(50));
        QCOMPARE(CalculaMulta(valor(QStringLiteral("1234,57")), data(QStringLiteral("10/01/2020")),
                              data(QStringLiteral("17/01/2020")))
                     .contagem(),
                 qint64(129630));
        QCOMPARE(CalculaMulta(valor(QStringLiteral("333,33")), data(QStringLiteral("10/01/2020")),
                              data(QStringLiteral("15/01/2020")))
                     .contagem(),
                 qint64(25000));
        Estendido t = 0;
        const Moeda j =
            CalculaJuros(*fDados, valor(QStringLiteral("1000,00")),
                         data(QStringLiteral("10/01/2020")), data(QStringLiteral("10/04/2020")), t);
        QCOMPARE(j.contagem(), qint64(182560));
    }

    void faltamTaxas_data() {
        QTest::addColumn<QString>("vencimento");
        QTest::addColumn<QString>("pagamento");
        QTest::newRow("só fevereiro") << "10/01/2020"
                                      << "10/04/2020";
        QTest::newRow("pagamento adiante") << "10/02/2020"
                                           << "11/05/2020";
    }
    void faltamTaxas() {
        QFETCH(QString, vencimento);
        QFETCH(QString, pagamento);
        abreTabela({{QDate(2020, 1, 1), QStringLiteral("0.38")},
                    {QDate(2020, 2, 1), QStringLiteral("0.29")}});
        const auto r = CalculaValores(*fDados, valor(QStringLiteral("1000,00")), data(vencimento),
                                      data(pagamento));
        QVERIFY(!r.has_value());
        QCOMPARE(fDialogos.textos(),
                 QStringList{QStringLiteral(
                     "Nem todos os índices mensais da Selic foram cadastrados. Favor fornecer "
                     "todos os índices para que o sistema efetue corretamente os cálculos!")});
        QVERIFY(!fDados->CDSSelic.filtrado());
        QCOMPARE(fDados->CDSSelic.quantidade(), 2);
        QVERIFY(fDados->CDSSelic.filtro().startsWith(QStringLiteral("(Data >= '")));
    }

    void mesRepetidoTambemFalta() {
        abreTabela({{QDate(2020, 2, 1), QStringLiteral("0.29")},
                    {QDate(2020, 3, 1), QStringLiteral("0.34")},
                    {QDate(2020, 3, 1), QStringLiteral("0.34")}});
        QVERIFY(!CalculaValores(*fDados, valor(QStringLiteral("1000,00")),
                                data(QStringLiteral("10/01/2020")),
                                data(QStringLiteral("10/04/2020")))
                     .has_value());
        QCOMPARE(fDialogos.registros().size(), 1);
    }

    // The same months under other regional settings: their texts are written anew, as the
    // filter reads its dates with the settings of the moment.
    void filtroComSeparadorRegional() {
        const auto calcula = [this] {
            return CalculaValores(*fDados, valor(QStringLiteral("1000,00")),
                                  Datas::codificaData(2020, 1, 10),
                                  Datas::codificaData(2020, 4, 10));
        };
        const auto antes = calcula();
        QVERIFY(antes.has_value());
        QCOMPARE(fDados->CDSSelic.filtro(),
                 QStringLiteral("(Data >= '01/02/2020') AND (Data <= '01/03/2020')"));
        regional().separadorData = QLatin1Char('-');
        const auto r = calcula();
        QVERIFY(r.has_value());
        QCOMPARE(fDados->CDSSelic.filtro(),
                 QStringLiteral("(Data >= '01-02-2020') AND (Data <= '01-03-2020')"));
        regional().padraoDataCurta = QStringLiteral("yyyy/mm/dd");
        const auto iso = calcula();
        QVERIFY(iso.has_value());
        QCOMPARE(fDados->CDSSelic.filtro(),
                 QStringLiteral("(Data >= '2020-02-01') AND (Data <= '2020-03-01')"));
        QCOMPARE(r->Total.contagem(), antes->Total.contagem());
        QCOMPARE(iso->Total.contagem(), antes->Total.contagem());
        QCOMPARE(fDialogos.textos(), QStringList());
    }

    void totalForaDoIntervalo() {
        const Moeda enorme = Moeda::deContagem(9'000'000'000'000'000'000LL);
        QVERIFY_THROWS_EXCEPTION(ErroEstouroMoeda,
                                 CalculaValores(*fDados, enorme, data(QStringLiteral("10/01/2020")),
                                                data(QStringLiteral("10/04/2020"))));
    }

    void tabelaPadraoDoPrograma() {
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        fDados->abreArquivo(copiaTabelaDistribuida(fPasta.path()));

        // One row per month from 01/1998, in order, with the published values.
        QCOMPARE(fDados->CDSSelicData->comoTexto(), QStringLiteral("01/01/1998"));
        QCOMPARE(fDados->CDSSelicValor->textoExibicao(), QStringLiteral("2,670000"));
        int meses = 0;
        DataHora esperado = Datas::codificaData(1998, 1, 1);
        for (fDados->CDSSelic.primeiro(); !fDados->CDSSelic.fimDaTabela();
             fDados->CDSSelic.proximo()) {
            QCOMPARE(fDados->CDSSelicData->comoDataHora(), esperado);
            esperado = Datas::incrementaMes(esperado, 1);
            ++meses;
        }
        QCOMPARE(meses, 345);
        QCOMPARE(fDados->CDSSelicData->comoTexto(), QStringLiteral("01/09/2026"));

        const auto r =
            CalculaValores(*fDados, valor(QStringLiteral("1000,00")),
                           data(QStringLiteral("10/01/2020")), data(QStringLiteral("10/04/2020")));
        QVERIFY(r.has_value());
        QCOMPARE(r->Dias, qint64(91));
        QCOMPARE(taxa(r->TaxaJuros), QStringLiteral("1,630000"));
        QCOMPARE(reais(r->MultaMora), QStringLiteral("120,00"));
        QCOMPARE(reais(r->JurosMora), QStringLiteral("18,26"));
        QCOMPARE(reais(r->Total), QStringLiteral("1.138,26"));
    }
};

QTEST_GUILESS_MAIN(TesteCalculo)
#include "TesteCalculo.moc"
