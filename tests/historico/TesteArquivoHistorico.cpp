// What only the SQLite file can show: a byte changed in the file itself, a damaged or
// foreign file refused and left as it is, the recorder that says so once and sets the file
// aside, the write-ahead log.

#include "apoio/ArquivosTeste.h"
#include "historico/ErroHistorico.h"
#include "historico/Historico.h"
#include "historico/RegistradorHistorico.h"
#include "historico/RegistrosTeste.h"
#include "valores/Erros.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TesteArquivoHistorico : public QObject {
    Q_OBJECT

    QTemporaryDir fRaiz;
    std::unique_ptr<FabricaRegistros> fFabrica;
    QString fPasta;   // this test's folder
    QString fArquivo; // historico.sqlite in it

    RegistroHistorico registro(int dia) {
        return fFabrica->demonstrativo(
            QStringLiteral("Contribuinte %1").arg(dia), QStringLiteral("123.456.789-09"),
            {QStringLiteral("%1/2019;10/01/2020;1000,00").arg(dia, 2, 10, QLatin1Char('0'))},
            QStringLiteral("10/04/2020"), momentoTeste(dia, 9));
    }
    // A history of `quantos` records, closed: the write-ahead log is back in the file.
    void criaHistorico(int quantos) {
        Historico h(DestinoHistorico::sqlite(fArquivo));
        for (int dia = 1; dia <= quantos; ++dia)
            h.registra(registro(dia));
    }
    ErroHistorico erroAoAbrir() {
        try {
            Historico h(DestinoHistorico::sqlite(fArquivo));
        } catch (const ErroHistorico& e) {
            return e;
        }
        return ErroHistorico(ErroHistorico::Tipo::Configuracao, QStringLiteral("aberto"));
    }

private slots:
    void initTestCase() { fFabrica = std::make_unique<FabricaRegistros>(fRaiz.path()); }
    void cleanupTestCase() { fFabrica.reset(); }
    void init() {
        fPasta = fRaiz.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                                QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(fPasta));
        fArquivo = fPasta + QStringLiteral("/historico.sqlite");
    }

    // One byte of one record's content, changed in the file with the program closed, is
    // found at that record.
    void byteAlteradoNoArquivo() {
        criaHistorico(5);
        QVERIFY(!QFileInfo::exists(fArquivo + QStringLiteral("-wal")));
        QByteArray bytes = conteudoArquivo(fArquivo);
        // The debt's description, in the third record's content only.
        const QByteArray marca = "\"ICMS 03/2019\"";
        const qsizetype onde = bytes.indexOf(marca);
        QVERIFY(onde >= 0);
        QCOMPARE(bytes.indexOf(marca, onde + 1), -1);
        bytes[onde + 6] = '1'; // "ICMS 13/2019"
        gravaArquivoTeste(fArquivo, bytes);
        const ResultadoVerificacao v = Historico(DestinoHistorico::sqlite(fArquivo)).verifica();
        QCOMPARE(v.falha, ResultadoVerificacao::Falha::Conteudo);
        QCOMPARE(v.registro, 3);
        QCOMPARE(v.verificados, 2);
    }

    void arquivoEmModoWalComPaginasDe8KiB() {
        criaHistorico(1);
        const QByteArray cabecalho = conteudoArquivo(fArquivo).left(20);
        QVERIFY(cabecalho.startsWith("SQLite format 3"));
        // The page size, big-endian.
        QCOMPARE(cabecalho.mid(16, 2), QByteArray("\x20\x00", 2));
        // The read and write versions, 2 in a write-ahead log database.
        QCOMPARE(int(cabecalho[18]), 2);
        QCOMPARE(int(cabecalho[19]), 2);
    }

    void arquivoInvalidoERecusadoEMantido_data() {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray acaso(8192, '\0');
        QRandomGenerator sorte(42);
        for (char& c : acaso)
            c = char(sorte.bounded(256));
        QTest::newRow("texto") << QByteArray("Lista de compras: pão, leite, café.\n");
        QTest::newRow("bytes ao acaso") << acaso;
        QTest::newRow("cabeçalho SQLite e nada mais")
            << QByteArray("SQLite format 3\0", 16) + QByteArray(84, '\x01');
        QTest::newRow("histórico com o esquema estragado") << QByteArray();
    }
    void arquivoInvalidoERecusadoEMantido() {
        QFETCH(QByteArray, bytes);
        if (bytes.isEmpty()) {
            criaHistorico(2);
            bytes = conteudoArquivo(fArquivo);
            // The first page after its header holds the tables' definitions.
            for (qsizetype i = 100; i < 4096 && i < bytes.size(); ++i)
                bytes[i] = char(0xA5);
        }
        gravaArquivoTeste(fArquivo, bytes);
        const ErroHistorico e = erroAoAbrir();
        QCOMPARE(e.tipo(), ErroHistorico::Tipo::ArquivoInvalido);
        QCOMPARE(e.arquivo(), fArquivo);
        QVERIFY2(e.mensagem().startsWith(QStringLiteral("O arquivo \"%1\" está danificado ou não é "
                                                        "um histórico do BELQOR: ")
                                             .arg(fArquivo)),
                 qPrintable(e.mensagem()));
        QVERIFY2(e.mensagem().endsWith(QStringLiteral("O arquivo foi mantido como está.")),
                 qPrintable(e.mensagem()));
        QCOMPARE(conteudoArquivo(fArquivo), bytes);
    }

    // A database of another program is left exactly as it was: not even its journal mode
    // changes.
    void bancoDeOutroProgramaIntocado() {
        {
            QSqlDatabase b =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("outro"));
            b.setDatabaseName(fArquivo);
            QVERIFY(b.open());
            QSqlQuery q(b);
            QVERIFY(q.exec(QStringLiteral("CREATE TABLE clientes (nome TEXT)")));
            QVERIFY(q.exec(QStringLiteral("INSERT INTO clientes VALUES ('Ana')")));
            b.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("outro"));
        const QByteArray antes = conteudoArquivo(fArquivo);
        const ErroHistorico e = erroAoAbrir();
        QCOMPARE(e.tipo(), ErroHistorico::Tipo::ArquivoInvalido);
        QCOMPARE(e.mensagem(), QStringLiteral("O arquivo \"%1\" não é um histórico do BELQOR: é "
                                              "um banco de dados de outro programa. O arquivo foi "
                                              "mantido como está.")
                                   .arg(fArquivo));
        QCOMPARE(conteudoArquivo(fArquivo), antes);
    }

    void pastaQueNaoPodeSerCriada() {
        gravaArquivoTeste(fPasta + QStringLiteral("/arquivo"), "não é pasta\n");
        fArquivo = fPasta + QStringLiteral("/arquivo/sub/historico.sqlite");
        const ErroHistorico e = erroAoAbrir();
        QCOMPARE(e.tipo(), ErroHistorico::Tipo::Indisponivel);
        QCOMPARE(e.mensagem(), QStringLiteral("Não foi possível criar a pasta \"%1/arquivo/sub\" "
                                              "do histórico.")
                                   .arg(fPasta));
    }

    // Said once; nothing recorded until the file is set aside, renamed with the date and
    // kept as it was; then a new history.
    void registradorAvisaUmaVezEPoeDeLado() {
        const QByteArray danificado("isto não é um banco de dados, é um arquivo qualquer\n");
        gravaArquivoTeste(fArquivo, danificado);
        // The date's name is taken: the next one is used.
        gravaArquivoTeste(fPasta + QStringLiteral("/historico-2026-12-10.sqlite"), "outro\n");
        QStringList avisos;
        RegistradorHistorico registrador(
            RegistradorHistorico::aberturaDe(DestinoHistorico::sqlite(fArquivo)),
            [&](const QString& m) { avisos << m; });
        QCOMPARE(registrador.registra(registro(1)), std::nullopt);
        QCOMPARE(registrador.registra(registro(2)), std::nullopt);
        QCOMPARE(avisos.size(), 1);
        QCOMPARE(avisos.first(), registrador.falha());
        QVERIFY2(avisos.first().contains(fArquivo), qPrintable(avisos.first()));
        QVERIFY(avisos.first().endsWith(
            QStringLiteral("\n\rOs cálculos continuam, mas não são registrados no histórico.")));
        QCOMPARE(registrador.arquivoInvalido(), fArquivo);
        QCOMPARE(conteudoArquivo(fArquivo), danificado);

        const QString posto = registrador.poeDeLadoERecomeca(Datas::codificaData(2026, 12, 10));
        QCOMPARE(posto, fPasta + QStringLiteral("/historico-2026-12-10-2.sqlite"));
        QCOMPARE(conteudoArquivo(posto), danificado);
        QVERIFY(!QFileInfo::exists(fArquivo));
        QVERIFY(registrador.falha().isEmpty());
        QCOMPARE(registrador.registra(registro(3)), std::optional<qint64>(1));
        QCOMPARE(avisos.size(), 1);
        QCOMPARE(Historico(DestinoHistorico::sqlite(fArquivo)).verifica().verificados, 1);
    }

    // Any other failure of a record stops recording the same way, said once.
    void registradorAvisaQualquerFalhaUmaVez() {
        QStringList avisos;
        int aberturas = 0;
        RegistradorHistorico registrador(
            [&]() -> std::unique_ptr<Historico> {
                ++aberturas;
                throw ErroConversao(QStringLiteral("Falha inesperada."));
            },
            [&](const QString& m) { avisos << m; });
        QCOMPARE(registrador.registra(registro(1)), std::nullopt);
        QCOMPARE(registrador.registra(registro(2)), std::nullopt);
        QCOMPARE(aberturas, 1);
        QCOMPARE(avisos,
                 QStringList{QStringLiteral("Falha inesperada.\n\rOs cálculos continuam, mas "
                                            "não são registrados no histórico.")});
        QVERIFY(registrador.arquivoInvalido().isEmpty());
        QCOMPARE(registrador.poeDeLadoERecomeca(Datas::codificaData(2026, 12, 10)), QString());
    }

    // The log and shared memory of a set-aside file go with it: left behind, the log would
    // be played into the new history.
    void poeDeLadoLevaOLog() {
        gravaArquivoTeste(fArquivo, "principal");
        gravaArquivoTeste(fArquivo + QStringLiteral("-wal"), "log");
        gravaArquivoTeste(fArquivo + QStringLiteral("-shm"), "memória");
        const QString novo = poeHistoricoDeLado(fArquivo, Datas::codificaData(2026, 1, 2));
        QCOMPARE(novo, fPasta + QStringLiteral("/historico-2026-01-02.sqlite"));
        QCOMPARE(conteudoArquivo(novo + QStringLiteral("-wal")), QByteArray("log"));
        QCOMPARE(conteudoArquivo(novo + QStringLiteral("-shm")), QByteArray("memória"));
        QCOMPARE(QDir(fPasta).entryList(QDir::Files),
                 (QStringList{"historico-2026-01-02.sqlite", "historico-2026-01-02.sqlite-shm",
                              "historico-2026-01-02.sqlite-wal"}));
    }
};

QTEST_GUILESS_MAIN(TesteArquivoHistorico)
#include "TesteArquivoHistorico.moc"
