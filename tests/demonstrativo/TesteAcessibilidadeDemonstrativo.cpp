// The statement window as a screen reader reads it through the accessibility bus: every
// input and every column named, both grids (the debts, a debt's partial payments) and
// their cell editors named, the totals read with their captions and told after a change
// (a debt typed, a payment, the forecast) without the focus moving.

#include "apoio/ArvoreAtspi.h"
#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "demonstrativo/GradeDemonstrativo.h"
#include "demonstrativo/ModeloDemonstrativo.h"
#include "demonstrativo/ModeloPagamentos.h"
#include "demonstrativo/TfrmDemonstrativo.h"
#include "valores/Relogio.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using M = ModeloDemonstrativo;
using P = ModeloPagamentos;

class TesteAcessibilidadeDemonstrativo : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2020, 6, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fModulo;
    std::unique_ptr<TfrmDemonstrativo> fJanela;

    GradeDemonstrativo* grade(const char* nome = "grdDebitos") const {
        return fJanela->findChild<GradeDemonstrativo*>(QString::fromLatin1(nome));
    }
    QString textoDe(const char* nome) const {
        return fJanela->findChild<QLabel*>(QString::fromLatin1(nome))->text();
    }

    static QStringList nomes(const LeituraAtspi& l, const QString& papel) {
        QStringList r;
        for (const ObjetoAcessivel& o : l.comPapel(papel))
            r << o.nome;
        return r;
    }

    // An object read as valor whose caption, by a labelled-by relation, is legenda.
    static bool lidoComLegenda(const LeituraAtspi& l, const QString& legenda,
                               const QString& valor) {
        for (const ObjetoAcessivel& o : l.objetos)
            if ((o.nome == valor || o.texto == valor) && o.rotulos.contains(legenda))
                return true;
        return false;
    }

    // Types into a cell by the keyboard and puts the text in with Return; false when the
    // text never reached its cell. With a screen reader listening, Qt hands each key to the
    // accessibility bus first and gets it back later, as it does for the user's keys: the
    // first key opens the editor, the others go to it once it has the focus; on a loaded
    // machine that takes seconds, so the bounds are wide.
    [[nodiscard]] bool digitaNaCelula(int linha, int coluna, const QString& texto,
                                      const QString& exibido, QTableView* g = nullptr) {
        if (!g)
            g = grade();
        const QModelIndex indice = g->model()->index(linha, coluna);
        g->setFocus();
        g->setCurrentIndex(indice);
        QTest::keyClick(g, texto.at(0).toLatin1());
        if (!QTest::qWaitFor(
                [&] {
                    QWidget* editor = g->indexWidget(indice);
                    return editor && editor->hasFocus();
                },
                60000))
            return false;
        for (const QChar c : texto.sliced(1))
            QTest::keyClick(g->indexWidget(indice), c.toLatin1());
        QTest::keyClick(g->indexWidget(indice), Qt::Key_Return);
        return QTest::qWaitFor([&] { return indice.data().toString() == exibido; }, 60000);
    }
    // The debt 1.000,00 due 10/01/2020, paid on 10/04/2020, typed by the keyboard.
    [[nodiscard]] bool digitaDebito() {
        fJanela->findChild<QDateEdit*>(QStringLiteral("DTPickerDataPagamento"))
            ->setDate(QDate(2020, 4, 10));
        return digitaNaCelula(0, M::Referencia, QStringLiteral("122019"),
                              QStringLiteral("12/2019")) &&
               digitaNaCelula(0, M::Vencimento, QStringLiteral("10012020"),
                              QStringLiteral("10/01/2020")) &&
               digitaNaCelula(0, M::Valor, QStringLiteral("1000,00"), QStringLiteral("1.000,00"));
    }
    // Waits for the screen reader to be told, where the focus is, a text ending in fim.
    [[nodiscard]] static QList<EventoAcessivel> anunciado(EscutaAtspi& escuta, const QString& fim) {
        return escuta.ateQue([&](const EventoAcessivel& e) {
            return e.tipo == QStringLiteral("object:property-change:accessible-name") &&
                   e.nome.endsWith(fim);
        });
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
        const QStringList caixas = nomes(l, QStringLiteral("check box"));
        QVERIFY2(caixas.count(QStringLiteral("Prever meses sem taxa publicada")) == 1,
                 qPrintable(caixas.join(QStringLiteral(" | "))));
        QStringList tabelas = nomes(l, QStringLiteral("table"));
        tabelas.sort();
        QCOMPARE(tabelas, QStringList({"Débitos", "Pagamentos parciais"}));
        // Every column of both grids, each title as many times as the grids have it.
        QStringList titulos;
        for (int c = 0; c < M::Colunas; ++c)
            titulos << M::tituloDaColuna(c);
        for (int c = 0; c < P::Colunas; ++c)
            titulos << P::tituloDaColuna(c);
        const QStringList cabecalhos = nomes(l, QStringLiteral("table column header"));
        for (const QString& titulo : titulos)
            QVERIFY2(cabecalhos.count(titulo) == titulos.count(titulo),
                     qPrintable(titulo + QStringLiteral(" em: ") +
                                cabecalhos.join(QStringLiteral(" | "))));
        for (const ObjetoAcessivel& o : l.comPapel(QStringLiteral("push button")))
            if (o.estados.contains(QStringLiteral("showing")))
                QVERIFY2(!o.nome.isEmpty(), qPrintable(o.papel));
    }

    // A cell's editor, as it takes the focus, is read by its column's title, in the
    // debts' grid and in the payments' grid (a payment added first).
    void editoresComNome_data() {
        QTest::addColumn<QString>("grade");
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("papel");
        QTest::newRow("referência") << "grdDebitos" << int(M::Referencia) << "text";
        QTest::newRow("vencimento") << "grdDebitos" << int(M::Vencimento) << "spin button";
        QTest::newRow("valor") << "grdDebitos" << int(M::Valor) << "text";
        QTest::newRow("descrição") << "grdDebitos" << int(M::Descricao) << "text";
        QTest::newRow("data do pagamento") << "grdPagamentos" << int(P::Data) << "spin button";
        QTest::newRow("valor pago") << "grdPagamentos" << int(P::Valor) << "text";
    }
    void editoresComNome() {
        QFETCH(QString, grade);
        QFETCH(int, coluna);
        QFETCH(QString, papel);
        QTableView* g = this->grade(qPrintable(grade));
        if (g != this->grade())
            QCOMPARE(fJanela->pagamentos().incluiPagamento(), 0);
        EscutaAtspi escuta;
        QVERIFY2(escuta.erro().isEmpty(), qPrintable(escuta.erro()));
        g->setFocus();
        g->setCurrentIndex(g->model()->index(0, coluna));
        QTest::keyClick(g, Qt::Key_F2);
        const QString titulo = g->model()->headerData(coluna, Qt::Horizontal).toString();
        const QList<EventoAcessivel> eventos = escuta.ateQue([&](const EventoAcessivel& e) {
            return e.tipo == QStringLiteral("object:state-changed:focused") && e.papel == papel &&
                   e.nome == titulo;
        });
        QVERIFY2(!eventos.isEmpty(), qPrintable(escuta.erro()));
    }

    // After a debt is typed, each total is found with its value and its caption, and the
    // change is told where the focus is, the focus staying in the grid.
    void totaisLidosEAnunciados() {
        EscutaAtspi escuta;
        QVERIFY2(escuta.erro().isEmpty(), qPrintable(escuta.erro()));
        QVERIFY(digitaDebito());
        const QString esperado = QStringLiteral(
            "Linha 1: Total 1.138,26; Débitos calculados: 1; Valor do ICMS: 1.000,00; "
            "Multa de Mora: 120,00; Juros de Mora: 18,26; Total: 1.138,26");
        const QList<EventoAcessivel> eventos = anunciado(escuta, esperado);
        QVERIFY2(!eventos.isEmpty(), qPrintable(escuta.erro()));
        QCOMPARE(eventos.constLast().papel, QStringLiteral("table"));
        QCOMPARE(QApplication::focusWidget(), grade());

        const LeituraAtspi l = leArvoreAtspiOuPara();
        const QList<std::pair<QString, QString>> totais{{"Débitos calculados", "1"},
                                                        {"Valor do ICMS", "1.000,00"},
                                                        {"Multa de Mora", "120,00"},
                                                        {"Juros de Mora", "18,26"},
                                                        {"Total", "1.138,26"}};
        for (const auto& [legenda, valor] : totais)
            QVERIFY2(lidoComLegenda(l, legenda, valor),
                     qPrintable(legenda + QStringLiteral(": ") + valor));
    }

    // A partial payment typed into the panel: the debt's new total and the totals, what was
    // paid and the principal open among them, are told where the focus stays (the payments'
    // grid), and each new total is found with its caption.
    void pagamentoLidoEAnunciado() {
        QVERIFY(digitaDebito());
        QCOMPARE(fJanela->pagamentos().incluiPagamento(), 0);
        EscutaAtspi escuta;
        QVERIFY2(escuta.erro().isEmpty(), qPrintable(escuta.erro()));
        QTableView* pagamentos = grade("grdPagamentos");
        QVERIFY(digitaNaCelula(0, P::Data, QStringLiteral("10032020"), QStringLiteral("10/03/2020"),
                               pagamentos));
        QVERIFY(digitaNaCelula(0, P::Valor, QStringLiteral("500,00"), QStringLiteral("500,00"),
                               pagamentos));
        QCOMPARE(textoDe("lblTotPago"), QStringLiteral("500,00"));
        const QString esperado =
            QStringLiteral("Linha 1: Total %1; Débitos calculados: 1; Valor do ICMS: 1.000,00; "
                           "Pago: 500,00; Principal em Aberto: %2; Multa de Mora: %3; "
                           "Juros de Mora: %4; Total: %1")
                .arg(textoDe("lblTotTotal"), textoDe("lblTotPrincipal"), textoDe("lblTotMulta"),
                     textoDe("lblTotJuros"));
        const QList<EventoAcessivel> eventos = anunciado(escuta, esperado);
        QVERIFY2(!eventos.isEmpty(), qPrintable(escuta.erro() + esperado));
        QCOMPARE(eventos.constLast().papel, QStringLiteral("table"));
        QCOMPARE(QApplication::focusWidget(), pagamentos);

        const LeituraAtspi l = leArvoreAtspiOuPara();
        for (const char* nome : {"lblPago", "lblPrincipal"}) {
            const QString legenda = textoDe(nome);
            const QString valor =
                static_cast<QLabel*>(
                    fJanela->findChild<QLabel*>(QString::fromLatin1(nome))->buddy())
                    ->text();
            QVERIFY2(lidoComLegenda(l, legenda, valor),
                     qPrintable(legenda + QStringLiteral(": ") + valor));
        }
    }

    // The forecast switched on by the keyboard: the estimated month and its rate are told
    // after the totals, the focus staying on the check box, and read where they are shown.
    void previsaoAnunciada() {
        QVERIFY(digitaDebito());
        fJanela->findChild<QDateEdit*>(QStringLiteral("DTPickerDataPagamento"))
            ->setDate(QDate(2020, 5, 11));
        auto* prever = fJanela->findChild<QCheckBox*>(QStringLiteral("chkPreverMeses"));
        prever->setFocus();
        EscutaAtspi escuta;
        QVERIFY2(escuta.erro().isEmpty(), qPrintable(escuta.erro()));
        // The key goes by the accessibility bus first, as a user's does.
        QTest::keyClick(prever, Qt::Key_Space);
        QVERIFY(QTest::qWaitFor([&] { return prever->isChecked(); }, 60000));
        const QString esperado = QStringLiteral("; Total: %1; PREVISÃO — taxas estimadas: "
                                                "04/2020 0,340000 %")
                                     .arg(textoDe("lblTotTotal"));
        const QList<EventoAcessivel> eventos = anunciado(escuta, esperado);
        QVERIFY2(!eventos.isEmpty(), qPrintable(escuta.erro() + esperado));
        QCOMPARE(eventos.constLast().papel, QStringLiteral("check box"));
        QCOMPARE(QApplication::focusWidget(), prever);

        // The list stays on screen, read as it is shown.
        const LeituraAtspi l = leArvoreAtspiOuPara();
        const QString previsao = textoDe("lblPrevisao");
        QVERIFY(previsao.startsWith(QStringLiteral("PREVISÃO")));
        bool achou = false;
        for (const ObjetoAcessivel& o : l.comPapel(QStringLiteral("label")))
            achou = achou || o.nome == previsao || o.texto == previsao;
        QVERIFY2(achou, qPrintable(previsao));
    }
};

QTEST_MAIN(TesteAcessibilidadeDemonstrativo)
#include "TesteAcessibilidadeDemonstrativo.moc"
