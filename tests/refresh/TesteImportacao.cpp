#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "refresh/BQrnSELIC.h"
#include "valores/Erros.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

DataHora dia(int d, int m, int a) {
    return Datas::codificaData(a, m, d);
}

QStringList linhasFixture(const QString& nome) {
    QFile f(QStringLiteral(BELQOR_FIXTURES "/importacao/") + nome);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("fixture ausente: %s", qPrintable(nome));
    QStringList linhas = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    return linhas;
}

const QString Falha = QStringLiteral("Falha ao inserir registro");
const QString MaioNaoDivulgado =
    QStringLiteral("A Selic de 05/2024 ainda não foi divulgada! A data de hoje é 15/05/2024");

} // namespace

class TesteImportacao : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{dia(15, 5, 2024) + Datas::codificaHora(14, 3, 27)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

    QString caminhoLog() const { return fPasta.filePath(QStringLiteral("logBELQOR.txt")); }

    QStringList linhasLog() const {
        QFile f(caminhoLog());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList linhas = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
        linhas.removeAll(QString());
        return linhas;
    }

private slots:
    void init() {
        fDialogos.limpa();
        QFile::remove(caminhoLog());
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        fDados->escreveTabela({{QDate(2024, 1, 1), QStringLiteral("0.97")}});
    }
    void cleanup() { fDados.reset(); }

    void importa_data() {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QStringList>("esperado");
        QTest::addColumn<QStringList>("mensagens");
        QTest::addColumn<QString>("falhaNoLog");
        const QString jan = QStringLiteral("01/2024=0.97");
        QTest::newRow("três entradas")
            << "tres-entradas.xml"
            << QStringList{jan, "02/2024=0.8", "03/2024=0.83", "04/2024=0.89"} << QStringList()
            << "";
        QTest::newRow("terceira sem valor")
            << "terceira-sem-valor.xml" << QStringList{jan, "02/2024=0.8", "03/2024=0.83"}
            << QStringList() << "valorTaxaSelic";
        QTest::newRow("primeira ruim, nada entregue")
            << "primeira-ruim.xml" << QStringList{jan} << QStringList()
            << "'24//2/01/0' is not a valid date";
        QTest::newRow("comentário antes da primeira")
            << "comentario-antes.xml" << QStringList{jan} << QStringList() << "dataSelic";
        QTest::newRow("lista vazia")
            << "lista-vazia.xml" << QStringList{jan} << QStringList() << "";
        QTest::newRow("lista embrulhada")
            << "embrulhada.xml" << QStringList{jan} << QStringList() << "list";
        QTest::newRow("valor agrupado")
            << "valor-agrupado.xml" << QStringList{jan, "02/2024=0.8"} << QStringList()
            << "'1,000,5' is not a valid floating point value";
        QTest::newRow("texto misturado")
            << "texto-misturado.xml" << QStringList{jan} << QStringList() << "dataSelic";
        // April at 0,54 (day from one character, comma accepted); the repeated April and
        // the future June are skipped; May is refused and dropped, so March is stored.
        QTest::newRow("variadas") << "variadas.xml"
                                  << QStringList{jan, "04/2024=0.54", "03/2024=0.83"}
                                  << QStringList{MaioNaoDivulgado, Falha} << "";
    }
    void importa() {
        QFETCH(QString, fixture);
        QFETCH(QStringList, esperado);
        QFETCH(QStringList, mensagens);
        QFETCH(QString, falhaNoLog);
        DocumentoXML xml;
        xml.Linhas = linhasFixture(fixture);
        QVERIFY(TSelicRN(*fDados, fRelogio).ImportaTaxas(xml));
        QCOMPARE(fDialogos.textos(), mensagens);
        if (fDados->CDSSelic.ativa())
            QCOMPARE(fDados->CDSSelic.estado(), TabelaMemoria::Estado::Navegando);
        else
            fDados->CDSSelic.abrir();
        QCOMPARE(fDados->meses(), esperado);
        const QStringList log = linhasLog();
        if (falhaNoLog.isEmpty()) {
            QVERIFY(log.isEmpty());
        } else {
            QCOMPARE(log.size(), 1);
            static const QRegularExpression formato(QStringLiteral(
                "^15/05/2024 14:03:27 - \\([0-9A-F]{8,}\\) \\[[0-9A-F]{8,}\\] - (.*)$"));
            const auto m = formato.match(log.first());
            QVERIFY2(m.hasMatch(), qPrintable(log.first()));
            QVERIFY2(m.captured(1).contains(falhaNoLog), qPrintable(log.first()));
        }
    }

    void documentoQueNaoAnalisaVaiAoChamador_data() {
        QTest::addColumn<QStringList>("linhas");
        QTest::newRow("uma linha vazia") << QStringList{QString()};
        QTest::newRow("malformado") << QStringList{QStringLiteral("<list><item>")};
    }
    void documentoQueNaoAnalisaVaiAoChamador() {
        QFETCH(QStringList, linhas);
        DocumentoXML xml;
        xml.Linhas = linhas;
        QVERIFY_THROWS_EXCEPTION(ErroBelqor, TSelicRN(*fDados, fRelogio).ImportaTaxas(xml));
        QVERIFY(linhasLog().isEmpty());
        QVERIFY(fDialogos.registros().isEmpty());
        QVERIFY(!fDados->CDSSelic.ativa());
    }

    // An external entity is never fetched: the document fails to parse or the entry fails,
    // and nothing of the named file reaches the table or the log.
    void entidadeExternaNaoEhLida() {
        DocumentoXML xml;
        xml.Linhas = linhasFixture(QStringLiteral("entidade-externa.xml"));
        try {
            TSelicRN(*fDados, fRelogio).ImportaTaxas(xml);
        } catch (const ErroBelqor& e) {
            QVERIFY(!e.mensagem().contains(QStringLiteral("root:")));
        }
        for (const QString& linha : linhasLog())
            QVERIFY(!linha.contains(QStringLiteral("root:")));
        QVERIFY(!fDados->CDSSelic.ativa() || fDados->meses().size() == 1);
    }

    void semTextoNenhumEscreveUmaLinha() {
        DocumentoXML xml;
        QVERIFY(TSelicRN(*fDados, fRelogio).ImportaTaxas(xml));
        QCOMPARE(linhasLog().size(), 1);
        QVERIFY(linhasLog().first().endsWith(QStringLiteral("list\" não encontrado.")));
    }

    void documentoEnormeEhRecusado() {
        DocumentoXML xml;
        const QString grande(1024 * 1024, QLatin1Char(' '));
        for (int i = 0; i < 17; ++i)
            xml.Linhas << grande;
        QVERIFY_THROWS_EXCEPTION(ErroBelqor, TSelicRN(*fDados, fRelogio).ImportaTaxas(xml));
    }

    // Nesting far deeper than any rate document is refused before the tree is built, as a
    // document that does not parse: nothing imported, nothing logged.
    void documentoAninhadoDemaisEhRecusado_data() {
        QTest::addColumn<QString>("texto");
        QTest::newRow("200 000 níveis")
            << QStringLiteral("<list>") + QStringLiteral("<a>").repeated(200000);
        QTest::newRow("33 níveis fechados")
            << QStringLiteral("<list>") + QStringLiteral("<a>").repeated(32) +
                   QStringLiteral("</a>").repeated(32) + QStringLiteral("</list>");
    }
    void documentoAninhadoDemaisEhRecusado() {
        QFETCH(QString, texto);
        DocumentoXML xml;
        xml.Linhas << texto;
        try {
            TSelicRN(*fDados, fRelogio).ImportaTaxas(xml);
            QFAIL("o documento aninhado foi aceito");
        } catch (const ErroBelqor& e) {
            QCOMPARE(e.mensagem(), QStringLiteral("Documento XML recusado: os elementos estão "
                                                  "aninhados em mais de 32 níveis, o que nenhum "
                                                  "documento de taxas tem."));
        }
        QVERIFY(linhasLog().isEmpty());
        QVERIFY(!fDados->CDSSelic.ativa());
    }

    // 32 levels are still read as a document: the walk fails on its first entry.
    void aninhamentoNoLimiteEhLido() {
        DocumentoXML xml;
        xml.Linhas << QStringLiteral("<list>") + QStringLiteral("<a>").repeated(31) +
                          QStringLiteral("</a>").repeated(31) + QStringLiteral("</list>");
        QVERIFY(TSelicRN(*fDados, fRelogio).ImportaTaxas(xml));
        QCOMPARE(linhasLog().size(), 1);
        QVERIFY2(linhasLog().first().endsWith(QStringLiteral("\"dataSelic\" não encontrado.")),
                 qPrintable(linhasLog().first()));
    }

    void ponto() {
        regional().separadorDecimal = QLatin1Char('.');
        DocumentoXML xml;
        xml.Linhas = linhasFixture(QStringLiteral("tres-entradas.xml"));
        TSelicRN(*fDados, fRelogio).ImportaTaxas(xml);
        QCOMPARE(linhasLog().size(), 1);
        QVERIFY(linhasLog().first().endsWith(
            QStringLiteral("'0,80' is not a valid floating point value")));
        QVERIFY(!fDados->CDSSelic.ativa());
    }

    void separadorDeDataHifen() {
        regional().separadorData = QLatin1Char('-');
        DocumentoXML xml;
        xml.Linhas = linhasFixture(QStringLiteral("tres-entradas.xml"));
        TSelicRN(*fDados, fRelogio).ImportaTaxas(xml);
        QCOMPARE(linhasLog().size(), 1);
        QVERIFY(linhasLog().first().startsWith(QStringLiteral("15-05-2024 14:03:27 - ")));
    }

    void linhaDeLogAMeiaNoite() {
        QCOMPARE(TSelicRN::linhaLog(dia(15, 5, 2024), QStringLiteral("(00001000) [00402000]"),
                                    QStringLiteral("m")),
                 QStringLiteral("15/05/2024 - (00001000) [00402000] - m"));
        const QString local = TSelicRN::textoLocalizacao(
            reinterpret_cast<const void*>(&TesteImportacao::staticMetaObject));
        QVERIFY(QRegularExpression(QStringLiteral("^\\([0-9A-F]{8,}\\) \\[[0-9A-F]{8,}\\]$"))
                    .match(local)
                    .hasMatch());
    }
};

QTEST_GUILESS_MAIN(TesteImportacao)
#include "TesteImportacao.moc"
