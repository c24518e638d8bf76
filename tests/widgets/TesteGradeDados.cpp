#include "widgets/DelegadoGrade.h"
#include "dialogos/Dialogos.h"
#include "apoio/Contraste.h"
#include "apoio/DialogosRoteiro.h"
#include "valores/Erros.h"
#include "widgets/GradeDados.h"
#include "valores/Formatacao.h"
#include "widgets/ModeloGrade.h"
#include "apoio/TabelaTeste.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

DataHora dia(int d, int m, int a) {
    return Datas::codificaData(a, m, d);
}

const QString Pergunta = QStringLiteral("Delete record?");

} // namespace

// The grid over a small table of three months whose only rule refuses a negative value.
class TesteGradeDados : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    DialogosRoteiro fDialogos;
    std::unique_ptr<TabelaMemoria> fTabela;
    std::unique_ptr<QWidget> fJanela;
    ModeloGrade* fModelo = nullptr;
    GradeDados* fGrade = nullptr;
    QPushButton* fOutro = nullptr;

    Campo* data() { return fTabela->campo(QStringLiteral("Data")); }
    Campo* valor() { return fTabela->campo(QStringLiteral("Valor")); }

    QStringList textos(int coluna) {
        QStringList r;
        for (int i = 0; i < fModelo->rowCount(); ++i)
            r << fModelo->index(i, coluna).data().toString();
        return r;
    }
    ModeloGrade::Indicador indicador(int linha) {
        return ModeloGrade::Indicador(
            fModelo->headerData(linha, Qt::Vertical, ModeloGrade::PapelIndicador).toInt());
    }
    void tecla(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QWidget* alvo = QApplication::focusWidget();
        QVERIFY(alvo);
        QTest::keyClick(alvo, k, m);
    }
    // Each key goes where the focus is, as typing does.
    void digita(const QString& texto) {
        for (const QChar c : texto) {
            QWidget* alvo = QApplication::focusWidget();
            QVERIFY(alvo);
            QTest::keyClick(alvo, c.toLatin1());
        }
    }
    void vaiParaColuna(int coluna) {
        fGrade->setCurrentIndex(fModelo->index(fTabela->linhaAtualExibida(), coluna));
    }

private slots:
    void init() {
        regional() = ConfiguracaoRegional::brasileira();
        fDialogos.limpa();
        const QString caminho = fPasta.filePath(QStringLiteral("meses.cds"));
        escreveTabelaTeste(caminho, {{QDate(2020, 1, 1), QStringLiteral("0.38")},
                                     {QDate(2020, 2, 1), QStringLiteral("1234.5")},
                                     {QDate(2020, 3, 1), QStringLiteral("0.34")}});
        fTabela = std::make_unique<TabelaMemoria>(QStringLiteral("Meses"));
        DefinicaoCampo d;
        d.nome = QStringLiteral("Data");
        d.tipo = TipoCampo::Data;
        d.larguraExibicao = 13;
        d.mascaraEdicao = QStringLiteral("!99/99/0000;1;_");
        fTabela->adicionaCampo(d);
        DefinicaoCampo v;
        v.nome = QStringLiteral("Valor");
        v.tipo = TipoCampo::Flutuante;
        v.larguraExibicao = 13;
        v.formatoExibicao = QStringLiteral("#,##0.000000");
        fTabela->adicionaCampo(v);
        fTabela->antesGravar = [this](TabelaMemoria&) {
            if (valor()->comoFloat() < 0) {
                fDialogos.mensagem(QStringLiteral("negativo"));
                aborta();
            }
        };
        fTabela->defineNomeArquivo(caminho);
        fTabela->abrir();

        fJanela = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(fJanela.get());
        fGrade = new GradeDados(fJanela.get());
        fOutro = new QPushButton(QStringLiteral("Outro"), fJanela.get());
        layout->addWidget(fGrade);
        layout->addWidget(fOutro);
        fModelo = new ModeloGrade(*fTabela, fJanela.get());
        new QAbstractItemModelTester(
            fModelo, QAbstractItemModelTester::FailureReportingMode::QtTest, fModelo);
        fGrade->defineFonte(fModelo, &fDialogos);
        fJanela->resize(300, 300);
        fJanela->show();
        fJanela->activateWindow();
        QApplication::setActiveWindow(fJanela.get());
        QVERIFY(QTest::qWaitForWindowActive(fJanela.get()));
        fGrade->setFocus();
        QTRY_VERIFY(fGrade->hasFocus());
    }
    void cleanup() {
        fJanela.reset();
        fTabela.reset();
    }

    // The selected cell as drawn: its text stands out from the highlight by 4.5:1, with the
    // focus in the grid and elsewhere.
    void contrasteDaSelecao_data() {
        QTest::addColumn<bool>("comFoco");
        QTest::newRow("com foco") << true;
        QTest::newRow("sem foco") << false;
    }
    void contrasteDaSelecao() {
        QFETCH(bool, comFoco);
        const QModelIndex celula = fModelo->index(1, 1);
        fGrade->setCurrentIndex(celula);
        if (!comFoco) {
            fOutro->setFocus();
            QTRY_VERIFY(fOutro->hasFocus());
        }
        QVERIFY(fGrade->selectionModel()->isSelected(celula));
        const QRect area = fGrade->visualRect(celula).adjusted(1, 1, -1, -1);
        const QImage imagem = fGrade->viewport()->grab(area).toImage();
        const CoresDoTexto cores = coresDoTexto(imagem);
        const double razao = contraste(cores.texto, cores.fundo);
        QVERIFY2(razao >= 4.5, qPrintable(QStringLiteral("%1 sobre %2: %3:1")
                                              .arg(cores.texto.name(), cores.fundo.name())
                                              .arg(razao, 0, 'f', 2)));
    }

    void mascaraDeEntrada_data() {
        QTest::addColumn<QString>("mascara");
        QTest::addColumn<QString>("esperada");
        QTest::newRow("data") << "!99/99/0000;1;_"
                              << "99/99/0000;_";
        QTest::newRow("sem branco") << "99/99/0000"
                                    << "99/99/0000";
        QTest::newRow("vazia") << ""
                               << "";
    }
    void mascaraDeEntrada() {
        QFETCH(QString, mascara);
        QFETCH(QString, esperada);
        QCOMPARE(::mascaraDeEntrada(mascara), esperada);
    }

    void colunasETextos() {
        QCOMPARE(fModelo->columnCount(), 2);
        QCOMPARE(fModelo->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Data"));
        QCOMPARE(fModelo->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Valor"));
        QCOMPARE(textos(0), (QStringList{"01/01/2020", "01/02/2020", "01/03/2020"}));
        QCOMPARE(textos(1), (QStringList{"0,380000", "1.234,500000", "0,340000"}));
        QCOMPARE(fModelo->index(1, 1).data(Qt::EditRole).toString(), QStringLiteral("1234,5"));
        QCOMPARE(indicador(0), ModeloGrade::Indicador::Atual);
        QCOMPARE(fGrade->currentIndex().row(), 0);
        // Both columns are as wide as thirteen digits.
        QCOMPARE(fGrade->columnWidth(0), fGrade->columnWidth(1));
        QVERIFY(fGrade->columnWidth(0) >= 13 * fGrade->fontMetrics().horizontalAdvance('0'));
    }

    // Moves, new rows, edits and deletions reach the views as exact row changes.
    void modeloSegueATabela() {
        fTabela->proximo();
        fTabela->inserir();
        QCOMPARE(fModelo->rowCount(), 4);
        QCOMPARE(indicador(1), ModeloGrade::Indicador::Inserindo);
        QCOMPARE(fModelo->index(1, 0).data().toString(), QString());
        fTabela->cancelar();
        QCOMPARE(fModelo->rowCount(), 3);
        fTabela->editar();
        QCOMPARE(indicador(1), ModeloGrade::Indicador::Editando);
        valor()->defineFloat(2);
        QCOMPARE(fModelo->index(1, 1).data().toString(), QStringLiteral("2,000000"));
        fTabela->gravar();
        QCOMPARE(indicador(1), ModeloGrade::Indicador::Atual);
        fDialogos.enfileira(Resposta::Sim);
        fTabela->excluir();
        QCOMPARE(textos(0), (QStringList{"01/01/2020", "01/03/2020"}));
        fTabela->defineFiltro(QStringLiteral("Data >= '01/03/2020'"));
        fTabela->defineFiltrado(true);
        QCOMPARE(textos(0), QStringList{"01/03/2020"});
        fTabela->fechar();
        QCOMPARE(fModelo->rowCount(), 0);
        QVERIFY(!fGrade->currentIndex().isValid());
    }

    void movimentosDoTeclado_data() {
        QTest::addColumn<int>("inicio");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("modificador");
        QTest::addColumn<int>("esperada");
        QTest::newRow("baixo") << 0 << int(Qt::Key_Down) << 0 << 1;
        QTest::newRow("cima") << 2 << int(Qt::Key_Up) << 0 << 1;
        QTest::newRow("cima na primeira") << 0 << int(Qt::Key_Up) << 0 << 0;
        QTest::newRow("page down") << 0 << int(Qt::Key_PageDown) << 0 << 2;
        QTest::newRow("page up") << 2 << int(Qt::Key_PageUp) << 0 << 0;
        QTest::newRow("ctrl+end") << 0 << int(Qt::Key_End) << int(Qt::ControlModifier) << 2;
        QTest::newRow("ctrl+home") << 2 << int(Qt::Key_Home) << int(Qt::ControlModifier) << 0;
    }
    void movimentosDoTeclado() {
        QFETCH(int, inicio);
        QFETCH(int, tecla);
        QFETCH(int, modificador);
        QFETCH(int, esperada);
        fTabela->irParaLinhaExibida(inicio);
        this->tecla(Qt::Key(tecla), Qt::KeyboardModifiers(modificador));
        QCOMPARE(fTabela->indiceAtual(), esperada);
        QCOMPARE(fGrade->currentIndex().row(), esperada);
        QCOMPARE(fTabela->estado(), TabelaMemoria::Estado::Navegando);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void digitarEditaEMoverGrava() {
        vaiParaColuna(1);
        digita(QStringLiteral("2,5"));
        QVERIFY(fGrade->editorAberto());
        QCOMPARE(fGrade->editorAberto()->text(), QStringLiteral("2,5"));
        QCOMPARE(fTabela->estado(), TabelaMemoria::Estado::Editando);
        QCOMPARE(indicador(0), ModeloGrade::Indicador::Editando);
        tecla(Qt::Key_Down);
        QVERIFY(!fGrade->editorAberto());
        QCOMPARE(fTabela->estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(fTabela->indiceAtual(), 1);
        QCOMPARE(fModelo->index(0, 1).data().toString(), QStringLiteral("2,500000"));
    }

    void dataComMascara() {
        tecla(Qt::Key_Insert);
        QCOMPARE(fTabela->estado(), TabelaMemoria::Estado::Inserindo);
        digita(QStringLiteral("01062020"));
        QVERIFY(fGrade->editorAberto());
        QCOMPARE(fGrade->editorAberto()->inputMask(), QStringLiteral("99/99/0000;_"));
        QCOMPARE(fGrade->editorAberto()->text(), QStringLiteral("01/06/2020"));
        tecla(Qt::Key_Tab);
        QCOMPARE(data()->comoDataHora(), dia(1, 6, 2020));
        QCOMPARE(fGrade->currentIndex().column(), 1);
    }

    void gravacaoRecusadaMantemLinha() {
        tecla(Qt::Key_End, Qt::ControlModifier);
        vaiParaColuna(1);
        digita(QStringLiteral("-1"));
        tecla(Qt::Key_Up);
        QCOMPARE(fDialogos.textos(), QStringList{QStringLiteral("negativo")});
        QCOMPARE(fTabela->estado(), TabelaMemoria::Estado::Editando);
        QCOMPARE(fTabela->indiceAtual(), 2);
        QCOMPARE(fGrade->currentIndex().row(), 2);
        QCOMPARE(valor()->comoFloat(), -1.0);
    }

    void textoIlegivelFicaNaGrade() {
        vaiParaColuna(1);
        digita(QStringLiteral("abc"));
        tecla(Qt::Key_Down);
        QCOMPARE(fDialogos.registros().size(), 1);
        QCOMPARE(fDialogos.registros()[0].tipo, DialogosRoteiro::Registro::RelatorioErro);
        QCOMPARE(fDialogos.textos()[0],
                 QStringLiteral("'abc' is not a valid floating point value"));
        QVERIFY(fGrade->editorAberto());
        QCOMPARE(fTabela->indiceAtual(), 0);
        QVERIFY(!fTabela->modificado());
        // Leaving the grid is refused the same way.
        fOutro->setFocus();
        QCOMPARE(fDialogos.registros().size(), 2);
        QTRY_COMPARE(QApplication::focusWidget(), fGrade->editorAberto());
    }

    void baixoNaUltimaAcrescenta() {
        tecla(Qt::Key_End, Qt::ControlModifier);
        tecla(Qt::Key_Down);
        QCOMPARE(fTabela->estado(), TabelaMemoria::Estado::Inserindo);
        QCOMPARE(fTabela->linhaAtualExibida(), 3);
        QCOMPARE(fGrade->currentIndex().row(), 3);
        // Again on the untouched new row: nothing more.
        tecla(Qt::Key_Down);
        QCOMPARE(fModelo->rowCount(), 4);
        tecla(Qt::Key_Up);
        QCOMPARE(fModelo->rowCount(), 3);
        QCOMPARE(fTabela->indiceAtual(), 2);
        QCOMPARE(fGrade->currentIndex().row(), 2);
    }

    void insertAntesDaAtual() {
        tecla(Qt::Key_Down);
        tecla(Qt::Key_Insert);
        QCOMPARE(fTabela->linhaAtualExibida(), 1);
        QCOMPARE(fModelo->rowCount(), 4);
        QCOMPARE(textos(0), (QStringList{"01/01/2020", "", "01/02/2020", "01/03/2020"}));
    }

    void escapeDesfazCelulaDepoisLinha() {
        tecla(Qt::Key_Down);
        vaiParaColuna(1);
        digita(QStringLiteral("7"));
        tecla(Qt::Key_Return);
        QCOMPARE(valor()->comoFloat(), 7.0);
        QVERIFY(!fGrade->editorAberto());
        digita(QStringLiteral("8"));
        tecla(Qt::Key_Escape);
        QVERIFY(fGrade->editorAberto());
        QCOMPARE(fGrade->editorAberto()->text(), QStringLiteral("7"));
        QCOMPARE(fTabela->estado(), TabelaMemoria::Estado::Editando);
        tecla(Qt::Key_Escape);
        QCOMPARE(fTabela->estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(valor()->comoFloat(), 1234.5);
        QVERIFY(!fGrade->editorAberto());
    }

    void ctrlDeleteResposta_data() {
        QTest::addColumn<Resposta>("resposta");
        QTest::addColumn<int>("restantes");
        QTest::newRow("ok") << Resposta::Ok << 2;
        QTest::newRow("cancelar") << Resposta::Cancelar << 3;
        QTest::newRow("fechada sem botão") << Resposta::Nenhuma << 2;
    }
    void ctrlDeleteResposta() {
        QFETCH(Resposta, resposta);
        QFETCH(int, restantes);
        fDialogos.enfileira(resposta);
        tecla(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(fDialogos.registros().size(), 1);
        QCOMPARE(fDialogos.registros()[0].texto, Pergunta);
        QCOMPARE(fDialogos.registros()[0].tipoDialogo, TipoDialogo::Confirmacao);
        QCOMPARE(fDialogos.registros()[0].botoes, Botao::Ok | Botao::Cancelar);
        QCOMPARE(fTabela->quantidade(), restantes);
        QCOMPARE(fModelo->rowCount(), restantes);
    }

    void sairDaGradeDescartaLinhaNovaIntacta() {
        tecla(Qt::Key_Insert);
        fOutro->setFocus();
        QTRY_VERIFY(fOutro->hasFocus());
        QCOMPARE(fTabela->estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(fModelo->rowCount(), 3);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void sairDaGradeMantemTextoDigitado() {
        vaiParaColuna(1);
        digita(QStringLiteral("9"));
        fOutro->setFocus();
        QTRY_VERIFY(fOutro->hasFocus());
        QCOMPARE(fTabela->estado(), TabelaMemoria::Estado::Editando);
        QVERIFY(fTabela->modificado());
        QCOMPARE(valor()->comoFloat(), 9.0);
        QVERIFY(!fGrade->editorAberto());
    }

    void cliqueEmOutraLinhaResolve() {
        vaiParaColuna(1);
        digita(QStringLiteral("5"));
        const QRect celula = fGrade->visualRect(fModelo->index(2, 0));
        QTest::mouseClick(fGrade->viewport(), Qt::LeftButton, {}, celula.center());
        QCOMPARE(fTabela->estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(fTabela->indiceAtual(), 2);
        QCOMPARE(fGrade->currentIndex().row(), 2);
        QCOMPARE(fModelo->index(0, 1).data().toString(), QStringLiteral("5,000000"));
    }

    void tabelaFechadaRelataErro() {
        fTabela->fechar();
        tecla(Qt::Key_Down);
        digita(QStringLiteral("1"));
        QCOMPARE(fDialogos.registros().size(), 2);
        for (const auto& r : fDialogos.registros())
            QCOMPARE(r.tipo, DialogosRoteiro::Registro::RelatorioErro);
        QCOMPARE(fDialogos.textos()[0], QStringLiteral("A tabela Meses está fechada."));
    }
};

QTEST_MAIN(TesteGradeDados)
#include "TesteGradeDados.moc"
