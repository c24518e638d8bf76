#include "sistema/TraducoesQt.h"

#include <QTest>

// Qt's Portuguese catalogue, installed by the set-up script. That the standard-text table's
// captions still win is the application's test.
class TesteTraducoesQt : public QObject {
    Q_OBJECT

private slots:
    void textosDoQtEmPortugues_data() {
        QTest::addColumn<QByteArray>("contexto");
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("menu do campo: desfazer")
            << QByteArray("QLineEdit") << QByteArray("&Undo") << "&Desfazer";
        QTest::newRow("menu do campo: colar")
            << QByteArray("QLineEdit") << QByteArray("&Paste") << "C&olar";
        QTest::newRow("menu do campo: selecionar tudo")
            << QByteArray("QLineEdit") << QByteArray("Select All") << "Selecionar tudo";
        QTest::newRow("diálogo de arquivos")
            << QByteArray("QFileDialog") << QByteArray("Look in:") << "Procurar em:";
    }
    void textosDoQtEmPortugues() {
        QFETCH(QByteArray, contexto);
        QFETCH(QByteArray, original);
        QFETCH(QString, esperado);
        TraducoesQt traducoes;
        QVERIFY(traducoes.instala(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate(contexto.constData(), original.constData()), esperado);
    }

    // Destroyed, the catalogue is removed and Qt speaks English again.
    void destruidasVoltaAoIngles() {
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), QStringLiteral("&Undo"));
    }
};

QTEST_GUILESS_MAIN(TesteTraducoesQt)
#include "TesteTraducoesQt.moc"
