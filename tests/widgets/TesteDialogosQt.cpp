#include "widgets/DialogosQt.h"
#include "widgets/TradutorTextosPadrao.h"

#include "apoio/CaixaNaTela.h"

#include <QDialogButtonBox>
#include <QTest>

Q_DECLARE_METATYPE(TipoDialogo)
Q_DECLARE_METATYPE(Resposta)
Q_DECLARE_METATYPE(QMessageBox::Icon)

class TesteDialogosQt : public QObject {
    Q_OBJECT

private slots:
    void init() {
        TextosPadraoTabela::restauraOriginais();
        TextosPadraoTabela::defineTituloAplicacao(QStringLiteral("Título da aplicação"));
    }
    void cleanupTestCase() { TextosPadraoTabela::restauraOriginais(); }

    void mensagemTemTituloDaAplicacaoEUmBotao() {
        TextosPadraoTabela::troca(TextoPadrao::BotaoOk, QStringLiteral("Ok"));
        auto vista = std::make_shared<CaixaVista>();
        respondeCaixa(QStringLiteral("Ok"), vista);
        DialogosQt().mensagem(QStringLiteral("Primeira linha\n\rSegunda linha"));
        QVERIFY(vista->vista);
        QCOMPARE(vista->titulo, QStringLiteral("Título da aplicação"));
        QCOMPARE(vista->texto, QStringLiteral("Primeira linha\nSegunda linha"));
        QCOMPARE(vista->icone, QMessageBox::NoIcon);
        QCOMPARE(vista->botoes, QStringList{QStringLiteral("Ok")});
    }

    void tituloEIconeSeguemOTipo_data() {
        QTest::addColumn<TipoDialogo>("tipo");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QMessageBox::Icon>("icone");
        QTest::newRow("aviso") << TipoDialogo::Aviso << "Warning" << QMessageBox::Warning;
        QTest::newRow("erro") << TipoDialogo::Erro << "Error" << QMessageBox::Critical;
        QTest::newRow("informação")
            << TipoDialogo::Informacao << "Information" << QMessageBox::Information;
        QTest::newRow("confirmação")
            << TipoDialogo::Confirmacao << "Confirm" << QMessageBox::Question;
    }
    void tituloEIconeSeguemOTipo() {
        QFETCH(TipoDialogo, tipo);
        QFETCH(QString, titulo);
        QFETCH(QMessageBox::Icon, icone);
        auto vista = std::make_shared<CaixaVista>();
        respondeCaixa(QStringLiteral("OK"), vista);
        const Resposta r = DialogosQt().dialogo(QStringLiteral("Texto"), tipo, Botoes(Botao::Ok));
        QCOMPARE(r, Resposta::Ok);
        QCOMPARE(vista->titulo, titulo);
        QCOMPARE(vista->icone, icone);
        QCOMPARE(vista->botoes, QStringList{QStringLiteral("OK")});
    }

    // The captions come from the table as it reads at the moment the dialog is shown.
    void botoesDaTabelaERespostaDoClicado_data() {
        QTest::addColumn<Botoes>("botoes");
        QTest::addColumn<QString>("clicar");
        QTest::addColumn<QStringList>("legendas");
        QTest::addColumn<Resposta>("resposta");
        const QStringList simNao{QStringLiteral("&Não"), QStringLiteral("&Sim")};
        QTest::newRow("sim") << (Botao::Sim | Botao::Nao) << "&Sim" << simNao << Resposta::Sim;
        QTest::newRow("não") << (Botao::Sim | Botao::Nao) << "&Não" << simNao << Resposta::Nao;
        QTest::newRow("cancelar") << (Botao::Ok | Botao::Cancelar) << "Cancelar"
                                  << QStringList{"Cancelar", "Ok"} << Resposta::Cancelar;
        QTest::newRow("todos") << (Botao::Todos | Botao::NaoParaTodos) << "&Todos"
                               << QStringList{"&Todos", "N&ão para Todos"} << Resposta::Todos;
        QTest::newRow("sim para todos")
            << (Botao::SimParaTodos | Botao::Abortar) << "Sim pata &Todos"
            << QStringList{"&Abortar", "Sim pata &Todos"} << Resposta::SimParaTodos;
        QTest::newRow("fechar fica em inglês")
            << (Botao::Fechar | Botao::Repetir) << "&Close" << QStringList{"&Close", "&Repetir"}
            << Resposta::Fechar;
    }
    void botoesDaTabelaERespostaDoClicado() {
        QFETCH(Botoes, botoes);
        QFETCH(QString, clicar);
        QFETCH(QStringList, legendas);
        QFETCH(Resposta, resposta);
        using namespace TextosPadraoTabela;
        troca(TextoPadrao::BotaoSim, QStringLiteral("&Sim"));
        troca(TextoPadrao::BotaoNao, QStringLiteral("&Não"));
        troca(TextoPadrao::BotaoOk, QStringLiteral("Ok"));
        troca(TextoPadrao::BotaoCancelar, QStringLiteral("Cancelar"));
        troca(TextoPadrao::BotaoTodos, QStringLiteral("&Todos"));
        troca(TextoPadrao::BotaoNaoParaTodos, QStringLiteral("N&ão para Todos"));
        troca(TextoPadrao::BotaoSimParaTodos, QStringLiteral("Sim pata &Todos"));
        troca(TextoPadrao::BotaoAbortar, QStringLiteral("&Abortar"));
        troca(TextoPadrao::BotaoRepetir, QStringLiteral("&Repetir"));
        auto vista = std::make_shared<CaixaVista>();
        respondeCaixa(clicar, vista);
        const Resposta r =
            DialogosQt().dialogo(QStringLiteral("Pergunta?"), TipoDialogo::Confirmacao, botoes);
        QCOMPARE(vista->botoes, ordenadas(legendas));
        QCOMPARE(r, resposta);
    }

    void fechadaSemBotaoNaoEhSim() {
        auto vista = std::make_shared<CaixaVista>();
        respondeCaixa(QString(), vista);
        DialogosQt d;
        QVERIFY(!d.confirma(QStringLiteral("Continuar?")));
        QVERIFY(vista->vista);
    }

    void relatorioDeErroMantemOBotaoDaPlataforma() {
        TextosPadraoTabela::troca(TextoPadrao::BotaoOk, QStringLiteral("Ok"));
        TextosPadraoTabela::troca(TextoPadrao::TituloErro, QStringLiteral("Erro"));
        auto vista = std::make_shared<CaixaVista>();
        respondeCaixa(QStringLiteral("OK"), vista);
        DialogosQt().relatorioErro(QStringLiteral("Falhou ao gravar"));
        QCOMPARE(vista->titulo, QStringLiteral("Título da aplicação"));
        QCOMPARE(vista->icone, QMessageBox::Critical);
        QCOMPARE(vista->texto, QStringLiteral("Falhou ao gravar"));
        QCOMPARE(vista->botoes, QStringList{QStringLiteral("OK")});
    }

    void tradutorLevaATabelaAosBotoesDoQt() {
        TradutorTextosPadrao tradutor;
        QVERIFY(QCoreApplication::installTranslator(&tradutor));
        TextosPadraoTabela::troca(TextoPadrao::BotaoOk, QStringLiteral("Ok"));
        TextosPadraoTabela::troca(TextoPadrao::BotaoCancelar, QStringLiteral("Cancelar"));
        TextosPadraoTabela::troca(TextoPadrao::BotaoSimParaTodos,
                                  QStringLiteral("Sim pata &Todos"));
        QDialogButtonBox caixa(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                               QDialogButtonBox::YesToAll | QDialogButtonBox::Close);
        QCOMPARE(caixa.button(QDialogButtonBox::Ok)->text(), QStringLiteral("Ok"));
        QCOMPARE(caixa.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancelar"));
        QCOMPARE(caixa.button(QDialogButtonBox::YesToAll)->text(),
                 QStringLiteral("Sim pata &Todos"));
        QCOMPARE(caixa.button(QDialogButtonBox::Close)->text(), QStringLiteral("Close"));
        QCOMPARE(QCoreApplication::translate("QMessageBox", "OK"), QStringLiteral("OK"));
        QVERIFY(QCoreApplication::removeTranslator(&tradutor));
        QCOMPARE(QDialogButtonBox(QDialogButtonBox::Ok).buttons().first()->text(),
                 QStringLiteral("OK"));
    }
};

QTEST_MAIN(TesteDialogosQt)
#include "TesteDialogosQt.moc"
