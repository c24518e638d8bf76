// Under openbox on Xvfb (tests/apoio/sob-openbox, a 1280 × 800 screen): what the window
// manager made of the calculation, rate table and main windows, read from the X server and
// never from what the program asked for: the actions the manager allows, the title bar it
// drew, where it put the frames, and what minimising and Alt+F4 do.

#include "dialogos/Dialogos.h"
#include "apoio/FechamentoCalculo.h"
#include "apoio/ModuloTeste.h"
#include "valores/Relogio.h"
#include "calc/TfrmCalcular.h"
#include "app/TfrmPrincipal.h"
#include "ratetable/TfrmTabSelic.h"
#include "apoio/X11Teste.h"
#include "apoio/DialogosRoteiro.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace {

// A text property (UTF-8 or Latin-1) of a window.
QString textoDaPropriedade(xcb_window_t janela, const char* nome) {
    xcb_connection_t* c = conexaoX11();
    xcb_get_property_reply_t* resposta = xcb_get_property_reply(
        c, xcb_get_property(c, 0, janela, atomoTeste(nome), XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
        nullptr);
    QString texto;
    if (resposta && resposta->format == 8)
        texto = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(resposta)),
                                  xcb_get_property_value_length(resposta));
    std::free(resposta);
    return texto;
}

QStringList nomesDosAtomos(const QList<quint32>& atomos) {
    xcb_connection_t* c = conexaoX11();
    QStringList nomes;
    for (quint32 a : atomos) {
        xcb_get_atom_name_reply_t* r = xcb_get_atom_name_reply(c, xcb_get_atom_name(c, a), nullptr);
        if (r)
            nomes << QString::fromLatin1(xcb_get_atom_name_name(r),
                                         xcb_get_atom_name_name_length(r));
        std::free(r);
    }
    return nomes;
}

xcb_window_t raiz() {
    return xcb_setup_roots_iterator(xcb_get_setup(conexaoX11())).data->root;
}

// The frame extents openbox wrote on a window: left, right, top, bottom.
QMargins extensoesDoQuadro(xcb_window_t janela) {
    const QList<quint32> e = propriedadeTeste(janela, "_NET_FRAME_EXTENTS");
    return e.size() == 4 ? QMargins(int(e[0]), int(e[2]), int(e[1]), int(e[3])) : QMargins();
}

// Waits until openbox has handled every request sent before this call: it answers a frame
// estimate for a window of our own in the order it reads its messages. Qt's events wait
// meanwhile, so nothing the program does in answer to the manager comes in between.
bool sincronizaComOGerenciador() {
    xcb_connection_t* c = conexaoX11();
    const xcb_window_t marco = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, marco, raiz(), 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_client_message_event_t mensagem{};
    mensagem.response_type = XCB_CLIENT_MESSAGE;
    mensagem.format = 32;
    mensagem.window = marco;
    mensagem.type = atomoTeste("_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(c, 0, raiz(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&mensagem));
    xcb_flush(c);
    bool respondeu = false;
    for (int i = 0; i < 5000 && !respondeu; ++i) {
        respondeu = !propriedadeTeste(marco, "_NET_FRAME_EXTENTS").isEmpty();
        if (!respondeu)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    xcb_destroy_window(c, marco);
    xcb_flush(c);
    return respondeu;
}

// The columns of a title bar that differ from its plain background, in runs: what openbox
// drew over the bar (window icon, caption, buttons), from left to right. The bar's shading
// runs top to bottom, so its plain columns are all alike.
QList<std::pair<int, int>> desenhosNaBarra(const QImage& barra) {
    const auto coluna = [&](int x) {
        QList<QRgb> c;
        for (int y = 0; y < barra.height(); ++y)
            c << barra.pixel(x, y);
        return c;
    };
    QMap<QList<QRgb>, int> contagem;
    for (int x = 0; x < barra.width(); ++x)
        ++contagem[coluna(x)];
    QList<QRgb> fundo;
    int maior = 0;
    for (auto it = contagem.cbegin(); it != contagem.cend(); ++it)
        if (it.value() > maior) {
            maior = it.value();
            fundo = it.key();
        }
    QList<std::pair<int, int>> trechos;
    for (int x = 0; x < barra.width(); ++x) {
        if (coluna(x) == fundo)
            continue;
        if (!trechos.isEmpty() && trechos.last().second >= x - 1)
            trechos.last().second = x;
        else
            trechos << std::pair{x, x};
    }
    return trechos;
}

} // namespace

class TesteJanelasOpenbox : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2020, 3, 15)};
    DialogosRoteiro fDialogos;
    std::optional<ModuloTeste> fModulo;

    std::unique_ptr<QDialog> criaJanela(const QString& qual, QWidget* pai) {
        if (qual == QStringLiteral("cálculo"))
            return std::make_unique<TfrmCalcular>(*fModulo, fDialogos, fRelogio, pai);
        return std::make_unique<TfrmTabSelic>(*fModulo, fDialogos, pai);
    }

    // Shows a window and waits until openbox has framed it and Qt knows where it lies.
    static bool gerenciada(QWidget* janela) {
        const xcb_window_t id = janelaX11(janela);
        return QTest::qWaitFor([&] {
            return visivelNoServidor(id) && !extensoesDoQuadro(id).isNull() &&
                   !propriedadeTeste(id, "_NET_WM_ALLOWED_ACTIONS").isEmpty() &&
                   janela->geometry() == geometriaNoServidor(id);
        });
    }

    // A main window of that geometry (maximised when empty), with the window opened over it
    // as its command does, modal.
    std::unique_ptr<QDialog> abreSobre(QWidget& principal, const QString& qual,
                                       const QRect& geometria = QRect(100, 80, 900, 600)) {
        if (geometria.isValid()) {
            principal.setGeometry(geometria);
            principal.show();
        } else {
            principal.showMaximized();
        }
        if (!gerenciada(&principal))
            return nullptr;
        std::unique_ptr<QDialog> janela = criaJanela(qual, &principal);
        janela->open();
        if (!gerenciada(janela.get()))
            return nullptr;
        return janela;
    }

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        const QList<quint32> verificacao = propriedadeTeste(raiz(), "_NET_SUPPORTING_WM_CHECK");
        QVERIFY2(!verificacao.isEmpty(), "nenhum gerenciador de janelas nesta tela "
                                         "(rode o teste por tests/apoio/sob-openbox)");
        QCOMPARE(textoDaPropriedade(verificacao.first(), "_NET_WM_NAME"),
                 QStringLiteral("Openbox"));
    }
    void init() {
        fDialogos.limpa();
        fModulo.emplace(fRelogio, fDialogos, fPasta.path(), mesesEmTornoDoLimite());
    }
    void cleanup() { fModulo.reset(); }

    void janelas_data() {
        QTest::addColumn<QString>("qual");
        QTest::newRow("cálculo") << QStringLiteral("cálculo");
        QTest::newRow("tabela selic") << QStringLiteral("tabela selic");
    }

    // openbox lets the window be moved and asked to close (Alt+F4 comes that way), and
    // nothing else a title bar button or the system menu would do.
    void acoesPermitidas_data() { janelas_data(); }
    void acoesPermitidas() {
        QFETCH(QString, qual);
        QWidget principal;
        const auto janela = abreSobre(principal, qual);
        QVERIFY(janela);
        const QStringList acoes =
            nomesDosAtomos(propriedadeTeste(janelaX11(janela.get()), "_NET_WM_ALLOWED_ACTIONS"));
        QVERIFY2(acoes.contains(QStringLiteral("_NET_WM_ACTION_MOVE")),
                 qPrintable(acoes.join(' ')));
        QVERIFY2(acoes.contains(QStringLiteral("_NET_WM_ACTION_CLOSE")),
                 qPrintable(acoes.join(' ')));
        const QStringList proibidas{QStringLiteral("_NET_WM_ACTION_MINIMIZE"),
                                    QStringLiteral("_NET_WM_ACTION_MAXIMIZE_HORZ"),
                                    QStringLiteral("_NET_WM_ACTION_MAXIMIZE_VERT"),
                                    QStringLiteral("_NET_WM_ACTION_FULLSCREEN"),
                                    QStringLiteral("_NET_WM_ACTION_RESIZE")};
        QStringList permitidas;
        for (const QString& a : proibidas)
            if (acoes.contains(a))
                permitidas << a;
        QCOMPARE(permitidas, QStringList());
    }

    // The title bar as the screen shows it. Over its plain background openbox drew the window
    // icon on the left, the caption in the middle and, on the right, one button no wider than
    // the bar is high: the close button that the allowed close brings (openbox draws it for
    // every window it lets close). No minimise or maximise button beside it. This proves what
    // was drawn, by position and size; it does not tell the glyphs apart.
    void barraDeTitulo_data() { janelas_data(); }
    void barraDeTitulo() {
        QFETCH(QString, qual);
        QWidget principal;
        const auto janela = abreSobre(principal, qual);
        QVERIFY(janela);
        const xcb_window_t id = janelaX11(janela.get());
        const QRect quadro = quadroNoServidor(id);
        const QMargins e = extensoesDoQuadro(id);
        QVERIFY2(e.top() > e.left() + 8, "o openbox não desenhou uma barra de título");
        // Inside the border, less the bar's own bevel column at either end.
        const QRect barra(quadro.left() + e.left() + 1, quadro.top() + e.left(),
                          quadro.width() - e.left() - e.right() - 2, e.top() - 2 * e.left());
        const QImage imagem = capturaDaTela(barra);
        QVERIFY(!imagem.isNull());
        const QList<std::pair<int, int>> desenhos = desenhosNaBarra(imagem);
        QVERIFY(!desenhos.isEmpty());
        // The caption lies in the middle half.
        QVERIFY(std::any_of(desenhos.cbegin(), desenhos.cend(), [&](const auto& d) {
            return d.first > barra.width() / 4 && d.second < barra.width() * 3 / 4;
        }));
        QList<std::pair<int, int>> botoes;
        for (const auto& d : desenhos)
            if (d.first > barra.width() * 3 / 4)
                botoes << d;
        QCOMPARE(botoes.size(), 1);
        QVERIFY(botoes.first().second - botoes.first().first + 1 <= barra.height());
    }

    // Minimising the window (the way a task bar or a key binding asks it) leaves the program
    // on screen: openbox does not hide the window, nor the main window with it.
    void minimizarNaoEscondeOPrograma_data() { janelas_data(); }
    void minimizarNaoEscondeOPrograma() {
        QFETCH(QString, qual);
        QWidget principal;
        const auto janela = abreSobre(principal, qual);
        QVERIFY(janela);
        const xcb_window_t id = janelaX11(janela.get());
        QVERIFY2(xdotool({QStringLiteral("windowminimize"), QString::number(id)}),
                 "o xdotool não rodou (tools/instala-dependencias)");
        QVERIFY(sincronizaComOGerenciador());
        for (const xcb_window_t w : {id, janelaX11(&principal)}) {
            const QStringList estado = nomesDosAtomos(propriedadeTeste(w, "_NET_WM_STATE"));
            QVERIFY2(!estado.contains(QStringLiteral("_NET_WM_STATE_HIDDEN")),
                     qPrintable(estado.join(' ')));
            // WM_STATE: normal (1), not iconic (3).
            QCOMPARE(propriedadeTeste(w, "WM_STATE").value(0), 1u);
            QVERIFY(visivelNoServidor(w));
        }
        QVERIFY(janela->isVisible());
    }

    // Alt+F4 reaches the window as a close asked by openbox, which meets the amount's check
    // as "Fechar" does.
    void altF4PassaPelaVerificacaoDoValor_data() { linhasDoFechamentoComValor(); }
    void altF4PassaPelaVerificacaoDoValor() {
        QFETCH(QString, valor);
        QFETCH(bool, fecha);
        QFETCH(QStringList, mensagens);
        QWidget principal;
        const auto janela = abreSobre(principal, QStringLiteral("cálculo"));
        QVERIFY(janela);
        const xcb_window_t id = janelaX11(janela.get());
        QTRY_COMPARE(propriedadeTeste(raiz(), "_NET_ACTIVE_WINDOW"), QList<quint32>{id});
        auto* campo = janela->findChild<QLineEdit*>(QStringLiteral("MaskEditValor"));
        campo->setText(valor);
        QTRY_COMPARE(janela->focusWidget(), campo);

        QVERIFY2(xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")}),
                 "o xdotool não rodou (tools/instala-dependencias)");
        if (fecha) {
            QTRY_VERIFY(!janela->isVisible());
        } else {
            QTRY_COMPARE(fDialogos.textos(), mensagens);
            QVERIFY(sincronizaComOGerenciador());
            QVERIFY(janela->isVisible());
            QVERIFY(visivelNoServidor(id));
            QCOMPARE(janela->focusWidget(), campo);
        }
        QCOMPARE(fDialogos.textos(), mensagens);
        QCOMPARE(campo->text(), valor);
    }

    // The window's frame, title bar included, opens centred over the main window's frame, as
    // the X server holds both.
    void centradaSobreAPrincipal_data() {
        QTest::addColumn<QString>("qual");
        QTest::addColumn<QRect>("principal");
        QTest::newRow("cálculo") << QStringLiteral("cálculo") << QRect(100, 80, 900, 600);
        QTest::newRow("tabela selic") << QStringLiteral("tabela selic") << QRect(100, 80, 900, 600);
        QTest::newRow("cálculo sobre a principal maximizada")
            << QStringLiteral("cálculo") << QRect();
        QTest::newRow("tabela sobre a principal maximizada")
            << QStringLiteral("tabela selic") << QRect();
    }
    void centradaSobreAPrincipal() {
        QFETCH(QString, qual);
        QFETCH(QRect, principal);
        QWidget base;
        const auto janela = abreSobre(base, qual, principal);
        QVERIFY(janela);
        const QRect sobre = quadroNoServidor(janelaX11(&base));
        const QRect quadro = quadroNoServidor(janelaX11(janela.get()));
        // Halves of an odd difference round down.
        QCOMPARE(quadro.left() - sobre.left(), (sobre.width() - quadro.width()) / 2);
        QCOMPARE(quadro.top() - sobre.top(), (sobre.height() - quadro.height()) / 2);
        // The window's own area keeps its size inside the frame.
        QCOMPARE(geometriaNoServidor(janela.get()).size(), janela->size());
    }

    // Maximised as it opens, the main window fills the screen's work area and no more.
    void principalMaximizadaCabeNaTela() {
        TfrmPrincipal principal(fRelogio, fDialogos);
        principal.show();
        const xcb_window_t id = janelaX11(&principal);
        QTRY_VERIFY(nomesDosAtomos(propriedadeTeste(id, "_NET_WM_STATE"))
                        .contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_HORZ")));
        QVERIFY(gerenciada(&principal));
        const QList<quint32> area = propriedadeTeste(raiz(), "_NET_WORKAREA");
        QVERIFY(area.size() >= 4);
        const QRect trabalho{int(area[0]), int(area[1]), int(area[2]), int(area[3])};
        QCOMPARE(trabalho.size(), QSize(1280, 800));
        QCOMPARE(quadroNoServidor(id), trabalho);
        QVERIFY(fDialogos.registros().isEmpty());
    }
};

QTEST_MAIN(TesteJanelasOpenbox)
#include "TesteJanelasOpenbox.moc"
