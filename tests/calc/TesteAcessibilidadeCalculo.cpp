// The calculation window as a screen reader reads it through the accessibility bus: the
// inputs named after their captions, the results tied to theirs.

#include "ratetable/BQDataModule.h"
#include "apoio/ArvoreAtspi.h"
#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "valores/Relogio.h"
#include "calc/TfrmCalcular.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TesteAcessibilidadeCalculo : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2020, 6, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fModulo;
    std::unique_ptr<TfrmCalcular> fJanela;

    template <typename T> T* filho(const char* nome) const {
        return fJanela->findChild<T*>(QString::fromLatin1(nome));
    }

    // Types the amount, sets the dates and clicks Calcular; false when the amount never
    // showed in its field.
    [[nodiscard]] bool calcula(const QString& valor, const QDate& venc, const QDate& pag) {
        auto* campo = filho<QLineEdit>("MaskEditValor");
        campo->setFocus();
        campo->selectAll();
        QTest::keyClicks(campo, valor);
        // With a screen reader listening, Qt hands each key to the accessibility bus first
        // and gets it back later, as it does for the user's keys: on a loaded machine that
        // takes seconds, so the bound is wide.
        if (!QTest::qWaitFor([&] { return campo->text() == valor; }, 60000))
            return false;
        filho<QDateEdit>("DTPickerDataVencimento")->setDate(venc);
        filho<QDateEdit>("DTPickerDataPagamento")->setDate(pag);
        QTest::mouseClick(filho<QPushButton>("btnCalcular"), Qt::LeftButton);
        return true;
    }

private slots:
    void init() {
        fDialogos.limpa();
        fModulo =
            std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(),
                                          MesesTeste{{QDate(2020, 2, 1), QStringLiteral("0.29")},
                                                     {QDate(2020, 3, 1), QStringLiteral("0.34")}});
        fJanela = std::make_unique<TfrmCalcular>(*fModulo, fDialogos, fRelogio);
        fJanela->show();
        QVERIFY(QTest::qWaitForWindowActive(fJanela.get()));
    }
    void cleanup() {
        fJanela.reset();
        fModulo.reset();
    }

    // Each input is read by its own caption, not by the group around it.
    void entradasTemONomeDoRotulo_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("papel");
        QTest::newRow("valor") << "Valor do ICMS"
                               << "text";
        QTest::newRow("vencimento") << "Data de Vencimento"
                                    << "spin button";
        QTest::newRow("pagamento") << "Data de Pagamento"
                                   << "spin button";
    }
    void entradasTemONomeDoRotulo() {
        QFETCH(QString, nome);
        QFETCH(QString, papel);
        const LeituraAtspi l = leArvoreAtspiOuPara();
        QStringList nomes;
        for (const ObjetoAcessivel& o : l.comPapel(papel))
            nomes << o.nome;
        QVERIFY2(nomes.count(nome) == 1, qPrintable(nomes.join(QStringLiteral(" | "))));
    }

    // After a calculation, each result is found with its value and its caption.
    void resultadosLidosComALegenda_data() {
        QTest::addColumn<QString>("legenda");
        QTest::addColumn<QString>("valor");
        QTest::newRow("dias") << "Número de dias"
                              << "91";
        QTest::newRow("taxa") << "Taxa de Juros"
                              << "1,630000 %";
        QTest::newRow("valor") << "Valor do ICMS"
                               << "1.000,00";
        QTest::newRow("multa") << "Multa de Mora"
                               << "120,00";
        QTest::newRow("juros") << "Juros de Mora"
                               << "18,26";
        QTest::newRow("total") << "Total"
                               << "1.138,26";
    }
    void resultadosLidosComALegenda() {
        QFETCH(QString, legenda);
        QFETCH(QString, valor);
        QVERIFY(calcula(QStringLiteral("1000,00"), QDate(2020, 1, 10), QDate(2020, 4, 10)));
        const LeituraAtspi l = leArvoreAtspiOuPara();
        QStringList achados;
        for (const ObjetoAcessivel& o : l.objetos) {
            if (o.nome != valor && o.texto != valor && !o.nome.contains(valor))
                continue;
            achados << o.papel + QLatin1Char(':') + o.nome + QLatin1Char('/') +
                           o.rotulos.join(QLatin1Char(','));
            if (o.nome.startsWith(legenda) || o.rotulos.contains(legenda))
                return;
        }
        QFAIL(qPrintable(QStringLiteral("nenhum objeto com \"%1\" ligado a \"%2\": %3")
                             .arg(valor, legenda, achados.join(QStringLiteral(" | ")))));
    }

    // A calculation is told to the screen reader where the focus is, and the focus stays on
    // the button pressed; the same results again are told again.
    void resultadosAnunciadosSemMoverOFoco() {
        EscutaAtspi escuta;
        QVERIFY2(escuta.erro().isEmpty(), qPrintable(escuta.erro()));
        const QString esperado = QStringLiteral(
            "Número de dias: 91; Taxa de Juros: 1,630000 %; Valor do ICMS: 1.000,00; "
            "Multa de Mora: 120,00; Juros de Mora: 18,26; Total: 1.138,26");
        const auto anuncio = [&](const EventoAcessivel& e) {
            return e.tipo == QStringLiteral("object:property-change:accessible-name") &&
                   e.nome == QStringLiteral("Calcular: ") + esperado;
        };
        for (int vez = 1; vez <= 2; ++vez) {
            QVERIFY(calcula(QStringLiteral("1000,00"), QDate(2020, 1, 10), QDate(2020, 4, 10)));
            const QList<EventoAcessivel> eventos = escuta.ateQue(anuncio);
            QVERIFY2(!eventos.isEmpty(), qPrintable(escuta.erro()));
            QCOMPARE(eventos.constLast().papel, QStringLiteral("push button"));
            QCOMPARE(QApplication::focusWidget(), filho<QPushButton>("btnCalcular"));
        }
        // Once the focus leaves, the button is read by its caption again.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(escuta
                    .ateQue([](const EventoAcessivel& e) {
                        return e.tipo == QStringLiteral("object:property-change:accessible-name") &&
                               e.papel == QStringLiteral("push button") &&
                               e.nome == QStringLiteral("Calcular");
                    })
                    .size() > 0);
    }
};

QTEST_MAIN(TesteAcessibilidadeCalculo)
#include "TesteAcessibilidadeCalculo.moc"
