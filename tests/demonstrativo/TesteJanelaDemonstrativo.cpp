// The statement window driven as a user drives it: debts typed into the grid, their
// results beside them as the calculation gives them, the totals below; a debt that fails
// with its message in its row; rows pasted from a spreadsheet; the taxpayer's number
// checked beside its field; the question before typed debts are discarded.

#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "calc/Calculo.h"
#include "calc/FormataResultado.h"
#include "demonstrativo/GradeDemonstrativo.h"
#include "demonstrativo/ModeloDemonstrativo.h"
#include "demonstrativo/TfrmDemonstrativo.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

using M = ModeloDemonstrativo;

DataHora data(int ano, int mes, int dia) {
    return Datas::codificaData(ano, mes, dia);
}

// One debt as the user types it, the due date as digits for the date editor.
struct Digitado {
    QString referencia;
    QString vencimento; // ddmmaaaa
    QString valor;
};

// The amounts' sum as the totals must show it: the cents each row shows, added.
Moeda mostrado(QString texto) {
    return Formato::textoParaMoeda(texto.remove(u'.'));
}

} // namespace

class TesteJanelaDemonstrativo : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{data(2020, 6, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;
    std::unique_ptr<TfrmDemonstrativo> fJanela;

    template <typename T> T* filho(const char* nome) const {
        T* w = fJanela->findChild<T*>(QString::fromLatin1(nome));
        if (!w)
            qFatal("controle %s não encontrado", nome);
        return w;
    }
    GradeDemonstrativo* grade() const { return filho<GradeDemonstrativo>("grdDebitos"); }
    QWidget* foco() const { return QApplication::focusWidget(); }
    // A cell's text as the grid shows it.
    QString celula(int linha, int coluna) const {
        return grade()->model()->index(linha, coluna).data().toString();
    }
    QStringList resultados(int linha) const {
        QStringList r;
        for (int c = M::Dias; c <= M::Mensagem; ++c)
            r << celula(linha, c);
        return r;
    }
    QStringList totais() const {
        QStringList r;
        for (const char* nome :
             {"lblTotQuantidade", "lblTotValor", "lblTotMulta", "lblTotJuros", "lblTotTotal"})
            r << filho<QLabel>(nome)->text();
        return r;
    }

    // Keys to whatever has the focus, one at a time, as a keyboard sends them.
    void tecla(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(foco(), k, mods);
    }
    void digita(const QString& texto) {
        for (const QChar c : texto)
            QTest::keyClick(foco(), c.toLatin1());
    }
    // Goes to the cell and types into it; Return puts the text in (once the key is over,
    // as the grid's editors do).
    void digitaNaCelula(int linha, int coluna, const QString& texto) {
        const QModelIndex indice = grade()->model()->index(linha, coluna);
        grade()->setFocus();
        grade()->setCurrentIndex(indice);
        digita(texto);
        QVERIFY(grade()->indexWidget(indice));
        tecla(Qt::Key_Return);
        QTRY_VERIFY(!grade()->indexWidget(indice));
    }
    void digitaDebito(int linha, const Digitado& d) {
        digitaNaCelula(linha, M::Referencia, d.referencia);
        digitaNaCelula(linha, M::Vencimento, d.vencimento);
        digitaNaCelula(linha, M::Valor, d.valor);
    }
    // The same debt through the calculation window's computation.
    QStringList calculoUnico(const QString& valor, DataHora vencimento, DataHora pagamento) {
        const auto r =
            CalculaValores(*fDados, Formato::textoParaMoeda(valor), vencimento, pagamento);
        if (!r)
            return {};
        const ResultadoFormatado f = formataResultado(*r);
        return {f.Dias, f.Taxa, f.Multa, f.Juros, f.Total, QString()};
    }
    void defineDataPagamento(const QDate& dia) {
        filho<QDateEdit>("DTPickerDataPagamento")->setDate(dia);
    }
    // Types three debts paid on 10/04/2020.
    void digitaTres() {
        defineDataPagamento(QDate(2020, 4, 10));
        digitaDebito(0, {"12/2019", "10012020", "1000,00"});
        QTest::mouseClick(filho<QPushButton>("btnIncluir"), Qt::LeftButton);
        digitaDebito(1, {"01/2020", "10022020", "2500.50"});
        QTest::mouseClick(filho<QPushButton>("btnIncluir"), Qt::LeftButton);
        digitaDebito(2, {"02/2020", "10032020", "333,33"});
    }

private slots:
    void init() {
        fDialogos.limpa();
        fDados =
            std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(),
                                          MesesTeste{{QDate(2020, 1, 1), QStringLiteral("0.38")},
                                                     {QDate(2020, 2, 1), QStringLiteral("0.29")},
                                                     {QDate(2020, 3, 1), QStringLiteral("0.34")}});
        fJanela = std::make_unique<TfrmDemonstrativo>(*fDados, fDialogos, fRelogio);
        fJanela->show();
        QApplication::setActiveWindow(fJanela.get());
        QVERIFY(QTest::qWaitForWindowActive(fJanela.get()));
    }
    void cleanup() {
        // Let the window go without its question.
        fJanela->marcaEntregue();
        fJanela.reset();
        fDados.reset();
    }

    void abertura() {
        QCOMPARE(fJanela->windowTitle(), QStringLiteral("Demonstrativo de Débitos"));
        QCOMPARE(filho<QDateEdit>("DTPickerDataPagamento")->date(), QDate(2020, 6, 15));
        QCOMPARE(foco(), filho<QLineEdit>("edtNome"));
        QCOMPARE(grade()->model()->rowCount(), 1);
        QCOMPARE(celula(0, M::Mensagem), QString());
        QCOMPARE(totais(), QStringList({"0", "0,00", "0,00", "0,00", "0,00"}));
        QStringList botoes;
        for (const char* nome : {"btnIncluir", "btnExcluir", "btnAbrirPlanilha", "btnExportar",
                                 "btnImprimir", "btnFechar"})
            botoes << filho<QPushButton>(nome)->text() +
                          (filho<QPushButton>(nome)->isEnabled() ? "" : " (desabilitado)");
        QCOMPARE(botoes, QStringList({"&Incluir", "E&xcluir", "&Abrir planilha... (desabilitado)",
                                      "Ex&portar... (desabilitado)", "&Imprimir (desabilitado)",
                                      "&Fechar"}));
    }

    // Three debts typed: each row's results are the calculation's for the same inputs, the
    // totals their sums; a Saturday due date puts the message in its row and takes the debt
    // out of the totals; mended, it comes back.
    void tresDebitosDigitados() {
        digitaTres();
        QCOMPARE(celula(1, M::Valor), QStringLiteral("2.500,50"));
        const DataHora pagamento = data(2020, 4, 10);
        const QList<std::pair<QString, DataHora>> entradas{{"1000,00", data(2020, 1, 10)},
                                                           {"2500,50", data(2020, 2, 10)},
                                                           {"333,33", data(2020, 3, 10)}};
        Moeda valor, multa, juros, total;
        for (int i = 0; i < 3; ++i) {
            const QStringList esperado =
                calculoUnico(entradas[i].first, entradas[i].second, pagamento);
            QVERIFY(!esperado.isEmpty());
            QCOMPARE(resultados(i), esperado);
            valor = valor + mostrado(celula(i, M::Valor));
            multa = multa + mostrado(celula(i, M::Multa));
            juros = juros + mostrado(celula(i, M::Juros));
            total = total + mostrado(celula(i, M::Total));
        }
        // The calculation window's own example.
        QCOMPARE(resultados(0),
                 QStringList({"91", "1,630000 %", "120,00", "18,26", "1.138,26", ""}));
        QCOMPARE(totais(), QStringList({"3", formataReais(valor), formataReais(multa),
                                        formataReais(juros), formataReais(total)}));
        QCOMPARE(totais()[1], QStringLiteral("3.833,83"));

        digitaNaCelula(1, M::Vencimento, "07032020");
        QCOMPARE(celula(1, M::Vencimento), QStringLiteral("07/03/2020"));
        QCOMPARE(resultados(1),
                 QStringList({"", "", "", "", "", "A Data do Vencimento deve ser dia útil!"}));
        const Moeda sem = mostrado(celula(1, M::Valor));
        QCOMPARE(totais()[0], QStringLiteral("2"));
        QCOMPARE(totais()[1], formataReais(valor - sem));
        QCOMPARE(totais()[4],
                 formataReais(mostrado(celula(0, M::Total)) + mostrado(celula(2, M::Total))));

        digitaNaCelula(1, M::Vencimento, "10022020");
        QCOMPARE(totais()[0], QStringLiteral("3"));
        QCOMPARE(totais()[4], formataReais(total));
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // The amount cell takes keys as the calculation window's field does, and a badly formed
    // amount is told in its row, not in a dialog.
    void valorComoNaJanelaDeCalculo() {
        defineDataPagamento(QDate(2020, 4, 10));
        digitaNaCelula(0, M::Referencia, "12/2019");
        digitaNaCelula(0, M::Vencimento, "10012020");
        digitaNaCelula(0, M::Valor, "12.5x-0,9");
        QCOMPARE(celula(0, M::Valor), QStringLiteral("12,50"));
        digitaNaCelula(0, M::Valor, "12");
        QCOMPARE(celula(0, M::Valor), QStringLiteral("12"));
        QCOMPARE(celula(0, M::Mensagem),
                 QStringLiteral("Valor inválido! Digite o valor com as duas casas decimais."));
        QCOMPARE(totais()[0], QStringLiteral("0"));
        digitaNaCelula(0, M::Valor, "1234567,89");
        QCOMPARE(celula(0, M::Valor), QStringLiteral("1.234.567,89"));
        QCOMPARE(celula(0, M::Mensagem), QString());
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // Rows copied from a spreadsheet, with and without a header, come after the debts
    // typed, in place of the empty row; a row that cannot be read is told in one message.
    void colagem_data() {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QStringList>("referencias");
        QTest::addColumn<QStringList>("mensagens");
        QTest::newRow("sem cabeçalho")
            << "01/2020\t10/02/2020\t2.500,50\n"
               "02/2020\t07/03/2020\t333,33\n"
            << QStringList({"12/2019", "01/2020", "02/2020"}) << QStringList();
        QTest::newRow("com cabeçalho noutra ordem")
            << "Valor\tReferência\tVENCIMENTO\n2500,50\t01/2020\t2020-02-10\n"
               "R$ 333,33\t02/2020\t07/03/2020\n"
            << QStringList({"12/2019", "01/2020", "02/2020"}) << QStringList();
        QTest::newRow("com uma linha que não se lê")
            << "01/2020\t10/02/2020\t2500,50\n02/2020\t30/02/2020\t333,33\n"
            << QStringList({"12/2019", "01/2020"})
            << QStringList{QStringLiteral("Uma linha colada não foi incluída:\n\rLinha 2: Data de "
                                          "vencimento inválida: \"30/02/2020\".")};
    }
    void colagem() {
        QFETCH(QString, area);
        QFETCH(QStringList, referencias);
        QFETCH(QStringList, mensagens);
        defineDataPagamento(QDate(2020, 4, 10));
        digitaDebito(0, {"12/2019", "10012020", "1000,00"});
        QTest::mouseClick(filho<QPushButton>("btnIncluir"), Qt::LeftButton);
        QCOMPARE(grade()->model()->rowCount(), 2);
        QApplication::clipboard()->setText(area);
        grade()->setFocus();
        tecla(Qt::Key_V, Qt::ControlModifier);
        QStringList lidas;
        for (int i = 0; i < grade()->model()->rowCount(); ++i)
            lidas << celula(i, M::Referencia);
        QCOMPARE(lidas, referencias);
        QCOMPARE(fDialogos.textos(), mensagens);
        QCOMPARE(celula(1, M::Valor), QStringLiteral("2.500,50"));
        QCOMPARE(resultados(1), calculoUnico("2500,50", data(2020, 2, 10), data(2020, 4, 10)));
        if (referencias.size() == 3)
            QCOMPARE(celula(2, M::Mensagem),
                     QStringLiteral("A Data do Vencimento deve ser dia útil!"));
        QCOMPARE(totais()[0], QStringLiteral("2"));
        // The first row pasted is the current one.
        QCOMPARE(grade()->currentIndex().row(), 1);
    }

    // The taxpayer's number: refused beside its field, in both forms of the CNPJ accepted
    // and shown with its punctuation.
    void documento_data() {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("mensagem");
        QTest::addColumn<QString>("exibido");
        QTest::addColumn<QString>("guardado");
        QTest::newRow("CNPJ errado") << "11.222.333/0001-80"
                                     << "CNPJ inválido!"
                                     << "11.222.333/0001-80"
                                     << "";
        QTest::newRow("CPF errado") << "123.456.789-00"
                                    << "CPF inválido!"
                                    << "123.456.789-00"
                                    << "";
        QTest::newRow("alfanumérico com pontuação") << "12.ABC.345/01DE-35"
                                                    << ""
                                                    << "12.ABC.345/01DE-35"
                                                    << "12ABC34501DE35";
        QTest::newRow("alfanumérico sem pontuação, em minúsculas") << "12abc34501de35"
                                                                   << ""
                                                                   << "12.ABC.345/01DE-35"
                                                                   << "12ABC34501DE35";
        QTest::newRow("alfanumérico com o último dígito errado") << "12.ABC.345/01DE-36"
                                                                 << "CNPJ inválido!"
                                                                 << "12.ABC.345/01DE-36"
                                                                 << "";
        QTest::newRow("CPF") << "12345678909"
                             << ""
                             << "123.456.789-09"
                             << "12345678909";
    }
    void documento() {
        QFETCH(QString, digitado);
        QFETCH(QString, mensagem);
        QFETCH(QString, exibido);
        QFETCH(QString, guardado);
        auto* campo = filho<QLineEdit>("edtDocumento");
        campo->setFocus();
        digita(digitado);
        tecla(Qt::Key_Tab);
        QCOMPARE(foco(), filho<QLineEdit>("edtInscricaoEstadual"));
        QCOMPARE(filho<QLabel>("lblMensagemDocumento")->text(), mensagem);
        // A screen reader coming back to the field hears why.
        QCOMPARE(campo->accessibleDescription(), mensagem);
        QCOMPARE(campo->text(), exibido);
        QCOMPARE(fJanela->demonstrativo().Titular.documento(), guardado);
        QVERIFY(fDialogos.registros().isEmpty());
        // Mended, the message goes.
        campo->setFocus();
        campo->selectAll();
        digita(QStringLiteral("11222333000181"));
        tecla(Qt::Key_Tab);
        QCOMPARE(filho<QLabel>("lblMensagemDocumento")->text(), QString());
        QCOMPARE(campo->text(), QStringLiteral("11.222.333/0001-81"));
    }

    // A payment date that fails its checks is told beside it, and every debt says it.
    void dataDePagamentoRecusada() {
        defineDataPagamento(QDate(2020, 4, 10));
        digitaDebito(0, {"12/2019", "10012020", "1000,00"});
        defineDataPagamento(QDate(2020, 4, 11));
        const QString sabado = QStringLiteral("A Data do Pagamento deve ser dia útil!");
        QCOMPARE(filho<QLabel>("lblMensagemPagamento")->text(), sabado);
        QCOMPARE(celula(0, M::Mensagem), sabado);
        QCOMPARE(totais()[0], QStringLiteral("0"));
        defineDataPagamento(QDate(2020, 4, 10));
        QCOMPARE(filho<QLabel>("lblMensagemPagamento")->text(), QString());
        QCOMPARE(celula(0, M::Total), QStringLiteral("1.138,26"));
    }

    // Excluir asks the table's question and takes the current debt away with its figures.
    void exclusao() {
        digitaTres();
        grade()->setCurrentIndex(grade()->model()->index(1, M::Valor));
        fDialogos.enfileira(Resposta::Cancelar);
        QTest::mouseClick(filho<QPushButton>("btnExcluir"), Qt::LeftButton);
        QCOMPARE(grade()->model()->rowCount(), 3);
        fDialogos.enfileira(Resposta::Ok);
        QTest::mouseClick(filho<QPushButton>("btnExcluir"), Qt::LeftButton);
        QCOMPARE(grade()->model()->rowCount(), 2);
        QCOMPARE(celula(1, M::Referencia), QStringLiteral("02/2020"));
        QCOMPARE(totais()[0], QStringLiteral("2"));
        QCOMPARE(totais()[1], QStringLiteral("1.333,33"));
        QCOMPARE(fDialogos.registros().size(), 2);
    }

    // Tab moves between the cells; Ctrl+Tab and Ctrl+Shift+Tab leave the grid, from a cell
    // or from an open editor, whose text goes into its cell first.
    void saidaDaGradePeloTeclado() {
        grade()->setFocus();
        grade()->setCurrentIndex(grade()->model()->index(0, M::Referencia));
        tecla(Qt::Key_Tab);
        QCOMPARE(grade()->currentIndex().column(), int(M::Vencimento));
        QCOMPARE(foco(), grade());
        tecla(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(foco(), filho<QPushButton>("btnIncluir"));
        grade()->setFocus();
        tecla(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(foco(), filho<QDateEdit>("DTPickerDataPagamento"));

        grade()->setFocus();
        grade()->setCurrentIndex(grade()->model()->index(0, M::Referencia));
        digita(QStringLiteral("012020"));
        QVERIFY(grade()->indexWidget(grade()->currentIndex()));
        QCOMPARE(foco()->accessibleName(), QStringLiteral("Referência"));
        tecla(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(foco(), filho<QPushButton>("btnIncluir"));
        QCOMPARE(celula(0, M::Referencia), QStringLiteral("01/2020"));
        QCOMPARE(celula(0, M::Mensagem), QStringLiteral("Digite a Data de Vencimento!"));
    }

    // Alt+Down and F4 open the calendar of the payment date and of a due date's editor;
    // the keyboard then picks the day.
    void calendarioPeloTeclado_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<Qt::KeyboardModifiers>("mods");
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::AltModifier);
        QTest::newRow("F4") << int(Qt::Key_F4) << Qt::KeyboardModifiers();
    }
    void calendarioPeloTeclado() {
        QFETCH(int, tecla);
        QFETCH(Qt::KeyboardModifiers, mods);
        auto* pagamento = filho<QDateEdit>("DTPickerDataPagamento");
        pagamento->setFocus();
        QTest::keyClick(pagamento, Qt::Key(tecla), mods);
        QVERIFY(pagamento->calendarWidget()->isVisible());
        this->tecla(Qt::Key_Right);
        this->tecla(Qt::Key_Return);
        QVERIFY(!pagamento->calendarWidget()->isVisible());
        QCOMPARE(pagamento->date(), QDate(2020, 6, 16));

        // The due date's editor starts at the payment date.
        const QModelIndex vencimento = grade()->model()->index(0, M::Vencimento);
        grade()->setFocus();
        grade()->setCurrentIndex(vencimento);
        this->tecla(Qt::Key_F2);
        auto* editor = qobject_cast<QDateEdit*>(grade()->indexWidget(vencimento));
        QVERIFY(editor);
        QCOMPARE(editor->date(), QDate(2020, 6, 16));
        QCOMPARE(editor->accessibleName(), QStringLiteral("Vencimento"));
        QTest::keyClick(editor, Qt::Key(tecla), mods);
        QVERIFY(editor->calendarWidget()->isVisible());
        this->tecla(Qt::Key_Left);
        this->tecla(Qt::Key_Return);
        QTRY_VERIFY(!editor->calendarWidget()->isVisible());
        QCOMPARE(editor->date(), QDate(2020, 6, 15));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!grade()->indexWidget(vencimento));
        QCOMPARE(celula(0, M::Vencimento), QStringLiteral("15/06/2020"));
    }

    // Every caption's access letter reaches its input; the buttons' letters press them, and
    // Return or keypad Enter presses the button with the focus.
    void teclasDeAcesso_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<QString>("foco");
        QTest::newRow("Alt+N") << int(Qt::Key_N) << "edtNome";
        QTest::newRow("Alt+C") << int(Qt::Key_C) << "edtDocumento";
        QTest::newRow("Alt+E") << int(Qt::Key_E) << "edtInscricaoEstadual";
        QTest::newRow("Alt+G") << int(Qt::Key_G) << "DTPickerDataPagamento";
        QTest::newRow("Alt+D") << int(Qt::Key_D) << "grdDebitos";
    }
    void teclasDeAcesso() {
        QFETCH(int, tecla);
        QFETCH(QString, foco);
        filho<QPushButton>("btnFechar")->setFocus();
        this->tecla(Qt::Key(tecla), Qt::AltModifier);
        QCOMPARE(this->foco()->objectName(), foco);
    }
    void botoesPeloTeclado() {
        filho<QLineEdit>("edtNome")->setFocus();
        // A button's access letter clicks it as a mouse would, once the press is seen.
        tecla(Qt::Key_I, Qt::AltModifier);
        QTRY_COMPARE(grade()->model()->rowCount(), 2);
        // The new row's first cell is the current one, in the grid.
        QCOMPARE(foco(), grade());
        QCOMPARE(grade()->currentIndex(), grade()->model()->index(1, M::Referencia));
        for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
            filho<QPushButton>("btnIncluir")->setFocus();
            tecla(enter, enter == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        }
        QCOMPARE(grade()->model()->rowCount(), 4);
        fDialogos.enfileira(Resposta::Ok);
        tecla(Qt::Key_X, Qt::AltModifier);
        QTRY_COMPARE(grade()->model()->rowCount(), 3);
        grade()->setFocus();
        tecla(Qt::Key_Insert);
        QCOMPARE(grade()->model()->rowCount(), 4);
        fDialogos.enfileira(Resposta::Ok);
        tecla(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(grade()->model()->rowCount(), 3);
        QCOMPARE(fDialogos.respostasPendentes(), 0);
        // Nothing typed in them: closing asks nothing.
        tecla(Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(!fJanela->isVisible());
        QCOMPARE(fDialogos.registros().size(), 2);
    }

    // Closing with debts typed and neither exported nor printed asks first; No keeps the
    // window and its debts, Yes discards them. Nothing typed, or all of it delivered,
    // closes without a word.
    void fechamento_data() {
        QTest::addColumn<int>("caminho"); // 0 Fechar, 1 Escape, 2 from outside
        QTest::addColumn<bool>("digita");
        QTest::addColumn<bool>("entregue");
        QTest::addColumn<QList<Resposta>>("respostas");
        QTest::addColumn<bool>("fechou");
        const QList<Resposta> manter{Resposta::Nao}, descartar{Resposta::Sim};
        for (int caminho = 0; caminho < 3; ++caminho) {
            const char* nome = caminho == 0 ? "Fechar" : caminho == 1 ? "Escape" : "de fora";
            QTest::addRow("%s, mantém", nome) << caminho << true << false << manter << false;
            QTest::addRow("%s, descarta", nome) << caminho << true << false << descartar << true;
            QTest::addRow("%s, nada digitado", nome)
                << caminho << false << false << QList<Resposta>() << true;
            QTest::addRow("%s, já entregue", nome)
                << caminho << true << true << QList<Resposta>() << true;
        }
    }
    void fechamento() {
        QFETCH(int, caminho);
        QFETCH(bool, digita);
        QFETCH(bool, entregue);
        QFETCH(QList<Resposta>, respostas);
        QFETCH(bool, fechou);
        if (digita)
            digitaNaCelula(0, M::Valor, "1000,00");
        if (entregue)
            fJanela->marcaEntregue();
        for (const Resposta r : respostas)
            fDialogos.enfileira(r);
        if (caminho == 0)
            QTest::mouseClick(filho<QPushButton>("btnFechar"), Qt::LeftButton);
        else if (caminho == 1)
            QTest::keyClick(filho<QLineEdit>("edtNome"), Qt::Key_Escape);
        else
            fJanela->close();
        QCOMPARE(fJanela->isVisible(), !fechou);
        QCOMPARE(fDialogos.respostasPendentes(), 0);
        QCOMPARE(fDialogos.textos(), respostas.isEmpty()
                                         ? QStringList()
                                         : QStringList{TfrmDemonstrativo::perguntaDescartar()});
        if (!respostas.isEmpty()) {
            QCOMPARE(fDialogos.registros()[0].tipoDialogo, TipoDialogo::Confirmacao);
            QCOMPARE(fDialogos.registros()[0].botoes, Botao::Sim | Botao::Nao);
        }
        if (!fechou)
            QCOMPARE(celula(0, M::Valor), QStringLiteral("1.000,00"));
    }
};

QTEST_MAIN(TesteJanelaDemonstrativo)
#include "TesteJanelaDemonstrativo.moc"
