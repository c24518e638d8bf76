#include "dialogos/Dialogos.h"
#include "apoio/Contraste.h"
#include "apoio/DialogosRoteiro.h"
#include "apoio/ImpressaoPrevia.h"
#include "apoio/ModuloTeste.h"
#include "calc/DocumentoMemoria.h"
#include "calc/FormataResultado.h"
#include "valores/Formatacao.h"
#include "calc/PreviaImpressao.h"
#include "valores/Relogio.h"
#include "calc/RotuloAjustado.h"
#include "apoio/TabelaDistribuida.h"
#include "apoio/TextoPdf.h"
#include "calc/TfrmCalcular.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QDateEdit>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QAction>
#include <QToolButton>
#include <QSet>
#include <QTimer>
#include <QWindow>

#include <memory>

namespace {

const QStringList NomesResultados = {
    QStringLiteral("lblResNumDias"), QStringLiteral("lblResTaxa"),  QStringLiteral("lblResValor"),
    QStringLiteral("lblResMulta"),   QStringLiteral("lblResJuros"), QStringLiteral("lblResTotal")};

const QString ValorInvalido =
    QStringLiteral("Valor inválido! Digite o valor com as duas casas decimais.");

QDate dia(const char* texto) {
    return QDate::fromString(QString::fromLatin1(texto), QStringLiteral("dd/MM/yyyy"));
}

} // namespace

class TesteJanelaCalculo : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2020, 6, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;
    std::unique_ptr<TfrmCalcular> fJanela;
    QList<DocumentoMemoria> fPrevias; // each preview the window asked for

    QLineEdit* campo() const {
        return fJanela->findChild<QLineEdit*>(QStringLiteral("MaskEditValor"));
    }
    QDateEdit* vencimento() const {
        return fJanela->findChild<QDateEdit*>(QStringLiteral("DTPickerDataVencimento"));
    }
    QDateEdit* pagamento() const {
        return fJanela->findChild<QDateEdit*>(QStringLiteral("DTPickerDataPagamento"));
    }
    QPushButton* botao(const QString& nome) const { return fJanela->findChild<QPushButton*>(nome); }
    QStringList resultados() const {
        QStringList textos;
        for (const QString& nome : NomesResultados)
            textos << fJanela->findChild<QLabel*>(nome)->text();
        return textos;
    }
    QWidget* foco() const { return QApplication::focusWidget(); }
    QPushButton* imprimir() const { return botao(QStringLiteral("btnImprimir")); }
    void ctrlP() { QTest::keyClick(foco(), Qt::Key_P, Qt::ControlModifier); }

    // What a previewed document shows: its inputs and its six results, as on screen.
    static QStringList doDocumento(const DocumentoMemoria& d) {
        const ResultadoFormatado f = formataResultado(d.Resultado);
        return {Formato::dataParaTexto(d.Memoria.DataVencimento),
                Formato::dataParaTexto(d.Memoria.DataPagamento),
                f.Dias,
                f.Taxa,
                f.Valor,
                f.Multa,
                f.Juros,
                f.Total};
    }
    QStringList naTela() const {
        return QStringList{vencimento()->date().toString(QStringLiteral("dd/MM/yyyy")),
                           pagamento()->date().toString(QStringLiteral("dd/MM/yyyy"))} +
               resultados();
    }

    // The rate table shipped with the program, from 01/1998 to 09/2026, in place of the
    // two months of every other test.
    void usaTabelaDistribuida() { fDados->abreArquivo(copiaTabelaDistribuida(fPasta.path())); }

    // Types the amount into the field, sets the dates and clicks Calcular, as a user would.
    void calcula(const QString& valor, const QDate& venc, const QDate& pag) {
        campo()->setFocus();
        campo()->selectAll();
        QTest::keyClicks(campo(), valor);
        vencimento()->setDate(venc);
        pagamento()->setDate(pag);
        QTest::mouseClick(botao(QStringLiteral("btnCalcular")), Qt::LeftButton);
    }

private slots:
    void init() {
        fDialogos.limpa();
        const MesesTeste meses{{QDate(2020, 2, 1), QStringLiteral("0.29")},
                               {QDate(2020, 3, 1), QStringLiteral("0.34")}};
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(), meses);

        fJanela = std::make_unique<TfrmCalcular>(*fDados, fDialogos, fRelogio);
        fPrevias.clear();
        fJanela->definePrevia([this](const DocumentoMemoria& d) { fPrevias << d; });
        fJanela->show();
        QApplication::setActiveWindow(fJanela.get());
        QVERIFY(QTest::qWaitForWindowActive(fJanela.get()));
    }
    void cleanup() {
        fJanela.reset();
        fDados.reset();
    }

    void aberturaMostraDatasDeHojeECamposVazios() {
        QCOMPARE(fJanela->objectName(), QStringLiteral("frmCalcular"));
        QCOMPARE(fJanela->windowTitle(), QStringLiteral("Cálculo de ICMS Vencido"));
        QCOMPARE(vencimento()->date(), QDate(2020, 6, 15));
        QCOMPARE(pagamento()->date(), QDate(2020, 6, 15));
        QCOMPARE(campo()->text(), QString());
        QCOMPARE(foco(), campo());
        QCOMPARE(resultados(), QStringList(6, QString()));
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void aparenciaFixa() {
        QCOMPARE(fJanela->size(), QSize(572, 312));
        QCOMPARE(fJanela->minimumSize(), fJanela->maximumSize());
        const Qt::WindowFlags flags = fJanela->windowFlags();
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

        for (QDateEdit* data : {vencimento(), pagamento()}) {
            QCOMPARE(data->displayFormat(), QStringLiteral("dd/MM/yyyy"));
            QVERIFY(data->calendarPopup());
        }
        for (const QString& nome : NomesResultados) {
            auto* rotulo = fJanela->findChild<QLabel*>(nome);
            QVERIFY2(rotulo, qPrintable(nome));
            QCOMPARE(rotulo->minimumSize(), rotulo->maximumSize());
            QCOMPARE(rotulo->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
            QVERIFY(rotulo->font().bold());
            QCOMPARE(rotulo->palette().color(rotulo->backgroundRole()), QColor(Qt::white));
        }
        auto* aviso = fJanela->findChild<QLabel*>(QStringLiteral("Label8"));
        QVERIFY(
            aviso->text().startsWith(QStringLiteral("O imposto só vence em dia de expediente")));
        QVERIFY(aviso->font().bold());
        QCOMPARE(aviso->palette().color(QPalette::WindowText), QColor(0xC0, 0x00, 0x00));

        QCOMPARE(botao(QStringLiteral("btnCalcular"))->text(), QStringLiteral("&Calcular"));
        QCOMPARE(botao(QStringLiteral("btnFechar"))->text(), QStringLiteral("&Fechar"));
        QVERIFY(!botao(QStringLiteral("btnCalcular"))->icon().isNull());
        QVERIFY(!botao(QStringLiteral("btnFechar"))->icon().isNull());
    }

    // The notice as drawn on screen: still red, and dark enough on the window's background
    // for normal text (4.5:1).
    void contrasteDoAviso() {
        auto* aviso = fJanela->findChild<QLabel*>(QStringLiteral("Label8"));
        const CoresDoTexto cores = coresDoTexto(aviso->grab().toImage());
        QCOMPARE(cores.fundo, fJanela->palette().color(QPalette::Window));
        QVERIFY2(cores.texto.red() > 2 * std::max(cores.texto.green(), cores.texto.blue()),
                 qPrintable(cores.texto.name()));
        const double razao = contraste(cores.texto, cores.fundo);
        QVERIFY2(razao >= 4.5, qPrintable(QStringLiteral("%1 sobre %2: %3:1")
                                              .arg(cores.texto.name(), cores.fundo.name())
                                              .arg(razao, 0, 'f', 2)));
    }

    void ordemDeTabulacao() {
        QStringList ordem;
        for (int i = 0; i < 5; ++i) {
            ordem << foco()->objectName();
            QTest::keyClick(foco(), Qt::Key_Tab);
        }
        QCOMPARE(ordem, QStringList({"MaskEditValor", "DTPickerDataVencimento",
                                     "DTPickerDataPagamento", "btnCalcular", "btnFechar"}));
        QCOMPARE(foco(), campo());
        // Leaving the empty field completed it.
        QCOMPARE(campo()->text(), QStringLiteral("0,00"));
    }

    // Keys typed into the amount field. cursor -1 selects the whole starting text.
    void teclas_data() {
        QTest::addColumn<QString>("inicial");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("teclas");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("ponto vira vírgula") << "" << 0 << "12.5"
                                            << "12,5";
        QTest::newRow("segunda casa") << "" << 0 << "12.50"
                                      << "12,50";
        QTest::newRow("terceira casa descartada") << "" << 0 << "12.507"
                                                  << "12,50";
        QTest::newRow("retrocesso libera uma casa") << "" << 0 << "12.50\b7"
                                                    << "12,57";
        QTest::newRow("segunda vírgula") << "" << 0 << "1,,2"
                                         << "1,2";
        QTest::newRow("ponto com vírgula presente") << "" << 0 << "1,.2"
                                                    << "1,2";
        QTest::newRow("letra espaço e sinais") << "" << 0 << "1a -+2"
                                               << "12";
        QTest::newRow("enter descartado") << "" << 0 << "12\r3"
                                          << "123";
        QTest::newRow("vírgula no início") << "" << 0 << ",50"
                                           << ",50";
        QTest::newRow("tudo selecionado e dígito") << "12,50" << -1 << "7"
                                                   << "7";
        QTest::newRow("tudo selecionado e letra") << "12,50" << -1 << "x"
                                                  << "";
        QTest::newRow("tudo selecionado e retrocesso") << "12,50" << -1 << "\b"
                                                       << "";
        QTest::newRow("tudo selecionado e vírgula") << "12,50" << -1 << ","
                                                    << ",";
        QTest::newRow("cursor antes com duas casas") << "12,50" << 0 << "9"
                                                     << "12,50";
        QTest::newRow("cursor no meio com duas casas") << "12,50" << 2 << "9"
                                                       << "12,50";
        QTest::newRow("cursor antes com uma casa") << "12,5" << 0 << "9"
                                                   << "912,5";
        QTest::newRow("retrocesso no meio") << "12,50" << 2 << "\b"
                                            << "1,50";
    }
    void teclas() {
        QFETCH(QString, inicial);
        QFETCH(int, cursor);
        QFETCH(QString, teclas);
        QFETCH(QString, esperado);
        campo()->setText(inicial);
        if (cursor < 0)
            campo()->selectAll();
        else
            campo()->setCursorPosition(cursor);
        QTest::keyClicks(campo(), teclas);
        QCOMPARE(campo()->text(), esperado);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // The clipboard shortcuts are control characters: discarded, and with the whole text
    // selected the text is cleared first like for any other key.
    void atalhosDaAreaDeTransferencia() {
        QApplication::clipboard()->setText(QStringLiteral("9x"));
        campo()->setText(QStringLiteral("12"));
        campo()->end(false);
        QTest::keyClick(campo(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(campo()->text(), QStringLiteral("12"));
        campo()->selectAll();
        QTest::keyClick(campo(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(campo()->text(), QString());
    }

    // Pasting is not filtered.
    void colarNaoEhFiltrado() {
        QApplication::clipboard()->setText(QStringLiteral("1.234,5x"));
        campo()->paste();
        QCOMPARE(campo()->text(), QStringLiteral("1.234,5x"));
    }

    void saidaDoCampo_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("aceito");
        QTest::addColumn<QString>("final");
        QTest::newRow("vazio vira zero") << "" << true << "0,00";
        QTest::newRow("duas casas") << "12,50" << true << "12,50";
        QTest::newRow("só centavos") << ",50" << true << ",50";
        QTest::newRow("zero") << "0,00" << true << "0,00";
        QTest::newRow("colado com milhar") << "1.234,56" << true << "1.234,56";
        QTest::newRow("sem vírgula") << "12" << false << "12";
        QTest::newRow("uma casa") << "12,5" << false << "12,5";
        QTest::newRow("três casas") << "12,505" << false << "12,505";
        QTest::newRow("vírgula sozinha") << "," << false << ",";
    }
    void saidaDoCampo() {
        QFETCH(QString, texto);
        QFETCH(bool, aceito);
        QFETCH(QString, final);
        campo()->setText(texto);
        QCOMPARE(foco(), campo());
        QTest::keyClick(campo(), Qt::Key_Tab);
        QCOMPARE(campo()->text(), final);
        if (aceito) {
            QVERIFY(fDialogos.registros().isEmpty());
            QCOMPARE(foco(), vencimento());
        } else {
            QCOMPARE(fDialogos.textos(), QStringList{ValorInvalido});
            QCOMPARE(foco(), campo());
        }
    }

    // With a badly formed amount, no other control can be used, the close button included.
    void valorInvalidoPrendeOFoco_data() {
        QTest::addColumn<QString>("meio");
        QTest::newRow("clique na janela") << "janela";
        QTest::newRow("clique no botão") << "botão";
        QTest::newRow("tecla de acesso") << "atalho";
    }
    void valorInvalidoPrendeOFoco() {
        QFETCH(QString, meio);
        campo()->setText(QStringLiteral("12,5"));
        QPushButton* fechar = botao(QStringLiteral("btnFechar"));
        QSignalSpy pressionado(fechar, &QPushButton::pressed);
        if (meio == QStringLiteral("janela")) {
            const QPoint ponto = fechar->mapTo(fJanela.get(), fechar->rect().center());
            QTest::mouseClick(fJanela->windowHandle(), Qt::LeftButton, {}, ponto);
        } else if (meio == QStringLiteral("botão")) {
            QTest::mouseClick(fechar, Qt::LeftButton);
        } else {
            QTest::keyClick(campo(), Qt::Key_F, Qt::AltModifier);
        }
        QTest::qWait(200); // a key accelerator clicks after a short delay
        QCOMPARE(fDialogos.textos(), QStringList{ValorInvalido});
        QVERIFY(fJanela->isVisible());
        QCOMPARE(foco(), campo());
        QVERIFY(!fechar->isDown());
        // A real click never reaches the button: no press is left behind the message.
        if (meio == QStringLiteral("janela"))
            QCOMPARE(pressionado.count(), 0);

        // Once mended, the same way closes the window.
        fDialogos.limpa();
        campo()->setText(QStringLiteral("12,50"));
        if (meio == QStringLiteral("janela")) {
            const QPoint ponto = fechar->mapTo(fJanela.get(), fechar->rect().center());
            QTest::mouseClick(fJanela->windowHandle(), Qt::LeftButton, {}, ponto);
        } else if (meio == QStringLiteral("botão")) {
            QTest::mouseClick(fechar, Qt::LeftButton);
        } else {
            QTest::keyClick(campo(), Qt::Key_F, Qt::AltModifier);
        }
        QTRY_VERIFY(!fJanela->isVisible());
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // A close asked from outside (the title bar, Alt+F4, a program) meets the amount's
    // exit check, as "Fechar" does.
    void fechamentoDeFora_data() {
        QTest::addColumn<bool>("pelaJanelaNativa");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("fecha");
        QTest::addColumn<QString>("final");
        QTest::newRow("gerenciador, sem casas") << true << "12" << false << "12";
        QTest::newRow("gerenciador, uma casa") << true << "12,5" << false << "12,5";
        QTest::newRow("close(), sem casas") << false << "12" << false << "12";
        QTest::newRow("gerenciador, vazio") << true << "" << true << "0,00";
        QTest::newRow("close(), completo") << false << "12,50" << true << "12,50";
    }
    void fechamentoDeFora() {
        QFETCH(bool, pelaJanelaNativa);
        QFETCH(QString, texto);
        QFETCH(bool, fecha);
        QFETCH(QString, final);
        campo()->setText(texto);
        const bool fechou = pelaJanelaNativa ? fJanela->windowHandle()->close() : fJanela->close();
        QCOMPARE(fechou, fecha);
        QCOMPARE(fJanela->isVisible(), !fecha);
        QCOMPARE(campo()->text(), final);
        if (fecha) {
            QVERIFY(fDialogos.registros().isEmpty());
        } else {
            QCOMPARE(fDialogos.textos(), QStringList{ValorInvalido});
            QCOMPARE(foco(), campo());
        }
    }

    void teclaDeAcessoCalcula() {
        QTest::keyClicks(campo(), QStringLiteral("1000,00"));
        vencimento()->setDate(dia("10/01/2020"));
        pagamento()->setDate(dia("10/04/2020"));
        QTest::keyClick(campo(), Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(resultados().constLast(), QStringLiteral("1.138,26"));
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void escapeNaoFechaAJanela() {
        botao(QStringLiteral("btnCalcular"))->setFocus();
        QTest::keyClick(foco(), Qt::Key_Escape);
        QVERIFY(fJanela->isVisible());
    }

    // Return and keypad Enter press the focused button, as Space does.
    void enterPressionaOBotaoFocado_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<Qt::KeyboardModifiers>("mods");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("Enter do teclado numérico")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
    void enterPressionaOBotaoFocado() {
        QFETCH(int, tecla);
        QFETCH(Qt::KeyboardModifiers, mods);
        QTest::keyClicks(campo(), QStringLiteral("1000,00"));
        vencimento()->setDate(dia("10/01/2020"));
        pagamento()->setDate(dia("10/04/2020"));
        QTest::keyClick(campo(), Qt::Key_Tab);
        QTest::keyClick(foco(), Qt::Key_Tab);
        QTest::keyClick(foco(), Qt::Key_Tab);
        QCOMPARE(foco(), botao(QStringLiteral("btnCalcular")));
        QTest::keyClick(foco(), Qt::Key(tecla), mods);
        QCOMPARE(resultados().constLast(), QStringLiteral("1.138,26"));
        // The focus stays where the user left it.
        QCOMPARE(foco(), botao(QStringLiteral("btnCalcular")));
        QTest::keyClick(foco(), Qt::Key_Tab);
        QCOMPARE(foco(), imprimir());
        QTest::keyClick(foco(), Qt::Key(tecla), mods);
        QCOMPARE(fPrevias.size(), 1);
        botao(QStringLiteral("btnFechar"))->setFocus();
        QTest::keyClick(foco(), Qt::Key(tecla), mods);
        QVERIFY(!fJanela->isVisible());
    }

    // Alt+Down and F4 open the picker's calendar, which the keyboard then works.
    void calendarioAbrePeloTeclado_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<Qt::KeyboardModifiers>("mods");
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::AltModifier);
        QTest::newRow("F4") << int(Qt::Key_F4) << Qt::KeyboardModifiers();
    }
    void calendarioAbrePeloTeclado() {
        QFETCH(int, tecla);
        QFETCH(Qt::KeyboardModifiers, mods);
        for (QDateEdit* data : {vencimento(), pagamento()}) {
            data->setFocus();
            QTest::keyClick(data, Qt::Key(tecla), mods);
            QWidget* calendario = data->calendarWidget();
            QVERIFY(calendario->isVisible());
            QVERIFY(calendario->window()->isAncestorOf(QApplication::focusWidget()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY(!calendario->isVisible());
            QCOMPARE(data->date(), QDate(2020, 6, 16));
        }
    }

    // The seven date checks in order; "" keeps the focus on the Calcular button.
    void datas_data() {
        QTest::addColumn<QDate>("venc");
        QTest::addColumn<QDate>("pag");
        QTest::addColumn<QString>("mensagem");
        QTest::addColumn<QString>("focoEsperado");
        const QDate vazia(1899, 12, 30);
        const QString naoUtilVenc = QStringLiteral("A Data do Vencimento deve ser dia útil!");
        const QString naoUtilPag = QStringLiteral("A Data do Pagamento deve ser dia útil!");
        const QString ordem =
            QStringLiteral("A Data do Pagamento deve ser maior ou igual a Data de Vencimento!");
        QTest::newRow("vencimento vazio")
            << vazia << dia("10/03/2020") << "Digite a Data de Vencimento!"
            << "DTPickerDataVencimento";
        QTest::newRow("ambas vazias: só a primeira mensagem")
            << vazia << vazia << "Digite a Data de Vencimento!"
            << "DTPickerDataVencimento";
        QTest::newRow("vencimento antes de 1998")
            << dia("31/12/1997") << dia("10/03/2020")
            << "A Data de Vencimento deve ser maior do que 01/01/1998!"
            << "DTPickerDataVencimento";
        QTest::newRow("vencimento em 01/01/1998")
            << dia("01/01/1998") << dia("10/03/2020") << naoUtilVenc << "";
        QTest::newRow("vencimento no sábado")
            << dia("11/01/2020") << dia("10/03/2020") << naoUtilVenc << "";
        QTest::newRow("vencimento no domingo")
            << dia("12/01/2020") << dia("10/03/2020") << naoUtilVenc << "";
        QTest::newRow("vencimento em feriado numa sexta")
            << dia("15/11/2019") << dia("10/03/2020") << naoUtilVenc << "";
        QTest::newRow("pagamento vazio")
            << dia("10/03/2020") << vazia << "Digite a Data de Pagamento!"
            << "DTPickerDataPagamento";
        QTest::newRow("pagamento antes de 1998")
            << dia("10/03/2020") << dia("31/12/1997")
            << "A Data de Pagamento deve ser maior do que 01/01/1998!"
            << "DTPickerDataPagamento";
        QTest::newRow("pagamento em 01/01/1998")
            << dia("10/03/2020") << dia("01/01/1998") << naoUtilPag << "";
        QTest::newRow("pagamento no sábado")
            << dia("10/03/2020") << dia("14/03/2020") << naoUtilPag << "";
        QTest::newRow("vencimento depois do pagamento")
            << dia("10/03/2020") << dia("09/03/2020") << ordem << "";
    }
    void datas() {
        QFETCH(QDate, venc);
        QFETCH(QDate, pag);
        QFETCH(QString, mensagem);
        QFETCH(QString, focoEsperado);
        calcula(QStringLiteral("1000,00"), venc, pag);
        QCOMPARE(fDialogos.textos(), QStringList{mensagem});
        QCOMPARE(foco()->objectName(),
                 focoEsperado.isEmpty() ? QStringLiteral("btnCalcular") : focoEsperado);
        QCOMPARE(resultados(), QStringList(6, QString()));
        fDialogos.limpa();
        QVERIFY(!fJanela->ValidaDatas());
        QCOMPARE(fDialogos.textos(), QStringList{mensagem});
    }

    void datasIguaisSaoAceitas() {
        vencimento()->setDate(dia("10/03/2020"));
        pagamento()->setDate(dia("10/03/2020"));
        QVERIFY(fJanela->ValidaDatas());
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void calculo_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QDate>("venc");
        QTest::addColumn<QDate>("pag");
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("dois meses entre as datas")
            << "1000,00" << dia("10/01/2020") << dia("10/04/2020")
            << QStringList{"91", "1,630000 %", "1.000,00", "120,00", "18,26", "1.138,26"};
        QTest::newRow("pago no vencimento")
            << "1000,00" << dia("10/03/2020") << dia("10/03/2020")
            << QStringList{"0", "0,000000 %", "1.000,00", "0,00", "0,00", "1.000,00"};
        QTest::newRow("milhares agrupados")
            << "1234567,89" << dia("10/03/2020") << dia("10/03/2020")
            << QStringList{"0", "0,000000 %", "1.234.567,89", "0,00", "0,00", "1.234.567,89"};
        QTest::newRow("valor zero")
            << "" << dia("10/01/2020") << dia("10/04/2020")
            << QStringList{"91", "1,630000 %", "0,00", "0,00", "0,00", "0,00"};
        QTest::newRow("abaixo de um")
            << "0,50" << dia("10/03/2020") << dia("10/03/2020")
            << QStringList{"0", "0,000000 %", "0,50", "0,00", "0,00", "0,50"};
        QTest::newRow("mês seguinte sem ler a tabela")
            << "1000,00" << dia("10/03/2020") << dia("14/04/2020")
            << QStringList{"35", "1,000000 %", "1.000,00", "90,00", "10,90", "1.100,90"};
    }
    void calculo() {
        QFETCH(QString, valor);
        QFETCH(QDate, venc);
        QFETCH(QDate, pag);
        QFETCH(QStringList, esperado);
        calcula(valor, venc, pag);
        QCOMPARE(fDialogos.textos(), QStringList());
        QCOMPARE(resultados(), esperado);
    }

    // The longest rates and the largest amounts, as the command line gives them.
    void resultadoCabeNoRotulo_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QDate>("venc");
        QTest::addColumn<QDate>("pag");
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("taxa de três dígitos")
            << "1000,00" << dia("11/01/2010") << dia("10/09/2026")
            << QStringList{"6086", "158,460000 %", "1.000,00", "120,00", "1.774,75", "2.894,75"};
        QTest::newRow("maior taxa da tabela, valor de doze dígitos")
            << "999999999999,99" << dia("02/01/1998") << dia("10/09/2026")
            << QStringList{"10478",
                           "355,540000 %",
                           "999.999.999.999,99",
                           "120.000.000.000,00",
                           "3.982.047.999.999,96",
                           "5.102.047.999.999,95"};
        QTest::newRow("total no limite da moeda")
            << "180770000000000,00" << dia("02/01/1998") << dia("10/09/2026")
            << QStringList{"10478",
                           "355,540000 %",
                           "180.770.000.000.000,00",
                           "21.692.400.000.000,00",
                           "719.834.816.960.000,00",
                           "922.297.216.960.000,00"};
    }
    void resultadoCabeNoRotulo() {
        QFETCH(QString, valor);
        QFETCH(QDate, venc);
        QFETCH(QDate, pag);
        QFETCH(QStringList, esperado);
        usaTabelaDistribuida();
        calcula(valor, venc, pag);
        QCOMPARE(fDialogos.textos(), QStringList());
        QCOMPARE(resultados(), esperado);

        const QList<QSize> tamanhos = {{97, 16},  {97, 16},  {145, 16},
                                       {145, 16}, {145, 16}, {145, 16}};
        bool algumReduzido = false;
        for (int i = 0; i < NomesResultados.size(); ++i) {
            auto* rotulo = fJanela->findChild<RotuloAjustado*>(NomesResultados[i]);
            QVERIFY2(rotulo, qPrintable(NomesResultados[i]));
            QCOMPARE(rotulo->size(), tamanhos[i]);
            const QFont usada = rotulo->fonteDoTexto();
            const QFont propria = rotulo->font();
            QCOMPARE(usada.family(), propria.family());
            QCOMPARE(usada.bold(), propria.bold());
            const int largura = QFontMetrics(usada).horizontalAdvance(rotulo->text());
            QVERIFY2(largura <= rotulo->larguraDisponivel(),
                     qPrintable(QStringLiteral("%1: %2 px em %3 px")
                                    .arg(rotulo->text())
                                    .arg(largura)
                                    .arg(rotulo->larguraDisponivel())));
            // A text that fits keeps the label's own size.
            if (QFontMetrics(propria).horizontalAdvance(rotulo->text()) <=
                rotulo->larguraDisponivel())
                QCOMPARE(usada, propria);
            else
                algumReduzido = true;

            // On screen, right-aligned and whole: the left edge is still background, the
            // text's first digit inside the label.
            const QImage imagem = rotulo->grab().toImage();
            const QRgb fundo = imagem.pixel(0, 0);
            int primeiraColuna = -1;
            for (int x = 0; x < imagem.width() && primeiraColuna < 0; ++x)
                for (int y = 0; y < imagem.height(); ++y)
                    if (imagem.pixel(x, y) != fundo) {
                        primeiraColuna = x;
                        break;
                    }
            QVERIFY2(primeiraColuna > 0, qPrintable(rotulo->text()));
        }
        // Twenty-two characters in 145 pixels: no font of the window's size fits them.
        if (esperado[2].size() > 20)
            QVERIFY(algumReduzido);
    }

    // After a success, every later failure leaves the six results as they were.
    void falhaMantemResultados_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QDate>("venc");
        QTest::addColumn<QDate>("pag");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("mensagem");
        const int mensagem = DialogosRoteiro::Registro::Mensagem;
        const int relatorio = DialogosRoteiro::Registro::RelatorioErro;
        QTest::newRow("vencimento num sábado")
            << "1000,00" << dia("11/01/2020") << dia("10/04/2020") << mensagem
            << "A Data do Vencimento deve ser dia útil!";
        QTest::newRow("taxas faltando")
            << "1000,00" << dia("10/01/2020") << dia("10/06/2020") << mensagem
            << "Nem todos os índices mensais da Selic foram cadastrados. Favor fornecer todos os "
               "índices para que o sistema efetue corretamente os cálculos!";
        QTest::newRow("colado com milhar")
            << "1.234,56" << dia("10/01/2020") << dia("10/04/2020") << relatorio
            << "'1.234,56' is not a valid floating point value";
        QTest::newRow("colado com letras")
            << "1a2,34" << dia("10/01/2020") << dia("10/04/2020") << relatorio
            << "'1a2,34' is not a valid floating point value";
        QTest::newRow("além da faixa da moeda")
            << "922337203685478,00" << dia("10/01/2020") << dia("10/04/2020") << relatorio
            << "'922337203685478,00' is not a valid floating point value";
    }
    void falhaMantemResultados() {
        QFETCH(QString, valor);
        QFETCH(QDate, venc);
        QFETCH(QDate, pag);
        QFETCH(int, tipo);
        QFETCH(QString, mensagem);
        calcula(QStringLiteral("1000,00"), dia("10/01/2020"), dia("10/04/2020"));
        const QStringList antes = resultados();
        QCOMPARE(antes.constLast(), QStringLiteral("1.138,26"));

        // Pasted text is not filtered; it passes the exit check and meets the conversion.
        campo()->setText(valor);
        vencimento()->setDate(venc);
        pagamento()->setDate(pag);
        QTest::mouseClick(botao(QStringLiteral("btnCalcular")), Qt::LeftButton);
        QCOMPARE(fDialogos.textos(), QStringList{mensagem});
        QCOMPARE(int(fDialogos.registros().constFirst().tipo), tipo);
        QCOMPARE(resultados(), antes);
        QVERIFY(!fDados->CDSSelic.filtrado());
    }

    // A total beyond the currency range fails with an error and shows nothing.
    void totalForaDaFaixa() {
        campo()->setText(QStringLiteral("922337203685477,00"));
        vencimento()->setDate(dia("10/01/2020"));
        pagamento()->setDate(dia("10/04/2020"));
        QTest::mouseClick(botao(QStringLiteral("btnCalcular")), Qt::LeftButton);
        QCOMPARE(fDialogos.registros().size(), 1);
        QCOMPARE(fDialogos.registros().constFirst().tipo, DialogosRoteiro::Registro::RelatorioErro);
        QCOMPARE(resultados(), QStringList(6, QString()));
    }

    // Imprimir sits in the bottom bar left of Fechar, which keeps its place.
    void botaoImprimir() {
        QPushButton* b = imprimir();
        QVERIFY(b);
        QCOMPARE(b->parentWidget()->objectName(), QStringLiteral("Panel2"));
        QCOMPARE(b->geometry(), QRect(396, 4, 84, 25));
        QCOMPARE(botao(QStringLiteral("btnFechar"))->geometry(), QRect(484, 4, 84, 25));
        QCOMPARE(b->text(), QStringLiteral("&Imprimir"));
        QVERIFY(!b->icon().isNull());
        QCOMPARE(b->font().pixelSize(), botao(QStringLiteral("btnFechar"))->font().pixelSize());

        // Once enabled, it comes between Calcular and Fechar in the tab order.
        calcula(QStringLiteral("1000,00"), dia("10/01/2020"), dia("10/04/2020"));
        QCOMPARE(foco(), botao(QStringLiteral("btnCalcular")));
        QTest::keyClick(foco(), Qt::Key_Tab);
        QCOMPARE(foco(), b);
        QTest::keyClick(foco(), Qt::Key_Tab);
        QCOMPARE(foco(), botao(QStringLiteral("btnFechar")));
    }

    // Disabled before the first calculation, and again after any later failure, whether
    // the amount's check, a date check, the missing rates or the conversion stopped it.
    void imprimirSoComCalculoNaTela_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QDate>("venc");
        QTest::addColumn<QDate>("pag");
        QTest::newRow("valor sem casas") << "12" << dia("10/01/2020") << dia("10/04/2020");
        QTest::newRow("vencimento num sábado")
            << "1000,00" << dia("11/01/2020") << dia("10/04/2020");
        QTest::newRow("pagamento antes do vencimento")
            << "1000,00" << dia("10/03/2020") << dia("09/03/2020");
        QTest::newRow("taxas faltando") << "1000,00" << dia("10/01/2020") << dia("10/06/2020");
        QTest::newRow("colado com milhar") << "1.234,56" << dia("10/01/2020") << dia("10/04/2020");
    }
    void imprimirSoComCalculoNaTela() {
        QFETCH(QString, valor);
        QFETCH(QDate, venc);
        QFETCH(QDate, pag);
        QVERIFY(!imprimir()->isEnabled());
        ctrlP();
        QVERIFY(fPrevias.isEmpty());

        calcula(QStringLiteral("1000,00"), dia("10/01/2020"), dia("10/04/2020"));
        QVERIFY(imprimir()->isEnabled());

        campo()->setFocus();
        campo()->setText(valor);
        vencimento()->setDate(venc);
        pagamento()->setDate(pag);
        QTest::mouseClick(botao(QStringLiteral("btnCalcular")), Qt::LeftButton);
        QCOMPARE(fDialogos.textos().size(), 1);
        QVERIFY(!imprimir()->isEnabled());
        QCOMPARE(resultados().constLast(), QStringLiteral("1.138,26"));
        // Mending the inputs is not calculating again.
        fDialogos.limpa();
        campo()->setText(QStringLiteral("1000,00"));
        vencimento()->setDate(dia("10/01/2020"));
        pagamento()->setDate(dia("10/04/2020"));
        botao(QStringLiteral("btnCalcular"))->setFocus();
        ctrlP();
        QTest::mouseClick(imprimir(), Qt::LeftButton);
        QVERIFY(fPrevias.isEmpty());
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // Ctrl+P from the amount field, and the button, preview the calculation on screen,
    // made at the clock's moment with the program's version; never an older calculation.
    void ctrlPMostraOCalculoNaTela() {
        const DataHora momento = Datas::codificaData(2020, 6, 15) + 0.5;
        fRelogio.define(momento);
        calcula(QStringLiteral("1000,00"), dia("10/01/2020"), dia("10/04/2020"));
        campo()->setFocus();
        ctrlP();
        QCOMPARE(fPrevias.size(), 1);
        QCOMPARE(doDocumento(fPrevias[0]), naTela());
        QCOMPARE(fPrevias[0].Memoria.MesesSelic.size(), 2);
        QCOMPARE(fPrevias[0].Emissao, momento);
        QCOMPARE(fPrevias[0].Versao, fDados->ConfigApp.Versao());
        QCOMPARE(campo()->text(), QStringLiteral("1000,00"));

        calcula(QStringLiteral("2500,00"), dia("10/03/2020"), dia("14/04/2020"));
        QTest::mouseClick(imprimir(), Qt::LeftButton);
        QCOMPARE(fPrevias.size(), 2);
        QCOMPARE(doDocumento(fPrevias[1]), naTela());
        QCOMPARE(resultados().constLast(), QStringLiteral("2.752,25"));

        // Alt+I, the button's accelerator, from the amount field.
        QTest::keyClick(campo(), Qt::Key_I, Qt::AltModifier);
        QTRY_COMPARE(fPrevias.size(), 3);
        QCOMPARE(doDocumento(fPrevias[2]), naTela());
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // Ctrl+P does not pass over a badly formed amount: its message, the focus kept, and
    // no preview until a new calculation.
    void ctrlPComValorInvalido() {
        calcula(QStringLiteral("1000,00"), dia("10/01/2020"), dia("10/04/2020"));
        campo()->setFocus();
        campo()->setText(QStringLiteral("12,5"));
        ctrlP();
        QCOMPARE(fDialogos.textos(), QStringList{ValorInvalido});
        QCOMPARE(foco(), campo());
        QVERIFY(fPrevias.isEmpty());
        QVERIFY(!imprimir()->isEnabled());
    }

    // The preview itself: a print preview dialog on an A4 printer, showing the one page
    // of the document.
    void previaDeImpressao() {
        calcula(QStringLiteral("1000,00"), dia("10/01/2020"), dia("10/04/2020"));
        ctrlP();
        QCOMPARE(fPrevias.size(), 1);
        QString titulo;
        int paginas = -1;
        QPageSize::PageSizeId papel = QPageSize::Custom;
        QTimer::singleShot(0, [&] {
            auto* previa = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            QVERIFY(previa);
            titulo = previa->windowTitle();
            papel = previa->printer()->pageLayout().pageSize().id();
            paginas = previa->findChild<QPrintPreviewWidget*>()->pageCount();
            previa->reject();
        });
        // Closed without printing: nothing was printed.
        QVERIFY(!abrePreviaImpressao(fJanela.get(), fDialogos, fPrevias.constFirst()));
        QCOMPARE(titulo, QStringLiteral("Memória de Cálculo — ICMS pago em atraso"));
        QCOMPARE(papel, QPageSize::A4);
        QCOMPARE(paginas, 1);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // Printed from the preview through Qt's print dialog, to a PDF file: the preview says
    // so, and the file holds the calculation on screen.
    void impressoPelaPrevia() {
        calcula(QStringLiteral("1000,00"), dia("10/01/2020"), dia("10/04/2020"));
        ctrlP();
        QCOMPARE(fPrevias.size(), 1);
        const QString pdf = fPasta.filePath(QStringLiteral("previa.pdf"));
        bool impresso = false;
        quandoAbrirPrevia(QStringLiteral("PreviaMemoria"), [&](QPrintPreviewDialog* previa) {
            impresso = imprimePelaPrevia(previa, pdf);
        });
        QVERIFY(abrePreviaImpressao(fJanela.get(), fDialogos, fPrevias.constFirst()));
        QVERIFY(impresso);
        const QStringList texto = textoPdf(pdf);
        QVERIFY2(!linhaCom(texto, {QStringLiteral("Total"), QStringLiteral("1.138,26")}).isEmpty(),
                 qPrintable(texto.join(u'\n')));
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // Every button of the preview's toolbar is reached by Tab alone.
    void previaPeloTeclado() {
        calcula(QStringLiteral("1000,00"), dia("10/01/2020"), dia("10/04/2020"));
        ctrlP();
        QCOMPARE(fPrevias.size(), 1);
        QStringList faltam;
        int botoes = 0;
        QTimer::singleShot(0, [&] {
            auto* previa = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            QVERIFY(previa);
            // Wide enough for the whole toolbar, as on a desktop screen: narrower, the rest
            // of it is behind the toolbar's extension button, which Tab reaches too.
            previa->resize(1280, 800);
            QApplication::setActiveWindow(previa);
            QVERIFY(QTest::qWaitForWindowActive(previa));
            QSet<QWidget*> alcancados;
            QWidget* primeiro = QApplication::focusWidget();
            QVERIFY(primeiro);
            for (int i = 0; i < 100; ++i) {
                alcancados.insert(QApplication::focusWidget());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                if (QApplication::focusWidget() == primeiro)
                    break;
            }
            for (QToolButton* b : previa->findChildren<QToolButton*>()) {
                if (!b->isVisible() || !b->isEnabled() || !b->defaultAction())
                    continue;
                ++botoes;
                if (!alcancados.contains(b))
                    faltam << b->defaultAction()->text();
            }
            previa->reject();
        });
        abrePreviaImpressao(fJanela.get(), fDialogos, fPrevias.constFirst());
        QVERIFY(botoes > 0);
        QCOMPARE(faltam, QStringList());
    }

    // Each opening is a fresh modal window, destroyed when it closes.
    void abreJanelaNovaACadaVez() {
        fJanela.reset();
        QWidget principal;
        principal.resize(800, 600);
        principal.show();

        QList<QPointer<QWidget>> abertas;
        QStringList textosAoAbrir;
        QList<QDate> datasAoAbrir;
        const auto fechaQuandoAbrir = [&] {
            QTimer::singleShot(0, [&] {
                QWidget* modal = QApplication::activeModalWidget();
                QVERIFY(modal);
                QCOMPARE(modal->objectName(), QStringLiteral("frmCalcular"));
                QVERIFY(modal->isModal());
                abertas << modal;
                auto* valor = modal->findChild<QLineEdit*>(QStringLiteral("MaskEditValor"));
                textosAoAbrir << valor->text();
                datasAoAbrir << modal
                                    ->findChild<QDateEdit*>(QStringLiteral("DTPickerDataPagamento"))
                                    ->date();
                QTest::keyClicks(valor, QStringLiteral("5,00"));
                QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("btnFechar")),
                                  Qt::LeftButton);
            });
        };
        fechaQuandoAbrir();
        abreJanelaCalculo(&principal, *fDados, fDialogos, fRelogio);
        fRelogio.define(Datas::codificaData(2020, 6, 16));
        fechaQuandoAbrir();
        abreJanelaCalculo(&principal, *fDados, fDialogos, fRelogio);

        QCOMPARE(abertas.size(), 2);
        QVERIFY(abertas[0].isNull());
        QVERIFY(abertas[1].isNull());
        QCOMPARE(textosAoAbrir, QStringList({QString(), QString()}));
        QCOMPARE(datasAoAbrir, QList<QDate>({QDate(2020, 6, 15), QDate(2020, 6, 16)}));
        QVERIFY(fDialogos.registros().isEmpty());
    }
};

QTEST_MAIN(TesteJanelaCalculo)
#include "TesteJanelaCalculo.moc"
