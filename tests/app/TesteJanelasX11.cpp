// Under Xvfb: what the calculation and rate table windows ask of the window manager and
// where they open, read back from the X server, and a close asked the way a window manager
// asks it.

#include "BQDataModule.h"
#include "ConfiguracaoRegional.h"
#include "Dialogos.h"
#include "Relogio.h"
#include "TabelaTeste.h"
#include "TfrmCalcular.h"
#include "TfrmTabSelic.h"

#include <QApplication>
#include <QRect>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
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

xcb_connection_t* conexao() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_atom_t atomo(const char* nome) {
    xcb_intern_atom_reply_t* resposta = xcb_intern_atom_reply(
        conexao(), xcb_intern_atom(conexao(), 0, quint16(qstrlen(nome)), nome), nullptr);
    const xcb_atom_t a = resposta ? resposta->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(resposta);
    return a;
}

// The window's _MOTIF_WM_HINTS as the X server holds them; empty when there are none.
QList<quint32> dicasMotif(QWidget* janela) {
    const xcb_atom_t nome = atomo("_MOTIF_WM_HINTS");
    xcb_get_property_reply_t* resposta = xcb_get_property_reply(
        conexao(),
        xcb_get_property(conexao(), 0, xcb_window_t(janela->windowHandle()->winId()), nome,
                         XCB_GET_PROPERTY_TYPE_ANY, 0, 5),
        nullptr);
    QList<quint32> valores;
    if (resposta && resposta->format == 32) {
        const auto* dados = static_cast<const quint32*>(xcb_get_property_value(resposta));
        for (int i = 0; i < xcb_get_property_value_length(resposta) / 4; ++i)
            valores << dados[i];
    }
    std::free(resposta);
    return valores;
}

// Where the X server holds the window, on the root window.
QRect geometriaNoServidor(QWidget* janela) {
    const auto id = xcb_window_t(janela->windowHandle()->winId());
    xcb_get_geometry_reply_t* geometria =
        xcb_get_geometry_reply(conexao(), xcb_get_geometry(conexao(), id), nullptr);
    xcb_translate_coordinates_reply_t* posicao =
        geometria ? xcb_translate_coordinates_reply(
                        conexao(), xcb_translate_coordinates(conexao(), id, geometria->root, 0, 0),
                        nullptr)
                  : nullptr;
    QRect r;
    if (geometria && posicao)
        r = QRect(posicao->dst_x, posicao->dst_y, geometria->width, geometria->height);
    std::free(posicao);
    std::free(geometria);
    return r;
}

// What the window manager sends for the title bar's close button and for Alt+F4.
void pedeFechamentoPeloGerenciador(QWidget* janela) {
    xcb_client_message_event_t mensagem{};
    mensagem.response_type = XCB_CLIENT_MESSAGE;
    mensagem.format = 32;
    mensagem.window = xcb_window_t(janela->windowHandle()->winId());
    mensagem.type = atomo("WM_PROTOCOLS");
    mensagem.data.data32[0] = atomo("WM_DELETE_WINDOW");
    mensagem.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(conexao(), 0, mensagem.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&mensagem));
    xcb_flush(conexao());
}

} // namespace

class TesteJanelasX11 : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2020, 3, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<TBQDataModule> fDados;

    std::unique_ptr<QDialog> criaJanela(const QString& qual, QWidget* pai = nullptr) {
        if (qual == QStringLiteral("cálculo"))
            return std::make_unique<TfrmCalcular>(*fDados, fDialogos, fRelogio, pai);
        return std::make_unique<TfrmTabSelic>(*fDados, fDialogos, pai);
    }

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }
    void init() {
        regional() = ConfiguracaoRegional::brasileira();
        fDialogos.limpa();
        const QString caminho = fPasta.filePath(QStringLiteral("BELQOR.cds"));
        escreveTabelaTeste(caminho, mesesEmTornoDoLimite());
        fDados = std::make_unique<TBQDataModule>(fRelogio, fDialogos);
        fDados->ArqDados = caminho;
        fDados->CDSSelic.defineNomeArquivo(caminho);
        fDados->CDSSelic.abrir();
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

    void fechamentoPeloGerenciador_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<bool>("fecha");
        QTest::addColumn<QStringList>("mensagens");
        QTest::newRow("valor sem casas")
            << "12" << false
            << QStringList{QStringLiteral("Valor inválido! Digite o valor com as duas "
                                          "casas decimais.")};
        QTest::newRow("valor completo") << "12,50" << true << QStringList{};
    }
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
