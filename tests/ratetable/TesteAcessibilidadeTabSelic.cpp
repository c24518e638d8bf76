// The rate table window as a screen reader reads it through the accessibility bus: the
// grid named, the picture buttons telling the grid's key that does the same.

#include "apoio/ArvoreAtspi.h"
#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "ratetable/BQDataModule.h"
#include "ratetable/TfrmTabSelic.h"
#include "valores/Relogio.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TesteAcessibilidadeTabSelic : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2020, 3, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;
    std::unique_ptr<TfrmTabSelic> fJanela;
    LeituraAtspi fLeitura;

private slots:
    void initTestCase() {
        fDados =
            std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(),
                                          MesesTeste{{QDate(2020, 1, 1), QStringLiteral("0.38")},
                                                     {QDate(2020, 2, 1), QStringLiteral("0.29")}});
        fJanela = std::make_unique<TfrmTabSelic>(*fDados, fDialogos);
        fJanela->show();
        QVERIFY(QTest::qWaitForWindowExposed(fJanela.get()));
        fLeitura = leArvoreAtspi();
        QVERIFY2(fLeitura.erro.isEmpty(), qPrintable(fLeitura.erro));
    }
    void cleanupTestCase() {
        fJanela.reset();
        fDados.reset();
    }

    void gradeTemNome() {
        QStringList nomes;
        for (const ObjetoAcessivel& o : fLeitura.comPapel(QStringLiteral("table")))
            nomes << o.nome;
        QCOMPARE(nomes, QStringList{QStringLiteral("Tabela Selic")});
    }

    void botoesDizemATecla_data() {
        QTest::addColumn<QString>("descricao");
        for (const char* tecla : {"Ctrl+Home", "Seta para cima", "Seta para baixo", "Ctrl+End",
                                  "Insert", "Ctrl+Delete"})
            QTest::newRow(tecla) << QStringLiteral("Na grade: ") + QString::fromUtf8(tecla);
    }
    void botoesDizemATecla() {
        QFETCH(QString, descricao);
        QStringList descricoes;
        for (const ObjetoAcessivel& o : fLeitura.comPapel(QStringLiteral("push button")))
            descricoes << o.descricao;
        QVERIFY2(descricoes.count(descricao) == 1,
                 qPrintable(descricoes.join(QStringLiteral(" | "))));
    }
};

QTEST_MAIN(TesteAcessibilidadeTabSelic)
#include "TesteAcessibilidadeTabSelic.moc"
