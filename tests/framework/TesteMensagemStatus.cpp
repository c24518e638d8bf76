#include "framework/NURFWMensagemStatus.h"
#include "framework/NURFWUtils.h"
#include "widgets/PonteiroMouse.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

QList<TfrmNURMensagem*> janelas() {
    QList<TfrmNURMensagem*> encontradas;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* janela = qobject_cast<TfrmNURMensagem*>(w))
            encontradas << janela;
    return encontradas;
}

TfrmNURMensagem* unicaJanela() {
    const auto todas = janelas();
    return todas.size() == 1 ? todas.first() : nullptr;
}

int larguraEsperada(const QString& texto) {
    TfrmNURMensagem medida;
    return qMax(200, 2 * QFontMetrics(medida.font()).horizontalAdvance(texto));
}

QPoint posicaoCentrada(int largura, int altura) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    return {area.left() + (area.width() - largura) / 2, area.top() + (area.height() - altura) / 2};
}

// The shortest run of "M" whose measured width in the window's font passes the given pixels.
QString textoMaisLargoQue(int pixels) {
    TfrmNURMensagem medida;
    const QFontMetrics metricas(medida.font());
    QString texto = QStringLiteral("M");
    while (metricas.horizontalAdvance(texto) <= pixels)
        texto += QLatin1Char('M');
    return texto;
}

// A text of letters whose measured width in the window's font is exactly the given pixels,
// or an empty text when the font cannot make one.
QString textoDeLargura(int pixels) {
    TfrmNURMensagem medida;
    const QFontMetrics metricas(medida.font());
    const QString letras = QStringLiteral("Mni");
    for (int m = 0; m * metricas.horizontalAdvance(letras[0]) <= pixels; ++m)
        for (int n = 0; n < 60; ++n)
            for (int i = 0; i < 60; ++i) {
                const QString texto =
                    QString(m, letras[0]) + QString(n, letras[1]) + QString(i, letras[2]);
                const int largura = metricas.horizontalAdvance(texto);
                if (largura == pixels)
                    return texto;
                if (largura > pixels)
                    break;
            }
    return QString();
}

// Counts the paints the panel receives.
class ContaPinturas : public QObject {
public:
    int pinturas = 0;
    bool eventFilter(QObject*, QEvent* evento) override {
        if (evento->type() == QEvent::Paint)
            ++pinturas;
        return false;
    }
};

} // namespace

class TesteMensagemStatus : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        TNURUtils::MostraStatus(QString());
        QCOMPARE(janelas().size(), 0);
    }

    void janelaComoDesenhada() {
        TfrmNURMensagem janela;
        QCOMPARE(janela.objectName(), QStringLiteral("frmNURMensagem"));
        QCOMPARE(janela.size(), QSize(194, 65));
        QCOMPARE(janela.font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(janela.font().pointSize(), 8);
        QVERIFY(!janela.font().bold());
        auto* painel = janela.findChild<QLabel*>(QStringLiteral("pnlMostraStatus"));
        QVERIFY(painel);
        QCOMPARE(painel->font().family(), QStringLiteral("Verdana"));
        QVERIFY(painel->font().bold());
        QCOMPARE(painel->alignment(), Qt::AlignCenter);
        QCOMPARE(painel->text(), QString());
        QVERIFY(janela.findChild<QFrame*>(QStringLiteral("FwBevel")));
        auto* timer = janela.findChild<QTimer*>(QStringLiteral("TimerAtualizaMensagem"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 2000);
        QVERIFY(!timer->isActive());
    }

    void largura_data() {
        QTest::addColumn<QString>("texto");
        QTest::newRow("duas letras ficam com o mínimo de 200") << QStringLiteral("Ok");
        QTest::newRow("texto de mais de 100 pixels dobra") << textoMaisLargoQue(150);
        QTest::newRow("mensagem da atualização")
            << QStringLiteral("Verificando atualização da tabela Selic...");
    }
    void largura() {
        QFETCH(QString, texto);
        TNURUtils::MostraStatus(texto);
        TfrmNURMensagem* janela = unicaJanela();
        QVERIFY(janela);
        QCOMPARE(janela->width(), larguraEsperada(texto));
        QCOMPARE(janela->height(), 65);
        QCOMPARE(janela->pos(), posicaoCentrada(janela->width(), 65));
        QCOMPARE(janela->pnlMostraStatus->text(), texto);
        QVERIFY(janela->isVisible());
        QVERIFY(janela->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(janela->TimerAtualizaMensagem->isActive());
    }

    void larguraDoTextoDe150PixelsDa300() {
        const QString texto = textoDeLargura(150);
        if (texto.isEmpty())
            QSKIP("A fonte disponível não compõe um texto de exatamente 150 pixels.");
        TNURUtils::MostraStatus(texto);
        QCOMPARE(unicaJanela()->width(), 300);
    }

    void segundaChamadaReusaAJanela() {
        TNURUtils::MostraStatus(QStringLiteral("Ok"));
        QPointer<TfrmNURMensagem> primeira = unicaJanela();
        QVERIFY(primeira);
        QCOMPARE(primeira->width(), 200);

        const QString longo = textoMaisLargoQue(200);
        TNURUtils::MostraStatus(longo);
        QCOMPARE(janelas().size(), 1);
        QCOMPARE(unicaJanela(), primeira.data());
        QCOMPARE(primeira->width(), larguraEsperada(longo));
        QVERIFY(primeira->width() > 400);
        QCOMPARE(primeira->pos(), posicaoCentrada(primeira->width(), 65));
        QCOMPARE(primeira->pnlMostraStatus->text(), longo);
    }

    void ampulhetaSoAoCriar() {
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        TNURUtils::MostraStatus(QStringLiteral("Primeira"));
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

        // Someone else changes the pointer; updating the text leaves it alone.
        QGuiApplication::changeOverrideCursor(Qt::PointingHandCursor);
        TNURUtils::MostraStatus(QStringLiteral("Segunda"));
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);

        TNURUtils::MostraStatus(QString());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(janelas().size(), 0);
    }

    void depoisDeRemoverCriaDeNovoComAmpulheta() {
        TNURUtils::MostraStatus(QStringLiteral("Primeira"));
        QPointer<TfrmNURMensagem> primeira = unicaJanela();
        TNURUtils::MostraStatus(QString());
        QVERIFY(primeira.isNull());
        QCOMPARE(PonteiroMouse::atual(), Ponteiro::Padrao);

        TNURUtils::MostraStatus(QStringLiteral("De novo"));
        QVERIFY(unicaJanela());
        QCOMPARE(PonteiroMouse::atual(), Ponteiro::Ampulheta);
    }

    void removerSemJanelaSoRestauraOPonteiro() {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        TNURUtils::MostraStatus(QString());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(janelas().size(), 0);
    }

    void textoDeBrancosNaoRemove() {
        TNURUtils::MostraStatus(QStringLiteral("Ok"));
        QPointer<TfrmNURMensagem> janela = unicaJanela();
        TNURUtils::MostraStatus(QStringLiteral("   "));
        QVERIFY(!janela.isNull());
        QCOMPARE(janela->pnlMostraStatus->text(), QStringLiteral("   "));
        QCOMPARE(janela->width(), 200);
        QCOMPARE(PonteiroMouse::atual(), Ponteiro::Ampulheta);
    }

    void pintaAntesDeVoltar() {
        TNURUtils::MostraStatus(QStringLiteral("Primeira"));
        TfrmNURMensagem* janela = unicaJanela();
        // On screen when the call returns, with no event loop run by the caller.
        QVERIFY(janela->windowHandle()->isExposed());
        ContaPinturas contador;
        janela->pnlMostraStatus->installEventFilter(&contador);
        TNURUtils::MostraStatus(QStringLiteral("Segunda"));
        QVERIFY(contador.pinturas > 0);

        contador.pinturas = 0;
        janela->TimerAtualizaMensagemTimer();
        QVERIFY(contador.pinturas > 0);
        janela->pnlMostraStatus->removeEventFilter(&contador);
    }
};

QTEST_MAIN(TesteMensagemStatus)
#include "TesteMensagemStatus.moc"
