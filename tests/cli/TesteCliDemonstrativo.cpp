#include "apoio/ArquivosTeste.h"
#include "apoio/TabelaDistribuida.h"
#include "apoio/TextoPdf.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Execucao {
    int status = -1;
    QString saida;
    QString erro;
};

// Three debts that calculate and one due on a Saturday, as a spreadsheet saves them.
const QByteArray TresDebitosEUmSabado = "referencia;vencimento;valor;descricao\r\n"
                                        "12/2019;10/01/2020;1.000,00;ICMS próprio\r\n"
                                        "01/2020;10/02/2020;2500,50;\r\n"
                                        "02/2020;10/03/2020;333,33;\r\n"
                                        "02/2020;07/03/2020;700,00;filial\r\n";

// "1.138,26" as 113826 cents.
qint64 centavos(QString texto) {
    return texto.remove(u'.').remove(u',').toLongLong();
}

// 113826 cents as "1.138,26".
QString reais(qint64 centavos) {
    QString inteiro = QString::number(centavos / 100);
    for (qsizetype i = inteiro.size() - 3; i > 0; i -= 3)
        inteiro.insert(i, u'.');
    return inteiro + u',' + QStringLiteral("%1").arg(centavos % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

// The real program on the shipped table, each figure compared with what `calcular` gives for
// the same debt.
class TesteCliDemonstrativo : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    QString fTabela;

    Execucao roda(QStringList argumentos, const QByteArray& entrada = QByteArray()) {
        argumentos.prepend(fTabela);
        argumentos.prepend(QStringLiteral("--tabela"));
        QProcess p;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        ambiente.insert(QStringLiteral("BELQOR_HOJE"), QStringLiteral("11/12/2026"));
        p.setProcessEnvironment(ambiente);
        p.start(QStringLiteral(BELQOR_CLI), argumentos);
        p.write(entrada);
        p.closeWriteChannel();
        if (!p.waitForFinished(60000))
            qFatal("belqor-cli não terminou");
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    QString entrada(const QByteArray& conteudo) {
        const QString caminho = fPasta.filePath(QStringLiteral("debitos.csv"));
        gravaArquivoTeste(caminho, conteudo);
        return caminho;
    }

    // `calcular --json` for one debt paid on 10/04/2020.
    QJsonObject calculoUnico(const QString& valor, const QString& vencimento) {
        const Execucao e = roda({QStringLiteral("calcular"), valor, vencimento,
                                 QStringLiteral("10/04/2020"), QStringLiteral("--json")});
        return QJsonDocument::fromJson(e.saida.toUtf8()).object();
    }

private slots:
    void initTestCase() {
        QVERIFY(fPasta.isValid());
        fTabela = copiaTabelaDistribuida(fPasta.path());
    }

    // Each row as `calcular` shows the same debt, the Saturday's message in its row, the
    // totals of the three that calculated; status 1 for the one that failed.
    void tabelaETotaisComoCalcular() {
        const Execucao e =
            roda({QStringLiteral("demonstrativo"), entrada(TresDebitosEUmSabado),
                  QStringLiteral("--pagamento"), QStringLiteral("10/04/2020"),
                  QStringLiteral("--contribuinte"), QStringLiteral("Comércio Exemplo Ltda"),
                  QStringLiteral("--documento"), QStringLiteral("12abc34501de35"),
                  QStringLiteral("--ie"), QStringLiteral("123.456.789")});
        QCOMPARE(e.status, 1);
        QCOMPARE(e.erro, QString());
        const QStringList linhas = e.saida.split(u'\n');
        QVERIFY(linhas.contains(QStringLiteral("Contribuinte: Comércio Exemplo Ltda")));
        QVERIFY(linhas.contains(QStringLiteral("CNPJ: 12.ABC.345/01DE-35")));
        QVERIFY(linhas.contains(QStringLiteral("Inscrição estadual: 123.456.789")));
        QVERIFY(linhas.contains(QStringLiteral("Data de pagamento: 10/04/2020")));

        const QList<QStringList> debitos{{"2", "12/2019", "10/01/2020", "1000,00", "ICMS próprio"},
                                         {"3", "01/2020", "10/02/2020", "2500,50", ""},
                                         {"4", "02/2020", "10/03/2020", "333,33", ""}};
        qint64 total = 0;
        for (const QStringList& d : debitos) {
            const QJsonObject unico = calculoUnico(d[3], d[2]);
            const QJsonObject textos = unico[QStringLiteral("textos")].toObject();
            total += centavos(textos[QStringLiteral("total")].toString());
            const QString esperada = QStringList{d[0],
                                                 d[1],
                                                 d[2],
                                                 textos[QStringLiteral("valorICMS")].toString(),
                                                 d[4],
                                                 textos[QStringLiteral("numeroDias")].toString(),
                                                 textos[QStringLiteral("taxaJuros")].toString(),
                                                 textos[QStringLiteral("multaMora")].toString(),
                                                 textos[QStringLiteral("jurosMora")].toString(),
                                                 textos[QStringLiteral("total")].toString()}
                                         .join(u'\t');
            QVERIFY2(linhas.contains(esperada), qPrintable(esperada + u'\n' + e.saida));
        }
        QVERIFY(linhas.contains(QStringLiteral("5\t02/2020\t07/03/2020\t700,00\tfilial\t\t\t\t\t\t"
                                               "A Data do Vencimento deve ser dia útil!")));
        QVERIFY(linhas.contains(QStringLiteral("Débitos calculados: 3 de 4")));
        QVERIFY(linhas.contains(QStringLiteral("Valor do ICMS: 3.833,83")));
        QVERIFY2(linhas.contains(QStringLiteral("Total: ") + reais(total)), qPrintable(e.saida));
    }

    // The same run writes the printed statement and the CSV export: the PDF carries the
    // taxpayer and every figure of the table on one line, the CSV the rows as the batch writes
    // them.
    void pdfESaida() {
        const QString pdf = fPasta.filePath(QStringLiteral("demonstrativo.pdf"));
        const QString csv = fPasta.filePath(QStringLiteral("demonstrativo.csv"));
        const Execucao e =
            roda({QStringLiteral("demonstrativo"), entrada(TresDebitosEUmSabado),
                  QStringLiteral("--pagamento"), QStringLiteral("10/04/2020"),
                  QStringLiteral("--contribuinte"), QStringLiteral("Comércio Exemplo Ltda"),
                  QStringLiteral("--documento"), QStringLiteral("12.ABC.345/01DE-35"),
                  QStringLiteral("--pdf"), pdf, QStringLiteral("--saida"), csv});
        QCOMPARE(e.status, 1);
        const QStringList texto = textoPdf(pdf);
        QVERIFY(!linhaCom(texto, {QStringLiteral("Comércio Exemplo Ltda")}).isEmpty());
        QVERIFY(!linhaCom(texto, {QStringLiteral("12.ABC.345/01DE-35")}).isEmpty());
        // Each calculated row of the command's table, figure by figure, on one line of the PDF.
        for (const QString& linha : e.saida.split(u'\n')) {
            const QStringList c = linha.split(u'\t');
            if (c.size() < 10 || c[5].isEmpty() || c[0] == QLatin1String("Linha"))
                continue;
            QVERIFY2(!linhaCom(texto, {c[1], c[2], c[3], c[5], c[6], c[7], c[8], c[9]}).isEmpty(),
                     qPrintable(linha));
        }
        QVERIFY(!linhaCom(texto, {QStringLiteral("07/03/2020"),
                                  QStringLiteral("A Data do Vencimento deve ser dia útil!")})
                     .isEmpty());
        const QStringList linhasCsv =
            QString::fromUtf8(conteudoArquivo(csv)).split(QStringLiteral("\r\n"));
        QVERIFY(linhasCsv.contains(
            QStringLiteral("12/2019;10/01/2020;1000,00;ICMS "
                           "próprio;10/04/2020;91;1,630000;120,00;18,26;1.138,26;")));
    }

    // One object: each debt's figures as exact decimals or its message, rows that could not
    // be read with their numbers, the totals; nothing after it.
    void json() {
        const Execucao e = roda({QStringLiteral("demonstrativo"),
                                 entrada(TresDebitosEUmSabado + "03/2020;31/02/2020;1,00;\r\n"),
                                 QStringLiteral("--pagamento"), QStringLiteral("10/04/2020"),
                                 QStringLiteral("--json")});
        QCOMPARE(e.status, 1);
        QCOMPARE(e.saida.count(u'\n'), 1);
        const QJsonObject o = QJsonDocument::fromJson(e.saida.toUtf8()).object();
        const QJsonArray debitos = o[QStringLiteral("debitos")].toArray();
        QCOMPARE(debitos.size(), 4);
        const QJsonObject primeiro = debitos[0].toObject();
        const QJsonObject unico =
            calculoUnico(QStringLiteral("1000,00"), QStringLiteral("10/01/2020"));
        for (const char* campo :
             {"numeroDias", "taxaJuros", "valorICMS", "multaMora", "jurosMora", "total"})
            QCOMPARE(primeiro[QLatin1String(campo)], unico[QLatin1String(campo)]);
        QCOMPARE(primeiro[QStringLiteral("total")].toString(), QStringLiteral("1138.26"));
        QCOMPARE(debitos[3].toObject()[QStringLiteral("mensagem")].toString(),
                 QStringLiteral("A Data do Vencimento deve ser dia útil!"));
        const QJsonArray recusadas = o[QStringLiteral("linhasRecusadas")].toArray();
        QCOMPARE(recusadas.size(), 1);
        QCOMPARE(recusadas[0].toObject()[QStringLiteral("linha")].toInt(), 6);
        const QJsonObject totais = o[QStringLiteral("totais")].toObject();
        QCOMPARE(totais[QStringLiteral("quantidade")].toInt(), 3);
        QCOMPARE(totais[QStringLiteral("valorICMS")].toString(), QStringLiteral("3833.83"));
        qint64 total = 0;
        for (const QJsonValue& d : debitos)
            total +=
                QString(d.toObject()[QStringLiteral("total")].toString()).remove(u'.').toLongLong();
        QCOMPARE(
            totais[QStringLiteral("total")].toString(),
            QStringLiteral("%1.%2").arg(total / 100).arg(total % 100, 2, 10, QLatin1Char('0')));
        QCOMPARE(o[QStringLiteral("previsao")].toBool(), false);
        QVERIFY(e.erro.contains(QStringLiteral("Linha 6: Vencimento inválido: \"31/02/2020\".")));
    }

    // Every debt calculated: status 0; the CSV from standard input.
    void todosCalculadosDaEntradaPadrao() {
        const Execucao e = roda({QStringLiteral("demonstrativo"), QStringLiteral("-"),
                                 QStringLiteral("--pagamento"), QStringLiteral("2020-04-10")},
                                "valor;referencia;vencimento\n1000,00;12/2019;10/01/2020\n");
        QCOMPARE(e.status, 0);
        QVERIFY(e.saida.contains(QStringLiteral("\t1.138,26\n")));
    }

    // The forecast: the shipped table ends at 09/2026; February 2027 is calculated with the
    // months between at its rate, and marked.
    void previsao() {
        const QString arquivo =
            entrada("referencia;vencimento;valor\n08/2026;10/09/2026;1000,00\n");
        const QStringList comum{QStringLiteral("demonstrativo"), arquivo,
                                QStringLiteral("--pagamento"), QStringLiteral("10/02/2027"),
                                QStringLiteral("--json")};
        Execucao e = roda(comum);
        QCOMPARE(e.status, 1);
        QVERIFY(e.saida.contains(QStringLiteral("Nem todos os índices mensais da Selic")));

        e = roda(comum + QStringList{QStringLiteral("--prever")});
        QCOMPARE(e.status, 0);
        const QJsonObject o = QJsonDocument::fromJson(e.saida.toUtf8()).object();
        const QJsonObject debito = o[QStringLiteral("debitos")].toArray()[0].toObject();
        QCOMPARE(debito[QStringLiteral("numeroDias")].toInt(), 153);
        QCOMPARE(debito[QStringLiteral("taxaJuros")].toString(), QStringLiteral("5.320000"));
        QCOMPARE(debito[QStringLiteral("multaMora")].toString(), QStringLiteral("120.00"));
        QCOMPARE(debito[QStringLiteral("jurosMora")].toString(), QStringLiteral("59.58"));
        QCOMPARE(debito[QStringLiteral("total")].toString(), QStringLiteral("1179.58"));
        QVERIFY(debito[QStringLiteral("previsao")].toBool());
        QVERIFY(o[QStringLiteral("previsao")].toBool());
        QVERIFY(o[QStringLiteral("totais")].toObject()[QStringLiteral("previsao")].toBool());
        QStringList meses;
        for (const QJsonValue& m : o[QStringLiteral("mesesEstimados")].toArray())
            meses << m.toObject()[QStringLiteral("mes")].toString() + u' ' +
                         m.toObject()[QStringLiteral("taxa")].toString();
        QCOMPARE(meses, QStringList({"10/2026 1,080000 %", "11/2026 1,080000 %",
                                     "12/2026 1,080000 %", "01/2027 1,080000 %"}));
    }

    // Partial payments from a second spreadsheet, allocated as the statement allocates them:
    // each payment's parts, the principal left open and the balance, as exact decimals.
    void pagamentosParciais_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("vencimento");
        QTest::addColumn<QString>("pagamentos"); // "data=valor;..."
        QTest::addColumn<QString>("dataDemonstrativo");
        QTest::addColumn<QStringList>("partes"); // "T|A|B|C|pago a maior" per payment
        QTest::addColumn<QString>("emAberto");
        QTest::addColumn<QString>("total");
        QTest::newRow("um pagamento")
            << "1000,00"
            << "10/01/2020"
            << "10/03/2020=500,00"
            << "10/06/2020" << QStringList{"1104.06|452.87|40.76|6.37|0.00"} << "547.13"
            << "625.96";
        QTest::newRow("dois pagamentos")
            << "1000,00"
            << "10/01/2020"
            << "10/02/2020=300,00;10/03/2020=200,00"
            << "10/06/2020"
            << QStringList{"1100.90|272.50|24.53|2.97|0.00", "803.21|181.15|16.30|2.55|0.00"}
            << "546.35"
            << "625.07";
        QTest::newRow("quita exatamente")
            << "1000,00"
            << "10/01/2020"
            << "10/03/2020=1104,06"
            << "10/06/2020" << QStringList{"1104.06|1000.00|90.00|14.06|0.00"} << "0.00"
            << "0.00";
        QTest::newRow("paga a maior")
            << "1000,00"
            << "10/01/2020"
            << "10/03/2020=1200,00"
            << "10/06/2020" << QStringList{"1104.06|1000.00|90.00|14.06|95.94"} << "0.00"
            << "0.00";
        QTest::newRow("no vencimento")
            << "1000,00"
            << "10/01/2020"
            << "10/01/2020=400,00"
            << "10/06/2020" << QStringList{"1000.00|400.00|0.00|0.00|0.00"} << "600.00"
            << "686.45";
        QTest::newRow("um centavo, nada de principal")
            << "100,00"
            << "10/01/2005"
            << "10/01/2020=0,01"
            << "10/01/2020" << QStringList{"289.05|0.00|0.00|0.01|0.00"} << "100.00"
            << "289.05";
        QTest::newRow("maiores valores da moeda")
            << "180770000000000,00"
            << "02/01/1998"
            << "10/09/2026=500000000000000,00"
            << "10/09/2026"
            << QStringList{"922297216960000.00|97999862016194.28|11759983441943.31|"
                           "390240154541862.41|0.00"}
            << "82770137983805.72"
            << "422297216960000.01";
    }
    void pagamentosParciais() {
        QFETCH(QString, valor);
        QFETCH(QString, vencimento);
        QFETCH(QString, pagamentos);
        QFETCH(QString, dataDemonstrativo);
        QFETCH(QStringList, partes);
        QFETCH(QString, emAberto);
        QFETCH(QString, total);
        QByteArray linhasPagamentos = "data;valor;referencia\n";
        for (const QString& p : pagamentos.split(u';'))
            linhasPagamentos +=
                (p.section(u'=', 0, 0) + u';' + p.section(u'=', 1) + QStringLiteral(";01/2020\n"))
                    .toUtf8();
        const QString arquivoPagamentos = fPasta.filePath(QStringLiteral("pagamentos.csv"));
        gravaArquivoTeste(arquivoPagamentos, linhasPagamentos);
        const Execucao e =
            roda({QStringLiteral("demonstrativo"),
                  entrada("referencia;vencimento;valor\n01/2020;" + vencimento.toUtf8() + ';' +
                          valor.toUtf8() + '\n'),
                  QStringLiteral("--pagamento"), dataDemonstrativo, QStringLiteral("--pagamentos"),
                  arquivoPagamentos, QStringLiteral("--json")});
        QCOMPARE(e.erro, QString());
        QCOMPARE(e.status, 0);
        const QJsonObject debito = QJsonDocument::fromJson(e.saida.toUtf8())
                                       .object()[QStringLiteral("debitos")]
                                       .toArray()[0]
                                       .toObject();
        QStringList obtidas;
        for (const QJsonValue& v : debito[QStringLiteral("pagamentos")].toArray()) {
            const QJsonObject p = v.toObject();
            QStringList campos;
            for (const char* c : {"totalNaData", "principal", "multa", "juros", "pagoAMaior"})
                campos << p[QLatin1String(c)].toString();
            obtidas << campos.join(u'|');
        }
        QCOMPARE(obtidas, partes);
        QCOMPARE(debito[QStringLiteral("principalEmAberto")].toString(), emAberto);
        QCOMPARE(debito[QStringLiteral("total")].toString(), total);
    }

    // Without --pagamentos, a workbook's second sheet gives the payments when it names their
    // columns: the statement's own .xlsx export read back, and the same workbook saved as
    // .ods by a spreadsheet program, give the figures the payments' own file gave.
    void pagamentosDaSegundaFolha() {
        const QString arquivoPagamentos = fPasta.filePath(QStringLiteral("pagamentos.csv"));
        gravaArquivoTeste(arquivoPagamentos, "referencia;data;valor\n12/2019;10/03/2020;500,00\n");
        const QString exportado = fPasta.filePath(QStringLiteral("com-pagamentos.xlsx"));
        const QStringList comum{QStringLiteral("--pagamento"), QStringLiteral("10/06/2020"),
                                QStringLiteral("--json")};
        const Execucao original =
            roda(QStringList{QStringLiteral("demonstrativo"),
                             entrada("referencia;vencimento;valor\n12/2019;10/01/2020;1000,00\n"
                                     "01/2020;10/02/2020;200,00\n"),
                             QStringLiteral("--pagamentos"), arquivoPagamentos,
                             QStringLiteral("--saida"), exportado} +
                 comum);
        QCOMPARE(original.status, 0);
        const QJsonObject totais = QJsonDocument::fromJson(original.saida.toUtf8())
                                       .object()[QStringLiteral("totais")]
                                       .toObject();
        QCOMPARE(totais[QStringLiteral("pago")].toString(), QStringLiteral("500.00"));
        for (const QString& planilha :
             {exportado, QStringLiteral(BELQOR_FIXTURES "/planilhas/debitos-com-pagamentos.ods")}) {
            const Execucao e = roda(QStringList{QStringLiteral("demonstrativo"), planilha} + comum);
            QCOMPARE(e.status, 0);
            QCOMPARE(QJsonDocument::fromJson(e.saida.toUtf8())
                         .object()[QStringLiteral("totais")]
                         .toObject(),
                     totais);
        }
    }

    // A payment whose reference names no debt is refused with its row; status 1.
    void pagamentoSemDebito() {
        const QString arquivoPagamentos = fPasta.filePath(QStringLiteral("pagamentos.csv"));
        gravaArquivoTeste(arquivoPagamentos, "referencia;data;valor\n12/2019;10/03/2020;500,00\n"
                                             "05/2019;10/03/2020;1,00\n");
        const Execucao e =
            roda({QStringLiteral("demonstrativo"),
                  entrada("referencia;vencimento;valor\n12/2019;10/01/2020;1000,00\n"),
                  QStringLiteral("--pagamento"), QStringLiteral("10/06/2020"),
                  QStringLiteral("--pagamentos"), arquivoPagamentos});
        QCOMPARE(e.status, 1);
        QCOMPARE(e.erro, QStringLiteral("Pagamentos, linha 3: Nenhum débito tem a referência "
                                        "05/2019.\n"));
        QVERIFY(e.saida.contains(QStringLiteral("\t625,96\n")));
    }

    // A command typed wrong stops before anything is read: status 2, one line.
    void digitadoErrado_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("sem pagamento") << QStringList{} << "Falta a opção --pagamento DD/MM/AAAA.";
        QTest::newRow("data ilegível")
            << QStringList{"--pagamento", "31/02/2020"}
            << "'31/02/2020' não é uma data de pagamento válida: use DD/MM/AAAA.";
        QTest::newRow("CNPJ errado")
            << QStringList{"--pagamento", "10/04/2020", "--documento", "12.ABC.345/01DE-36"}
            << "CNPJ inválido!";
        QTest::newRow("CPF errado")
            << QStringList{"--pagamento", "10/04/2020", "--documento", "123.456.789-00"}
            << "CPF inválido!";
        QTest::newRow("saída de outro tipo")
            << QStringList{"--pagamento", "10/04/2020", "--saida", "saida.ods"}
            << "A saída do demonstrativo deve ser .xlsx ou .csv: saida.ods.";
        QTest::newRow("PDF sem contribuinte")
            << QStringList{"--pagamento", "10/04/2020", "--pdf", "d.pdf"}
            << "Para imprimir o demonstrativo, informe o nome do contribuinte com --contribuinte.";
        QTest::newRow("opção de outro comando")
            << QStringList{"--pagamento", "10/04/2020", "--desde", "01/2020"}
            << "A opção --desde não se aplica ao comando demonstrativo.";
    }
    void digitadoErrado() {
        QFETCH(QStringList, argumentos);
        QFETCH(QString, mensagem);
        const Execucao e =
            roda(QStringList{QStringLiteral("demonstrativo"), entrada(TresDebitosEUmSabado)} +
                 argumentos);
        QCOMPARE(e.status, 2);
        QCOMPARE(e.saida, QString());
        QCOMPARE(e.erro, mensagem + QStringLiteral(" Use belqor-cli --help.\n"));
    }
};

QTEST_GUILESS_MAIN(TesteCliDemonstrativo)
#include "TesteCliDemonstrativo.moc"
