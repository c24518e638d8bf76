#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "ratetable/TfrmTabSelic.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "widgets/GradeDados.h"
#include "widgets/ModeloGrade.h"
#include "apoio/TabelaDistribuida.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <memory>

namespace {

const QString NaoPermitido = QStringLiteral(
    "Não é permitido excluir registros da Tabela de Selic com data anterior a 01/12/2013!");
const QString Excluir = QStringLiteral("Deseja excluir este registro?");
const QString NaoDivulgada =
    QStringLiteral("A Selic de 03/2020 ainda não foi divulgada! A data de hoje é 15/03/2020");

DataHora dia(int d, int m, int a) {
    return Datas::codificaData(a, m, d);
}

enum Coluna { ColunaData = 0, ColunaValor = 1 };

} // namespace

// The rate table window over a table of four months, on 15 March 2020:
// row 0 01/11/2013, row 1 01/12/2013, row 2 01/01/2014, row 3 01/01/2020.
class TesteTfrmTabSelic : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{dia(15, 3, 2020)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;
    std::unique_ptr<TfrmTabSelic> fJanela;

    TabelaMemoria& tabela() { return fDados->CDSSelic; }
    GradeDados* grade() {
        return fJanela->findChild<GradeDados*>(QStringLiteral("DBGridTabSelic"));
    }
    QAction* acao(const char* nome) { return fJanela->findChild<QAction*>(QLatin1String(nome)); }

    void abreJanela() {
        fJanela = std::make_unique<TfrmTabSelic>(*fDados, fDialogos);
        new QAbstractItemModelTester(fJanela->dsSelic,
                                     QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     fJanela.get());
        fJanela->show();
        fJanela->activateWindow();
        QApplication::setActiveWindow(fJanela.get());
        QVERIFY(QTest::qWaitForWindowActive(fJanela.get()));
    }
    void fechaPorBotao() {
        auto* fechar = fJanela->findChild<QPushButton*>(QStringLiteral("btnFechar"));
        QTest::mouseClick(fechar, Qt::LeftButton);
        QVERIFY(!fJanela->isVisible());
        fJanela.reset();
    }
    // The rate table shipped with the program (01/1998 to 09/2026) in place of the four months.
    void usaTabelaDistribuida() { fDados->abreArquivo(copiaTabelaDistribuida(fPasta.path())); }
    int linhaDoMes(const QString& data) {
        for (int linha = 0; linha < fJanela->dsSelic->rowCount(); ++linha)
            if (celula(linha, ColunaData) == data)
                return linha;
        return -1;
    }
    // Each key goes where the focus is, as typing does.
    void digita(const QString& texto) {
        for (const QChar c : texto) {
            QWidget* alvo = QApplication::focusWidget();
            QVERIFY(alvo);
            QTest::keyClick(alvo, c.toLatin1());
        }
    }
    void tecla(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QWidget* alvo = QApplication::focusWidget();
        QVERIFY(alvo);
        QTest::keyClick(alvo, k, m);
    }
    void vaiParaColuna(int coluna) {
        grade()->setCurrentIndex(fJanela->dsSelic->index(tabela().linhaAtualExibida(), coluna));
    }
    void vaiParaLinha(int linha) {
        tabela().irParaLinhaExibida(linha);
        QCOMPARE(grade()->currentIndex().row(), linha);
    }
    QString celula(int linha, int coluna) {
        return fJanela->dsSelic->index(linha, coluna).data().toString();
    }
    // A new row typed into the grid: its date, then its value.
    void digitaLinhaNova(const QString& data, const QString& valor) {
        fJanela->actIncluirExecute();
        vaiParaColuna(ColunaData);
        digita(data);
        tecla(Qt::Key_Tab);
        digita(valor);
    }

private slots:
    void init() {
        fDialogos.limpa();
        fRelogio.define(dia(15, 3, 2020));
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(),
                                               mesesEmTornoDoLimite());
    }
    void cleanup() {
        fJanela.reset();
        fDados.reset();
    }

    void aparencia() {
        abreJanela();
        QCOMPARE(fJanela->objectName(), QStringLiteral("frmTabSelic"));
        QCOMPARE(fJanela->windowTitle(), QStringLiteral("Tabela Selic"));
        QCOMPARE(fJanela->size(), QSize(277, 353));
        QCOMPARE(fJanela->minimumSize(), fJanela->maximumSize());
        const Qt::WindowFlags f = fJanela->windowFlags();
        QVERIFY(f & Qt::CustomizeWindowHint);
        QVERIFY(!(f & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                       Qt::WindowSystemMenuHint)));
        QCOMPARE(grade()->geometry(), QRect(4, 4, 271, 257));
        QCOMPARE(fJanela->dsSelic->headerData(0, Qt::Horizontal).toString(), "Data");
        QCOMPARE(fJanela->dsSelic->headerData(1, Qt::Horizontal).toString(), "Valor");
        QCOMPARE(celula(3, ColunaValor), QStringLiteral("0,380000"));
        QCOMPARE(celula(3, ColunaData), QStringLiteral("01/01/2020"));
        QCOMPARE(fJanela->findChild<QPushButton*>(QStringLiteral("btnFechar"))->text(),
                 QStringLiteral("&Fechar"));
    }

    void botoesEDicas_data() {
        QTest::addColumn<QString>("botao");
        QTest::addColumn<QString>("acao");
        QTest::addColumn<QString>("dica");
        QTest::addColumn<QRect>("lugar");
        QTest::newRow("primeiro") << "btnFirst"
                                  << "actFirst"
                                  << "Primeiro" << QRect(32, 266, 23, 22);
        QTest::newRow("anterior") << "btnPrior"
                                  << "actPrior"
                                  << "Anterior" << QRect(76, 266, 23, 22);
        QTest::newRow("próximo") << "btnNext"
                                 << "actNext"
                                 << "Próximo" << QRect(120, 266, 23, 22);
        QTest::newRow("último") << "SpeedButton4"
                                << "actLast"
                                << "Último" << QRect(164, 266, 23, 22);
        QTest::newRow("incluir") << "btnIncluir"
                                 << "actIncluir"
                                 << "Incluir" << QRect(4, 3, 23, 22);
        QTest::newRow("excluir") << "SpeedButton1"
                                 << "actExcluir"
                                 << "Excluir" << QRect(32, 3, 23, 22);
        QTest::newRow("fechar") << "btnFechar"
                                << "actFechar"
                                << "Fechar" << QRect(188, 4, 84, 25);
    }
    void botoesEDicas() {
        QFETCH(QString, botao);
        QFETCH(QString, acao);
        QFETCH(QString, dica);
        QFETCH(QRect, lugar);
        abreJanela();
        auto* b = fJanela->findChild<QAbstractButton*>(botao);
        QVERIFY(b);
        QCOMPARE(b->geometry(), lugar);
        QCOMPARE(b->toolTip(), dica);
        QVERIFY(!b->icon().isNull());
        auto* a = fJanela->findChild<QAction*>(acao);
        QVERIFY(a);
        QCOMPARE(a->toolTip(), dica);
        QVERIFY(a->isEnabled());
    }

    void abreNaUltimaLinhaComFoco() {
        tabela().primeiro();
        abreJanela();
        QCOMPARE(tabela().indiceAtual(), 3);
        QCOMPARE(grade()->currentIndex().row(), 3);
        QCOMPARE(fJanela->dsSelic->headerData(3, Qt::Vertical, ModeloGrade::PapelIndicador).toInt(),
                 int(ModeloGrade::Indicador::Atual));
        QTRY_VERIFY(grade()->hasFocus());
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // Tab moves between the cells; Ctrl+Tab and Ctrl+Shift+Tab leave the grid for Fechar,
    // from a cell or from the open cell editor, which is named after its column.
    void tecladoSaiDaGrade_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<Qt::KeyboardModifiers>("mods");
        QTest::addColumn<bool>("editando");
        const auto ctrl = Qt::KeyboardModifiers(Qt::ControlModifier);
        const auto ctrlShift = Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << ctrl << false;
        QTest::newRow("Ctrl+Shift+Tab") << int(Qt::Key_Backtab) << ctrlShift << false;
        QTest::newRow("Ctrl+Tab no editor") << int(Qt::Key_Tab) << ctrl << true;
        QTest::newRow("Ctrl+Shift+Tab no editor") << int(Qt::Key_Backtab) << ctrlShift << true;
    }
    void tecladoSaiDaGrade() {
        QFETCH(int, tecla);
        QFETCH(Qt::KeyboardModifiers, mods);
        QFETCH(bool, editando);
        abreJanela();
        QTRY_VERIFY(grade()->hasFocus());
        vaiParaColuna(ColunaData);
        QTest::keyClick(grade(), Qt::Key_Tab);
        QCOMPARE(grade()->currentIndex().column(), int(ColunaValor));
        QVERIFY(grade()->hasFocus());
        if (editando) {
            QTest::keyClick(grade(), Qt::Key_F2);
            QLineEdit* editor = grade()->editorAberto();
            QVERIFY(editor);
            QCOMPARE(QAccessible::queryAccessibleInterface(editor)->text(QAccessible::Name),
                     QStringLiteral("Valor"));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(tecla), mods);
        QCOMPARE(QApplication::focusWidget(), fJanela->findChild<QPushButton*>("btnFechar"));
        QVERIFY(!grade()->editorAberto());
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void navegacao_data() {
        QTest::addColumn<int>("inicio");
        QTest::addColumn<QString>("acao");
        QTest::addColumn<int>("esperada");
        QTest::newRow("anterior na primeira") << 0 << "actPrior" << 0;
        QTest::newRow("próximo na última") << 3 << "actNext" << 3;
        QTest::newRow("anterior") << 3 << "actPrior" << 2;
        QTest::newRow("próximo") << 1 << "actNext" << 2;
        QTest::newRow("primeiro") << 3 << "actFirst" << 0;
        QTest::newRow("último") << 0 << "actLast" << 3;
    }
    void navegacao() {
        QFETCH(int, inicio);
        QFETCH(QString, acao);
        QFETCH(int, esperada);
        abreJanela();
        vaiParaLinha(inicio);
        this->acao(qPrintable(acao))->trigger();
        QCOMPARE(tabela().indiceAtual(), esperada);
        QCOMPARE(grade()->currentIndex().row(), esperada);
        QCOMPARE(tabela().quantidade(), 4);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void linhaNovaIntactaSomeNoAnterior() {
        abreJanela();
        QTest::mouseClick(fJanela->findChild<QToolButton*>(QStringLiteral("btnIncluir")),
                          Qt::LeftButton);
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Inserindo);
        QCOMPARE(fJanela->dsSelic->rowCount(), 5);
        QCOMPARE(tabela().linhaAtualExibida(), 3);
        QCOMPARE(celula(3, ColunaData), QStringLiteral("01/02/2020"));
        QCOMPARE(celula(3, ColunaValor), QString());
        QCOMPARE(fJanela->dsSelic->headerData(3, Qt::Vertical, ModeloGrade::PapelIndicador).toInt(),
                 int(ModeloGrade::Indicador::Inserindo));
        fJanela->actPriorExecute();
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(fJanela->dsSelic->rowCount(), 4);
        QCOMPARE(tabela().quantidade(), 4);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void mesNaoDivulgadoFicaPendente_data() {
        QTest::addColumn<QString>("saida");
        QTest::newRow("botão anterior") << "actPrior";
        QTest::newRow("botão primeiro") << "actFirst";
        QTest::newRow("tecla para cima") << "Up";
        QTest::newRow("tecla para baixo") << "Down";
        QTest::newRow("ctrl+end") << "CtrlEnd";
    }
    void mesNaoDivulgadoFicaPendente() {
        QFETCH(QString, saida);
        abreJanela();
        digitaLinhaNova(QStringLiteral("01032020"), QStringLiteral("0,5"));
        if (saida == QLatin1String("Up"))
            tecla(Qt::Key_Up);
        else if (saida == QLatin1String("Down"))
            tecla(Qt::Key_Down);
        else if (saida == QLatin1String("CtrlEnd"))
            tecla(Qt::Key_End, Qt::ControlModifier);
        else
            acao(qPrintable(saida))->trigger();
        QCOMPARE(fDialogos.textos(), QStringList{NaoDivulgada});
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Inserindo);
        QVERIFY(tabela().modificado());
        QCOMPARE(tabela().quantidade(), 4);
        QCOMPARE(grade()->currentIndex().row(), tabela().linhaAtualExibida());
        QCOMPARE(celula(tabela().linhaAtualExibida(), ColunaData), QStringLiteral("01/03/2020"));
        QCOMPARE(celula(tabela().linhaAtualExibida(), ColunaValor), QStringLiteral("0,500000"));
        // Escape abandons it.
        tecla(Qt::Key_Escape);
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(tabela().quantidade(), 4);
        QCOMPARE(fJanela->dsSelic->rowCount(), 4);
        QCOMPARE(fDialogos.registros().size(), 1);
    }

    void mesEncerradoEhGravado() {
        abreJanela();
        digitaLinhaNova(QStringLiteral("01022020"), QStringLiteral("0,29"));
        fJanela->actLastExecute();
        QVERIFY(fDialogos.registros().isEmpty());
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(tabela().quantidade(), 5);
        // The new row went before the row that was current.
        QCOMPARE(celula(3, ColunaData), QStringLiteral("01/02/2020"));
        QCOMPARE(celula(3, ColunaValor), QStringLiteral("0,290000"));
        QCOMPARE(celula(4, ColunaData), QStringLiteral("01/01/2020"));
    }

    void edicaoProtegidaMarcaAData() {
        abreJanela();
        vaiParaLinha(1);
        vaiParaColuna(ColunaValor);
        digita(QStringLiteral("5"));
        QVERIFY(!grade()->editorAberto());
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(celula(1, ColunaValor), QStringLiteral("0,790000"));
        QVERIFY(fDialogos.registros().isEmpty());
        QVERIFY(fDados->CDSSelicData->somenteLeitura());

        // 01/01/2014: the date cannot be changed, the value can.
        fJanela->actNextExecute();
        vaiParaColuna(ColunaData);
        digita(QStringLiteral("0"));
        QVERIFY(!grade()->editorAberto());
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        vaiParaColuna(ColunaValor);
        digita(QStringLiteral("0,9"));
        QVERIFY(grade()->editorAberto());
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Editando);
        fJanela->actNextExecute();
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(celula(2, ColunaValor), QStringLiteral("0,900000"));
        QCOMPARE(celula(2, ColunaData), QStringLiteral("01/01/2014"));

        // A new row frees the date column again.
        fJanela->actIncluirExecute();
        QVERIFY(!fDados->CDSSelicData->somenteLeitura());
        vaiParaColuna(ColunaData);
        digita(QStringLiteral("0"));
        QVERIFY(grade()->editorAberto());
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void exclusao_data() {
        QTest::addColumn<int>("linha");
        QTest::addColumn<bool>("pelaGrade");
        QTest::addColumn<QList<Resposta>>("respostas");
        QTest::addColumn<QStringList>("mensagens");
        QTest::addColumn<int>("restantes");
        QTest::newRow("até 01/12/2013")
            << 1 << false << QList<Resposta>{} << QStringList{NaoPermitido} << 4;
        QTest::newRow("pergunta, não")
            << 2 << false << QList<Resposta>{Resposta::Nao} << QStringList{Excluir} << 4;
        QTest::newRow("pergunta, sim")
            << 2 << false << QList<Resposta>{Resposta::Sim} << QStringList{Excluir} << 3;
        QTest::newRow("grade, cancelar") << 2 << true << QList<Resposta>{Resposta::Cancelar}
                                         << QStringList{QStringLiteral("Delete record?")} << 4;
        QTest::newRow("grade, ok, não")
            << 2 << true << QList<Resposta>{Resposta::Ok, Resposta::Nao}
            << QStringList{QStringLiteral("Delete record?"), Excluir} << 4;
        QTest::newRow("grade, ok, sim")
            << 3 << true << QList<Resposta>{Resposta::Ok, Resposta::Sim}
            << QStringList{QStringLiteral("Delete record?"), Excluir} << 3;
        QTest::newRow("grade, até 01/12/2013")
            << 0 << true << QList<Resposta>{Resposta::Ok}
            << QStringList{QStringLiteral("Delete record?"), NaoPermitido} << 4;
    }
    void exclusao() {
        QFETCH(int, linha);
        QFETCH(bool, pelaGrade);
        QFETCH(QList<Resposta>, respostas);
        QFETCH(QStringList, mensagens);
        QFETCH(int, restantes);
        abreJanela();
        vaiParaLinha(linha);
        const QString data = celula(linha, ColunaData);
        for (Resposta r : respostas)
            fDialogos.enfileira(r);
        if (pelaGrade)
            tecla(Qt::Key_Delete, Qt::ControlModifier);
        else
            fJanela->actExcluirExecute();
        QCOMPARE(fDialogos.textos(), mensagens);
        QCOMPARE(fDialogos.respostasPendentes(), 0);
        QCOMPARE(tabela().quantidade(), restantes);
        QCOMPARE(fJanela->dsSelic->rowCount(), restantes);
        if (restantes == 4)
            QCOMPARE(celula(linha, ColunaData), data);
    }

    void excluirLinhaNovaSemPergunta() {
        abreJanela();
        fJanela->actIncluirExecute();
        fJanela->actExcluirExecute();
        QVERIFY(fDialogos.registros().isEmpty());
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(fJanela->dsSelic->rowCount(), 4);
    }

    void fecharDescartaLinhaNovaIntacta() {
        abreJanela();
        fJanela->actIncluirExecute();
        fechaPorBotao();
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(tabela().quantidade(), 4);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // A close asked from outside (the title bar, Alt+F4) leaves the table as "Fechar" does.
    void fechamentoDeForaComoFechar_data() {
        QTest::addColumn<bool>("digita");
        QTest::addColumn<TabelaMemoria::Estado>("estado");
        QTest::newRow("linha nova intacta some") << false << TabelaMemoria::Estado::Navegando;
        QTest::newRow("valor digitado fica pendente") << true << TabelaMemoria::Estado::Inserindo;
    }
    void fechamentoDeForaComoFechar() {
        QFETCH(bool, digita);
        QFETCH(TabelaMemoria::Estado, estado);
        abreJanela();
        if (digita)
            digitaLinhaNova(QStringLiteral("01022020"), QStringLiteral("0,5"));
        else
            fJanela->actIncluirExecute();
        QVERIFY(fJanela->windowHandle()->close());
        QVERIFY(!fJanela->isVisible());
        QCOMPARE(tabela().estado(), estado);
        QCOMPARE(tabela().quantidade(), 4);
        if (digita)
            QCOMPARE(fDados->CDSSelicValor->comoFloat(), 0.5);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // The row indicator column keeps one width on every row, the columns one place, in the
    // middle of the shipped table as at its ends, for each of its marks.
    void indicadorComLarguraFixa_data() {
        QTest::addColumn<QString>("mes");
        QTest::addColumn<QString>("mudanca");
        QTest::addColumn<int>("indicador");
        QTest::newRow("01/01/2008 atual") << "01/01/2008"
                                          << "" << int(ModeloGrade::Indicador::Atual);
        QTest::newRow("01/01/2008 inclusão") << "01/01/2008"
                                             << "incluir" << int(ModeloGrade::Indicador::Inserindo);
        QTest::newRow("01/12/2013 atual") << "01/12/2013"
                                          << "" << int(ModeloGrade::Indicador::Atual);
        QTest::newRow("01/01/2014 edição") << "01/01/2014"
                                           << "editar" << int(ModeloGrade::Indicador::Editando);
        QTest::newRow("primeira linha") << "01/01/1998"
                                        << "" << int(ModeloGrade::Indicador::Atual);
    }
    void indicadorComLarguraFixa() {
        QFETCH(QString, mes);
        QFETCH(QString, mudanca);
        QFETCH(int, indicador);
        usaTabelaDistribuida();
        abreJanela();
        QHeaderView* indicadores = grade()->verticalHeader();
        QApplication::processEvents();
        const int largura = indicadores->width();
        const int xColunas = grade()->viewport()->x();
        // Wide enough for the widest mark.
        const QFontMetrics medidas(indicadores->font());
        for (const QString& marca :
             {QStringLiteral("\u25B6"), QStringLiteral("I"), QStringLiteral("*")})
            QVERIFY2(largura > medidas.horizontalAdvance(marca), qPrintable(marca));

        const int linha = linhaDoMes(mes);
        QVERIFY(linha >= 0);
        vaiParaLinha(linha);
        if (mudanca == QStringLiteral("incluir")) {
            fJanela->actIncluirExecute();
        } else if (mudanca == QStringLiteral("editar")) {
            vaiParaColuna(ColunaValor);
            digita(QStringLiteral("9"));
        }
        QApplication::processEvents();
        const int atual = tabela().linhaAtualExibida();
        QCOMPARE(
            fJanela->dsSelic->headerData(atual, Qt::Vertical, ModeloGrade::PapelIndicador).toInt(),
            indicador);
        QCOMPARE(indicadores->width(), largura);
        QCOMPARE(grade()->viewport()->x(), xColunas);
    }

    void pendenteSobreviveAJanela_data() {
        QTest::addColumn<bool>("linhaNova");
        QTest::addColumn<QStringList>("mensagens");
        QTest::addColumn<TabelaMemoria::Estado>("estadoAoReabrir");
        QTest::newRow("edição gravada")
            << false << QStringList{} << TabelaMemoria::Estado::Navegando;
        QTest::newRow("linha nova recusada")
            << true << QStringList{NaoDivulgada} << TabelaMemoria::Estado::Inserindo;
    }
    void pendenteSobreviveAJanela() {
        QFETCH(bool, linhaNova);
        QFETCH(QStringList, mensagens);
        QFETCH(TabelaMemoria::Estado, estadoAoReabrir);
        abreJanela();
        if (linhaNova) {
            digitaLinhaNova(QStringLiteral("01032020"), QStringLiteral("0,5"));
        } else {
            vaiParaColuna(ColunaValor);
            digita(QStringLiteral("0,45"));
        }
        const TabelaMemoria::Estado estado = tabela().estado();
        fechaPorBotao();
        // The window neither stored nor dropped the change; the typed text reached the field.
        QCOMPARE(tabela().estado(), estado);
        QVERIFY(tabela().modificado());
        QCOMPARE(fDados->CDSSelicValor->comoFloat(), linhaNova ? 0.5 : 0.45);
        QVERIFY(fDialogos.registros().isEmpty());

        abreJanela();
        QCOMPARE(fDialogos.textos(), mensagens);
        QCOMPARE(tabela().estado(), estadoAoReabrir);
        QCOMPARE(grade()->currentIndex().row(), tabela().linhaAtualExibida());
        if (!linhaNova) {
            QCOMPARE(tabela().indiceAtual(), 3);
            QCOMPARE(celula(3, ColunaValor), QStringLiteral("0,450000"));
        }
    }

    void textoIlegivelRelatado() {
        abreJanela();
        vaiParaColuna(ColunaData);
        fJanela->actIncluirExecute();
        digita(QStringLiteral("99"));
        fJanela->actPriorExecute();
        QCOMPARE(fDialogos.registros().size(), 1);
        QCOMPARE(fDialogos.registros()[0].tipo, DialogosRoteiro::Registro::RelatorioErro);
        QCOMPARE(fDialogos.textos()[0], QStringLiteral("'99//' is not a valid date"));
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Inserindo);
        QVERIFY(grade()->editorAberto());
        QTRY_VERIFY(grade()->isAncestorOf(QApplication::focusWidget()));
    }

    void tabelaFechada() {
        tabela().fechar();
        abreJanela();
        const QString fechada = QStringLiteral("A tabela CDSSelic está fechada.");
        QCOMPARE(fDialogos.textos(), QStringList{fechada});
        QCOMPARE(fDialogos.registros()[0].tipo, DialogosRoteiro::Registro::RelatorioErro);
        QCOMPARE(fJanela->dsSelic->rowCount(), 0);
        for (const char* nome :
             {"actFirst", "actPrior", "actNext", "actLast", "actIncluir", "actExcluir"})
            acao(nome)->trigger();
        QCOMPARE(fDialogos.textos(), QStringList(7, fechada));
        fDialogos.limpa();
        acao("actFechar")->trigger();
        QVERIFY(!fJanela->isVisible());
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void excluirNaTabelaVaziaRelataErro() {
        tabela().fechar();
        fDados->escreveTabela({});
        tabela().abrir();
        abreJanela();
        fJanela->actExcluirExecute();
        QCOMPARE(fDialogos.registros().size(), 1);
        QCOMPARE(fDialogos.registros()[0].tipo, DialogosRoteiro::Registro::RelatorioErro);
        QCOMPARE(fDialogos.textos()[0],
                 QStringLiteral("Não é possível excluir: a tabela CDSSelic está vazia."));
        QCOMPARE(tabela().quantidade(), 0);
    }

    void abreModalENovaACadaVez() {
        QList<QPointer<QWidget>> vistas;
        for (int vez = 0; vez < 2; ++vez) {
            QTimer::singleShot(0, this, [&] {
                auto* janela = qobject_cast<TfrmTabSelic*>(QApplication::activeModalWidget());
                QVERIFY(janela);
                vistas << janela;
                QVERIFY(janela->isModal());
                janela->actFecharExecute();
            });
            abreJanelaTabelaSelic(nullptr, *fDados, fDialogos);
        }
        QCOMPARE(vistas.size(), 2);
        // Each window was destroyed when it closed.
        QVERIFY(vistas[0].isNull());
        QVERIFY(vistas[1].isNull());
    }
};

QTEST_MAIN(TesteTfrmTabSelic)
#include "TesteTfrmTabSelic.moc"
