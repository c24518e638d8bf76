#include "app/AplicacaoBelqor.h"
#include "widgets/DialogosQt.h"
#include "widgets/TradutorTextosPadrao.h"
#include "app/UTraducao.h"

#include "apoio/CaixaNaTela.h"

#include <QTest>

#include <functional>

using MostraDialogo = std::function<void(DialogosQt&)>;
Q_DECLARE_METATYPE(TextoPadrao)
Q_DECLARE_METATYPE(MostraDialogo)

class TesteUTraducao : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(TextosPadraoTabela::texto(TextoPadrao::BotaoSim), QStringLiteral("&Yes"));
        TextosPadraoTabela::defineTituloAplicacao(AplicacaoBelqor::Titulo);
        inicializaTraducao();
    }

    void substituicoesNaOrdem_data() {
        QTest::addColumn<int>("posicao");
        QTest::addColumn<TextoPadrao>("registro");
        QTest::addColumn<QString>("texto");
        int i = 0;
        const auto linha = [&i](const char* nome, TextoPadrao r, const char* t) {
            QTest::newRow(nome) << i++ << r << QString::fromUtf8(t);
        };
        linha("&Yes", TextoPadrao::BotaoSim, "&Sim");
        linha("OK", TextoPadrao::BotaoOk, "Ok");
        linha("Cancel", TextoPadrao::BotaoCancelar, "Cancelar");
        linha("&No", TextoPadrao::BotaoNao, "&Não");
        linha("Warning", TextoPadrao::TituloAviso, "Aviso");
        linha("Error", TextoPadrao::TituloErro, "Erro");
        linha("Information", TextoPadrao::TituloInformacao, "Informação");
        linha("Confirm", TextoPadrao::TituloConfirmacao, "Confirme");
        linha("&Help", TextoPadrao::BotaoAjuda, "&Ajuda");
        linha("No help available", TextoPadrao::SemArquivoAjuda, "Não há arquivo de ajuda");
        linha("Help", TextoPadrao::TituloAjuda, "Ajuda");
        linha("&Abort", TextoPadrao::BotaoAbortar, "&Abortar");
        linha("&Retry", TextoPadrao::BotaoRepetir, "&Repetir");
        linha("&Ignore", TextoPadrao::BotaoIgnorar, "&Ignorar");
        linha("&All", TextoPadrao::BotaoTodos, "&Todos");
        linha("N&o to All", TextoPadrao::BotaoNaoParaTodos, "N&ão para Todos");
        linha("Yes to &All", TextoPadrao::BotaoSimParaTodos, "Sim pata &Todos");
    }
    void substituicoesNaOrdem() {
        QFETCH(int, posicao);
        QFETCH(TextoPadrao, registro);
        QFETCH(QString, texto);
        QCOMPARE(substituicoesPadrao().size(), std::size_t(17));
        const SubstituicaoTexto& s = substituicoesPadrao()[std::size_t(posicao)];
        QCOMPARE(s.registro, registro);
        QCOMPARE(QString::fromUtf16(s.texto), texto);
        // Applied at start-up: the table now reads the replacement.
        QCOMPARE(TextosPadraoTabela::texto(registro), texto);
    }

    void textosForaDaTabelaFicamComoEram() {
        QCOMPARE(TextosPadraoTabela::texto(TextoPadrao::BotaoFechar), QStringLiteral("&Close"));
        QCOMPARE(TextosPadraoTabela::texto(TextoPadrao::PerguntaExcluirRegistro),
                 QStringLiteral("Delete record?"));
    }

    void aplicadaUmaSoVez() {
        TrocaTextoPadrao(TextoPadrao::BotaoSim, QStringLiteral("&Yes"));
        inicializaTraducao();
        QCOMPARE(TextosPadraoTabela::texto(TextoPadrao::BotaoSim), QStringLiteral("&Yes"));
        TrocaTextoPadrao(TextoPadrao::BotaoSim, QStringLiteral("&Sim"));
    }

    // Every kind of dialog the program shows, as it reads on screen after start-up.
    void dialogosNaTela_data() {
        QTest::addColumn<MostraDialogo>("mostra");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QStringList>("botoes");
        QTest::newRow("mensagem simples")
            << MostraDialogo([](DialogosQt& d) { d.mensagem("Falha ao inserir registro"); })
            << "Falha ao inserir registro"
            << "Atualização de ICMS Vencido" << QStringList{"Ok"};
        QTest::newRow("confirmação de saída")
            << MostraDialogo([](DialogosQt& d) { d.confirma("Deseja sair do programa?"); })
            << "Deseja sair do programa?"
            << "Confirme" << QStringList{"&Não", "&Sim"};
        QTest::newRow("confirmação de exclusão")
            << MostraDialogo([](DialogosQt& d) { d.confirma("Deseja excluir este registro?"); })
            << "Deseja excluir este registro?"
            << "Confirme" << QStringList{"&Não", "&Sim"};
        QTest::newRow("pergunta da grade fica em inglês") << MostraDialogo([](DialogosQt& d) {
            d.dialogo(TextosPadraoTabela::texto(TextoPadrao::PerguntaExcluirRegistro),
                      TipoDialogo::Confirmacao, Botao::Ok | Botao::Cancelar);
        }) << "Delete record?"
                                                          << "Confirme"
                                                          << QStringList{"Cancelar", "Ok"};
        QTest::newRow("erro") << MostraDialogo([](DialogosQt& d) { d.erro("Falhou"); }) << "Falhou"
                              << "Erro" << QStringList{"Ok"};
        QTest::newRow("aviso com todos os botões de conjunto")
            << MostraDialogo([](DialogosQt& d) {
                   d.dialogo("Atenção", TipoDialogo::Aviso,
                             Botao::Sim | Botao::Nao | Botao::Todos | Botao::NaoParaTodos |
                                 Botao::SimParaTodos);
               })
            << "Atenção"
            << "Aviso"
            << QStringList{"&Não", "&Sim", "&Todos", "N&ão para Todos", "Sim pata &Todos"};
        QTest::newRow("informação com os demais botões")
            << MostraDialogo([](DialogosQt& d) {
                   d.dialogo("Veja", TipoDialogo::Informacao,
                             Botao::Abortar | Botao::Repetir | Botao::Ignorar | Botao::Ajuda |
                                 Botao::Fechar);
               })
            << "Veja"
            << "Informação" << QStringList{"&Abortar", "&Ajuda", "&Close", "&Ignorar", "&Repetir"};
        QTest::newRow("caixa do próprio Qt")
            << MostraDialogo([](DialogosQt&) {
                   QMessageBox::question(nullptr, "Confirme", "Pergunta do Qt",
                                         QMessageBox::Yes | QMessageBox::No |
                                             QMessageBox::YesToAll | QMessageBox::Cancel);
               })
            << "Pergunta do Qt"
            << "Confirme" << QStringList{"&Não", "&Sim", "Cancelar", "Sim pata &Todos"};
    }
    void dialogosNaTela() {
        QFETCH(MostraDialogo, mostra);
        QFETCH(QString, texto);
        QFETCH(QString, titulo);
        QFETCH(QStringList, botoes);
        TradutorTextosPadrao tradutor;
        QCoreApplication::installTranslator(&tradutor);
        auto vista = std::make_shared<CaixaVista>();
        respondeCaixa(QString(), vista);
        DialogosQt dialogos;
        mostra(dialogos);
        QCoreApplication::removeTranslator(&tradutor);
        QVERIFY(vista->vista);
        QCOMPARE(vista->texto, texto);
        QCOMPARE(vista->titulo, titulo);
        QCOMPARE(vista->botoes, ordenadas(botoes));
    }
};

QTEST_MAIN(TesteUTraducao)
#include "TesteUTraducao.moc"
