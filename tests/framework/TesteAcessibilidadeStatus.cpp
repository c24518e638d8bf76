// The status window as a screen reader meets it through the accessibility bus: a dialog
// named by its message, told of when it appears and when its message changes.

#include "apoio/ArvoreAtspi.h"
#include "framework/NURFWUtils.h"

#include <QTest>
#include <QWidget>

class TesteAcessibilidadeStatus : public QObject {
    Q_OBJECT

    static bool dialogo(const EventoAcessivel& e, const QString& nome) {
        return e.papel == QStringLiteral("dialog") && e.nome == nome;
    }

private slots:
    void cleanup() { TNURUtils::MostraStatus(QString()); }

    void dialogoComAMensagem() {
        // The program registers on the bus with its first window; the status window comes
        // over the main one.
        QWidget principal;
        principal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principal));
        EscutaAtspi escuta;
        QVERIFY2(escuta.erro().isEmpty(), qPrintable(escuta.erro()));
        const QString primeira = QStringLiteral("Atualizando Base de dados... Por favor aguarde!");
        TNURUtils::MostraStatus(primeira);
        QVERIFY2(!escuta.ateQue([&](const EventoAcessivel& e) { return dialogo(e, primeira); })
                      .isEmpty(),
                 qPrintable(escuta.erro()));
        const QString segunda = QStringLiteral("Atualizando Índices...");
        TNURUtils::MostraStatus(segunda);
        const QList<EventoAcessivel> eventos = escuta.ateQue([&](const EventoAcessivel& e) {
            return dialogo(e, segunda) &&
                   e.tipo == QStringLiteral("object:property-change:accessible-name");
        });
        QVERIFY2(!eventos.isEmpty(), qPrintable(escuta.erro()));

        const LeituraAtspi l = leArvoreAtspi();
        QVERIFY2(l.erro.isEmpty(), qPrintable(l.erro));
        QStringList dialogos;
        for (const ObjetoAcessivel& o : l.comPapel(QStringLiteral("dialog")))
            dialogos << o.nome;
        QCOMPARE(dialogos, QStringList{segunda});
    }
};

QTEST_MAIN(TesteAcessibilidadeStatus)
#include "TesteAcessibilidadeStatus.moc"
