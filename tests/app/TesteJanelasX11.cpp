// Under Xvfb: what the calculation and rate table windows ask of the window manager and
// where they open, read back from the X server, and a close asked the way a window manager
// asks it.

#include "apoio/ModuloTeste.h"
#include "dialogos/Dialogos.h"
#include "apoio/FechamentoCalculo.h"
#include "valores/Relogio.h"
#include "calc/TfrmCalcular.h"
#include "app/TfrmPrincipal.h"
#include "ratetable/TfrmTabSelic.h"
#include "apoio/X11Teste.h"
#include "apoio/DialogosRoteiro.h"

#include <QApplication>
#include <QRect>
#include <QScreen>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <functional>
#include <memory>

namespace {

// The fields of _MOTIF_WM_HINTS.
constexpr quint32 CampoFuncoes = 1u << 0;
constexpr quint32 CampoDecoracoes = 1u << 1;
constexpr quint32 FuncaoMover = 1u << 2;
constexpr quint32 DecoracaoBorda = 1u << 1;
constexpr quint32 DecoracaoTitulo = 1u << 3;
constexpr quint32 DecoracaoMenu = 1u << 4;
constexpr quint32 DecoracaoMinimizar = 1u << 5;
constexpr quint32 DecoracaoMaximizar = 1u << 6;

// The window's _MOTIF_WM_HINTS as the X server holds them; empty when there are none.
QList<quint32> dicasMotif(QWidget* janela) {
    return propriedadeTeste(janelaX11(janela), "_MOTIF_WM_HINTS");
}

// What the window manager sends for the title bar's close button and for Alt+F4.
void pedeFechamentoPeloGerenciador(QWidget* janela) {
    xcb_client_message_event_t mensagem{};
    mensagem.response_type = XCB_CLIENT_MESSAGE;
    mensagem.format = 32;
    mensagem.window = janelaX11(janela);
    mensagem.type = atomoTeste("WM_PROTOCOLS");
    mensagem.data.data32[0] = atomoTeste("WM_DELETE_WINDOW");
    mensagem.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(conexaoX11(), 0, mensagem.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&mensagem));
    xcb_flush(conexaoX11());
}

} // namespace

class TesteJanelasX11 : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2020, 3, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

    std::unique_ptr<QDialog> criaJanela(const QString& qual, QWidget* pai = nullptr) {
        if (qual == QStringLiteral("cálculo"))
            return std::make_unique<TfrmCalcular>(*fDados, fDialogos, fRelogio, pai);
        return std::make_unique<TfrmTabSelic>(*fDados, fDialogos, pai);
    }

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }
    void init() {
        fDialogos.limpa();
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(),
                                               mesesEmTornoDoLimite());
    }
    void cleanup() { fDados.reset(); }

    void tituloSemBotoes_data() {
        QTest::addColumn<QString>("qual");
        QTest::newRow("cálculo") << QStringLiteral("cálculo");
        QTest::newRow("tabela selic") << QStringLiteral("tabela selic");
    }
    // A caption and a border, and no function but moving: no close, minimise, maximise or
    // resize, so no button and no system menu.
    void tituloSemBotoes() {
        QFETCH(QString, qual);
        const std::unique_ptr<QDialog> janela = criaJanela(qual);
        janela->show();
        const QList<quint32> dicas = dicasMotif(janela.get());
        QCOMPARE(dicas.size(), 5);
        QCOMPARE(dicas[0] & (CampoFuncoes | CampoDecoracoes), CampoFuncoes | CampoDecoracoes);
        QCOMPARE(dicas[1], FuncaoMover);
        QCOMPARE(dicas[2] & (DecoracaoBorda | DecoracaoTitulo), DecoracaoBorda | DecoracaoTitulo);
        QCOMPARE(dicas[2] & (DecoracaoMenu | DecoracaoMinimizar | DecoracaoMaximizar), 0u);
    }

    void centradaSobreAPrincipal_data() { tituloSemBotoes_data(); }
    // With no frame around either window (no window manager here), the window lies centred
    // over the main window, to the pixel.
    void centradaSobreAPrincipal() {
        QFETCH(QString, qual);
        QWidget principal;
        principal.setGeometry(100, 80, 900, 700);
        principal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principal));
        const QRect sobre = geometriaNoServidor(&principal);
        QCOMPARE(sobre, QRect(100, 80, 900, 700));

        const std::unique_ptr<QDialog> janela = criaJanela(qual, &principal);
        janela->show();
        QVERIFY(QTest::qWaitForWindowExposed(janela.get()));
        const QRect aberta = geometriaNoServidor(janela.get());
        QCOMPARE(aberta.size(), janela->size());
        QCOMPARE(aberta.left() - sobre.left(), (sobre.width() - aberta.width()) / 2);
        QCOMPARE(aberta.top() - sobre.top(), (sobre.height() - aberta.height()) / 2);
    }

    // With no window manager to maximise it, the main window still fits the screen
    // (1280 pixels wide here, narrower than the layout's design size).
    void principalCabeNaTelaSemGerenciador() {
        TfrmPrincipal principal(fRelogio, fDialogos);
        principal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principal));
        const QRect tela = principal.screen()->availableGeometry();
        QCOMPARE(tela.width(), 1280);
        const QRect noServidor = geometriaNoServidor(&principal);
        QVERIFY2(tela.contains(noServidor), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                           .arg(noServidor.x())
                                                           .arg(noServidor.y())
                                                           .arg(noServidor.width())
                                                           .arg(noServidor.height())));
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void fechamentoPeloGerenciador_data() { linhasDoFechamentoComValor(); }
    // The close the window manager asks for meets the amount's check, as "Fechar" does.
    void fechamentoPeloGerenciador() {
        QFETCH(QString, valor);
        QFETCH(bool, fecha);
        QFETCH(QStringList, mensagens);
        TfrmCalcular janela(*fDados, fDialogos, fRelogio);
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        auto* campo = janela.findChild<QLineEdit*>(QStringLiteral("MaskEditValor"));
        campo->setText(valor);
        QCOMPARE(janela.focusWidget(), campo);

        pedeFechamentoPeloGerenciador(&janela);
        if (fecha) {
            QTRY_VERIFY(!janela.isVisible());
        } else {
            QTRY_COMPARE(fDialogos.textos(), mensagens);
            QVERIFY(janela.isVisible());
            QCOMPARE(janela.focusWidget(), campo);
        }
        QCOMPARE(fDialogos.textos(), mensagens);
        QCOMPARE(campo->text(), valor);
    }
};

QTEST_MAIN(TesteJanelasX11)
#include "TesteJanelasX11.moc"
