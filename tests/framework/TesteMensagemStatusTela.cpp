#include "framework/NURFWMensagemStatus.h"
#include "framework/NURFWUtils.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QTest>

// Runs on a real X display (CTest starts it under xvfb-run): what the user sees is the
// screen, so the screen is read back from the display server right after MostraStatus
// returns, with no event processed in between, as during the start-up refresh.
namespace {

TfrmNURMensagem* janelaDeStatus() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* janela = qobject_cast<TfrmNURMensagem*>(w))
            return janela;
    return nullptr;
}

// The pixels the display shows where the window stands.
QImage naTela(const QWidget* janela) {
    const QRect area = janela->geometry();
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The window as its own painting draws it, away from the screen.
QImage comoDesenhada(TfrmNURMensagem* janela) {
    return janela->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels of the text colour inside the box the text occupies, centred in the panel; the
// frame lines lie outside it.
int pixelsDoTexto(const QImage& imagem, const TfrmNURMensagem* janela) {
    const QLabel* painel = janela->pnlMostraStatus;
    const QRect caixa = QFontMetrics(painel->font()).boundingRect(painel->text());
    QRect texto(QPoint(), caixa.size());
    texto.moveCenter(painel->geometry().center());
    const QRgb tinta = painel->palette().color(QPalette::WindowText).rgb();
    int pixels = 0;
    for (int y = texto.top(); y <= texto.bottom(); ++y)
        for (int x = texto.left(); x <= texto.right(); ++x)
            if (imagem.rect().contains(x, y) && imagem.pixel(x, y) == tinta)
                ++pixels;
    return pixels;
}

} // namespace

class TesteMensagemStatusTela : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

    void cleanup() {
        TNURUtils::MostraStatus(QString());
        QVERIFY(!janelaDeStatus());
    }

    void textoNaTelaAoVoltar_data() {
        QTest::addColumn<QString>("anterior");
        QTest::addColumn<QString>("texto");
        QTest::newRow("janela nova")
            << QString() << QStringLiteral("Atualizando Base de dados... Por favor aguarde!");
        QTest::newRow("texto trocado, janela mais larga")
            << QStringLiteral("Ok") << QStringLiteral("Atualizando Índices... e mais um pouco");
    }
    void textoNaTelaAoVoltar() {
        QFETCH(QString, anterior);
        QFETCH(QString, texto);
        if (!anterior.isEmpty())
            TNURUtils::MostraStatus(anterior);
        TNURUtils::MostraStatus(texto);
        TfrmNURMensagem* janela = janelaDeStatus();
        QVERIFY(janela);
        const QImage tela = naTela(janela);

        const QImage desenhada = comoDesenhada(janela);
        QVERIFY(pixelsDoTexto(desenhada, janela) > 0);
        QCOMPARE(pixelsDoTexto(tela, janela), pixelsDoTexto(desenhada, janela));
        QCOMPARE(tela, desenhada);
    }
};

QTEST_MAIN(TesteMensagemStatusTela)
#include "TesteMensagemStatusTela.moc"
