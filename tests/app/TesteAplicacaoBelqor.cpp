#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "app/AplicacaoBelqor.h"
#include "valores/Erros.h"
#include "valores/Relogio.h"
#include "dialogos/TextosPadrao.h"
#include "calc/TfrmCalcular.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

// An object whose event handler throws what the test asks for.
class Lancador : public QObject {
public:
    std::function<void()> falha;
    int eventos = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++eventos;
        if (falha)
            falha();
        return true;
    }
};

} // namespace

class TesteAplicacaoBelqor : public QObject {
    Q_OBJECT

public:
    explicit TesteAplicacaoBelqor(DialogosRoteiro& dialogos) : fDialogos(dialogos) {}

private slots:
    void init() { fDialogos.limpa(); }

    void tituloDaAplicacao() {
        QCOMPARE(TextosPadraoTabela::tituloAplicacao(),
                 QStringLiteral("Atualização de ICMS Vencido"));
    }

    // The name the desktop entry is installed under, and the class of the windows (Qt's
    // application name), which a task bar matches with it.
    void entradaDaAreaDeTrabalho() {
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral(BELQOR_ID_APLICACAO));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral(BELQOR_ID_APLICACAO));
    }

    // Qt's own texts, such as the text fields' context menu, read Portuguese.
    void textosDoQtEmPortugues() {
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), QStringLiteral("&Desfazer"));
    }

    void botoesDoQtSeguemATabela() {
        TextosPadraoTabela::troca(TextoPadrao::BotaoNao, QStringLiteral("&Não"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Não"));
        TextosPadraoTabela::restauraOriginais();
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&No"));
    }

    void falhaQueEscapaVaiAoRelatorioDeErro_data() {
        QTest::addColumn<bool>("silenciosa");
        QTest::addColumn<QStringList>("relatados");
        QTest::newRow("erro com mensagem") << false << QStringList{"Falha no tratador"};
        QTest::newRow("aborto silencioso") << true << QStringList{};
    }
    void falhaQueEscapaVaiAoRelatorioDeErro() {
        QFETCH(bool, silenciosa);
        QFETCH(QStringList, relatados);
        Lancador alvo;
        alvo.falha = [silenciosa] {
            if (silenciosa)
                aborta();
            throw ErroBelqor(QStringLiteral("Falha no tratador"));
        };
        QCoreApplication::postEvent(&alvo, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(alvo.eventos, 1);
        QCOMPARE(fDialogos.textos(), relatados);
        for (const auto& r : fDialogos.registros())
            QCOMPARE(r.tipo, DialogosRoteiro::Registro::RelatorioErro);
        // The program goes on: the next event is delivered as usual.
        alvo.falha = nullptr;
        QCoreApplication::postEvent(&alvo, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(alvo.eventos, 2);
        QCOMPARE(fDialogos.textos(), relatados);
    }

    // The process runs under the C locale (main sets it): the date pickers' calendar
    // names the months and the days in Brazilian Portuguese.
    void calendarioEmPortuguesSobLocaleC() {
        QCOMPARE(QLocale::system().language(), QLocale::C);
        RelogioFixo relogio(Datas::codificaData(2020, 1, 15));
        QTemporaryDir pasta;
        ModuloTeste dados(relogio, fDialogos, pasta.path());
        TfrmCalcular janela(dados, fDialogos, relogio);
        janela.show();
        for (const char* nome : {"DTPickerDataVencimento", "DTPickerDataPagamento"}) {
            auto* seletor = janela.findChild<QDateEdit*>(QLatin1String(nome));
            QVERIFY2(seletor, nome);
            QCalendarWidget* calendario = seletor->calendarWidget();
            QVERIFY(calendario);
            QCOMPARE(calendario->locale().name(), QStringLiteral("pt_BR"));
            auto* mes =
                calendario->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
            QVERIFY(mes);
            QCOMPARE(mes->text(), QStringLiteral("janeiro"));
            auto* dias =
                calendario->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
            QVERIFY(dias);
            QStringList nomesDosDias;
            for (int coluna = 0; coluna < dias->model()->columnCount(); ++coluna)
                nomesDosDias << dias->model()->index(0, coluna).data().toString();
            QCOMPARE(nomesDosDias,
                     QStringList({"dom.", "seg.", "ter.", "qua.", "qui.", "sex.", "sáb."}));
        }
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void haTela_data() {
        QTest::addColumn<QByteArray>("plataforma");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<bool>("esperado");
        QTest::newRow("sem nada") << QByteArray() << QByteArray() << QByteArray() << false;
        QTest::newRow("X") << QByteArray() << QByteArray(":99") << QByteArray() << true;
        QTest::newRow("Wayland") << QByteArray() << QByteArray() << QByteArray("wayland-0") << true;
        QTest::newRow("plataforma escolhida")
            << QByteArray("offscreen") << QByteArray() << QByteArray() << true;
    }
    void haTela() {
        QFETCH(QByteArray, plataforma);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(bool, esperado);
        const QByteArray antes[] = {qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"),
                                    qgetenv("WAYLAND_DISPLAY")};
        const auto define = [](const char* nome, const QByteArray& valor) {
            if (valor.isEmpty())
                qunsetenv(nome);
            else
                qputenv(nome, valor);
        };
        define("QT_QPA_PLATFORM", plataforma);
        define("DISPLAY", display);
        define("WAYLAND_DISPLAY", wayland);
        const bool ha = AplicacaoBelqor::haTelaDisponivel();
        define("QT_QPA_PLATFORM", antes[0]);
        define("DISPLAY", antes[1]);
        define("WAYLAND_DISPLAY", antes[2]);
        QCOMPARE(ha, esperado);
    }

private:
    DialogosRoteiro& fDialogos;
};

int main(int argc, char* argv[]) {
    // The machine without a Brazilian locale: the C locale, whatever the caller's.
    qputenv("LC_ALL", "C");
    DialogosRoteiro dialogos;
    AplicacaoBelqor aplicacao(argc, argv, dialogos);
    TesteAplicacaoBelqor teste(dialogos);
    return QTest::qExec(&teste, argc, argv);
}

#include "TesteAplicacaoBelqor.moc"
