#include "apoio/ArquivosTeste.h"
#include "demonstrativo/LeituraDebitos.h"
#include "planilhas/ErrosPlanilha.h"
#include "sistema/PaginaAnsi.h"
#include "valores/ConfiguracaoRegional.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

namespace {

// "N: referência | vencimento | valor | descrição" for each debt, then "N: motivo" for each
// row refused.
QStringList descricao(const DebitosLidos& lidos) {
    QStringList r;
    for (qsizetype i = 0; i < lidos.Debitos.size(); ++i) {
        const Debito& d = lidos.Debitos[i];
        r << QStringLiteral("%1: %2 | %3 | %4 | %5")
                 .arg(lidos.Linhas[i])
                 .arg(d.Referencia,
                      d.Vencimento == Datas::Vazia ? QString()
                                                   : Formato::dataParaTexto(d.Vencimento),
                      d.Valor, d.Descricao);
    }
    for (const LinhaRecusada& recusada : lidos.Recusadas)
        r << QStringLiteral("%1: %2").arg(recusada.Linha).arg(recusada.Motivo);
    return r;
}

// A cell written "n:1000" (a number), "d:43840" (a date value), "t:texto", or "" (empty).
CelulaPlanilha celula(const QString& texto) {
    if (texto.startsWith(QLatin1String("n:")))
        return CelulaPlanilha::deNumero(texto.sliced(2).toDouble());
    if (texto.startsWith(QLatin1String("d:")))
        return CelulaPlanilha::deData(texto.sliced(2).toDouble());
    if (texto.startsWith(QLatin1String("t:")))
        return CelulaPlanilha::deTexto(texto.sliced(2));
    return {};
}

LinhaPlanilha linha(qint64 numero, const QStringList& celulas) {
    LinhaPlanilha l{numero, {}};
    for (const QString& c : celulas)
        l.celulas.append(celula(c));
    return l;
}

const QString Cabecalho = QStringLiteral("referencia;vencimento;valor;descricao\n");

} // namespace

class TesteLeituraDebitos : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;

private slots:
    void initTestCase() { regional() = ConfiguracaoRegional::brasileira(); }

    // The debts of the fixtures saved by a spreadsheet program, whatever the columns' order
    // and the cells' kinds; the rows it cannot read, by number, with the reason; the title
    // above the header, the empty rows and the note beside the table passed over.
    void planilhasSalvasPorPrograma_data() {
        QTest::addColumn<QString>("arquivo");
        QTest::newRow("xlsx") << "debitos.xlsx";
        QTest::newRow("ods") << "debitos.ods";
    }
    void planilhasSalvasPorPrograma() {
        QFETCH(QString, arquivo);
        const DebitosLidos lidos =
            leDebitos(QStringLiteral(BELQOR_FIXTURES "/planilhas/") + arquivo);
        QCOMPARE(descricao(lidos),
                 (QStringList{
                     "3: 12/2019 | 10/01/2020 | 1000,00 | ICMS próprio",
                     "4: 01/2020 | 10/02/2020 | 1000,00 | ",
                     "7: 02/2020 | 10/03/2020 | 2500,50 | Substituição; \"tributária\"",
                     "10: 05/2020 | 10/06/2020 | 333,33 | Com nota",
                     "11: 06/2020 | 10/07/2020 | 1234,56 | Fórmula",
                     "8: Vencimento inválido: \"31/02/2020\".",
                     "9: Valor inválido: \"1.2a3,00\".",
                 }));
        QVERIFY(!lidos.Windows1252);
    }

    // The same debts from a CSV as the batch reads it: Windows-1252 told apart, amounts in
    // the spreadsheet's forms, rows numbered as a spreadsheet program numbers them (a quoted
    // line break is no new row; an empty line is one), a quote never closed refused.
    void csv() {
        const QByteArray bytes = PaginaAnsi::codifica(
            QStringLiteral("Débitos da Comércio Exemplo Ltda.\r\n"
                           "VALOR;Referência;Descrição;Vencimento\r\n"
                           "1000;12/2019;\"ICMS\r\npróprio\";10/01/2020\r\n"
                           "1.000,00;1/2020;;2020-02-10\r\n"
                           "\r\n"
                           ";;;\r\n"
                           "R$ 2.500,5;02/2020;\"Substituição; \"\"tributária\"\"\";10/03/2020\r\n"
                           "700,00;03/2020;Data ruim;31/02/2020\r\n"
                           "abc;13/2020;Valor ruim;\r\n"
                           "4.200,50;Totais;;\r\n"
                           "333,33;05/2020;\"aberta;10/06/2020\r\n"));
        const QStringList esperado{
            "3: 12/2019 | 10/01/2020 | 1000,00 | ICMS\r\npróprio",
            "4: 01/2020 | 10/02/2020 | 1000,00 | ",
            "7: 02/2020 | 10/03/2020 | 2500,50 | Substituição; \"tributária\"",
            "8: Vencimento inválido: \"31/02/2020\".",
            "9: Referência inválida: \"13/2020\" (use MM/AAAA). Falta o vencimento. Valor "
            "inválido: \"abc\".",
            "11: A aspa aberta na linha 12 não foi fechada.",
        };

        const QString caminho =
            gravaArquivoTeste(fPasta.path(), QStringLiteral("debitos.CSV"), bytes);
        const DebitosLidos doArquivo = leDebitos(caminho);
        QCOMPARE(descricao(doArquivo), esperado);
        QVERIFY(doArquivo.Windows1252);

        QByteArray copia = bytes;
        QBuffer entrada(&copia);
        QVERIFY(entrada.open(QIODevice::ReadOnly));
        const DebitosLidos daEntrada = leDebitosCsv(entrada, QStringLiteral("entrada padrão"));
        QCOMPARE(descricao(daEntrada), esperado);
        QVERIFY(daEntrada.Windows1252);

        const DebitosLidos doTexto =
            leDebitosCsv(PaginaAnsi::decodifica(bytes), QStringLiteral("texto colado"));
        QCOMPARE(descricao(doTexto), esperado);
        QVERIFY(!doTexto.Windows1252);
    }

    // Each cell as the sheet typed it: what becomes of it in the debt, or why the row is
    // refused. Columns: referência, vencimento, valor, descrição.
    void celulas_data() {
        QTest::addColumn<QStringList>("celulas");
        QTest::addColumn<QString>("esperado");
        const QString data = QStringLiteral("d:43840"); // 10/01/2020
        QTest::newRow("tudo em texto")
            << QStringList{"t:12/2019", "t:10/01/2020", "t:1.000,00", "t: nota "}
            << "1: 12/2019 | 10/01/2020 | 1000,00 | nota";
        QTest::newRow("datas com hora") << QStringList{"d:43800.75", "d:43840.5", "n:1000", ""}
                                        << "1: 12/2019 | 10/01/2020 | 1000,00 | ";
        QTest::newRow("mês sem zero")
            << QStringList{"t:1/2020", data, "n:0.5", ""} << "1: 01/2020 | 10/01/2020 | 0,50 | ";
        QTest::newRow("centavos sem inteiros")
            << QStringList{"t:01/2020", data, "t:,50", ""} << "1: 01/2020 | 10/01/2020 | ,50 | ";
        QTest::newRow("vencimento ISO") << QStringList{"t:01/2020", "t:2020-01-10", "n:1", ""}
                                        << "1: 01/2020 | 10/01/2020 | 1,00 | ";
        QTest::newRow("descrição numérica") << QStringList{"t:01/2020", data, "n:1", "n:123.5"}
                                            << "1: 01/2020 | 10/01/2020 | 1,00 | 123,5";
        QTest::newRow("descrição em data") << QStringList{"t:01/2020", data, "n:1", data}
                                           << "1: 01/2020 | 10/01/2020 | 1,00 | 10/01/2020";
        QTest::newRow("três decimais")
            << QStringList{"t:01/2020", data, "n:12.345", ""} << "1: Valor inválido: \"12,345\".";
        QTest::newRow("negativo") << QStringList{"t:01/2020", data, "n:-5", ""}
                                  << "1: Valor inválido: \"-5\".";
        QTest::newRow("valor em data")
            << QStringList{"t:01/2020", data, data, ""} << "1: Valor inválido: \"10/01/2020\".";
        QTest::newRow("vencimento em número") << QStringList{"t:01/2020", "n:43840", "n:1", ""}
                                              << "1: Vencimento inválido: \"43840\".";
        QTest::newRow("referência em número")
            << QStringList{"n:201912", data, "n:1", ""}
            << "1: Referência inválida: \"201912\" (use MM/AAAA).";
        QTest::newRow("mês zero") << QStringList{"t:00/2020", data, "n:1", ""}
                                  << "1: Referência inválida: \"00/2020\" (use MM/AAAA).";
        QTest::newRow("ano com dois algarismos")
            << QStringList{"t:12/19", data, "n:1", ""}
            << "1: Referência inválida: \"12/19\" (use MM/AAAA).";
        QTest::newRow("só brancos") << QStringList{"t:  ", "t: ", "t:\t", "t:nota"}
                                    << "1: Falta a referência. Falta o vencimento. Falta o valor.";
        // A cell's text is quoted on one line and cut short.
        QTest::newRow("texto longo em várias linhas")
            << QStringList{"t:01/2020", data,
                           "t:linha um\nlinha dois, que continua até passar de quarenta", ""}
            << "1: Valor inválido: \"linha um linha dois, que continua até p…\".";
        QTest::newRow("linha de totais") << QStringList{"t:TOTAL", "", "n:3000", ""} << "";
        QTest::newRow("linha de totais no plural")
            << QStringList{"t:Totais", "", "n:3000", "t:3 débitos calculados"} << "";
        QTest::newRow("nota fora das colunas") << QStringList{"", "", "", "", "t:observação"} << "";
    }
    void celulas() {
        QFETCH(QStringList, celulas);
        QFETCH(QString, esperado);
        const QList<LinhaPlanilha> linhas{
            linha(0, {"t:referencia", "t:vencimento", "t:valor", "t:descricao"}),
            linha(1, celulas)};
        const QStringList lidos = descricao(leDebitosDasLinhas(linhas, QStringLiteral("a.ods")));
        QCOMPARE(lidos, esperado.isEmpty() ? QStringList() : QStringList{esperado});
    }

    // The header: the first row that names the three columns, in any order, with accents and
    // capitals or without; "Valor do ICMS" as the statement's export calls the amount.
    void cabecalhos_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("ordem própria")
            << "Descrição;VALOR;Vencimento;Referência\nnota;1,00;10/01/2020;01/2020\n"
            << "2: 01/2020 | 10/01/2020 | 1,00 | nota";
        QTest::newRow("valor do icms")
            << "Referência;Vencimento;Valor do ICMS\n01/2020;10/01/2020;1,00\n"
            << "2: 01/2020 | 10/01/2020 | 1,00 | ";
        QTest::newRow("brancos em volta")
            << "  referencia ; vencimento;valor  \n01/2020;10/01/2020;1,00\n"
            << "2: 01/2020 | 10/01/2020 | 1,00 | ";
        QTest::newRow("cabeçalho incompleto antes do certo")
            << "Valor\nreferencia;vencimento;valor\n01/2020;10/01/2020;1,00\n"
            << "3: 01/2020 | 10/01/2020 | 1,00 | ";
        QTest::newRow("coluna repetida: vale a primeira")
            << "referencia;vencimento;valor;valor\n01/2020;10/01/2020;1,00;2,00\n"
            << "2: 01/2020 | 10/01/2020 | 1,00 | ";
    }
    void cabecalhos() {
        QFETCH(QString, texto);
        QFETCH(QString, esperado);
        QCOMPARE(descricao(leDebitosCsv(texto, QStringLiteral("colado"))), QStringList{esperado});
    }

    void semCabecalho_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("mensagem");
        const QString nenhum = QStringLiteral("A planilha \"colado\" não tem a linha de "
                                              "cabeçalho com as colunas referencia, vencimento "
                                              "e valor.");
        QTest::newRow("vazio") << "" << nenhum;
        QTest::newRow("só dados") << "01/2020;10/01/2020;1,00\n" << nenhum;
        QTest::newRow("falta uma") << "referencia;valor\n01/2020;1,00\n"
                                   << "O cabeçalho de \"colado\", na linha 1, não tem a coluna "
                                      "vencimento.";
        QTest::newRow("faltam três") << "\n\nDescrição\nnota\n"
                                     << "O cabeçalho de \"colado\", na linha 3, não tem as "
                                        "colunas referencia, vencimento e valor.";
        QTest::newRow("aspa aberta") << "referencia;vencimento;valor;\"descricao\n"
                                     << "O cabeçalho de \"colado\" está incompleto: A aspa aberta "
                                        "na linha 1 não foi fechada.";
    }
    void semCabecalho() {
        QFETCH(QString, texto);
        QFETCH(QString, mensagem);
        try {
            leDebitosCsv(texto, QStringLiteral("colado"));
            QFAIL("lido");
        } catch (const ErroBelqor& e) {
            QCOMPARE(e.mensagem(), mensagem);
        }
    }

    // The rows refused, in one message naming the file: all of them up to twenty, then the
    // first twenty and how many more.
    void mensagemDasRecusadas_data() {
        QTest::addColumn<int>("quantas");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QStringList>("esperado");
        const auto linhas = [](int de, int ate) {
            QStringList r;
            for (int i = de; i <= ate; ++i)
                r << QStringLiteral("Linha %1: Motivo %1.").arg(i + 1);
            return r;
        };
        QTest::newRow("uma") << 1 << "/tmp/a.xlsx"
                             << QStringList{
                                    "Uma linha da planilha \"/tmp/a.xlsx\" não foi incluída:",
                                    "Linha 2: Motivo 2."};
        QTest::newRow("vinte") << 20 << "/tmp/a.ods"
                               << QStringList{"20 linhas da planilha \"/tmp/a.ods\" não foram "
                                              "incluídas:"} +
                                      linhas(1, 20);
        QTest::newRow("vinte e uma") << 21 << "/tmp/a.csv"
                                     << QStringList{"21 linhas da planilha \"/tmp/a.csv\" não "
                                                    "foram incluídas:"} +
                                            linhas(1, 20) + QStringList{"… e mais uma linha."};
        QTest::newRow("dez mil, nome com %1")
            << 10000 << "/tmp/100%1.csv"
            << QStringList{"10000 linhas da planilha \"/tmp/100%1.csv\" não foram incluídas:"} +
                   linhas(1, 20) + QStringList{"… e mais 9980 linhas."};
    }
    void mensagemDasRecusadas() {
        QFETCH(int, quantas);
        QFETCH(QString, nome);
        QFETCH(QStringList, esperado);
        QList<LinhaRecusada> recusadas;
        for (int i = 1; i <= quantas; ++i)
            recusadas.append({i + 1, QStringLiteral("Motivo %1.").arg(i + 1)});
        QCOMPARE(textoRecusadas(nome, recusadas).split(QStringLiteral("\n\r")), esperado);
    }

    // Every file that cannot be read: one message that names it.
    void arquivosRecusados_data() {
        QTest::addColumn<QString>("caminho");
        QTest::addColumn<QString>("mensagem");
        const QString ausente = fPasta.filePath(QStringLiteral("ausente.csv"));
        QTest::newRow("outra extensão")
            << "/tmp/debitos.xls"
            << "O arquivo \"/tmp/debitos.xls\" não é uma planilha .csv, .xlsx ou .ods: abra um "
               "arquivo com uma dessas extensões.";
        QTest::newRow("csv ausente")
            << ausente
            << "Não foi possível ler o arquivo \"" + ausente + "\": arquivo ou pasta inexistente";
        const QString senha = QStringLiteral(BELQOR_FIXTURES "/planilhas/debitos-senha.xlsx");
        QTest::newRow("com senha")
            << senha
            << "A planilha \"" + senha +
                   "\" está protegida por senha: salve-a sem senha no programa de planilhas e "
                   "abra-a de novo.";
        const QString renomeado =
            gravaArquivoTeste(fPasta.path(), QStringLiteral("texto.ods"),
                              Cabecalho.toUtf8() + "01/2020;10/01/2020;1,00\n");
        QTest::newRow("texto renomeado")
            << renomeado << "O arquivo \"" + renomeado + "\" não é uma planilha .ods.";
    }
    void arquivosRecusados() {
        QFETCH(QString, caminho);
        QFETCH(QString, mensagem);
        try {
            leDebitos(caminho);
            QFAIL("lido");
        } catch (const ErroBelqor& e) {
            QCOMPARE(e.mensagem(), mensagem);
        }
    }
};

QTEST_GUILESS_MAIN(TesteLeituraDebitos)
#include "TesteLeituraDebitos.moc"
