#include "app/TfrmPrincipal.h"
#include "apoio/DialogosRoteiro.h"
#include "valores/Formatacao.h"

#include "apoio/ModuloTeste.h"
#include "apoio/TabelaDistribuida.h"
#include "apoio/TabelaTeste.h"

#include "apoio/AutoridadeTeste.h"
#include "calc/Calculo.h"
#include "valores/ConfiguracaoRegional.h"
#include "valores/Erros.h"
#include "widgets/PonteiroMouse.h"
#include "apoio/RespondedorBancoCentral.h"
#include "calc/TfrmCalcular.h"
#include "refresh/TaxasDaTabela.h"
#include "ratetable/TfrmTabSelic.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

const QString FaltamTaxas = QStringLiteral(
    "Nem todos os índices mensais da Selic foram cadastrados. Favor fornecer todos os índices "
    "para que o sistema efetue corretamente os cálculos!");

// The update pointed at a loopback server trusted through its test authority.
DestinoBancoCentral destinoLocal(const ServidorHttpTeste& servidor,
                                 const AutoridadeTeste& autoridade) {
    DestinoBancoCentral destino;
    destino.endereco = servidor.url(QStringLiteral("/dados/serie/bcdata.sgs.4390/dados"));
    destino.opcoes.arquivoCertificados = autoridade.arquivoCertificado();
    return destino;
}

const QString FalhaAoAtualizar =
    QStringLiteral("FALHA AO ATUALIZAR ÍNDICES\n\rCaso o erro persista, gentileza entrar em "
                   "contato com a NUR enviando um print deste erro.\n\r");

// The ways the user can ask the main window to close.
enum CaminhoSaida { PeloSair, PeloBotaoFechar, PeloSistema };

const QString Sair = QStringLiteral("Deseja sair do programa?");
const QString AlteracaoPendente =
    QStringLiteral("Há uma alteração não gravada na Tabela Selic. Deseja gravá-la?");

// The change the rate table window left pending.
enum Pendencia { ValorEditado, MesNaoDivulgado, LinhaSemAlteracao };

// A window a command opens: records itself and closes as soon as it is up.
struct JanelasAbertas {
    QList<QPointer<QDialog>> criadas;
    int modais = 0;

    TfrmPrincipal::FabricaJanela fabrica() {
        return [this](QWidget* pai) {
            auto janela = std::make_unique<QDialog>(pai);
            criadas << janela.get();
            QDialog* j = janela.get();
            QTimer::singleShot(0, j, [this, j] {
                if (QApplication::activeModalWidget() == j)
                    ++modais;
                j->accept();
            });
            return janela;
        };
    }
};

} // namespace

class TesteFrmPrincipal : public QObject {
    Q_OBJECT

    RelogioFixo fRelogio{Datas::codificaData(2026, 3, 5) + Datas::codificaHora(14, 7, 9)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<QTemporaryDir> fPasta;
    QString fArquivo;
    std::unique_ptr<ModuloTeste> fModulo;
    std::unique_ptr<TfrmPrincipal> fJanela;

    template <typename T> T* filho(const char* nome) {
        T* w = fJanela->findChild<T*>(QString::fromLatin1(nome));
        if (!w)
            qFatal("controle %s não encontrado", nome);
        return w;
    }
    // The data module, whose table stays closed, then the window. The window sets the short
    // date pattern when it is created, so the pattern is made another before it. Neither is
    // used until the module is given to the window, as at start-up.
    void cria() {
        fModulo = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta->path());
        regional().padraoDataCurta = QStringLiteral("yyyy/mm/dd");
        fJanela = std::make_unique<TfrmPrincipal>(fRelogio, fDialogos);
        fJanela->defineModuloDados(*fModulo, fArquivo);
    }
    QDateTime alteracaoDoArquivo() const { return QFileInfo(fArquivo).lastModified(); }
    // Shows the window the way the message loop does, the first showing running FormShow.
    void mostra() {
        fJanela->show();
        QVERIFY(QTest::qWaitForWindowExposed(fJanela.get()));
    }

private slots:
    void initTestCase() { ServidorHttpTeste::ignoraProxiesDoAmbiente(); }
    void init() {
        fDialogos.limpa();
        fPasta = std::make_unique<QTemporaryDir>();
        QVERIFY(fPasta->isValid());
        fArquivo = fPasta->filePath(QStringLiteral("BELQOR.cds"));
        escreveTabelaTeste(fArquivo, {{QDate(2026, 1, 1), "1.16"}, {QDate(2026, 2, 1), "1"}});
        cria();
    }
    void cleanup() {
        // Let the window go without the exit question, then the module as main does.
        fModulo.reset();
        fJanela.reset();
        fPasta.reset();
    }

    void criacao() {
        QCOMPARE(fJanela->windowTitle(),
                 QStringLiteral("BELQOR - Atualização de ICMS vencido - Versão 3.02.00"));
        QCOMPARE(filho<QLabel>("lblVersao")->text(), QStringLiteral("Versão: 3.02.00"));
        QVERIFY(fJanela->windowState() & Qt::WindowMaximized);
        QCOMPARE(regional().padraoDataCurta, QStringLiteral("dd/mm/yyyy"));
        QVERIFY(fJanela->Timer1->isActive());
        QCOMPARE(fJanela->Timer1->interval(), 1000);
        QVERIFY(fDialogos.registros().isEmpty());
        // The table stays closed until the window is shown.
        QVERIFY(!fModulo->CDSSelic.ativa());
    }

    void relogio_data() {
        QTest::addColumn<QChar>("separador");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("barra") << QChar('/')
                               << "Data e hora do seu computador: 05/03/2026 14:07:09";
        QTest::newRow("hífen do sistema")
            << QChar('-') << "Data e hora do seu computador: 05-03-2026 14:07:09";
    }
    void relogio() {
        QFETCH(QChar, separador);
        QFETCH(QString, esperado);
        regional().separadorData = separador;
        auto* lblData = filho<QLabel>("lblData");
        QCOMPARE(lblData->text(), QString());
        fJanela->Timer1Timer();
        QCOMPARE(lblData->text(), esperado);
    }

    void relogioAndaACadaSegundo() {
        auto* lblData = filho<QLabel>("lblData");
        QTRY_COMPARE_WITH_TIMEOUT(
            lblData->text(), QStringLiteral("Data e hora do seu computador: 05/03/2026 14:07:09"),
            3000);
        fRelogio.define(Datas::codificaData(2026, 3, 5) + Datas::codificaHora(14, 7, 10));
        QTRY_COMPARE_WITH_TIMEOUT(
            lblData->text(), QStringLiteral("Data e hora do seu computador: 05/03/2026 14:07:10"),
            3000);
    }

    void acoes_data() {
        QTest::addColumn<QString>("acao");
        QTest::addColumn<QString>("legenda");
        QTest::addColumn<QString>("dica");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("botaoBarra");
        QTest::addColumn<QString>("botaoGrande");
        QTest::newRow("tabela") << "actTabelaSelic"
                                << "&Tabela Selic"
                                << "Tabela Selic"
                                << "Cadastro"
                                << "spdbtnTabelaSelic"
                                << "btnTabelaSelic";
        QTest::newRow("calcular") << "actCalcular"
                                  << "&Calcular"
                                  << "Calcular"
                                  << "Cálculos"
                                  << "spdbtnCalcular"
                                  << "btnCalcular";
        QTest::newRow("demonstrativo") << "actDemonstrativo"
                                       << "&Demonstrativo de Débitos"
                                       << "Demonstrativo de Débitos"
                                       << "Cálculos"
                                       << "spdbtnDemonstrativo"
                                       << "";
        QTest::newRow("sair") << "actSair"
                              << "&Sair"
                              << "Sair"
                              << "Cadastro"
                              << "spdbtnSair"
                              << "";
    }
    void acoes() {
        QFETCH(QString, acao);
        QFETCH(QString, legenda);
        QFETCH(QString, dica);
        QFETCH(QString, menu);
        QFETCH(QString, botaoBarra);
        QFETCH(QString, botaoGrande);
        auto* a = fJanela->findChild<QAction*>(acao);
        QVERIFY(a);
        QCOMPARE(a->text(), legenda);
        QCOMPARE(a->toolTip(), dica);
        QMenu* dono = nullptr;
        for (QMenu* m : filho<QMenuBar>("MainMenu1")->findChildren<QMenu*>())
            if (m->actions().contains(a))
                dono = m;
        QVERIFY(dono);
        QCOMPARE(QString(dono->title()).remove(QLatin1Char('&')), menu);
        auto* barra = fJanela->findChild<QToolButton*>(botaoBarra);
        QVERIFY(barra);
        QCOMPARE(barra->defaultAction(), a);
        QCOMPARE(barra->toolTip(), dica);
        QCOMPARE(barra->size(), QSize(23, 22));
        if (!botaoGrande.isEmpty()) {
            auto* grande = fJanela->findChild<QPushButton*>(botaoGrande);
            QVERIFY(grande);
            QCOMPARE(grande->text(), legenda);
            QCOMPARE(grande->toolTip(), dica);
            QCOMPARE(grande->size(), QSize(173, 73));
        }
    }

    void menus() {
        const QList<QAction*> menus = filho<QMenuBar>("MainMenu1")->actions();
        QCOMPARE(menus.size(), 2);
        // The captions stay; each has an access letter of its own, clear of the large
        // buttons' Alt+T and Alt+C.
        QCOMPARE(menus[0]->text(), QStringLiteral("Ca&dastro"));
        QCOMPARE(menus[1]->text(), QStringLiteral("Cá&lculos"));
        const QList<QAction*> cadastro = menus[0]->menu()->actions();
        QCOMPARE(cadastro.size(), 5);
        QCOMPARE(cadastro[0]->objectName(), QStringLiteral("actTabelaSelic"));
        QCOMPARE(cadastro[1]->objectName(), QStringLiteral("actAtualizarBancoCentral"));
        QCOMPARE(cadastro[1]->text(), QStringLiteral("&Atualizar pelo Banco Central"));
        QCOMPARE(cadastro[2]->objectName(), QStringLiteral("actImportarTaxas"));
        QCOMPARE(cadastro[2]->text(), QStringLiteral("&Importar taxas de arquivo..."));
        QVERIFY(cadastro[3]->isSeparator());
        QCOMPARE(cadastro[4]->objectName(), QStringLiteral("actSair"));
        QCOMPARE(
            menus[1]->menu()->actions(),
            QList<QAction*>({filho<QAction>("actCalcular"), filho<QAction>("actDemonstrativo")}));
        QCOMPARE(filho<QAction>("actDemonstrativo")->shortcut(),
                 QKeySequence(Qt::ControlModifier | Qt::Key_D));
    }

    // The toolbar's buttons in order, the statement's after the calculation's, the exit
    // after the separator.
    void barraDeFerramentas() {
        QCOMPARE(filho<QToolButton>("spdbtnTabelaSelic")->geometry(), QRect(4, 4, 23, 22));
        QCOMPARE(filho<QToolButton>("spdbtnCalcular")->geometry(), QRect(32, 4, 23, 22));
        QCOMPARE(filho<QToolButton>("spdbtnDemonstrativo")->geometry(), QRect(60, 4, 23, 22));
        QCOMPARE(filho<QFrame>("linBarra")->x(), 88);
        QCOMPARE(filho<QToolButton>("spdbtnSair")->geometry(), QRect(96, 4, 23, 22));
    }

    // Alt with a menu's access letter opens that menu, from the window with the focus on a
    // large button.
    void teclasDeAcessoDosMenus_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("menu");
        QTest::newRow("Alt+D") << int(Qt::Key_D) << 0;
        QTest::newRow("Alt+L") << int(Qt::Key_L) << 1;
    }
    void teclasDeAcessoDosMenus() {
        QFETCH(int, tecla);
        QFETCH(int, menu);
        mostra();
        QApplication::setActiveWindow(fJanela.get());
        QVERIFY(QTest::qWaitForWindowActive(fJanela.get()));
        QMenu* aberto = filho<QMenuBar>("MainMenu1")->actions()[menu]->menu();
        QVERIFY(!aberto->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(tecla), Qt::AltModifier);
        QTRY_VERIFY(aberto->isVisible());
        aberto->close();
    }

    // Each item of a menu has an access key of its own: with the menu open, its letter runs
    // that item and no other.
    void teclasDeAcessoDosItens_data() {
        QTest::addColumn<int>("menu");
        QTest::addColumn<char>("tecla");
        QTest::addColumn<QString>("acao");
        QTest::newRow("Cadastro, T") << 0 << 'T' << "actTabelaSelic";
        QTest::newRow("Cadastro, A") << 0 << 'A' << "actAtualizarBancoCentral";
        QTest::newRow("Cadastro, I") << 0 << 'I' << "actImportarTaxas";
        QTest::newRow("Cadastro, S") << 0 << 'S' << "actSair";
        QTest::newRow("Cálculos, C") << 1 << 'C' << "actCalcular";
        QTest::newRow("Cálculos, D") << 1 << 'D' << "actDemonstrativo";
    }
    void teclasDeAcessoDosItens() {
        QFETCH(int, menu);
        QFETCH(char, tecla);
        QFETCH(QString, acao);
        // What the items run is not looked at here: no file is chosen, the central bank is an
        // address where nothing listens, the exit is refused and no window is given.
        fJanela->defineEscolhaArquivo([](QWidget*) { return QString(); });
        DestinoBancoCentral destino;
        destino.endereco = QStringLiteral("http://127.0.0.1:1/");
        fJanela->defineDestinoBancoCentral(destino);
        fDialogos.enfileira(Resposta::Nao);
        QMenu* aberto = filho<QMenuBar>("MainMenu1")->actions()[menu]->menu();
        QList<std::pair<QString, std::shared_ptr<QSignalSpy>>> espioes;
        for (QAction* a : aberto->actions())
            if (!a->isSeparator())
                espioes << std::pair{a->objectName(),
                                     std::make_shared<QSignalSpy>(a, &QAction::triggered)};
        QCOMPARE(espioes.size(), menu == 0 ? 4 : 2);
        aberto->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(aberto));
        QTest::keyClick(aberto, tecla);
        for (const auto& [nome, espiao] : espioes)
            QCOMPARE(espiao->count(), nome == acao ? 1 : 0);
        aberto->close();
    }

    void barraDeStatusComDoisPaineisVazios() {
        auto* barra = filho<QStatusBar>("stbBasica");
        const QList<QLabel*> paineis = barra->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(paineis.size(), 2);
        QCOMPARE(paineis[0]->width(), 180);
        QCOMPARE(paineis[1]->width(), 50);
        QCOMPARE(paineis[0]->text() + paineis[1]->text(), QString());
        QCOMPARE(barra->height(), 19);
    }

    // With a copy of the shipped table (up to 09/2026) on 10/12/2026, the update from a
    // loopback central bank holding October, November and a partial December.
    void atualizarPeloBancoCentral() {
        QFile::remove(fArquivo);
        QVERIFY(QFile::rename(copiaTabelaDistribuida(fPasta->path()), fArquivo));
        fRelogio.define(Datas::codificaData(2026, 12, 10) + Datas::codificaHora(10, 0, 0));
        AutoridadeTeste autoridade;
        QVERIFY2(autoridade.erro().isEmpty(), qPrintable(autoridade.erro()));
        const RespondedorBancoCentral bancoCentral({{QDate(2026, 10, 1), QStringLiteral("1.28")},
                                                    {QDate(2026, 11, 1), QStringLiteral("1.05")},
                                                    {QDate(2026, 12, 1), QStringLiteral("0.40")}});
        // The window's thread waits for the answer meanwhile, so the pointer can be read.
        QList<Ponteiro> ponteiros;
        ServidorHttpTeste servidor(
            [&](const PedidoHttp& pedido) {
                ponteiros << PonteiroMouse::atual();
                return bancoCentral(pedido);
            },
            autoridade.emite());
        fJanela->defineDestinoBancoCentral(destinoLocal(servidor, autoridade));
        fJanela->FormShow();
        auto* tabela = filho<QLabel>("pnlTabelaSelic");
        auto* faltantes = filho<QLabel>("pnlMesesFaltantes");
        QCOMPARE(tabela->text(), QStringLiteral("Tabela Selic até 09/2026"));
        QCOMPARE(faltantes->text(), QStringLiteral("Faltam as taxas de 10/2026 a 11/2026"));

        const DataHora vencimento = Datas::codificaData(2026, 9, 10);
        const DataHora pagamento = Datas::codificaData(2026, 12, 10);
        const Moeda valor = Moeda::deUnidades(1000);
        QVERIFY(!CalculaValores(*fModulo, valor, vencimento, pagamento));
        QCOMPARE(fDialogos.textos(), QStringList{FaltamTaxas});
        fDialogos.limpa();

        filho<QAction>("actAtualizarBancoCentral")->trigger();
        QCOMPARE(fDialogos.textos(),
                 QStringList{"Meses incluídos: 10/2026 a 11/2026\n\rMeses ainda não encerrados "
                             "(ignorados): 12/2026"});
        QCOMPARE(fDialogos.registros().first().tipo, DialogosRoteiro::Registro::Mensagem);
        QCOMPARE(ponteiros, QList<Ponteiro>{Ponteiro::Ampulheta});
        QCOMPARE(PonteiroMouse::atual(), Ponteiro::Padrao);
        QCOMPARE(tabela->text(), QStringLiteral("Tabela Selic até 11/2026"));
        QCOMPARE(faltantes->text(), QString());
        fDialogos.limpa();

        const std::optional<ResultadoCalculo> resultado =
            CalculaValores(*fModulo, valor, vencimento, pagamento);
        QVERIFY(resultado);
        QCOMPARE(fDialogos.textos(), QStringList());
        // 1 % for December plus October's 1,28 and November's 1,05, on the tax plus 12 %.
        QCOMPARE(resultado->Dias, 91);
        QCOMPARE(double(resultado->TaxaJuros), 0.0333);
        QCOMPARE(resultado->JurosMora.contagem(), 373000);
        QCOMPARE(resultado->Total.contagem(), 11573000);

        // The table file is written at exit, as for every other change.
        const QByteArray antes = conteudoArquivo(fArquivo);
        fDialogos.enfileira(Resposta::Sim);
        QVERIFY(fJanela->FormClose());
        const QByteArray depois = conteudoArquivo(fArquivo);
        QVERIFY(depois != antes);
        QVERIFY(depois.contains("<ROW Data=\"20261101\" Valor=\"1.05\"/>"));
        QVERIFY(!depois.contains("20261201"));
    }

    void painelDosMesesFaltantesLevaAAtualizacao() {
        fRelogio.define(Datas::codificaData(2026, 4, 2));
        AutoridadeTeste autoridade;
        ServidorHttpTeste servidor(
            RespondedorBancoCentral({{QDate(2026, 3, 1), QStringLiteral("1.03")}}),
            autoridade.emite());
        fJanela->defineDestinoBancoCentral(destinoLocal(servidor, autoridade));
        fJanela->FormShow();
        auto* faltantes = filho<QLabel>("pnlMesesFaltantes");
        QCOMPARE(faltantes->text(), QStringLiteral("Falta a taxa de 03/2026"));
        QTest::mouseClick(faltantes, Qt::LeftButton);
        QCOMPARE(RespondedorBancoCentral::janelasPedidas(servidor),
                 QStringList{"01/03/2026-02/04/2026"});
        QCOMPARE(fDialogos.textos(), QStringList{"Meses incluídos: 03/2026"});
        QCOMPARE(faltantes->text(), QString());
        QCOMPARE(filho<QLabel>("pnlTabelaSelic")->text(),
                 QStringLiteral("Tabela Selic até 03/2026"));
        // Nothing missing: a click does nothing.
        QTest::mouseClick(faltantes, Qt::LeftButton);
        QCOMPARE(servidor.quantidadePedidos(), 1);
    }

    // Left open past the end of a month, the window shows the month now missing at the
    // next tick of its clock, with no change to the table.
    void mesQueTerminaComAJanelaAberta() {
        fRelogio.define(Datas::codificaData(2026, 3, 31) + Datas::codificaHora(23, 59, 59));
        fJanela->FormShow();
        auto* faltantes = filho<QLabel>("pnlMesesFaltantes");
        QCOMPARE(faltantes->text(), QString());
        fJanela->Timer1Timer();
        QCOMPARE(faltantes->text(), QString());
        fRelogio.define(Datas::codificaData(2026, 4, 1));
        fJanela->Timer1Timer();
        QCOMPARE(faltantes->text(), QStringLiteral("Falta a taxa de 03/2026"));
        QCOMPARE(faltantes->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(filho<QLabel>("pnlTabelaSelic")->text(),
                 QStringLiteral("Tabela Selic até 02/2026"));
    }

    void falhaDaAtualizacaoNaMensagemDeErro() {
        fRelogio.define(Datas::codificaData(2026, 4, 2));
        DestinoBancoCentral destino;
        destino.endereco =
            QStringLiteral("https://127.0.0.1:%1/dados").arg(ServidorHttpTeste::portaFechada());
        fJanela->defineDestinoBancoCentral(destino);
        fJanela->FormShow();
        const QByteArray antes = conteudoArquivo(fArquivo);
        filho<QAction>("actAtualizarBancoCentral")->trigger();
        QCOMPARE(fDialogos.registros().size(), 1);
        QCOMPARE(fDialogos.registros().first().tipoDialogo, TipoDialogo::Erro);
        QVERIFY2(fDialogos.textos().first().startsWith(
                     "Nenhum mês foi incluído na tabela.\n\rNão foi possível atualizar as taxas "
                     "pelo Banco Central: a conexão foi recusada"),
                 qPrintable(fDialogos.textos().first()));
        QCOMPARE(filho<QLabel>("pnlMesesFaltantes")->text(),
                 QStringLiteral("Falta a taxa de 03/2026"));
        fDialogos.enfileira(Resposta::Sim);
        QVERIFY(fJanela->FormClose());
        QCOMPARE(conteudoArquivo(fArquivo), antes);
    }

    void importarTaxasDeArquivo_data() {
        QTest::addColumn<QString>("arquivo");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("CSV do Banco Central")
            << "bancocentral/selic-2024.csv"
            << "Meses incluídos: 03/2024 a 12/2024\n\rMeses já presentes: 01/2024\n\rMês 02/2024 "
               "presente com outra taxa: na tabela 0,81, publicada 0,8 (a da tabela foi mantida)";
        QTest::newRow("documento de taxas")
            << "importacao/tres-entradas.xml"
            << "Meses incluídos: 03/2024 a 04/2024\n\rMês 02/2024 presente com outra taxa: na "
               "tabela 0,81, publicada 0,8 (a da tabela foi mantida)";
    }
    void importarTaxasDeArquivo() {
        QFETCH(QString, arquivo);
        QFETCH(QString, mensagem);
        escreveTabelaTeste(fArquivo, {{QDate(2024, 1, 1), "0.97"}, {QDate(2024, 2, 1), "0.81"}});
        fRelogio.define(Datas::codificaData(2025, 1, 20));
        QStringList pedidos;
        fJanela->defineEscolhaArquivo([&](QWidget* pai) {
            pedidos << (pai == fJanela.get() ? QStringLiteral("sobre a janela principal")
                                             : QStringLiteral("sem pai"));
            return QStringLiteral(BELQOR_FIXTURES "/") + arquivo;
        });
        fJanela->FormShow();
        filho<QAction>("actImportarTaxas")->trigger();
        QCOMPARE(pedidos, QStringList{"sobre a janela principal"});
        QCOMPARE(fDialogos.textos(), QStringList{mensagem});
        QVERIFY(filho<QLabel>("pnlTabelaSelic")->text().startsWith("Tabela Selic até "));
    }

    void importacaoDesistidaNadaFaz() {
        fJanela->defineEscolhaArquivo([](QWidget*) { return QString(); });
        fJanela->FormShow();
        const QString antes = filho<QLabel>("pnlTabelaSelic")->text();
        filho<QAction>("actImportarTaxas")->trigger();
        QCOMPARE(fDialogos.textos(), QStringList());
        QCOMPARE(filho<QLabel>("pnlTabelaSelic")->text(), antes);
        QCOMPARE(fModulo->CDSSelic.alteradaDesdeLeitura(), false);
    }

    void calcularTemOFocoAoAbrir() {
        mostra();
        fJanela->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fJanela.get()));
        QCOMPARE(QApplication::focusWidget(), filho<QPushButton>("btnCalcular"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), filho<QPushButton>("btnTabelaSelic"));
    }

    void primeiraExibicaoAbreATabelaEDepoisAtualiza() {
        QStringList ordem;
        fJanela->defineAtualizacaoInicial([&] {
            ordem << (fModulo->CDSSelic.ativa() ? QStringLiteral("atualiza com a tabela aberta")
                                                : QStringLiteral("atualiza sem tabela"));
        });
        // Until then the small buttons carry the action's caption (Qt drops the "&").
        QCOMPARE(filho<QToolButton>("spdbtnCalcular")->text(), QStringLiteral("Calcular"));
        mostra();
        QCOMPARE(ordem, QStringList{"atualiza com a tabela aberta"});
        QCOMPARE(fModulo->ArqDados, fArquivo);
        QCOMPARE(fModulo->CDSSelic.nomeArquivo(), fArquivo);
        QCOMPARE(fModulo->CDSSelic.quantidade(), 2);
        for (const char* nome :
             {"spdbtnTabelaSelic", "spdbtnCalcular", "spdbtnDemonstrativo", "spdbtnSair"})
            QCOMPARE(filho<QToolButton>(nome)->text(), QString());
        QVERIFY(fDialogos.registros().isEmpty());
        // Showing again later does not run it a second time.
        fJanela->hide();
        fJanela->show();
        QCOMPARE(ordem, QStringList{"atualiza com a tabela aberta"});
    }

    void falhaNaPrimeiraExibicao_data() {
        QTest::addColumn<bool>("semArquivo");
        QTest::addColumn<QString>("falhaAoAtualizar");
        QTest::addColumn<bool>("atualizou");
        QTest::newRow("arquivo da tabela ausente") << true << "" << false;
        QTest::newRow("atualização falha") << false << "Documento XML vazio" << true;
    }
    void falhaNaPrimeiraExibicao() {
        QFETCH(bool, semArquivo);
        QFETCH(QString, falhaAoAtualizar);
        QFETCH(bool, atualizou);
        QString falhaAoAbrir;
        if (semArquivo) {
            QVERIFY(QFile::remove(fArquivo));
            ModuloTeste outro(fRelogio, fDialogos, fPasta->path());
            outro.defineArquivo(fArquivo);
            try {
                outro.CDSSelic.abrir();
            } catch (const ErroBelqor& e) {
                falhaAoAbrir = e.mensagem();
            }
            QVERIFY(!falhaAoAbrir.isEmpty());
        }
        bool chamada = false;
        fJanela->defineAtualizacaoInicial([&] {
            chamada = true;
            if (!falhaAoAtualizar.isEmpty())
                throw ErroBelqor(falhaAoAtualizar);
        });
        mostra();
        QCOMPARE(chamada, atualizou);
        QCOMPARE(fDialogos.registros().size(), 1);
        const auto& r = fDialogos.registros().first();
        QCOMPARE(r.tipo, DialogosRoteiro::Registro::Dialogo);
        QCOMPARE(r.tipoDialogo, TipoDialogo::Erro);
        QCOMPARE(r.botoes, Botoes(Botao::Ok));
        QCOMPARE(r.texto, FalhaAoAtualizar + falhaAoAbrir + falhaAoAtualizar);
        QCOMPARE(fModulo->CDSSelic.ativa(), !semArquivo);
        QCOMPARE(filho<QToolButton>("spdbtnSair")->text(), QString());
        // The window stays usable: its commands still run.
        JanelasAbertas janelas;
        fJanela->defineJanelaCalcular(janelas.fabrica());
        QTest::mouseClick(filho<QPushButton>("btnCalcular"), Qt::LeftButton);
        QCOMPARE(janelas.criadas.size(), 1);
    }

    void recusaSilenciosaNaAtualizacaoNaoMostraNada() {
        fJanela->defineAtualizacaoInicial([] { aborta(); });
        mostra();
        QVERIFY(fDialogos.registros().isEmpty());
        QCOMPARE(filho<QToolButton>("spdbtnTabelaSelic")->text(), QString());
    }

    void saida_data() {
        QTest::addColumn<int>("caminho");
        QTest::addColumn<Resposta>("resposta");
        QTest::addColumn<bool>("fecha");
        QTest::newRow("Sair, sim") << int(PeloSair) << Resposta::Sim << true;
        QTest::newRow("Sair, não") << int(PeloSair) << Resposta::Nao << false;
        QTest::newRow("botão fechar, sim") << int(PeloBotaoFechar) << Resposta::Sim << true;
        QTest::newRow("botão fechar, não") << int(PeloBotaoFechar) << Resposta::Nao << false;
        QTest::newRow("sistema, sim") << int(PeloSistema) << Resposta::Sim << true;
        QTest::newRow("sistema, caixa fechada") << int(PeloSistema) << Resposta::Nenhuma << false;
    }
    void saida() {
        QFETCH(int, caminho);
        QFETCH(Resposta, resposta);
        QFETCH(bool, fecha);
        mostra();
        const QByteArray antes = conteudoArquivo(fArquivo);
        const QDateTime alterado = alteracaoDoArquivo();
        fDialogos.limpa();
        fDialogos.enfileira(resposta);
        switch (caminho) {
        case PeloSair:
            filho<QAction>("actSair")->trigger();
            break;
        case PeloBotaoFechar:
            fJanela->close();
            break;
        case PeloSistema: {
            QCloseEvent evento;
            QApplication::sendEvent(fJanela.get(), &evento);
            if (evento.isAccepted())
                fJanela->hide();
        }
        }
        QCOMPARE(fDialogos.registros().size(), 1);
        const auto& r = fDialogos.registros().first();
        QCOMPARE(r.texto, QStringLiteral("Deseja sair do programa?"));
        QCOMPARE(r.tipoDialogo, TipoDialogo::Confirmacao);
        QCOMPARE(r.botoes, Botao::Sim | Botao::Nao);
        QCOMPARE(fJanela->isVisible(), !fecha);
        QCOMPARE(fModulo->CDSSelic.ativa(), !fecha);
        // Nothing changed: the file is left as it was, leaving or not.
        QCOMPARE(conteudoArquivo(fArquivo), antes);
        QCOMPARE(alteracaoDoArquivo(), alterado);
    }

    // The exit question comes first, as for any close. Only after a Sim is the user asked
    // about a change left pending in the rate table: stored (through the rule) or dropped, as
    // the user answers; closing the table would drop it without a word. Staying leaves the
    // change pending as it was.
    void saidaComAlteracaoPendente_data() {
        QTest::addColumn<int>("pendencia");
        QTest::addColumn<QList<Resposta>>("respostas");
        QTest::addColumn<QStringList>("textos");
        QTest::addColumn<bool>("fecha");
        QTest::addColumn<bool>("continuaPendente");
        QTest::addColumn<double>("fevereiro");
        const QString naoDivulgada = QStringLiteral(
            "A Selic de 03/2026 ainda não foi divulgada! A data de hoje é 05/03/2026");
        QTest::newRow("sair, sim grava e sai")
            << int(ValorEditado) << QList<Resposta>{Resposta::Sim, Resposta::Sim}
            << QStringList{Sair, AlteracaoPendente} << true << false << 0.8;
        QTest::newRow("sair, sim recusado pela regra fica aberto")
            << int(MesNaoDivulgado) << QList<Resposta>{Resposta::Sim, Resposta::Sim}
            << QStringList{Sair, AlteracaoPendente, naoDivulgada} << false << true << 1.0;
        QTest::newRow("sair, não descarta e sai")
            << int(ValorEditado) << QList<Resposta>{Resposta::Sim, Resposta::Nao}
            << QStringList{Sair, AlteracaoPendente} << true << false << 1.0;
        QTest::newRow("não sair deixa a alteração pendente")
            << int(ValorEditado) << QList<Resposta>{Resposta::Nao} << QStringList{Sair} << false
            << true << 1.0;
        QTest::newRow("não sair deixa o mês recusado pendente")
            << int(MesNaoDivulgado) << QList<Resposta>{Resposta::Nao} << QStringList{Sair} << false
            << true << 1.0;
        QTest::newRow("pergunta de saída fechada, nada muda")
            << int(ValorEditado) << QList<Resposta>{Resposta::Nenhuma} << QStringList{Sair} << false
            << true << 1.0;
        QTest::newRow("sair, pergunta da alteração fechada, nada muda")
            << int(ValorEditado) << QList<Resposta>{Resposta::Sim, Resposta::Nenhuma}
            << QStringList{Sair, AlteracaoPendente} << false << true << 1.0;
        QTest::newRow("linha sem alteração não pergunta")
            << int(LinhaSemAlteracao) << QList<Resposta>{Resposta::Sim} << QStringList{Sair} << true
            << false << 1.0;
    }
    void saidaComAlteracaoPendente() {
        QFETCH(int, pendencia);
        QFETCH(QList<Resposta>, respostas);
        QFETCH(QStringList, textos);
        QFETCH(bool, fecha);
        QFETCH(bool, continuaPendente);
        QFETCH(double, fevereiro);
        fRelogio.define(Datas::codificaData(2026, 3, 5));
        mostra();
        TabelaMemoria& tabela = fModulo->CDSSelic;
        tabela.ultimo();
        tabela.editar();
        if (pendencia == ValorEditado)
            fModulo->CDSSelicValor->defineFloat(0.8);
        else if (pendencia == MesNaoDivulgado)
            fModulo->CDSSelicData->defineDataHora(Datas::codificaData(2026, 3, 1));
        fDialogos.limpa();
        for (Resposta r : respostas)
            fDialogos.enfileira(r);

        QCOMPARE(fJanela->close(), fecha);

        QCOMPARE(fDialogos.textos(), textos);
        QCOMPARE(fDialogos.respostasPendentes(), qsizetype(0));
        QCOMPARE(fDialogos.registros().first().tipoDialogo, TipoDialogo::Confirmacao);
        QCOMPARE(fDialogos.registros().first().botoes, Botao::Sim | Botao::Nao);
        QCOMPARE(fJanela->isVisible(), !fecha);
        QCOMPARE(tabela.ativa(), !fecha);
        if (fecha) {
            ModuloTeste relido(fRelogio, fDialogos, fPasta->path());
            relido.abreArquivo(fArquivo);
            QCOMPARE(relido.CDSSelic.quantidade(), 2);
            relido.CDSSelic.ultimo();
            QCOMPARE(relido.CDSSelicValor->comoFloat(), fevereiro);
            return;
        }
        // Left for the user to mend, as typed, or dropped as asked.
        QCOMPARE(tabela.estado(), continuaPendente ? TabelaMemoria::Estado::Editando
                                                   : TabelaMemoria::Estado::Navegando);
        QCOMPARE(tabela.modificado(), continuaPendente);
        if (continuaPendente && pendencia == ValorEditado)
            QCOMPARE(fModulo->CDSSelicValor->comoFloat(), 0.8);
        if (continuaPendente && pendencia == MesNaoDivulgado)
            QCOMPARE(fModulo->CDSSelicData->comoDataHora(), Datas::codificaData(2026, 3, 1));
        tabela.cancelar();
        tabela.ultimo();
        QCOMPARE(fModulo->CDSSelicValor->comoFloat(), fevereiro);
    }

    void saidaGravaOQueFoiGuardado() {
        fRelogio.define(Datas::codificaData(2026, 4, 10));
        mostra();
        QVERIFY(fModulo->InsereRegistro(Datas::codificaData(2026, 3, 1), 0.95));
        const QByteArray antes = conteudoArquivo(fArquivo);
        fDialogos.enfileira(Resposta::Sim);
        QVERIFY(fJanela->close());
        QVERIFY(!fModulo->CDSSelic.ativa());
        QVERIFY(conteudoArquivo(fArquivo) != antes);
        ModuloTeste relido(fRelogio, fDialogos, fPasta->path());
        relido.abreArquivo(fArquivo);
        QCOMPARE(relido.CDSSelic.quantidade(), 3);
        relido.CDSSelic.ultimo();
        QCOMPARE(relido.CDSSelicData->comoDataHora(), Datas::codificaData(2026, 3, 1));
    }

    void falhaAoGravarNaSaida() {
        fRelogio.define(Datas::codificaData(2026, 4, 10));
        mostra();
        QVERIFY(fModulo->InsereRegistro(Datas::codificaData(2026, 3, 1), 0.95));
        // The folder goes away, so the table's file cannot be written.
        QVERIFY(fPasta->remove());
        fDialogos.limpa();
        fDialogos.enfileira(Resposta::Sim);
        QVERIFY(!fJanela->close());
        QVERIFY(fJanela->isVisible());
        QCOMPARE(fDialogos.registros().size(), 2);
        QCOMPARE(fDialogos.registros()[1].tipo, DialogosRoteiro::Registro::RelatorioErro);
        QVERIFY2(fDialogos.registros()[1].texto.contains(QStringLiteral("BELQOR.cds")),
                 qPrintable(fDialogos.registros()[1].texto));
        // The second exit asks again and ends without another attempt.
        fDialogos.enfileira(Resposta::Sim);
        QVERIFY(fJanela->close());
        QCOMPARE(fDialogos.registros().size(), 3);
        QCOMPARE(fDialogos.registros()[2].texto, QStringLiteral("Deseja sair do programa?"));
        QVERIFY(!QFile::exists(fArquivo));
        // Nor does the data module try again, or say anything, when it goes.
        fModulo.reset();
        QCOMPARE(fDialogos.registros().size(), 3);
    }

    // An installed program: the first showing creates the user's table from the installed
    // default, or says once which folder could not be made.
    void primeiraPartidaInstalada_data() {
        QTest::addColumn<QString>("pastaDados");
        QTest::addColumn<QString>("erro");
        QTest::newRow("pasta criada") << "casa/dados"
                                      << "";
        QTest::newRow("pasta impossível")
            << "BELQOR.cds/dados"
            << "Não foi possível criar a pasta \"@/BELQOR.cds/dados/belqor\".";
    }
    void primeiraPartidaInstalada() {
        QFETCH(QString, pastaDados);
        QFETCH(QString, erro);
        LocaisArquivos locais;
        locais.tabela = fPasta->filePath(pastaDados + QStringLiteral("/belqor/BELQOR.cds"));
        locais.pastaLog = fPasta->filePath(QStringLiteral("casa/estado/belqor"));
        locais.tabelaPadrao = fArquivo;
        fModulo = std::make_unique<ModuloTeste>(fRelogio, fDialogos, locais);
        fJanela->defineModuloDados(*fModulo, locais.tabela);
        fJanela->FormShow();
        if (erro.isEmpty()) {
            QVERIFY(fDialogos.registros().isEmpty());
            QVERIFY(fModulo->CDSSelic.ativa());
            QCOMPARE(conteudoArquivo(locais.tabela), conteudoArquivo(fArquivo));
        } else {
            QCOMPARE(fDialogos.registros().size(), 1);
            const QString texto = fDialogos.registros()[0].texto;
            QVERIFY2(texto.endsWith(erro.replace(QLatin1Char('@'), fPasta->path())),
                     qPrintable(texto));
            QVERIFY(!fModulo->CDSSelic.ativa());
        }
    }

    // An installed program whose package was upgraded: the user's table, made from the older
    // default, is completed at the first showing from the newer one, before the start-up
    // refresh asks for the months after the last one held. The user is told what came, and
    // is told nothing, nor is the file written at exit, when nothing came.
    void partidaComPadraoNova_data() {
        QTest::addColumn<MesesTeste>("padrao");
        QTest::addColumn<QStringList>("mensagens");
        QTest::addColumn<QString>("ultimoMes");
        QTest::newRow("dois meses a mais")
            << MesesTeste{{QDate(2026, 1, 1), "1.16"},
                          {QDate(2026, 2, 1), "1.02"},
                          {QDate(2026, 3, 1), "1.21"},
                          {QDate(2026, 4, 1), "1.09"}}
            << QStringList{"Tabela Selic instalada com o programa:\n\rMeses incluídos: 03/2026 a "
                           "04/2026\n\rMês 02/2026 presente com outra taxa: na tabela 1, "
                           "publicada 1,02 (a da tabela foi mantida)"}
            << "04/2026";
        QTest::newRow("nada novo")
            << MesesTeste{{QDate(2026, 1, 1), "1.16"}, {QDate(2026, 2, 1), "1"}} << QStringList()
            << "02/2026";
    }
    void partidaComPadraoNova() {
        QFETCH(MesesTeste, padrao);
        QFETCH(QStringList, mensagens);
        QFETCH(QString, ultimoMes);
        fRelogio.define(Datas::codificaData(2026, 5, 10) + Datas::codificaHora(9, 0, 0));
        LocaisArquivos locais;
        locais.tabela = fPasta->filePath(QStringLiteral("casa/dados/belqor/BELQOR.cds"));
        locais.pastaLog = fPasta->filePath(QStringLiteral("casa/estado/belqor"));
        locais.tabelaPadrao = fPasta->filePath(QStringLiteral("usr/share/belqor/BELQOR.cds"));
        QVERIFY(QDir().mkpath(QFileInfo(locais.tabela).path()));
        QVERIFY(QDir().mkpath(QFileInfo(locais.tabelaPadrao).path()));
        escreveTabelaTeste(locais.tabela, {{QDate(2026, 1, 1), "1.16"}, {QDate(2026, 2, 1), "1"}});
        escreveTabelaTeste(locais.tabelaPadrao, padrao);
        const QDateTime alteracaoAntes = envelheceArquivo(locais.tabela);
        const QByteArray bytesAntes = conteudoArquivo(locais.tabela);

        fModulo = std::make_unique<ModuloTeste>(fRelogio, fDialogos, locais);
        fJanela->defineModuloDados(*fModulo, locais.tabela);
        QString ultimoNaAtualizacao;
        fJanela->defineAtualizacaoInicial(
            [&] { ultimoNaAtualizacao = Formato::mesAno(ultimoMesDaTabela(*fModulo).value()); });
        mostra();
        QCOMPARE(fDialogos.textos(), mensagens);
        for (const DialogosRoteiro::Registro& r : fDialogos.registros())
            QCOMPARE(r.tipo, DialogosRoteiro::Registro::Mensagem);
        QCOMPARE(ultimoNaAtualizacao, ultimoMes);
        QCOMPARE(filho<QLabel>("pnlTabelaSelic")->text(),
                 QStringLiteral("Tabela Selic até ") + ultimoMes);

        fDialogos.limpa();
        fDialogos.enfileira(Resposta::Sim);
        QVERIFY(fJanela->close());
        QCOMPARE(fDialogos.textos(), QStringList{Sair});
        if (mensagens.isEmpty()) {
            QCOMPARE(conteudoArquivo(locais.tabela), bytesAntes);
            QCOMPARE(QFileInfo(locais.tabela).lastModified(), alteracaoAntes);
        } else {
            TabelaMemoria gravada;
            gravada.defineNomeArquivo(locais.tabela);
            gravada.abrir();
            QCOMPARE(gravada.quantidade(), 4);
            // The month held with another rate keeps the user's.
            gravada.proximo();
            QCOMPARE(gravada.campo(QStringLiteral("Valor"))->comoFloat(), 1.0);
        }
    }

    void saidaComTabelaQueNaoAbriu() {
        QVERIFY(QFile::remove(fArquivo));
        mostra();
        fDialogos.limpa();
        fDialogos.enfileira(Resposta::Sim);
        QVERIFY(fJanela->close());
        QCOMPARE(fDialogos.registros().size(), 1);
        // Closing a table that never opened writes nothing.
        QVERIFY(!QFile::exists(fArquivo));
    }

    // Each command builds a fresh window, shows it modally and destroys it when it closes.
    void comandosAbremJanelaNova_data() {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<QString>("janela");
        QTest::newRow("botão Calcular") << "btnCalcular"
                                        << "calcular";
        QTest::newRow("menu Calcular") << "actCalcular"
                                       << "calcular";
        QTest::newRow("barra Calcular") << "spdbtnCalcular"
                                        << "calcular";
        QTest::newRow("botão Tabela Selic") << "btnTabelaSelic"
                                            << "tabela";
        QTest::newRow("menu Tabela Selic") << "actTabelaSelic"
                                           << "tabela";
        QTest::newRow("barra Tabela Selic") << "spdbtnTabelaSelic"
                                            << "tabela";
        QTest::newRow("menu Demonstrativo") << "actDemonstrativo"
                                            << "demonstrativo";
        QTest::newRow("barra Demonstrativo") << "spdbtnDemonstrativo"
                                             << "demonstrativo";
        QTest::newRow("Ctrl+D") << "Ctrl+D"
                                << "demonstrativo";
    }
    void comandosAbremJanelaNova() {
        QFETCH(QString, comando);
        QFETCH(QString, janela);
        JanelasAbertas calcular, tabela, demonstrativo;
        fJanela->defineJanelaCalcular(calcular.fabrica());
        fJanela->defineJanelaTabelaSelic(tabela.fabrica());
        fJanela->defineJanelaDemonstrativo(demonstrativo.fabrica());
        JanelasAbertas& usada = janela == "calcular" ? calcular
                                : janela == "tabela" ? tabela
                                                     : demonstrativo;
        mostra();
        const auto executa = [&] {
            if (comando == "Ctrl+D") {
                QApplication::setActiveWindow(fJanela.get());
                QTest::keyClick(fJanela.get(), Qt::Key_D, Qt::ControlModifier);
            } else if (auto* a = fJanela->findChild<QAction*>(comando)) {
                a->trigger();
            } else {
                QTest::mouseClick(fJanela->findChild<QAbstractButton*>(comando), Qt::LeftButton);
            }
        };
        executa();
        executa();
        QCOMPARE(usada.criadas.size(), 2);
        QCOMPARE(usada.modais, 2);
        QVERIFY(usada.criadas[0].isNull());
        QVERIFY(usada.criadas[1].isNull());
        QCOMPARE(calcular.criadas.size() + tabela.criadas.size() + demonstrativo.criadas.size(), 2);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // The calculation and rate table windows open with their frame centred over the main
    // window's frame, and stay on its screen.
    void janelasCentradasSobreAPrincipal_data() {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<QRect>("principal");
        QTest::addColumn<QSize>("tamanho");
        QTest::addColumn<bool>("cabe");
        QTest::newRow("cálculo sobre a janela maximizada")
            << "actCalcular" << QRect() << QSize(572, 312) << true;
        QTest::newRow("tabela sobre a janela maximizada")
            << "actTabelaSelic" << QRect() << QSize(277, 353) << true;
        QTest::newRow("cálculo sobre uma janela menor")
            << "actCalcular" << QRect(50, 40, 700, 500) << QSize(572, 312) << true;
        QTest::newRow("tabela sobre uma janela menor")
            << "actTabelaSelic" << QRect(50, 40, 700, 500) << QSize(277, 353) << true;
        QTest::newRow("cálculo junto ao canto da tela")
            << "actCalcular" << QRect(500, 650, 300, 100) << QSize(572, 312) << false;
    }
    void janelasCentradasSobreAPrincipal() {
        QFETCH(QString, comando);
        QFETCH(QRect, principal);
        QFETCH(QSize, tamanho);
        QFETCH(bool, cabe);
        fJanela->defineJanelaCalcular([this](QWidget* pai) -> std::unique_ptr<QDialog> {
            return std::make_unique<TfrmCalcular>(*fModulo, fDialogos, fRelogio, pai);
        });
        fJanela->defineJanelaTabelaSelic([this](QWidget* pai) -> std::unique_ptr<QDialog> {
            return std::make_unique<TfrmTabSelic>(*fModulo, fDialogos, pai);
        });
        mostra();
        if (principal.isValid()) {
            fJanela->showNormal();
            fJanela->setGeometry(principal);
        }
        const QRect quadroPrincipal = fJanela->frameGeometry();
        const QRect tela = fJanela->screen()->availableGeometry();

        QRect quadro, area;
        QTimer::singleShot(0, [&] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(modal);
            quadro = modal->frameGeometry();
            area = modal->geometry();
            modal->done(QDialog::Rejected);
        });
        filho<QAction>(qPrintable(comando))->trigger();
        QCOMPARE(area.size(), tamanho);
        QVERIFY2(tela.contains(quadro), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                       .arg(quadro.x())
                                                       .arg(quadro.y())
                                                       .arg(quadro.width())
                                                       .arg(quadro.height())));
        if (cabe) {
            // Centred to the pixel: halves of an odd difference round down.
            QCOMPARE(quadro.left() - quadroPrincipal.left(),
                     (quadroPrincipal.width() - quadro.width()) / 2);
            QCOMPARE(quadro.top() - quadroPrincipal.top(),
                     (quadroPrincipal.height() - quadro.height()) / 2);
        } else {
            // Pushed back into the screen's corner.
            QCOMPARE(quadro.right(), tela.right());
            QCOMPARE(quadro.bottom(), tela.bottom());
        }
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void comandoSemJanelaNaoMostraNada() {
        mostra();
        filho<QAction>("actCalcular")->trigger();
        filho<QAction>("actTabelaSelic")->trigger();
        QVERIFY(fDialogos.registros().isEmpty());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void falhaAoAbrirJanelaVaiAoRelatorioDeErro() {
        fJanela->defineJanelaCalcular([](QWidget*) -> std::unique_ptr<QDialog> {
            throw ErroBelqor(QStringLiteral("Janela indisponível"));
        });
        mostra();
        filho<QAction>("actCalcular")->trigger();
        QCOMPARE(fDialogos.registros().size(), 1);
        QCOMPARE(fDialogos.registros()[0].tipo, DialogosRoteiro::Registro::RelatorioErro);
        QCOMPARE(fDialogos.registros()[0].texto, QStringLiteral("Janela indisponível"));
        QVERIFY(fJanela->isVisible());
        QVERIFY(filho<QAction>("actCalcular")->isEnabled());
    }
};

QTEST_MAIN(TesteFrmPrincipal)
#include "TesteFrmPrincipal.moc"
