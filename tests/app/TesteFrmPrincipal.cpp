#include "TfrmPrincipal.h"

#include "../comum/TabelaTeste.h"

#include "ConfiguracaoRegional.h"
#include "Erros.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

const QString FalhaAoAtualizar =
    QStringLiteral("FALHA AO ATUALIZAR ÍNDICES\n\rCaso o erro persista, gentileza entrar em "
                   "contato com a NUR enviando um print deste erro.\n\r");

// The ways the user can ask the main window to close.
enum CaminhoSaida { PeloSair, PeloBotaoFechar, PeloSistema };

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
    std::unique_ptr<TBQDataModule> fModulo;
    std::unique_ptr<TfrmPrincipal> fJanela;

    template <typename T> T* filho(const char* nome) {
        T* w = fJanela->findChild<T*>(QString::fromLatin1(nome));
        if (!w)
            qFatal("controle %s não encontrado", nome);
        return w;
    }
    // The start-up order: the window, then the data module, whose table stays closed.
    void cria() {
        fJanela = std::make_unique<TfrmPrincipal>(fRelogio, fDialogos);
        fModulo = std::make_unique<TBQDataModule>(fRelogio, fDialogos);
        fJanela->defineModuloDados(*fModulo, fArquivo);
    }
    QDateTime alteracaoDoArquivo() const { return QFileInfo(fArquivo).lastModified(); }
    // Shows the window the way the message loop does, the first showing running FormShow.
    void mostra() {
        fJanela->show();
        QVERIFY(QTest::qWaitForWindowExposed(fJanela.get()));
    }

private slots:
    void init() {
        regional() = ConfiguracaoRegional::brasileira();
        regional().padraoDataCurta = QStringLiteral("yyyy/mm/dd");
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
        QCOMPARE(dono->title(), menu);
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
        QCOMPARE(menus[0]->text(), QStringLiteral("Cadastro"));
        QCOMPARE(menus[1]->text(), QStringLiteral("Cálculos"));
        const QList<QAction*> cadastro = menus[0]->menu()->actions();
        QCOMPARE(cadastro.size(), 3);
        QCOMPARE(cadastro[0]->objectName(), QStringLiteral("actTabelaSelic"));
        QVERIFY(cadastro[1]->isSeparator());
        QCOMPARE(cadastro[2]->objectName(), QStringLiteral("actSair"));
        QCOMPARE(menus[1]->menu()->actions(), QList<QAction*>{filho<QAction>("actCalcular")});
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
        for (const char* nome : {"spdbtnTabelaSelic", "spdbtnCalcular", "spdbtnSair"})
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
            TBQDataModule outro(fRelogio, fDialogos);
            outro.CDSSelic.defineNomeArquivo(fArquivo);
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

    void saidaGravaOQueFoiGuardado() {
        fRelogio.define(Datas::codificaData(2026, 4, 10));
        mostra();
        QVERIFY(fModulo->InsereRegistro(Datas::codificaData(2026, 3, 1), 0.95));
        const QByteArray antes = conteudoArquivo(fArquivo);
        fDialogos.enfileira(Resposta::Sim);
        QVERIFY(fJanela->close());
        QVERIFY(!fModulo->CDSSelic.ativa());
        QVERIFY(conteudoArquivo(fArquivo) != antes);
        TBQDataModule relido(fRelogio, fDialogos);
        relido.CDSSelic.defineNomeArquivo(fArquivo);
        relido.CDSSelic.abrir();
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
        fModulo = std::make_unique<TBQDataModule>(fRelogio, fDialogos, nullptr, locais);
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
        QTest::addColumn<bool>("calcular");
        QTest::newRow("botão Calcular") << "btnCalcular" << true;
        QTest::newRow("menu Calcular") << "actCalcular" << true;
        QTest::newRow("barra Calcular") << "spdbtnCalcular" << true;
        QTest::newRow("botão Tabela Selic") << "btnTabelaSelic" << false;
        QTest::newRow("menu Tabela Selic") << "actTabelaSelic" << false;
        QTest::newRow("barra Tabela Selic") << "spdbtnTabelaSelic" << false;
    }
    void comandosAbremJanelaNova() {
        QFETCH(QString, comando);
        QFETCH(bool, calcular);
        JanelasAbertas usada, outra;
        fJanela->defineJanelaCalcular((calcular ? usada : outra).fabrica());
        fJanela->defineJanelaTabelaSelic((calcular ? outra : usada).fabrica());
        mostra();
        const auto executa = [&] {
            if (auto* a = fJanela->findChild<QAction*>(comando))
                a->trigger();
            else
                QTest::mouseClick(fJanela->findChild<QAbstractButton*>(comando), Qt::LeftButton);
        };
        executa();
        executa();
        QCOMPARE(usada.criadas.size(), 2);
        QCOMPARE(usada.modais, 2);
        QVERIFY(usada.criadas[0].isNull());
        QVERIFY(usada.criadas[1].isNull());
        QCOMPARE(outra.criadas.size(), 0);
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
