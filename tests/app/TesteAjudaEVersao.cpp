#include <QProcess>
#include <QTest>

// The desktop program and the log viewer answer --help and --version before they need a
// display: run as built, without one, and with the offscreen platform, where a window
// would open and the program would not end by itself.
class TesteAjudaEVersao : public QObject {
    Q_OBJECT

    struct Execucao {
        bool terminou = false;
        int status = -1;
        QString saida;
        QString erro;
    };

    static Execucao roda(const QString& programa, const QStringList& argumentos,
                         const QString& plataforma, const QString& arquivoSaida = QString()) {
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        for (const char* variavel : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            ambiente.remove(QString::fromLatin1(variavel));
        if (!plataforma.isEmpty())
            ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), plataforma);
        ambiente.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        QProcess p;
        p.setProcessEnvironment(ambiente);
        if (!arquivoSaida.isEmpty())
            p.setStandardOutputFile(arquivoSaida);
        p.start(programa, argumentos);
        Execucao e;
        e.terminou = p.waitForFinished(30000);
        if (!e.terminou) {
            p.kill();
            p.waitForFinished();
            return e;
        }
        e.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        e.saida = QString::fromUtf8(p.readAllStandardOutput());
        e.erro = QString::fromUtf8(p.readAllStandardError());
        return e;
    }

private slots:
    void respondeSemTela_data() {
        QTest::addColumn<QString>("programa");
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<QString>("plataforma");
        QTest::addColumn<QString>("inicio");
        const QString belqor = QStringLiteral(BELQOR_PROGRAMA);
        const QString verlog = QStringLiteral(BELQOR_VERLOG);
        for (const QString& plataforma : {QString(), QStringLiteral("offscreen")}) {
            const QString onde =
                plataforma.isEmpty() ? QStringLiteral(", sem tela") : QStringLiteral(", offscreen");
            QTest::addRow("belqor --version%s", qPrintable(onde))
                << belqor << QStringList{"--version"} << plataforma << "belqor 3.02.00\n";
            QTest::addRow("belqor --help%s", qPrintable(onde))
                << belqor << QStringList{"--help"} << plataforma
                << "Uso: belqor [--help | --version]\n";
            QTest::addRow("belqor -h%s", qPrintable(onde))
                << belqor << QStringList{"-h"} << plataforma
                << "Uso: belqor [--help | --version]\n";
            QTest::addRow("verlog --version%s", qPrintable(onde))
                << verlog << QStringList{"--version"} << plataforma << "verlog 3.02.00\n";
            QTest::addRow("verlog --help%s", qPrintable(onde))
                << verlog << QStringList{"--help"} << plataforma
                << "Uso: verlog [--help | --version]\n";
        }
    }
    void respondeSemTela() {
        QFETCH(QString, programa);
        QFETCH(QStringList, argumentos);
        QFETCH(QString, plataforma);
        QFETCH(QString, inicio);
        const Execucao e = roda(programa, argumentos, plataforma);
        QVERIFY(e.terminou);
        QCOMPARE(e.erro, QString());
        QCOMPARE(e.status, 0);
        QVERIFY2(e.saida.startsWith(inicio), qPrintable(e.saida));
        if (inicio.startsWith(QLatin1String("Uso:")))
            QVERIFY2(e.saida.contains(QStringLiteral("--version   mostra a versão\n")),
                     qPrintable(e.saida));
        else
            QCOMPARE(e.saida, inicio);
    }

    // What cannot reach standard output is a failure, not a version shown.
    void saidaQueNaoGrava() {
        for (const char* programa : {BELQOR_PROGRAMA, BELQOR_VERLOG}) {
            const Execucao e = roda(QString::fromUtf8(programa), {QStringLiteral("--version")},
                                    QString(), QStringLiteral("/dev/full"));
            QVERIFY(e.terminou);
            QCOMPARE(e.status, 1);
            QCOMPARE(e.erro, QStringLiteral("Erro de gravação na saída padrão.\n"));
        }
    }

    // Without those arguments the program still needs its display, and says so.
    void semArgumentoPedeTela() {
        const Execucao e = roda(QStringLiteral(BELQOR_PROGRAMA), {}, QString());
        QVERIFY(e.terminou);
        QCOMPARE(e.status, 1);
        QVERIFY2(e.erro.contains(QStringLiteral("não há tela disponível")), qPrintable(e.erro));
    }
};

QTEST_GUILESS_MAIN(TesteAjudaEVersao)
#include "TesteAjudaEVersao.moc"
