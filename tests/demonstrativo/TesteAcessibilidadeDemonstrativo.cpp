// The statement window as a screen reader reads it through the accessibility bus: every
// input and every column named, the grid and its cell editors named, the totals read with
// their captions and told after a change without the focus moving.

#include "apoio/ArvoreAtspi.h"
#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "demonstrativo/GradeDemonstrativo.h"
#include "demonstrativo/ModeloDemonstrativo.h"
#include "demonstrativo/TfrmDemonstrativo.h"
#include "valores/Relogio.h"

#include <QApplication>
#include <QDateEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using M = ModeloDemonstrativo;

class TesteAcessibilidadeDemonstrativo : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2020, 6, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fModulo;
    std::unique_ptr<TfrmDemonstrativo> fJanela;

    GradeDemonstrativo* grade() const {
        return fJanela->findChild<GradeDemonstrativo*>(QStringLiteral("grdDebitos"));
    }

    static QStringList nomes(const LeituraAtspi& l, const QString& papel) {
        QStringList r;
        for (const ObjetoAcessivel& o : l.comPapel(papel))
            r << o.nome;
        return r;
    }

    // Types into a cell by the keyboard and puts the text in with Return; false when the
    // text never reached its cell. With a screen reader listening, Qt hands each key to the
    // accessibility bus first and gets it back later, as it does for the user's keys: the
    // first key opens the editor, the others go to it once it has the focus; on a loaded
    // machine that takes seconds, so the bounds are wide.
    [[nodiscard]] bool digitaNaCelula(int linha, int coluna, const QString& texto,
                                      const QString& exibido) {
        const QModelIndex indice = grade()->model()->index(linha, coluna);
        grade()->setFocus();
        grade()->setCurrentIndex(indice);
        QTest::keyClick(grade(), texto.at(0).toLatin1());
        if (!QTest::qWaitFor(
                [&] {
                    QWidget* editor = grade()->indexWidget(indice);
                    return editor && editor->hasFocus();
                },
                60000))
            return false;
        for (const QChar c : texto.sliced(1))
            QTest::keyClick(grade()->indexWidget(indice), c.toLatin1());
        QTest::keyClick(grade()->indexWidget(indice), Qt::Key_Return);
        return QTest::qWaitFor([&] { return indice.data().toString() == exibido; }, 60000);
    }

private slots:
    void init() {
        fDialogos.limpa();
        fModulo =
            std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(),
                                          MesesTeste{{QDate(2020, 2, 1), QStringLiteral("0.29")},
                                                     {QDate(2020, 3, 1), QStringLiteral("0.34")}});
        fJanela = std::make_unique<TfrmDemonstrativo>(*fModulo, fDialogos, fRelogio);
        fJanela->show();
        QVERIFY(QTest::qWaitForWindowActive(fJanela.get()));
    }
    void cleanup() {
        fJanela->marcaEntregue();
        fJanela.reset();
        fModulo.reset();
    }

    // Each input is read by its own caption, the grid by its name, every column by its
    // title.
    void entradasEColunasComNome() {
        const LeituraAtspi l = leArvoreAtspiOuPara();
        const QStringList textos = nomes(l, QStringLiteral("text"));
        for (const char* nome : {"Nome", "CPF/CNPJ", "Inscrição Estadual"})
            QVERIFY2(textos.count(QString::fromUtf8(nome)) == 1,
                     qPrintable(textos.join(QStringLiteral(" | "))));
        const QStringList datas = nomes(l, QStringLiteral("spin button"));
        QVERIFY2(datas.count(QStringLiteral("Data de Pagamento")) == 1,
                 qPrintable(datas.join(QStringLiteral(" | "))));
        QCOMPARE(nomes(l, QStringLiteral("table")), QStringList{QStringLiteral("Débitos")});
        const QStringList cabecalhos = nomes(l, QStringLiteral("table column header"));
        for (int c = 0; c < M::Colunas; ++c)
            QVERIFY2(cabecalhos.count(M::tituloDaColuna(c)) == 1,
                     qPrintable(M::tituloDaColuna(c) + QStringLiteral(" em: ") +
                                cabecalhos.join(QStringLiteral(" | "))));
        for (const ObjetoAcessivel& o : l.comPapel(QStringLiteral("push button")))
            if (o.estados.contains(QStringLiteral("showing")))
                QVERIFY2(!o.nome.isEmpty(), qPrintable(o.papel));
    }

    // A cell's editor, as it takes the focus, is read by its column's title.
    void editoresComNome_data() {
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("papel");
        QTest::newRow("referência") << int(M::Referencia) << "text";
        QTest::newRow("vencimento") << int(M::Vencimento) << "spin button";
        QTest::newRow("valor") << int(M::Valor) << "text";
        QTest::newRow("descrição") << int(M::Descricao) << "text";
    }
    void editoresComNome() {
        QFETCH(int, coluna);
        QFETCH(QString, papel);
        EscutaAtspi escuta;
        QVERIFY2(escuta.erro().isEmpty(), qPrintable(escuta.erro()));
        grade()->setFocus();
        grade()->setCurrentIndex(grade()->model()->index(0, coluna));
        QTest::keyClick(grade(), Qt::Key_F2);
        const QList<EventoAcessivel> eventos = escuta.ateQue([&](const EventoAcessivel& e) {
            return e.tipo == QStringLiteral("object:state-changed:focused") && e.papel == papel &&
                   e.nome == M::tituloDaColuna(coluna);
        });
        QVERIFY2(!eventos.isEmpty(), qPrintable(escuta.erro()));
    }

    // After a debt is typed, each total is found with its value and its caption, and the
    // change is told where the focus is, the focus staying in the grid.
    void totaisLidosEAnunciados() {
        EscutaAtspi escuta;
        QVERIFY2(escuta.erro().isEmpty(), qPrintable(escuta.erro()));
        fJanela->findChild<QDateEdit*>(QStringLiteral("DTPickerDataPagamento"))
            ->setDate(QDate(2020, 4, 10));
        QVERIFY(
            digitaNaCelula(0, M::Referencia, QStringLiteral("122019"), QStringLiteral("12/2019")));
        QVERIFY(digitaNaCelula(0, M::Vencimento, QStringLiteral("10012020"),
                               QStringLiteral("10/01/2020")));
        QVERIFY(digitaNaCelula(0, M::Valor, QStringLiteral("1000,00"), QStringLiteral("1.000,00")));
        const QString esperado = QStringLiteral(
            "Linha 1: Total 1.138,26; Débitos calculados: 1; Valor do ICMS: 1.000,00; "
            "Multa de Mora: 120,00; Juros de Mora: 18,26; Total: 1.138,26");
        const QList<EventoAcessivel> eventos = escuta.ateQue([&](const EventoAcessivel& e) {
            return e.tipo == QStringLiteral("object:property-change:accessible-name") &&
                   e.nome.endsWith(esperado);
        });
        QVERIFY2(!eventos.isEmpty(), qPrintable(escuta.erro()));
        QCOMPARE(eventos.constLast().papel, QStringLiteral("table"));
        QCOMPARE(QApplication::focusWidget(), grade());

        const LeituraAtspi l = leArvoreAtspiOuPara();
        const QList<std::pair<QString, QString>> totais{{"Débitos calculados", "1"},
                                                        {"Valor do ICMS", "1.000,00"},
                                                        {"Multa de Mora", "120,00"},
                                                        {"Juros de Mora", "18,26"},
                                                        {"Total", "1.138,26"}};
        for (const auto& [legenda, valor] : totais) {
            bool achou = false;
            for (const ObjetoAcessivel& o : l.objetos)
                if ((o.nome == valor || o.texto == valor) && o.rotulos.contains(legenda))
                    achou = true;
            QVERIFY2(achou, qPrintable(legenda + QStringLiteral(": ") + valor));
        }
    }
};

QTEST_MAIN(TesteAcessibilidadeDemonstrativo)
#include "TesteAcessibilidadeDemonstrativo.moc"
