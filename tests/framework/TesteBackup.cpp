#include "framework/NURFWUtils.h"

#include "widgets/PonteiroMouse.h"
#include "apoio/ArquivosTeste.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString TemporarioBackup = QStringLiteral("bkp_tmp_base_Ignore.gbk");
const QString TemporarioReestrutura = QStringLiteral("bkp_tmp_Ignore.gbk");

// A missing file reads as "(ausente)", so it never equals an expected content.
QByteArray le(const QString& caminho) {
    return conteudoArquivo(caminho, QByteArrayLiteral("(ausente)"));
}

} // namespace

// Each run of the stand-in tool leaves in the record: its program path, its working folder,
// whether the two temporary files and the backup file exist while it runs, its arguments
// one a line, and "fim". It writes its argument list into its last argument, the file it
// produces, and exits with the code set for its first option.
class TesteBackup : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    const QString fNomeFerramenta =
        QStringLiteral("ferramenta-backup-teste-%1").arg(QCoreApplication::applicationPid());

    QString base() const { return fPasta.filePath(QStringLiteral("dados/minha base.fdb")); }
    QString backup() const { return fPasta.filePath(QStringLiteral("copias/base.gbk")); }
    QString registro() const { return fPasta.filePath(QStringLiteral("registro.txt")); }
    QString ferramenta() const {
        return QCoreApplication::applicationDirPath() + u'/' + fNomeFerramenta;
    }

    void instalaFerramenta(int saidaBackup, int saidaRestauracao) {
        const QString script =
            QStringLiteral("#!/bin/sh\n"
                           "existe() { if [ -e \"$1\" ]; then echo sim; else echo nao; fi; }\n"
                           "{\n"
                           "  printf 'programa=%s\\n' \"$0\"\n"
                           "  printf 'pasta=%s\\n' \"$(pwd)\"\n"
                           "  printf 'temporario=%s\\n' \"$(existe '%1')\"\n"
                           "  printf 'backup=%s\\n' \"$(existe '%2')\"\n"
                           "  for a in \"$@\"; do printf '%s\\n' \"$a\"; done\n"
                           "  echo fim\n"
                           "} >> '%3'\n"
                           "for ultimo in \"$@\"; do :; done\n"
                           "printf '%s\\n' \"$*\" > \"$ultimo\"\n"
                           "if [ \"$1\" = -b ]; then exit %4; else exit %5; fi\n")
                .arg(QFileInfo(backup()).absolutePath() + u'/' + TemporarioBackup, backup(),
                     registro())
                .arg(saidaBackup)
                .arg(saidaRestauracao);
        gravaArquivoTeste(ferramenta(), script.toUtf8());
        QFile::setPermissions(ferramenta(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner);
    }

    // The runs in the record, each as its lines up to "fim".
    QList<QStringList> execucoes() const {
        QList<QStringList> lista;
        QStringList atual;
        for (const QString& linha : QString::fromUtf8(le(registro())).split(u'\n')) {
            if (linha == u"fim") {
                lista << atual;
                atual.clear();
            } else if (!linha.isEmpty() && linha != u"(ausente)") {
                atual << linha;
            }
        }
        return lista;
    }

    QStringList cabecalho(const QString& temporario, const QString& backupPresente) const {
        return {QStringLiteral("programa=") + ferramenta(), QStringLiteral("pasta=/"),
                QStringLiteral("temporario=") + temporario,
                QStringLiteral("backup=") + backupPresente};
    }

    void verificaPonteiroRestaurado() {
        QCOMPARE(PonteiroMouse::atual(), Ponteiro::Padrao);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

private slots:
    void initTestCase() { TNURUtils::DefineFerramentaBackup(fNomeFerramenta); }
    void cleanupTestCase() { QFile::remove(ferramenta()); }

    void init() {
        QDir(fPasta.path()).removeRecursively();
        QVERIFY(QDir().mkpath(QFileInfo(base()).absolutePath()));
        QVERIFY(QDir().mkpath(QFileInfo(backup()).absolutePath()));
        gravaArquivoTeste(base(), "base original");
        instalaFerramenta(0, 0);
    }

    void caminhoDaFerramenta() { QCOMPARE(TNURUtils::FerramentaBackup(), ferramenta()); }

    void linhasDeComando_data() {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<QString>("senha");
        QTest::addColumn<QStringList>("argumentos");
        // Stand for the database and backup paths of the test folder.
        const QString b = QStringLiteral("<base>");
        const QString k = QStringLiteral("<backup>");
        QTest::newRow("backup") << "B"
                                << "operador"
                                << "segredo"
                                << QStringList{"-b",        "-t",      "-l", "-user", "operador",
                                               "-password", "segredo", b,    k};
        QTest::newRow("restauração")
            << "R"
            << "operador"
            << "segredo"
            << QStringList{"-c", "-r", "-user", "operador", "-password", "segredo", k, b};
        QTest::newRow("usuário com branco fica inteiro")
            << "B"
            << "joao silva"
            << "segredo"
            << QStringList{"-b", "-t", "-l", "-user", "joao silva", "-password", "segredo", b, k};
        QTest::newRow("aspas na senha não criam argumentos")
            << "B"
            << "u"
            << "a\" -extra \"b"
            << QStringList{"-b", "-t", "-l", "-user", "u", "-password", "a\" -extra \"b", b, k};
        QTest::newRow("aspas no usuário não criam argumentos")
            << "R"
            << "u\" -extra \"v"
            << "segredo"
            << QStringList{"-c", "-r", "-user", "u\" -extra \"v", "-password", "segredo", k, b};
        QTest::newRow("senha com branco fica inteira")
            << "R"
            << "operador"
            << "minha senha"
            << QStringList{"-c", "-r", "-user", "operador", "-password", "minha senha", k, b};
        QTest::newRow("nenhum shell lê a senha")
            << "B"
            << "operador"
            << "$(touch x);`id`|&"
            << QStringList{"-b", "-t", "-l", "-user", "operador", "-password", "$(touch x);`id`|&",
                           b,    k};
    }
    void linhasDeComando() {
        QFETCH(QString, tipo);
        QFETCH(QString, usuario);
        QFETCH(QString, senha);
        QFETCH(QStringList, argumentos);
        argumentos.replaceInStrings(QStringLiteral("<base>"), base());
        argumentos.replaceInStrings(QStringLiteral("<backup>"), backup());

        QVERIFY(TNURUtils::BackupRestore(tipo, base(), backup(), usuario, senha));

        const auto runs = execucoes();
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs[0].mid(4), argumentos);
        QCOMPARE(runs[0][0], QStringLiteral("programa=") + ferramenta());
        QCOMPARE(runs[0][1], QStringLiteral("pasta=/"));
        verificaPonteiroRestaurado();
    }

    // A path with quotes and blanks reaches the tool whole.
    void aspasNosCaminhosFicamNumArgumento() {
        const QString baseEstranha = fPasta.filePath(QStringLiteral("dados/a\" -extra \"b.fdb"));
        const QString backupEstranho = fPasta.filePath(QStringLiteral("copias/c\" \"d e.gbk"));
        gravaArquivoTeste(baseEstranha, "base estranha");

        QVERIFY(TNURUtils::BackupRestore(QStringLiteral("B"), baseEstranha, backupEstranho,
                                         QStringLiteral("operador"), QStringLiteral("segredo")));
        QVERIFY(TNURUtils::BackupRestore(QStringLiteral("R"), baseEstranha, backupEstranho,
                                         QStringLiteral("operador"), QStringLiteral("segredo")));

        const auto runs = execucoes();
        QCOMPARE(runs.size(), 2);
        QCOMPARE(runs[0].mid(4), QStringList({"-b", "-t", "-l", "-user", "operador", "-password",
                                              "segredo", baseEstranha, backupEstranho}));
        QCOMPARE(runs[1].mid(4), QStringList({"-c", "-r", "-user", "operador", "-password",
                                              "segredo", backupEstranho, baseEstranha}));
    }

    void tipoDesconhecidoNaoExecuta_data() {
        QTest::addColumn<QString>("tipo");
        QTest::newRow("b minúsculo") << "b";
        QTest::newRow("r minúsculo") << "r";
        QTest::newRow("vazio") << "";
        QTest::newRow("BR") << "BR";
    }
    void tipoDesconhecidoNaoExecuta() {
        QFETCH(QString, tipo);
        gravaArquivoTeste(backup(), "backup anterior");
        const QString temporario = QFileInfo(backup()).absolutePath() + u'/' + TemporarioBackup;
        gravaArquivoTeste(temporario, "arquivo com o nome do temporário");
        QVERIFY(!TNURUtils::BackupRestore(tipo, base(), backup(), QStringLiteral("operador"),
                                          QStringLiteral("segredo")));
        QCOMPARE(execucoes().size(), 0);
        QCOMPARE(le(backup()), QByteArray("backup anterior"));
        QCOMPARE(le(base()), QByteArray("base original"));
        QVERIFY(!QFile::exists(temporario));
        verificaPonteiroRestaurado();
    }

    // The previous backup is set aside while the tool runs and comes back when it fails.
    void fazBackup_data() {
        QTest::addColumn<bool>("haviaAnterior");
        QTest::addColumn<int>("saida");
        QTest::addColumn<bool>("semFerramenta");
        QTest::addColumn<bool>("resultado");
        QTest::newRow("sucesso sobre anterior") << true << 0 << false << true;
        QTest::newRow("sucesso sem anterior") << false << 0 << false << true;
        QTest::newRow("falha devolve o anterior") << true << 1 << false << false;
        QTest::newRow("falha sem anterior não deixa resto") << false << 2 << false << false;
        QTest::newRow("ferramenta ausente devolve o anterior") << true << 0 << true << false;
        QTest::newRow("ferramenta ausente sem anterior") << false << 0 << true << false;
    }
    void fazBackup() {
        QFETCH(bool, haviaAnterior);
        QFETCH(int, saida);
        QFETCH(bool, semFerramenta);
        QFETCH(bool, resultado);
        if (haviaAnterior)
            gravaArquivoTeste(backup(), "backup anterior");
        instalaFerramenta(saida, 0);
        if (semFerramenta)
            QFile::remove(ferramenta());

        QCOMPARE(TNURUtils::BackupRestore(QStringLiteral("B"), base(), backup(),
                                          QStringLiteral("operador"), QStringLiteral("segredo")),
                 resultado);

        const auto runs = execucoes();
        QCOMPARE(runs.size(), semFerramenta ? 0 : 1);
        if (!semFerramenta)
            QCOMPARE(runs[0].mid(0, 4), cabecalho(haviaAnterior ? "sim" : "nao", "nao"));
        const QByteArray novo = "-b -t -l -user operador -password segredo " + base().toUtf8() +
                                ' ' + backup().toUtf8() + '\n';
        const QByteArray esperado = resultado       ? novo
                                    : haviaAnterior ? QByteArray("backup anterior")
                                                    : QByteArray("(ausente)");
        QCOMPARE(le(backup()), esperado);
        QCOMPARE(le(base()), QByteArray("base original"));
        QVERIFY(!QFile::exists(QFileInfo(backup()).absolutePath() + u'/' + TemporarioBackup));
        verificaPonteiroRestaurado();
    }

    void restauracao_data() {
        QTest::addColumn<int>("saida");
        QTest::addColumn<bool>("semFerramenta");
        QTest::addColumn<bool>("resultado");
        QTest::newRow("sucesso") << 0 << false << true;
        QTest::newRow("ferramenta termina com erro") << 1 << false << false;
        QTest::newRow("ferramenta ausente") << 0 << true << false;
    }
    void restauracao() {
        QFETCH(int, saida);
        QFETCH(bool, semFerramenta);
        QFETCH(bool, resultado);
        gravaArquivoTeste(backup(), "backup anterior");
        instalaFerramenta(0, saida);
        if (semFerramenta)
            QFile::remove(ferramenta());

        QCOMPARE(TNURUtils::BackupRestore(QStringLiteral("R"), base(), backup(),
                                          QStringLiteral("operador"), QStringLiteral("segredo")),
                 resultado);
        QCOMPARE(execucoes().size(), semFerramenta ? 0 : 1);
        QCOMPARE(le(backup()), QByteArray("backup anterior"));
        if (semFerramenta)
            QCOMPARE(le(base()), QByteArray("base original"));
        else
            QCOMPARE(le(base()), "-c -r -user operador -password segredo " + backup().toUtf8() +
                                     ' ' + base().toUtf8() + '\n');
        verificaPonteiroRestaurado();
    }

    // The rebuild backs the database up into a temporary file beside it and restores from
    // there; a failed backup never reaches the restore.
    void reestrutura_data() {
        QTest::addColumn<int>("saidaBackup");
        QTest::addColumn<int>("saidaRestauracao");
        QTest::addColumn<bool>("semFerramenta");
        QTest::addColumn<int>("execucoesEsperadas");
        QTest::addColumn<bool>("resultado");
        QTest::newRow("sucesso") << 0 << 0 << false << 2 << true;
        QTest::newRow("backup falha, base intacta") << 1 << 0 << false << 1 << false;
        QTest::newRow("restauração falha") << 0 << 1 << false << 2 << false;
        QTest::newRow("ferramenta ausente, base intacta") << 0 << 0 << true << 0 << false;
    }
    void reestrutura() {
        QFETCH(int, saidaBackup);
        QFETCH(int, saidaRestauracao);
        QFETCH(bool, semFerramenta);
        QFETCH(int, execucoesEsperadas);
        QFETCH(bool, resultado);
        const QString temporario = QFileInfo(base()).absolutePath() + u'/' + TemporarioReestrutura;
        gravaArquivoTeste(temporario, "sobra de outra vez");
        instalaFerramenta(saidaBackup, saidaRestauracao);
        if (semFerramenta)
            QFile::remove(ferramenta());

        QCOMPARE(TNURUtils::ReestruturaBaseDados(base(), QStringLiteral("operador"),
                                                 QStringLiteral("segredo")),
                 resultado);

        const auto runs = execucoes();
        QCOMPARE(runs.size(), execucoesEsperadas);
        const QString b = base();
        if (execucoesEsperadas >= 1)
            QCOMPARE(runs[0].mid(4), QStringList({"-b", "-t", "-l", "-user", "operador",
                                                  "-password", "segredo", b, temporario}));
        if (execucoesEsperadas == 2)
            QCOMPARE(runs[1].mid(4), QStringList({"-c", "-r", "-user", "operador", "-password",
                                                  "segredo", temporario, b}));
        if (execucoesEsperadas < 2)
            QCOMPARE(le(base()), QByteArray("base original"));
        else
            QCOMPARE(le(base()), "-c -r -user operador -password segredo " + temporario.toUtf8() +
                                     ' ' + b.toUtf8() + '\n');
        QVERIFY(!QFile::exists(temporario));
        verificaPonteiroRestaurado();
    }

    // The hourglass is the application's one pointer setting: afterwards it is the default
    // again, even when it was already set before the call.
    void ponteiroVoltaAoPadrao() {
        PonteiroMouse::define(Ponteiro::Ampulheta);
        QCOMPARE(PonteiroMouse::atual(), Ponteiro::Ampulheta);
        QVERIFY(TNURUtils::ReestruturaBaseDados(base(), QStringLiteral("operador"),
                                                QStringLiteral("segredo")));
        verificaPonteiroRestaurado();
    }
};

QTEST_MAIN(TesteBackup)
#include "TesteBackup.moc"
