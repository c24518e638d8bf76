#include "framework/NURFWUtils.h"

#include "dialogos/Dialogos.h"
#include "apoio/DialogosRoteiro.h"
#include "framework/Maquina.h"
#include "apoio/ArquivosTeste.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <type_traits>
#include <unistd.h>

namespace {

QStringList conteudo(const QString& pasta) {
    return QDir(pasta).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                 QDir::Name);
}

} // namespace

class TesteArquivosSistema : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;

private slots:
    void getTempDir() {
        const QString esperado = QCoreApplication::applicationDirPath() + QStringLiteral("/Temp/");
        const bool existia = QDir(esperado).exists();
        QCOMPARE(TNURUtils::GetTempDir(), esperado);
        QVERIFY(QDir(esperado).exists());
        if (!existia)
            QDir().rmdir(esperado);
    }

    void getTamArq_data() {
        QTest::addColumn<qint64>("tamanho");
        QTest::newRow("vazio") << qint64(0);
        QTest::newRow("cinco bytes") << qint64(5);
        QTest::newRow("2 GiB") << (qint64(1) << 31);
        QTest::newRow("4 GiB mais 1") << (qint64(1) << 32) + 1;
        QTest::newRow("5 GiB") << qint64(5) * (qint64(1) << 30);
    }
    void getTamArq() {
        QFETCH(qint64, tamanho);
        // Sparse files: the size is real, the disk is not used.
        const QString caminho = fPasta.filePath(QStringLiteral("tamanho.bin"));
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(f.resize(tamanho));
        f.close();
        QCOMPARE(TNURUtils::GetTamArq(caminho), tamanho);
        QFile::remove(caminho);
    }

    void getTamArqSemArquivo() {
        QCOMPARE(TNURUtils::GetTamArq(fPasta.filePath(QStringLiteral("nao-existe"))), qint64(-1));
        QCOMPARE(TNURUtils::GetTamArq(fPasta.path()), qint64(-1));
    }

    void deleteAllFiles_data() {
        QTest::addColumn<bool>("comSeparador");
        QTest::newRow("sem separador no fim") << false;
        QTest::newRow("com separador no fim") << true;
    }
    void deleteAllFiles() {
        QFETCH(bool, comSeparador);
        QTemporaryDir pasta;
        gravaArquivoTeste(pasta.filePath(QStringLiteral("a.txt")), "a");
        gravaArquivoTeste(pasta.filePath(QStringLiteral("b.dat")), "b");
        gravaArquivoTeste(pasta.filePath(QStringLiteral(".oculto")), "o");
        gravaArquivoTeste(pasta.filePath(QStringLiteral("somente-leitura.txt")), "r");
        QFile::setPermissions(pasta.filePath(QStringLiteral("somente-leitura.txt")),
                              QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        QVERIFY(QDir(pasta.path()).mkdir(QStringLiteral("sub")));
        gravaArquivoTeste(pasta.filePath(QStringLiteral("sub/c.txt")), "c");

        TNURUtils::DeleteAllFiles(comSeparador ? pasta.path() + u'/' : pasta.path());

        QCOMPARE(conteudo(pasta.path()), QStringList({".oculto", "somente-leitura.txt", "sub"}));
        QCOMPARE(conteudo(pasta.filePath(QStringLiteral("sub"))), QStringList({"c.txt"}));
    }

    // "C:" and other names that stay under 4 characters with the separator are left alone.
    void deleteAllFilesNomeCurto_data() {
        QTest::addColumn<QString>("nome");
        QTest::newRow("C:") << "C:";
        QTest::newRow("ab/") << "ab/";
        QTest::newRow("vazio") << "";
    }
    void deleteAllFilesNomeCurto() {
        QFETCH(QString, nome);
        QTemporaryDir pasta;
        const QString anterior = QDir::currentPath();
        QVERIFY(QDir::setCurrent(pasta.path()));
        QDir().mkdir(QStringLiteral("C:"));
        QDir().mkdir(QStringLiteral("ab"));
        gravaArquivoTeste(QStringLiteral("C:/x.txt"), "x");
        gravaArquivoTeste(QStringLiteral("ab/y.txt"), "y");
        gravaArquivoTeste(QStringLiteral("z.txt"), "z");
        TNURUtils::DeleteAllFiles(nome);
        const QStringList raiz = conteudo(QStringLiteral("."));
        const QStringList c = conteudo(QStringLiteral("C:"));
        const QStringList ab = conteudo(QStringLiteral("ab"));
        QDir::setCurrent(anterior);
        QCOMPARE(raiz, QStringList({"C:", "ab", "z.txt"}));
        QCOMPARE(c, QStringList({"x.txt"}));
        QCOMPARE(ab, QStringList({"y.txt"}));
    }

    void executeFileAusente_data() {
        QTest::addColumn<QString>("arquivo");
        QTest::addColumn<quintptr>("codigo");
        QTest::newRow("arquivo ausente") << "nao-existe.txt" << quintptr(2);
        QTest::newRow("pasta ausente") << "nao-existe/arquivo.txt" << quintptr(3);
    }
    void executeFileAusente() {
        QFETCH(QString, arquivo);
        QFETCH(quintptr, codigo);
        QCOMPARE(TNURUtils::ExecuteFile(arquivo, QString(), fPasta.path(), 1), codigo);
    }

    // A program is started with its parameters in the given folder, and not waited for.
    void executeFilePrograma() {
        QTemporaryDir pasta;
        const QString programa = pasta.filePath(QStringLiteral("programa.sh"));
        gravaArquivoTeste(programa,
                          "#!/bin/sh\n"
                          "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > saida.tmp\n"
                          "mv saida.tmp saida.txt\n");
        QFile::setPermissions(programa, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
        const quintptr codigo = TNURUtils::ExecuteFile(
            QStringLiteral("programa.sh"), QStringLiteral("um \"dois tres\""), pasta.path(), 1);
        QVERIFY(codigo > 32);
        const QString saida = pasta.filePath(QStringLiteral("saida.txt"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(saida), 10000);
        QFile f(saida);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts),
                 QStringList({QDir(pasta.path()).canonicalPath(), "um", "dois tres"}));
    }

    void getComputerName() {
        DialogosRoteiro dialogos;
        QCOMPARE(TNURUtils::GetComputerName(dialogos), QSysInfo::machineHostName());
        QVERIFY(dialogos.registros().isEmpty());
    }

    void getLocalIP() {
        DialogosRoteiro dialogos;
        const QString ip = TNURUtils::GetLocalIP(dialogos);
        QVERIFY(dialogos.registros().isEmpty());
        if (!ip.isEmpty())
            QCOMPARE(QHostAddress(ip).protocol(), QAbstractSocket::IPv4Protocol);
    }

    void enderecosDoHostLocal() {
        QVERIFY(Maquina::enderecosIPv4(QStringLiteral("localhost"))
                    .contains(QStringLiteral("127.0.0.1")));
        QCOMPARE(Maquina::enderecosIPv4(QStringLiteral("127.0.0.1")), QStringList{"127.0.0.1"});
    }

    void getHDVolume() {
        DialogosRoteiro dialogos;
        const QString serie = TNURUtils::GetHDVolume(fPasta.path(), dialogos);
        QVERIFY(dialogos.registros().isEmpty());
        QVERIFY2(QRegularExpression(QStringLiteral("^[0-9A-F]{8}$")).match(serie).hasMatch(),
                 qPrintable(serie));
        // Another path on the same file system gives the same number.
        gravaArquivoTeste(fPasta.filePath(QStringLiteral("no-volume.txt")), "v");
        QCOMPARE(TNURUtils::GetHDVolume(fPasta.filePath(QStringLiteral("no-volume.txt")), dialogos),
                 serie);

        // The file system's own identifier as the system tool prints it: 64 bits whose high
        // half is the first word.
        QProcess stat;
        stat.start(QStringLiteral("stat"), {"-f", "-c", "%i", fPasta.path()});
        if (!stat.waitForFinished(10000) || stat.exitCode() != 0)
            QSKIP("stat não disponível");
        bool ok = false;
        const quint64 fsid = stat.readAllStandardOutput().trimmed().toULongLong(&ok, 16);
        QVERIFY(ok);
        QCOMPARE(serie, QStringLiteral("%1").arg(fsid >> 32, 8, 16, QLatin1Char('0')).toUpper());
    }

    void getHDVolumeFalha_data() {
        QTest::addColumn<QString>("unidade");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("caminho ausente") << "/nao/existe/unidade"
                                         << "arquivo ou pasta inexistente";
        QTest::newRow("vazio") << ""
                               << "Unidade não informada.";
    }
    void getHDVolumeFalha() {
        QFETCH(QString, unidade);
        QFETCH(QString, motivo);
        DialogosRoteiro dialogos;
        QCOMPARE(TNURUtils::GetHDVolume(unidade, dialogos), QString());
        QCOMPARE(dialogos.registros().size(), 1);
        QCOMPARE(dialogos.registros()[0].texto,
                 QStringLiteral("Não foi possível capturar HD ID\r\n") + motivo);
        QCOMPARE(dialogos.registros()[0].titulo, QStringLiteral("Número HD"));
    }

    void totalMemoriaRAMDisp() {
        static_assert(std::is_same_v<decltype(TNURUtils::TotalMemoriaRAMDisp()), qint64>);
        const qint64 total = qint64(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE);
        const qint64 disponivel = TNURUtils::TotalMemoriaRAMDisp();
        QVERIFY(disponivel > 0);
        QVERIFY(disponivel <= total);
    }
};

QTEST_GUILESS_MAIN(TesteArquivosSistema)
#include "TesteArquivosSistema.moc"
