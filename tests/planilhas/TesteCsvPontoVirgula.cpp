#include "planilhas/CsvPontoVirgula.h"
#include "sistema/ArquivoSaida.h"
#include "valores/Erros.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {

// "N: valor | valor", with " (aspa L)" for a row whose quote on line L never closed.
QString descricao(const LinhaCsv& linha) {
    QString texto =
        QStringLiteral("%1: %2").arg(linha.numero).arg(linha.valores.join(QLatin1String(" | ")));
    if (linha.aspaAberta != 0)
        texto += QStringLiteral(" (aspa %1)").arg(linha.aspaAberta);
    return texto;
}

QStringList linhasDe(LeitorCsv& leitor) {
    QStringList linhas;
    LinhaCsv linha;
    while (leitor.proxima(linha))
        linhas << descricao(linha);
    return linhas;
}

// Rows as the reader gives them back from the bytes of a file.
QStringList linhasDe(QByteArray bytes, AspasCsv aspas = AspasCsv::AtravessamLinhas) {
    QBuffer arquivo(&bytes);
    arquivo.open(QIODevice::ReadOnly);
    LeitorCsv leitor(arquivo, QStringLiteral("planilha.csv"), aspas);
    return linhasDe(leitor);
}

QStringList linhasDoTexto(const QString& texto, AspasCsv aspas = AspasCsv::AtravessamLinhas) {
    LeitorCsv leitor(texto, aspas);
    return linhasDe(leitor);
}

QByteArray conteudoArquivo(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TesteCsvPontoVirgula : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;

private slots:
    void leitura_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("campos simples e CR LF")
            << QByteArray("a;b;c\r\nd;e;f\r\n") << QStringList{"1: a | b | c", "2: d | e | f"};
        QTest::newRow("sem quebra no fim")
            << QByteArray("a;b\nc;d") << QStringList{"1: a | b", "2: c | d"};
        QTest::newRow("CR sem LF no fim") << QByteArray("a;\"b\"\r") << QStringList{"1: a | b"};
        QTest::newRow("campo vazio no fim") << QByteArray("a;\n") << QStringList{"1: a | "};
        QTest::newRow("separador e aspa dobrada entre aspas")
            << QByteArray("\"a;b\";\"c\"\"d\"\n") << QStringList{"1: a;b | c\"d"};
        QTest::newRow("aspas no meio do campo")
            << QByteArray("x\"a;b\"y;z\n") << QStringList{"1: xa;by | z"};
        QTest::newRow("quebra de linha entre aspas")
            << QByteArray("\"a\r\nb\";c\nd;e\n") << QStringList{"1: a\r\nb | c", "3: d | e"};
        QTest::newRow("linhas vazias e só de separadores puladas")
            << QByteArray("a;b\n\n;;\n \t\n\r\nc;d\n") << QStringList{"1: a | b", "6: c | d"};
        QTest::newRow("marca de UTF-8") << QByteArray("\xEF\xBB\xBFvalor;a\xC3\xA7\xC3\xA3o\n")
                                        << QStringList{"1: valor | ação"};
        QTest::newRow("Windows-1252") << QByteArray("S\xE3o;\x80\n") << QStringList{"1: São | €"};
        // The row ends with the quote's own line; the lines after it are rows of their own.
        QTest::newRow("aspa nunca fechada")
            << QByteArray("a;\"b\nc;d\n") << QStringList{"1: a | b (aspa 1)", "2: c | d"};
        QTest::newRow("aspa reaberta e não fechada")
            << QByteArray("\"x\ny\";\"z\nw;v") << QStringList{"1: x\ny | z (aspa 2)", "3: w | v"};
        QTest::newRow("vazio") << QByteArray() << QStringList();
    }
    void leitura() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, esperado);
        QCOMPARE(linhasDe(bytes), esperado);
    }

    // A text in memory gives the rows a file of its UTF-8 gives.
    void texto_data() {
        QTest::addColumn<QString>("texto");
        QTest::newRow("campos e CR LF") << "a;b;c\r\nd;e;f\r\n";
        QTest::newRow("aspas") << "\"a;b\";\"c\"\"d\";x\"y\"z\n";
        QTest::newRow("quebra entre aspas") << "\"a\r\nb\";c\nd;e";
        QTest::newRow("linhas puladas") << "a;b\n\n;;\n \t\n\r\nc;d\n";
        QTest::newRow("aspa nunca fechada") << "a;\"b\nc;d\n";
        QTest::newRow("acentos") << "ação;€\n";
    }
    void texto() {
        QFETCH(QString, texto);
        const QStringList doArquivo = linhasDe(texto.toUtf8());
        QVERIFY(!doArquivo.isEmpty());
        QCOMPARE(linhasDoTexto(texto), doArquivo);
    }

    // A text is taken as it stands: a byte-order mark's character is text of the first
    // field, and no row is too long.
    void textoComoEsta() {
        QCOMPARE(linhasDoTexto(QStringLiteral("\uFEFFa;b")),
                 QStringList{QStringLiteral("1: \uFEFFa | b")});
        const QString longo(LeitorCsv::MaximoLinha + 1, QLatin1Char('x'));
        QCOMPARE(linhasDoTexto(QStringLiteral("a;") + longo + QStringLiteral("\nb")),
                 (QStringList{QStringLiteral("1: a | ") + longo, QStringLiteral("2: b")}));
    }

    // With quotes that close on their line, a quote still open at a line's end ends its row
    // there, as one never closed, even where a later line would close it.
    void aspasFechamNaLinha_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("esperado");
        QTest::addColumn<QStringList>("atravessando");
        QTest::newRow("fechada na linha seguinte")
            << "\"a\nb\";c\n"
            << QStringList{"1: a (aspa 1)", "2: b;c (aspa 2)"} << QStringList{"1: a\nb | c"};
        QTest::newRow("aberta no segundo campo, com CR LF")
            << "x;\"1,28\r\n\";y\r\n"
            << QStringList{"1: x | 1,28 (aspa 1)", "2: ;y (aspa 2)"}
            << QStringList{"1: x | 1,28\r\n | y"};
        QTest::newRow("fechadas na própria linha")
            << "\"a;b\";\"c\"\"d\"\ne;f" << QStringList{"1: a;b | c\"d", "2: e | f"}
            << QStringList{"1: a;b | c\"d", "2: e | f"};
        QTest::newRow("nunca fechada")
            << "a;\"b\nc;d" << QStringList{"1: a | b (aspa 1)", "2: c | d"}
            << QStringList{"1: a | b (aspa 1)", "2: c | d"};
    }
    void aspasFechamNaLinha() {
        QFETCH(QString, texto);
        QFETCH(QStringList, esperado);
        QFETCH(QStringList, atravessando);
        QCOMPARE(linhasDoTexto(texto, AspasCsv::FechamNaLinha), esperado);
        QCOMPARE(linhasDe(texto.toUtf8(), AspasCsv::FechamNaLinha), esperado);
        QCOMPARE(linhasDoTexto(texto), atravessando);
    }

    // Every row, the empty ones and those of separators only too.
    void mesmoVazias() {
        LeitorCsv leitor(QStringLiteral("a;b\n\n;;\n \r\nc"));
        QStringList linhas;
        QStringList brutos;
        LinhaCsv linha;
        while (leitor.proximaMesmoVazia(linha)) {
            linhas << descricao(linha);
            brutos << linha.brutos.join(QLatin1Char('|'));
        }
        QCOMPARE(linhas, (QStringList{"1: a | b", "2: ", "3:  |  | ", "4:  ", "5: c"}));
        QCOMPARE(brutos, (QStringList{"a|b", "", "||", " ", "c"}));
    }

    // The raw texts keep the quotes; the values lose them.
    void textosBrutos() {
        QByteArray bytes("x\"a;b\"y;\"c\"\"d\";\"e\"\r\n");
        QBuffer arquivo(&bytes);
        arquivo.open(QIODevice::ReadOnly);
        LeitorCsv leitor(arquivo, QStringLiteral("planilha.csv"));
        LinhaCsv linha;
        QVERIFY(leitor.proxima(linha));
        QCOMPARE(linha.brutos, (QStringList{"x\"a;b\"y", "\"c\"\"d\"", "\"e\""}));
        QCOMPARE(linha.valores, (QStringList{"xa;by", "c\"d", "e"}));
        QVERIFY(!leitor.proxima(linha));
    }

    void codificacaoDecidida_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("windows1252");
        QTest::newRow("ASCII") << QByteArray("a;b\n") << false;
        QTest::newRow("UTF-8") << QByteArray("a\xC3\xA7;b\n") << false;
        QTest::newRow("Windows-1252") << QByteArray("a\xE7;b\n") << true;
        QTest::newRow("UTF-8 cortado no fim") << QByteArray("a;b\xC3") << true;
    }
    void codificacaoDecidida() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, windows1252);
        QBuffer arquivo(&bytes);
        arquivo.open(QIODevice::ReadOnly);
        const LeitorCsv leitor(arquivo, QStringLiteral("planilha.csv"));
        QCOMPARE(leitor.windows1252(), windows1252);
    }

    // What the rows read so far took of the file, in bytes, the mark and skipped rows
    // included: all of it at the end.
    void bytesConsumidos_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("depoisDaPrimeira");
        QTest::newRow("UTF-8 com marca")
            << QByteArray("\xEF\xBB\xBF\xC3\xA7;\xF0\x9F\x98\x80\r\n\n;\nb;\xE2\x82\xAC") << 12LL;
        QTest::newRow("Windows-1252") << QByteArray("\xE7;a\n\nb;\x80") << 4LL;
    }
    void bytesConsumidos() {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, depoisDaPrimeira);
        QBuffer arquivo(&bytes);
        arquivo.open(QIODevice::ReadOnly);
        LeitorCsv leitor(arquivo, QStringLiteral("planilha.csv"));
        LinhaCsv linha;
        QVERIFY(leitor.proxima(linha));
        QCOMPARE(leitor.bytesConsumidos(), depoisDaPrimeira);
        QVERIFY(leitor.proxima(linha));
        QVERIFY(!leitor.proxima(linha));
        QCOMPARE(leitor.bytesConsumidos(), qint64(bytes.size()));
    }

    void linhaLongaDemais() {
        QByteArray bytes = "a;b\n" + QByteArray(LeitorCsv::MaximoLinha + 1, 'x') + "\nc;d\n";
        QBuffer arquivo(&bytes);
        arquivo.open(QIODevice::ReadOnly);
        LeitorCsv leitor(arquivo, QStringLiteral("planilha.csv"));
        LinhaCsv linha;
        QVERIFY(leitor.proxima(linha));
        try {
            leitor.proxima(linha);
            QFAIL("a linha longa demais foi lida");
        } catch (const ErroEntradaSaida& e) {
            QCOMPARE(e.mensagem(), QStringLiteral("A linha 2 de \"planilha.csv\" passa de 1048576 "
                                                  "caracteres: o arquivo não é uma planilha "
                                                  "separada por \";\"."));
        }
    }

    // A quote that does not close within the longest row ends with its own line, however
    // many lines follow it.
    void aspaQueNaoFechaNoMaximo() {
        const QByteArray resto = QByteArray("b;c\n").repeated(LeitorCsv::MaximoLinha / 4 + 1);
        const QStringList linhas = linhasDe("\"a\n" + resto);
        QCOMPARE(linhas.size(), LeitorCsv::MaximoLinha / 4 + 2);
        QCOMPARE(linhas.first(), QStringLiteral("1: a (aspa 1)"));
        QCOMPARE(linhas.at(1), QStringLiteral("2: b | c"));
    }

    // A file gets UTF-8 with a byte-order mark and CR LF, what a spreadsheet opens as it
    // should; values that hold a separator, a quote or a line break go in quotes.
    void escritaEmArquivo() {
        const QString caminho = fPasta.filePath(QStringLiteral("saida.csv"));
        ArquivoSaida arquivo(caminho);
        arquivo.abre();
        EscritorCsv escritor(arquivo);
        escritor.campo(u"\"bruto\"");
        for (const QString& v :
             {QStringLiteral("a;b"), QStringLiteral("c\"d"), QStringLiteral("e\nf"),
              QStringLiteral("g\rh"), QStringLiteral("ação")})
            escritor.valor(v);
        escritor.fimDaLinha();
        escritor.valor(u"");
        escritor.valor(u"");
        escritor.fimDaLinha();
        escritor.descarrega();
        arquivo.conclui();
        QCOMPARE(conteudoArquivo(caminho),
                 QByteArray("\xEF\xBB\xBF\"bruto\";\"a;b\";\"c\"\"d\";\"e\nf\";\"g\rh\";"
                            "a\xC3\xA7\xC3\xA3o\r\n;\r\n"));
    }

    // Standard output gets plain lines, no mark.
    void escritaNaSaida() {
        QString texto;
        QTextStream saida(&texto);
        EscritorCsv escritor(saida);
        escritor.campo(u"a");
        escritor.valor(u"b;c");
        escritor.fimDaLinha();
        escritor.valor(u"d");
        escritor.fimDaLinha();
        escritor.descarrega();
        QCOMPARE(texto, QStringLiteral("a;\"b;c\"\nd\n"));
    }

    void saidaQueRecusa() {
        QByteArray bytes;
        QBuffer recusa(&bytes);
        recusa.open(QIODevice::ReadOnly);
        QTextStream saida(&recusa);
        EscritorCsv escritor(saida);
        escritor.valor(u"a");
        escritor.fimDaLinha();
        QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): ReadOnly device");
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, escritor.descarrega());
    }

    // What the writer wrote reads back as the same values, over more than one block.
    void idaEVolta() {
        const QString caminho = fPasta.filePath(QStringLiteral("ida-e-volta.csv"));
        const QStringList valores = {QStringLiteral("a;b"), QStringLiteral("\"c\""),
                                     QStringLiteral("d\r\ne"), QString(), QStringLiteral("ç €")};
        const int linhas = 5000;
        {
            ArquivoSaida arquivo(caminho);
            arquivo.abre();
            EscritorCsv escritor(arquivo);
            for (int i = 0; i < linhas; ++i) {
                for (const QString& v : valores)
                    escritor.valor(v);
                escritor.fimDaLinha();
            }
            escritor.descarrega();
            arquivo.conclui();
        }
        QFile arquivo(caminho);
        QVERIFY(arquivo.open(QIODevice::ReadOnly));
        QVERIFY(arquivo.size() > 64 * 1024);
        LeitorCsv leitor(arquivo, caminho);
        QVERIFY(!leitor.windows1252());
        LinhaCsv linha;
        int lidas = 0;
        while (leitor.proxima(linha)) {
            QCOMPARE(linha.valores, valores);
            QCOMPARE(linha.numero, qsizetype(2 * lidas + 1));
            ++lidas;
        }
        QCOMPARE(lidas, linhas);
    }
};

QTEST_GUILESS_MAIN(TesteCsvPontoVirgula)
#include "TesteCsvPontoVirgula.moc"
