#include "framework/verlog/frmVerLog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

class TesteVerLog : public QObject {
    Q_OBJECT

private slots:
    void listaAsLinhasRecebidas() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString canal = dir.filePath(QStringLiteral("canal"));
        TfrmVisualiadorAvancadoLog_NURTO janela;
        QCOMPARE(janela.windowTitle(), QStringLiteral("VerLogNUR"));
        QVERIFY(janela.escuta(canal));
        auto* lista = janela.findChild<QListWidget*>(QStringLiteral("lstLinhas"));
        QVERIFY(lista);

        // The sender waits for the window's answer, so it runs beside the event loop.
        std::atomic<bool> terminou = false;
        std::thread emissor([&] {
            EmissorVisualizadorLog(canal).envia(QStringLiteral("BELQOR - primeira"));
            EmissorVisualizadorLog(canal).envia(QStringLiteral("BELQOR - Ação"));
            terminou = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(terminou, 10000);
        emissor.join();

        QCOMPARE(lista->count(), 2);
        QCOMPARE(lista->item(0)->text(), QStringLiteral("BELQOR - primeira"));
        QCOMPARE(lista->item(1)->text(), QStringLiteral("BELQOR - Ação"));

        QTest::mouseClick(janela.findChild<QPushButton*>(QStringLiteral("btnLimpar")),
                          Qt::LeftButton);
        QCOMPARE(lista->count(), 0);
    }

    void segundoVisualizadorAvisaNoRodape() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString canal = dir.filePath(QStringLiteral("canal"));
        TfrmVisualiadorAvancadoLog_NURTO primeira;
        QVERIFY(primeira.escuta(canal));
        TfrmVisualiadorAvancadoLog_NURTO segunda;
        QVERIFY(!segunda.escuta(canal));
        QCOMPARE(segunda.findChild<QLabel*>(QStringLiteral("lblSituacao"))->text(),
                 QStringLiteral("Não foi possível receber mensagens: Outro visualizador já recebe "
                                "as mensagens em %1.")
                     .arg(canal));
    }
};

QTEST_MAIN(TesteVerLog)
#include "TesteVerLog.moc"
