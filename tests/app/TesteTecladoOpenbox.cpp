// Under openbox on Xvfb (tests/apoio/sob-openbox): the calculation, rate table and statement
// windows driven by the keyboard alone. Every key goes through the X server (xdotool), to whichever
// window openbox gave the focus, as a user's keyboard would; the test reads what the
// windows show.

#include "dialogos/Dialogos.h"
#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "apoio/X11Teste.h"
#include "app/TfrmPrincipal.h"
#include "calc/TfrmCalcular.h"
#include "demonstrativo/ModeloDemonstrativo.h"
#include "demonstrativo/TfrmDemonstrativo.h"
#include "ratetable/TfrmTabSelic.h"
#include "valores/Relogio.h"

#include <QAbstractItemView>
#include <QTableView>
#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <optional>

namespace {

// The months the calculation of 1000,00 due 10/01/2020 paid 10/04/2020 takes.
const MesesTeste MesesCalculo{{QDate(2020, 1, 1), QStringLiteral("0.38")},
                              {QDate(2020, 2, 1), QStringLiteral("0.29")},
                              {QDate(2020, 3, 1), QStringLiteral("0.34")}};

xcb_window_t janelaAtiva() {
    const QList<quint32> ativa = propriedadeTeste(
        xcb_setup_roots_iterator(xcb_get_setup(conexaoX11())).data->root, "_NET_ACTIVE_WINDOW");
    return ativa.isEmpty() ? 0 : ativa.first();
}

// Waits until openbox made the window the active one and Qt gave it the keyboard.
bool ativaPeloGerenciador(QWidget* janela) {
    return QTest::qWaitFor(
        [&] { return janelaAtiva() == janelaX11(janela) && janela->isActiveWindow(); }, 30000);
}

bool tecla(const char* teclas) {
    return xdotool({QStringLiteral("key"), QString::fromLatin1(teclas)});
}
bool digita(const QString& texto) {
    return xdotool(
        {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), texto});
}

// Runs `passo` from the event loop as soon as `condicao` holds: the step after a key that
// opens a modal window, whose own loop runs until it closes.
void quando(std::function<bool()> condicao, std::function<void()> passo) {
    auto* vigia = new QTimer;
    vigia->setInterval(20);
    QObject::connect(vigia, &QTimer::timeout, [vigia, condicao, passo] {
        if (!condicao())
            return;
        vigia->stop();
        vigia->deleteLater();
        passo();
    });
    vigia->start();
}

// Presses Tab until the focus is on `alvo`, at most `vezes` times, each time waiting for the
// focus to move.
bool tabulaAte(QWidget* alvo, int vezes) {
    for (int i = 0; i < vezes; ++i) {
        if (QApplication::focusWidget() == alvo)
            return true;
        QWidget* antes = QApplication::focusWidget();
        if (!tecla("Tab") ||
            !QTest::qWaitFor([&] { return QApplication::focusWidget() != antes; }, 10000))
            return false;
    }
    return QApplication::focusWidget() == alvo;
}

} // namespace

class TesteTecladoOpenbox : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2020, 6, 15)};
    DialogosRoteiro fDialogos;
    std::optional<ModuloTeste> fModulo;

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY2(xdotool({QStringLiteral("version")}),
                 "o xdotool não rodou (tools/instala-dependencias)");
    }
    void init() {
        fDialogos.limpa();
        fModulo.emplace(fRelogio, fDialogos, fPasta.path(), MesesCalculo);
    }
    void cleanup() { fModulo.reset(); }

    // Amount and dates typed, Alt+C calculates, the results on screen; Ctrl+P previews, Tab
    // reaches the preview's print button, Return opens the print dialog, where the output
    // file is typed and Return prints; Alt+F closes.
    void calculoPeloTeclado() {
        QWidget principal;
        principal.setGeometry(100, 80, 900, 600);
        principal.show();
        TfrmCalcular janela(*fModulo, fDialogos, fRelogio, &principal);
        janela.open();
        QVERIFY(ativaPeloGerenciador(&janela));
        auto* valor = janela.findChild<QLineEdit*>(QStringLiteral("MaskEditValor"));
        auto* vencimento = janela.findChild<QDateEdit*>(QStringLiteral("DTPickerDataVencimento"));
        auto* pagamento = janela.findChild<QDateEdit*>(QStringLiteral("DTPickerDataPagamento"));
        QTRY_COMPARE(QApplication::focusWidget(), valor);

        QVERIFY(digita(QStringLiteral("1000,00")));
        QTRY_COMPARE(valor->text(), QStringLiteral("1000,00"));
        QVERIFY(tecla("Tab"));
        QTRY_COMPARE(QApplication::focusWidget(), vencimento);
        QVERIFY(digita(QStringLiteral("10012020")));
        QTRY_COMPARE(vencimento->date(), QDate(2020, 1, 10));
        QVERIFY(tecla("Tab"));
        QTRY_COMPARE(QApplication::focusWidget(), pagamento);
        QVERIFY(digita(QStringLiteral("10042020")));
        QTRY_COMPARE(pagamento->date(), QDate(2020, 4, 10));

        QVERIFY(tecla("alt+c"));
        const auto rotulo = [&](const char* nome) {
            return janela.findChild<QLabel*>(QString::fromLatin1(nome))->text();
        };
        QTRY_COMPARE(rotulo("lblResTotal"), QStringLiteral("1.138,26"));
        QCOMPARE(rotulo("lblResNumDias"), QStringLiteral("91"));
        QCOMPARE(rotulo("lblResTaxa"), QStringLiteral("1,630000 %"));
        QCOMPARE(rotulo("lblResValor"), QStringLiteral("1.000,00"));
        QCOMPARE(rotulo("lblResMulta"), QStringLiteral("120,00"));
        QCOMPARE(rotulo("lblResJuros"), QStringLiteral("18,26"));

        // The preview and then the print dialog each run a loop of their own until they
        // close: each step runs from inside it, once its window has the keyboard.
        const QString pdf = fPasta.filePath(QStringLiteral("memoria.pdf"));
        QStringList passos;
        quando(
            [] { return qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget()); },
            [&] {
                auto* previa =
                    qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
                QVERIFY(ativaPeloGerenciador(previa));
                QToolButton* imprimir = nullptr;
                for (QToolButton* b : previa->findChildren<QToolButton*>())
                    if (b->defaultAction() &&
                        b->defaultAction()->text().remove('&') == QStringLiteral("Print"))
                        imprimir = b;
                QVERIFY(imprimir);
                QVERIFY(tabulaAte(imprimir, 60));
                passos << QStringLiteral("prévia");
                quando(
                    [] { return qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()); },
                    [&] {
                        auto* dialogo =
                            qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
                        QVERIFY(ativaPeloGerenciador(dialogo));
                        passos << QStringLiteral("impressão");
                        // Qt's own dialog: Alt+F is its "Output file" field.
                        QVERIFY(tecla("alt+f"));
                        QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
                        auto* arquivo = qobject_cast<QLineEdit*>(QApplication::focusWidget());
                        QVERIFY(tecla("ctrl+a"));
                        QVERIFY(digita(pdf));
                        QTRY_COMPARE(arquivo->text(), pdf);
                        // The field completes file names: a first Return may only
                        // close the completion's list.
                        QPointer<QPrintDialog> aberto(dialogo);
                        for (int i = 0; i < 3 && aberto && aberto->isVisible(); ++i) {
                            QVERIFY(tecla("Return"));
                            (void)QTest::qWaitFor(
                                [&] {
                                    return !aberto || !aberto->isVisible() ||
                                           QApplication::activePopupWidget() == nullptr;
                                },
                                5000);
                            (void)QTest::qWaitFor([&] { return !aberto || !aberto->isVisible(); },
                                                  2000);
                        }
                        passos << QStringLiteral("impresso");
                    });
                QVERIFY(tecla("Return"));
            });
        QVERIFY(tecla("ctrl+p"));
        QTRY_VERIFY2_WITH_TIMEOUT(
            QFile::exists(pdf) && QApplication::activeModalWidget() == &janela,
            qPrintable(passos.join(' ') + QStringLiteral(" / aberta: ") +
                       (QApplication::activeModalWidget()
                            ? QString::fromLatin1(
                                  QApplication::activeModalWidget()->metaObject()->className())
                            : QString())),
            30000);
        QCOMPARE(passos, QStringList({QStringLiteral("prévia"), QStringLiteral("impressão"),
                                      QStringLiteral("impresso")}));
        QTRY_VERIFY(QFile(pdf).size() > 0);
        QFile lido(pdf);
        QVERIFY(lido.open(QIODevice::ReadOnly));
        QVERIFY(lido.read(5) == "%PDF-");

        QVERIFY(ativaPeloGerenciador(&janela));
        QVERIFY(tecla("alt+f"));
        QTRY_VERIFY(!janela.isVisible());
        QCOMPARE(fDialogos.textos(), QStringList());
    }

    // Ctrl+Tab leaves the grid, where Tab moves between the cells; Alt+F closes.
    void tabelaPeloTeclado() {
        QWidget principal;
        principal.setGeometry(100, 80, 900, 600);
        principal.show();
        TfrmTabSelic janela(*fModulo, fDialogos, &principal);
        janela.open();
        QVERIFY(ativaPeloGerenciador(&janela));
        auto* grade = janela.findChild<QAbstractItemView*>(QStringLiteral("DBGridTabSelic"));
        QVERIFY(grade);
        QTRY_COMPARE(QApplication::focusWidget(), grade);
        QVERIFY(tecla("ctrl+Tab"));
        QTRY_VERIFY(QApplication::focusWidget() != grade);
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->window(), &janela);
        QVERIFY(tecla("alt+f"));
        QTRY_VERIFY(!janela.isVisible());
        QCOMPARE(fDialogos.textos(), QStringList());
    }

    // Ctrl+D in the main window opens the statement; the payment date and a debt typed, the
    // debt's results in its row; Ctrl+Tab leaves the grid for the payments' grid, where
    // Insert adds a partial payment that is typed in and moves the debt's row and the
    // totals; Ctrl+Tab leaves that grid too, Alt+F closes, answering the question before
    // the debt is discarded.
    void demonstrativoPeloTeclado() {
        TfrmPrincipal principal(fRelogio, fDialogos);
        principal.Timer1->stop();
        principal.defineJanelaDemonstrativo([&](QWidget* pai) -> std::unique_ptr<QDialog> {
            return std::make_unique<TfrmDemonstrativo>(*fModulo, fDialogos, fRelogio, pai);
        });
        principal.show();
        QVERIFY(ativaPeloGerenciador(&principal));

        QStringList passos;
        QStringList linha;
        QStringList pago;
        QString focoAoSair;
        quando(
            [] { return qobject_cast<TfrmDemonstrativo*>(QApplication::activeModalWidget()); },
            [&] {
                auto* janela = qobject_cast<TfrmDemonstrativo*>(QApplication::activeModalWidget());
                QVERIFY(ativaPeloGerenciador(janela));
                passos << QStringLiteral("aberta");
                auto* nome = janela->findChild<QLineEdit*>(QStringLiteral("edtNome"));
                auto* pagamento =
                    janela->findChild<QDateEdit*>(QStringLiteral("DTPickerDataPagamento"));
                auto* grade = janela->findChild<QTableView*>(QStringLiteral("grdDebitos"));
                QTRY_COMPARE(QApplication::focusWidget(), nome);
                QVERIFY(digita(QStringLiteral("Contribuinte Teste")));
                QTRY_COMPARE(nome->text(), QStringLiteral("Contribuinte Teste"));
                QVERIFY(tecla("alt+g"));
                QTRY_COMPARE(QApplication::focusWidget(), pagamento);
                QVERIFY(digita(QStringLiteral("10042020")));
                QTRY_COMPARE(pagamento->date(), QDate(2020, 4, 10));

                QVERIFY(tecla("alt+d"));
                QTRY_COMPARE(QApplication::focusWidget(), grade);
                const auto celula = [&](int coluna) {
                    return grade->model()->index(0, coluna).data().toString();
                };
                // Tab puts each cell's text in and opens the next cell's editor.
                QVERIFY(digita(QStringLiteral("122019")));
                QVERIFY(tecla("Tab"));
                QTRY_COMPARE(celula(ModeloDemonstrativo::Referencia), QStringLiteral("12/2019"));
                QVERIFY(digita(QStringLiteral("10012020")));
                QVERIFY(tecla("Tab"));
                QTRY_COMPARE(celula(ModeloDemonstrativo::Vencimento), QStringLiteral("10/01/2020"));
                QVERIFY(digita(QStringLiteral("1000,00")));
                QVERIFY(tecla("Return"));
                QTRY_COMPARE(celula(ModeloDemonstrativo::Total), QStringLiteral("1.138,26"));
                for (int c = ModeloDemonstrativo::Valor; c <= ModeloDemonstrativo::Mensagem; ++c)
                    linha << celula(c);

                QVERIFY(tecla("ctrl+Tab"));
                QTRY_VERIFY(QApplication::focusWidget() != grade &&
                            !grade->isAncestorOf(QApplication::focusWidget()));
                focoAoSair = QApplication::focusWidget()->objectName();

                auto* pagamentos = janela->findChild<QTableView*>(QStringLiteral("grdPagamentos"));
                QVERIFY(tecla("Insert"));
                QTRY_COMPARE(pagamentos->model()->rowCount(), 1);
                QVERIFY(digita(QStringLiteral("10032020")));
                QVERIFY(tecla("Tab"));
                QTRY_COMPARE(pagamentos->model()->index(0, 0).data().toString(),
                             QStringLiteral("10/03/2020"));
                QVERIFY(digita(QStringLiteral("500,00")));
                QVERIFY(tecla("Return"));
                QTRY_COMPARE(celula(ModeloDemonstrativo::Pago), QStringLiteral("500,00"));
                pago << celula(ModeloDemonstrativo::Mensagem)
                     << janela->findChild<QLabel*>(QStringLiteral("lblTotPago"))->text();
                QVERIFY(tecla("ctrl+Tab"));
                QTRY_COMPARE(QApplication::focusWidget()->objectName(),
                             QStringLiteral("btnIncluirPagamento"));
                fDialogos.enfileira(Resposta::Sim);
                QVERIFY(tecla("alt+f"));
                passos << QStringLiteral("fechada");
            });
        QVERIFY(tecla("ctrl+d"));
        QTRY_VERIFY_WITH_TIMEOUT(passos.size() == 2 && !QApplication::activeModalWidget(), 60000);
        QCOMPARE(linha, QStringList({"1.000,00", "", "", "1.000,00", "91", "1,630000 %", "120,00",
                                     "18,26", "1.138,26", ""}));
        // Out of the debts' grid into the payments' grid under it.
        QCOMPARE(focoAoSair, QStringLiteral("grdPagamentos"));
        QCOMPARE(pago, QStringList({"", "500,00"}));
        QCOMPARE(fDialogos.textos(), QStringList{TfrmDemonstrativo::perguntaDescartar()});
        QVERIFY(principal.isVisible());
    }
};

QTEST_MAIN(TesteTecladoOpenbox)
#include "TesteTecladoOpenbox.moc"
