#include "apoio/ArquivosTeste.h"
#include "sistema/MotivosFalha.h"
#include "apoio/OutroUsuario.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

class TesteMotivosFalha : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;

    QString caminho(const QString& nome) const { return fPasta.filePath(nome); }

private slots:
    void motivoDoSistema_data() {
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("ENOSPC") << ENOSPC << "não há espaço livre no dispositivo";
        QTest::newRow("EFBIG") << EFBIG << "arquivo grande demais";
        QTest::newRow("EACCES") << EACCES << "permissão negada";
        QTest::newRow("ENOENT") << ENOENT << "arquivo ou pasta inexistente";
        QTest::newRow("EISDIR") << EISDIR << "o caminho é uma pasta";
        QTest::newRow("ECONNRESET") << ECONNRESET << "a conexão foi interrompida pelo outro lado";
        QTest::newRow("desconhecido") << 9999 << "erro 9999 do sistema";
    }
    void motivoDoSistema() {
        QFETCH(int, codigo);
        QFETCH(QString, motivo);
        QCOMPARE(::motivoDoSistema(codigo), motivo);
    }

    // Qt's own words for a file's failure, and the system's reason behind its text.
    void motivoDoArquivo() {
        QFile ausente(caminho(QStringLiteral("ausente")));
        QVERIFY(!ausente.open(QIODevice::ReadOnly));
        QCOMPARE(::motivoDoArquivo(ausente), QStringLiteral("arquivo ou pasta inexistente"));

        QVERIFY(QDir().mkpath(caminho(QStringLiteral("pasta"))));
        QFile pasta(caminho(QStringLiteral("pasta")));
        QVERIFY(!pasta.open(QIODevice::ReadOnly));
        QCOMPARE(::motivoDoArquivo(pasta), QStringLiteral("o caminho é uma pasta"));
        QSaveFile pastaSalva(caminho(QStringLiteral("pasta")));
        QVERIFY(!pastaSalva.open(QIODevice::WriteOnly));
        QCOMPARE(::motivoDoArquivo(pastaSalva), QStringLiteral("o caminho é uma pasta"));

        // An existing file this user may not write.
        const QString protegido = caminho(QStringLiteral("protegido"));
        gravaArquivoTeste(protegido, "x");
        const QFile::Permissions leitura = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(protegido, leitura));
        QVERIFY(QFile::setPermissions(fPasta.path(), leitura | QFile::WriteOwner | QFile::ExeOwner |
                                                         QFile::ExeGroup | QFile::ExeOther));
        QString motivo;
        {
            ComoOutroUsuario outro;
            QSaveFile f(protegido);
            QVERIFY(!f.open(QIODevice::WriteOnly));
            motivo = ::motivoDoArquivo(f);
        }
        QCOMPARE(motivo, QStringLiteral("o arquivo existente não permite gravação"));

        QSaveFile cancelado(caminho(QStringLiteral("cancelado")));
        QVERIFY(cancelado.open(QIODevice::WriteOnly));
        cancelado.cancelWriting();
        QCOMPARE(::motivoDoArquivo(cancelado), QStringLiteral("gravação cancelada"));
    }

    void motivoDoXml_data() {
        QTest::addColumn<QByteArray>("documento");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("incompleto") << QByteArray("<a><b>") << "o documento termina antes do fim";
        QTest::newRow("vazio") << QByteArray() << "o documento termina antes do fim";
        QTest::newRow("malformado") << QByteArray("<a></b>") << "o documento não é XML bem formado";
    }
    void motivoDoXml() {
        QFETCH(QByteArray, documento);
        QFETCH(QString, motivo);
        QXmlStreamReader leitor(documento);
        while (!leitor.atEnd())
            leitor.readNext();
        QCOMPARE(::motivoDoXml(leitor.error()), motivo);
    }
};

QTEST_GUILESS_MAIN(TesteMotivosFalha)
#include "TesteMotivosFalha.moc"
