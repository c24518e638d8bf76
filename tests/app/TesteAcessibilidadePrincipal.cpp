// The main window as a screen reader reads it through the accessibility bus: the toolbar's
// picture buttons named, the clock quiet until asked.

#include "app/TfrmPrincipal.h"
#include "apoio/ArvoreAtspi.h"
#include "apoio/DialogosRoteiro.h"
#include "valores/ConfiguracaoRegional.h"
#include "valores/Relogio.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

#include <memory>

class TesteAcessibilidadePrincipal : public QObject {
    Q_OBJECT

    RelogioFixo fRelogio{Datas::codificaData(2026, 3, 5) + Datas::codificaHora(14, 7, 9)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<TfrmPrincipal> fJanela;

private slots:
    void init() {
        regional() = ConfiguracaoRegional::brasileira();
        fDialogos.limpa();
        fJanela = std::make_unique<TfrmPrincipal>(fRelogio, fDialogos);
        // The clock is ticked by the test alone.
        fJanela->Timer1->stop();
        fJanela->show();
        QVERIFY(QTest::qWaitForWindowExposed(fJanela.get()));
    }
    void cleanup() { fJanela.reset(); }

    // The toolbar's buttons show only their pictures and are read by their hints; the large
    // buttons by their captions.
    void botoesTemNome_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("quantos");
        QTest::newRow("Tabela Selic") << "Tabela Selic" << 2;
        QTest::newRow("Calcular") << "Calcular" << 2;
        QTest::newRow("Demonstrativo de Débitos") << "Demonstrativo de Débitos" << 1;
        QTest::newRow("Sair") << "Sair" << 1;
        QTest::newRow("sem nome") << "" << 0;
    }
    void botoesTemNome() {
        QFETCH(QString, nome);
        QFETCH(int, quantos);
        const LeituraAtspi l = leArvoreAtspi();
        QVERIFY2(l.erro.isEmpty(), qPrintable(l.erro));
        QStringList nomes;
        for (const ObjetoAcessivel& o : l.comPapel(QStringLiteral("push button")))
            nomes << o.nome;
        QVERIFY2(nomes.count(nome) == quantos, qPrintable(nomes.join(QStringLiteral(" | "))));
    }

    // The row of dots in the left strip is decoration: nothing reads as dots, and the
    // separator that stands for it is neither named nor showing.
    void pontilhadoOculto() {
        const LeituraAtspi l = leArvoreAtspi();
        QVERIFY2(l.erro.isEmpty(), qPrintable(l.erro));
        for (const ObjetoAcessivel& o : l.objetos)
            QVERIFY2(!o.nome.contains(QStringLiteral("....")) &&
                         !o.texto.contains(QStringLiteral("....")),
                     qPrintable(o.papel + QLatin1Char(' ') + o.nome));
        const QList<ObjetoAcessivel> separadores = l.comPapel(QStringLiteral("separator"));
        QVERIFY(!separadores.isEmpty());
        for (const ObjetoAcessivel& s : separadores)
            QVERIFY2(s.nome.isEmpty() && !s.estados.contains(QStringLiteral("showing")) &&
                         !s.estados.contains(QStringLiteral("visible")),
                     qPrintable(s.nome + QLatin1Char(' ') + s.estados.join(QLatin1Char(' '))));
    }

    // Each tick changes the clock's text but tells the screen reader nothing; the time is
    // still there for the reader that asks.
    void relogioNaoSeAnuncia() {
        EscutaAtspi escuta;
        QVERIFY2(escuta.erro().isEmpty(), qPrintable(escuta.erro()));
        for (int segundo = 10; segundo <= 12; ++segundo) {
            fRelogio.define(Datas::codificaData(2026, 3, 5) + Datas::codificaHora(14, 7, segundo));
            fJanela->Timer1Timer();
        }
        // Events arrive in order: one sent after the ticks closes what they could have sent.
        auto* marco = fJanela->findChild<QLabel*>(QStringLiteral("pnlTabelaSelic"));
        marco->setText(QStringLiteral("marco"));
        const QList<EventoAcessivel> eventos = escuta.ateQue(
            [](const EventoAcessivel& e) { return e.nome == QStringLiteral("marco"); });
        QVERIFY2(!eventos.isEmpty(), qPrintable(escuta.erro()));
        for (const EventoAcessivel& e : eventos)
            QVERIFY2(!e.nome.contains(QStringLiteral("Data e hora")) &&
                         !e.dado.contains(QStringLiteral("14:07")),
                     qPrintable(e.tipo + QLatin1Char(' ') + e.nome + QLatin1Char(' ') + e.dado));

        const LeituraAtspi l = leArvoreAtspi();
        QVERIFY2(l.erro.isEmpty(), qPrintable(l.erro));
        QStringList relogios;
        for (const ObjetoAcessivel& o : l.comPapel(QStringLiteral("label")))
            if (o.nome.startsWith(QStringLiteral("Data e hora do seu computador")))
                relogios << o.nome;
        QCOMPARE(relogios,
                 QStringList{QStringLiteral("Data e hora do seu computador: 05/03/2026 14:07:12")});
    }
};

QTEST_MAIN(TesteAcessibilidadePrincipal)
#include "TesteAcessibilidadePrincipal.moc"
