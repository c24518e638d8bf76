#include "sistema/CanalVisualizadorLog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// The sender waits for the viewer's answer, so it runs beside the event loop that serves
// the listener.
void enviaEmOutraLinha(EmissorVisualizadorLog& emissor, const QString& texto,
                       std::atomic<bool>* terminou) {
    std::thread linha([&emissor, texto, terminou] {
        emissor.envia(texto);
        *terminou = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(*terminou, 10000);
    linha.join();
}

QByteArray utf16ComZero(const QString& texto) {
    QByteArray bytes;
    for (QChar c : texto) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes + QByteArray(2, '\0');
}

} // namespace

class TesteCanalVisualizadorLog : public QObject {
    Q_OBJECT

private slots:
    void init() {
        fDir = std::make_unique<QTemporaryDir>();
        QVERIFY(fDir->isValid());
        fNome = fDir->filePath(QStringLiteral("canal"));
    }

    void nomeJuntaClasseETitulo() {
        const QString nome = CanalVisualizadorLogLocal::nomePadrao();
        QVERIFY2(nome.endsWith(QStringLiteral("/TfrmVisualiadorAvancadoLog_NURTO-VerLogNUR")),
                 qPrintable(nome));
    }

    void registroTemTipoContagemETextoComZero() {
        const QByteArray r = CanalVisualizadorLogLocal::registro(1, QStringLiteral("Aé"));
        QCOMPARE(r.toHex(' '), QByteArray("01 00 00 00 00 00 00 00 06 00 00 00 41 00 e9 00 00 00"));
    }

    void ouvinteRecebeORegistroExato() {
        OuvinteVisualizadorLog ouvinte;
        QVERIFY(ouvinte.escuta(fNome));
        QSignalSpy registros(&ouvinte, &OuvinteVisualizadorLog::registroRecebido);
        QSignalSpy linhas(&ouvinte, &OuvinteVisualizadorLog::linhaRecebida);

        EmissorVisualizadorLog emissor(fNome);
        const QString texto = QStringLiteral("BELQOR - 15/05/2024 14:03:27 - Ação € falhou");
        std::atomic<bool> terminou = false;
        enviaEmOutraLinha(emissor, texto, &terminou);

        QCOMPARE(registros.size(), 1);
        QCOMPARE(registros[0][0].value<quint64>(), quint64(1));
        QCOMPARE(registros[0][1].toByteArray(), utf16ComZero(texto));
        QCOMPARE(registros[0][1].toByteArray().size(), 2 * (texto.size() + 1));
        QCOMPARE(linhas.size(), 1);
        QCOMPARE(linhas[0][0].toString(), texto);
    }

    void semOuvinteNadaAcontece_data() {
        QTest::addColumn<bool>("socketAbandonado");
        QTest::newRow("nenhum socket") << false;
        QTest::newRow("socket de um visualizador que terminou") << true;
    }
    void semOuvinteNadaAcontece() {
        QFETCH(bool, socketAbandonado);
        if (socketAbandonado) {
            QFile abandonado(fNome);
            QVERIFY(abandonado.open(QIODevice::WriteOnly));
        }
        EmissorVisualizadorLog emissor(fNome, 5000);
        QElapsedTimer tempo;
        tempo.start();
        emissor.envia(QStringLiteral("ninguém escuta"));
        QVERIFY2(tempo.elapsed() < 1000, qPrintable(QString::number(tempo.elapsed())));
    }

    void ouvinteMudoSeguraAteOPrazo() {
        QLocalServer mudo;
        QVERIFY(mudo.listen(fNome));
        EmissorVisualizadorLog emissor(fNome, 300);
        QElapsedTimer tempo;
        tempo.start();
        std::atomic<bool> terminou = false;
        enviaEmOutraLinha(emissor, QStringLiteral("sem resposta"), &terminou);
        QVERIFY2(tempo.elapsed() >= 250 && tempo.elapsed() < 5000,
                 qPrintable(QString::number(tempo.elapsed())));
    }

    void ouvinteSubstituiSocketAbandonado() {
        {
            QFile abandonado(fNome);
            QVERIFY(abandonado.open(QIODevice::WriteOnly));
        }
        OuvinteVisualizadorLog ouvinte;
        QString erro;
        QVERIFY2(ouvinte.escuta(fNome, &erro), qPrintable(erro));
        QVERIFY(ouvinte.escutando());
    }

    void segundoOuvinteRecusado() {
        OuvinteVisualizadorLog primeiro;
        QVERIFY(primeiro.escuta(fNome));
        OuvinteVisualizadorLog segundo;
        QString erro;
        QVERIFY(!segundo.escuta(fNome, &erro));
        QCOMPARE(erro,
                 QStringLiteral("Outro visualizador já recebe as mensagens em %1.").arg(fNome));
        QVERIFY(primeiro.escutando());
    }

    void registroGrandeDemaisDerrubaConexao() {
        OuvinteVisualizadorLog ouvinte;
        QVERIFY(ouvinte.escuta(fNome));
        QSignalSpy registros(&ouvinte, &OuvinteVisualizadorLog::registroRecebido);
        QLocalSocket hostil;
        hostil.connectToServer(fNome);
        QVERIFY(hostil.waitForConnected(1000));
        QByteArray cabecalho("\x01\0\0\0\0\0\0\0\xff\xff\xff\x7f", 12);
        hostil.write(cabecalho);
        QVERIFY(hostil.waitForBytesWritten(1000));
        QTRY_COMPARE(hostil.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(registros.size(), 0);
    }

private:
    std::unique_ptr<QTemporaryDir> fDir;
    QString fNome;
};

QTEST_GUILESS_MAIN(TesteCanalVisualizadorLog)
#include "TesteCanalVisualizadorLog.moc"
