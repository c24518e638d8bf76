#include "apoio/DebitosTeste.h"
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
        d.Debitos = tresCalculadosEUmRecusado();
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
        // Nothing paid: the amounts are the principal open.
        QCOMPARE(t.ValorDebitos, t.Valor);
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

    // The reference month is checked before anything else: it must be there and be a
    // month MM/AAAA.
    void referencia_data() {
        QTest::addColumn<QString>("referencia");
        QTest::addColumn<QString>("mensagem");
        const QString invalida = QStringLiteral("Referência inválida! Digite o mês como MM/AAAA.");
        QTest::newRow("vazia") << "" << QStringLiteral("Digite a Referência!");
        QTest::newRow("só brancos") << "  " << QStringLiteral("Digite a Referência!");
        QTest::newRow("janeiro") << "01/2020" << QString();
        QTest::newRow("dezembro, brancos em volta") << " 12/2019 " << QString();
        QTest::newRow("mês 13") << "13/2020" << invalida;
        QTest::newRow("mês 00") << "00/2020" << invalida;
        QTest::newRow("mês de um dígito") << "1/2020" << invalida;
        QTest::newRow("ano de dois dígitos") << "01/20" << invalida;
        QTest::newRow("hífen") << "01-2020" << invalida;
        QTest::newRow("letras") << "jan/2020" << invalida;
    }
    void referencia() {
        QFETCH(QString, referencia);
        QFETCH(QString, mensagem);
        QCOMPARE(validaReferencia(referencia).value_or(QString()), mensagem);
        // In a debt whose amount would fail too, the reference's message comes first.
        const ResultadoDebito r =
            calculaDebito(*fDados, {referencia, data(2020, 1, 10), QStringLiteral("12,5"), {}},
                          data(2020, 4, 10));
        QVERIFY(!r.Resultado);
        QCOMPARE(r.Mensagem, mensagem.isEmpty()
                                 ? QStringLiteral("Valor inválido! Digite o valor com as duas "
                                                  "casas decimais.")
                                 : mensagem);
    }

    // A row nobody typed into is neither calculated nor failed; one character makes it a
    // debt.
    void debitoEmBranco() {
        Demonstrativo d;
        d.DataPagamento = data(2020, 4, 10);
        d.Debitos = {{},
                     {QStringLiteral("12/2019"), data(2020, 1, 10), QStringLiteral("1000,00"), {}},
                     {{}, Datas::Vazia, {}, QStringLiteral(" ")},
                     {{}, Datas::Vazia, {}, QStringLiteral("x")}};
        d.calcula(*fDados);
        QVERIFY(d.Debitos[0].emBranco());
        QVERIFY(d.Debitos[2].emBranco());
        QVERIFY(!d.Debitos[3].emBranco());
        for (const int i : {0, 2}) {
            QVERIFY(!d.resultados()[i].Resultado);
            QCOMPARE(d.resultados()[i].Mensagem, QString());
        }
        QCOMPARE(d.resultados()[3].Mensagem, QStringLiteral("Digite a Referência!"));
        QCOMPARE(d.totais().Quantidade, 1);
        QCOMPARE(formataReais(d.totais().Total), QStringLiteral("1.138,26"));

        // Without the rows in blank, the same results and totals.
        const Demonstrativo s = d.semBrancos();
        QCOMPARE(s.Debitos.size(), 2);
        QCOMPARE(s.resultados().size(), 2);
        QCOMPARE(s.Debitos[0].Valor, QStringLiteral("1000,00"));
        QCOMPARE(formataReais(s.resultados()[0].Resultado->Total), QStringLiteral("1.138,26"));
        QCOMPARE(s.resultados()[1].Mensagem, QStringLiteral("Digite a Referência!"));
        QCOMPARE(s.totais().Quantidade, 1);
        QCOMPARE(s.DataPagamento, d.DataPagamento);
    }

    // Each change that calculates only what it touches leaves the statement as a whole
    // calculation of the same debts would.
    void alteracoesComoCalculoInteiro() {
        Demonstrativo d;
        d.DataPagamento = data(2020, 4, 10);
        d.Debitos = {
            {QStringLiteral("12/2019"), data(2020, 1, 10), QStringLiteral("1000,00"), {}},
            {QStringLiteral("01/2020"), data(2020, 2, 10), QStringLiteral("2500,50"), {}},
            {QStringLiteral("02/2020"), data(2020, 3, 10), QStringLiteral("333,33"), {}},
        };
        d.calcula(*fDados);
        const auto confere = [&](const char* passo) {
            Demonstrativo inteiro;
            inteiro.DataPagamento = d.DataPagamento;
            inteiro.Debitos = d.Debitos;
            inteiro.calcula(*fDados);
            QVERIFY2(d.resultados().size() == d.Debitos.size(), passo);
            for (qsizetype i = 0; i < d.Debitos.size(); ++i) {
                QVERIFY2(bool(d.resultados()[i].Resultado) ==
                             bool(inteiro.resultados()[i].Resultado),
                         passo);
                QVERIFY2(d.resultados()[i].Mensagem == inteiro.resultados()[i].Mensagem, passo);
                if (d.resultados()[i].Resultado)
                    QVERIFY2(d.resultados()[i].Resultado->Total ==
                                 inteiro.resultados()[i].Resultado->Total,
                             passo);
            }
            const TotaisDemonstrativo& a = d.totais();
            const TotaisDemonstrativo& b = inteiro.totais();
            QVERIFY2(a.Quantidade == b.Quantidade && a.ValorDebitos == b.ValorDebitos &&
                         a.Valor == b.Valor && a.Multa == b.Multa && a.Juros == b.Juros &&
                         a.Total == b.Total,
                     qPrintable(QStringLiteral("%1: %2 débitos, total %3; esperado %4, %5")
                                    .arg(QString::fromLatin1(passo))
                                    .arg(a.Quantidade)
                                    .arg(formataReais(a.Total))
                                    .arg(b.Quantidade)
                                    .arg(formataReais(b.Total))));
        };
        confere("calculado");
        d.alteraDebito(
            *fDados, 1,
            {QStringLiteral("01/2020"), data(2020, 3, 7), QStringLiteral("2500,50"), {}});
        QCOMPARE(d.resultados()[1].Mensagem,
                 QStringLiteral("A Data do Vencimento deve ser dia útil!"));
        confere("vencimento num sábado");
        d.alteraDebito(
            *fDados, 1,
            {QStringLiteral("01/2020"), data(2020, 2, 10), QStringLiteral("4000,00"), {}});
        confere("de volta, outro valor");
        d.alteraDebito(*fDados, 0,
                       {QStringLiteral("12/2019"), data(2020, 1, 10), QStringLiteral("1000,00"),
                        QStringLiteral("só a descrição")});
        confere("só a descrição");
        d.alteraDebito(*fDados, 0,
                       {QStringLiteral("12/2019"),
                        data(2020, 1, 10),
                        QStringLiteral("1000,00"),
                        {},
                        {{data(2020, 3, 10), QStringLiteral("500,00")}}});
        QCOMPARE(formataReais(d.totais().Pago), QStringLiteral("500,00"));
        QCOMPARE(d.totais().ValorDebitos - d.totais().Valor,
                 d.resultados()[0].Pagamentos.Parcelas[0].Principal);
        confere("um pagamento parcial");
        d.insereDebitos(
            *fDados, 1,
            {{QStringLiteral("11/2019"), data(2019, 12, 10), QStringLiteral("50,00"), {}},
             {QStringLiteral("10/2019"), data(2019, 11, 11), QStringLiteral("1"), {}}});
        QCOMPARE(d.Debitos.size(), 5);
        QCOMPARE(d.Debitos[1].Referencia, QStringLiteral("11/2019"));
        QCOMPARE(d.Debitos[3].Referencia, QStringLiteral("01/2020"));
        confere("dois inseridos no meio");
        d.removeDebitos(0, 2);
        QCOMPARE(d.Debitos.size(), 3);
        QCOMPARE(d.Debitos[0].Referencia, QStringLiteral("10/2019"));
        confere("dois removidos do início");
        d.removeDebitos(0, 3);
        confere("todos removidos");
        QCOMPARE(d.totais().Quantidade, 0);
        QCOMPARE(d.totais().Total, Moeda());
    }

    // A debt whose figures would take a total beyond the currency's range fails with the
    // overflow's message, in a whole calculation and in an edit alike, and the totals stay
    // those of the others.
    void totalAlemDoLimiteRecusaODebito() {
        const QString enorme = QStringLiteral("500000000000000,00");
        const QString estouro = QStringLiteral("Valor fora do intervalo permitido para moeda.");
        Demonstrativo d;
        d.DataPagamento = data(2020, 4, 10);
        d.Debitos = {{QStringLiteral("12/2019"), data(2020, 1, 10), enorme, {}},
                     {QStringLiteral("01/2020"), data(2020, 2, 10), enorme, {}}};
        d.calcula(*fDados);
        QVERIFY(d.resultados()[0].Resultado);
        QVERIFY(!d.resultados()[1].Resultado);
        QCOMPARE(d.resultados()[1].Mensagem, estouro);
        QCOMPARE(d.totais().Quantidade, 1);
        QCOMPARE(d.totais().Total, d.resultados()[0].Resultado->Total);

        d.alteraDebito(
            *fDados, 1,
            {QStringLiteral("01/2020"), data(2020, 2, 10), QStringLiteral("100,00"), {}});
        QVERIFY(d.resultados()[1].Resultado);
        QCOMPARE(d.totais().Quantidade, 2);
        d.alteraDebito(*fDados, 1, {QStringLiteral("01/2020"), data(2020, 2, 10), enorme, {}});
        QCOMPARE(d.resultados()[1].Mensagem, estouro);
        QCOMPARE(d.totais().Quantidade, 1);
        QCOMPARE(d.totais().Total, d.resultados()[0].Resultado->Total);
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
