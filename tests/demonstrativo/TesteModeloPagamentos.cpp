// The partial payments of the debt shown, as the panel's table: each payment as typed
// beside its own allocation, whatever order the payments were typed in; an edit here
// calculates that debt alone; the table follows its debt when others come and go, and
// empties when its debt goes.

#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "apoio/TabelaDistribuida.h"
#include "calc/FormataResultado.h"
#include "demonstrativo/CelulasDemonstrativo.h"
#include "demonstrativo/ModeloDemonstrativo.h"
#include "demonstrativo/ModeloPagamentos.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

DataHora data(int ano, int mes, int dia) {
    return Datas::codificaData(ano, mes, dia);
}

using M = ModeloDemonstrativo;
using P = ModeloPagamentos;

} // namespace

class TesteModeloPagamentos : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{data(2020, 6, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;
    std::unique_ptr<M> fDebitos;
    std::unique_ptr<P> fPagamentos;

    QString debito(int coluna) const {
        return fDebitos->index(fPagamentos->debito(), coluna).data().toString();
    }
    // A payment's row as shown: date, amount, T, principal, penalty, interest, in excess.
    QStringList linha(int linha) const {
        QStringList r;
        for (int c = 0; c < P::Colunas; ++c)
            r << fPagamentos->index(linha, c).data().toString();
        return r;
    }
    // What settling the first debt's principal would cost on dia: the single calculation.
    QString custo(const char* principal, DataHora dia) const {
        const auto r =
            CalculaValores(*fDados, Formato::textoParaMoeda(QString::fromLatin1(principal)),
                           data(2020, 1, 10), dia);
        return r ? formataReais(r->Total) : QString();
    }
    void digita(int linha, int coluna, const QVariant& valor) {
        QVERIFY(fPagamentos->setData(fPagamentos->index(linha, coluna), valor));
    }

private slots:
    // On the shipped table: two debts paid on 10/06/2020, the first due 10/01/2020, shown.
    void init() {
        fDialogos.limpa();
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        fDados->abreArquivo(copiaTabelaDistribuida(fPasta.path()));
        fDebitos = std::make_unique<M>(*fDados);
        fDebitos->defineDataPagamento(data(2020, 6, 10));
        fDebitos->insereDebitos(
            0, {{QStringLiteral("12/2019"), data(2020, 1, 10), QStringLiteral("1000,00"), {}},
                {QStringLiteral("01/2020"), data(2020, 2, 10), QStringLiteral("200,00"), {}}});
        fPagamentos = std::make_unique<P>(*fDebitos);
        fPagamentos->defineDebito(0);
    }
    void cleanup() {
        fPagamentos.reset();
        fDebitos.reset();
        fDados.reset();
    }

    void colunas() {
        QStringList titulos;
        for (int c = 0; c < fPagamentos->columnCount(); ++c)
            titulos << fPagamentos->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titulos, QStringList({"Data", "Valor Pago", "Total na Data", "Principal",
                                       "Multa de Mora", "Juros de Mora", "Pago a maior"}));
        QCOMPARE(fPagamentos->rowCount(), 0);
        QCOMPARE(fPagamentos->incluiPagamento(), 0);
        for (int c = 0; c < P::Colunas; ++c)
            QCOMPARE(bool(fPagamentos->flags(fPagamentos->index(0, c)) & Qt::ItemIsEditable),
                     c <= P::Valor);
    }

    // The worked example: 500,00 paid on 10/03/2020 of 1.000,00 due 10/01/2020.
    void umPagamento() {
        QSignalSpy debitos(fDebitos.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy totais(fDebitos.get(), &M::totaisMudaram);
        QCOMPARE(fPagamentos->incluiPagamento(), 0);
        QCOMPARE(fPagamentos->rowCount(), 1);
        // In blank, the debt says what is missing.
        QCOMPARE(debito(M::Mensagem), QStringLiteral("Falta a data de um pagamento parcial!"));
        // An empty date's editor starts at the statement's payment date.
        QCOMPARE(fPagamentos->index(0, P::Data).data(PapelDataInicial).toDate(),
                 QDate(2020, 6, 10));
        digita(0, P::Data, QDate(2020, 3, 10));
        digita(0, P::Valor, QStringLiteral("500,00"));
        QCOMPARE(linha(0),
                 QStringList({"10/03/2020", "500,00", "1.104,06", "452,87", "40,76", "6,37", ""}));
        QCOMPARE(debito(M::Pago), QStringLiteral("500,00"));
        QCOMPARE(debito(M::PrincipalEmAberto), QStringLiteral("547,13"));
        QCOMPARE(debito(M::Dias), QStringLiteral("152"));
        QCOMPARE(debito(M::Taxa), QStringLiteral("2,150000 %"));
        QCOMPARE(debito(M::Multa), QStringLiteral("65,66"));
        QCOMPARE(debito(M::Juros), QStringLiteral("13,17"));
        QCOMPARE(debito(M::Total), QStringLiteral("625,96"));
        // Each change told the debts' views of that debt's row alone.
        QCOMPARE(debitos.size(), 3);
        for (const QList<QVariant>& aviso : debitos) {
            QCOMPARE(aviso[0].toModelIndex().row(), 0);
            QCOMPARE(aviso[1].toModelIndex().row(), 0);
        }
        QCOMPARE(totais.size(), 3);
        // The same value again changes nothing.
        digita(0, P::Valor, QStringLiteral(" 500,00 "));
        digita(0, P::Data, QStringLiteral("10/03/2020"));
        QCOMPARE(debitos.size(), 3);
        QVERIFY(
            !fPagamentos->setData(fPagamentos->index(0, P::Data), QStringLiteral("31/02/2020")));
        QVERIFY(!fPagamentos->setData(fPagamentos->index(0, P::Principal), QStringLiteral("1,00")));
    }

    // Typed out of date order, each payment keeps its own allocation on its row; one that
    // settles shows what was paid beyond; a refused one shows none, and neither does any
    // after it.
    void cadaPagamentoComSuaAlocacao_data() {
        QTest::addColumn<QStringList>("datas");
        QTest::addColumn<QStringList>("valores");
        QTest::addColumn<QList<QStringList>>("esperado");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("fora de ordem")
            << QStringList{"10/03/2020", "10/02/2020"} << QStringList{"200,00", "300,00"}
            << QList<QStringList>{{"10/03/2020", "200,00", "803,21", "181,15", "16,30", "2,55", ""},
                                  {"10/02/2020", "300,00", "1.100,90", "272,50", "24,53", "2,97",
                                   ""}}
            << QString();
        QTest::newRow("pago a maior") << QStringList{"10/03/2020"} << QStringList{"1200,00"}
                                      << QList<QStringList>{{"10/03/2020", "1.200,00", "1.104,06",
                                                             "1.000,00", "90,00", "14,06", "95,94"}}
                                      << QString();
        QTest::newRow("depois da quitação")
            << QStringList{"10/04/2020", "10/03/2020"} << QStringList{"10,00", "1104,06"}
            << QList<QStringList>{{"10/04/2020", "10,00", "", "", "", "", ""},
                                  {"10/03/2020", "1.104,06", "1.104,06", "1.000,00", "90,00",
                                   "14,06", ""}}
            << "O pagamento parcial de 10/04/2020 é posterior à quitação do débito em "
               "10/03/2020!";
    }
    void cadaPagamentoComSuaAlocacao() {
        QFETCH(QStringList, datas);
        QFETCH(QStringList, valores);
        QFETCH(QList<QStringList>, esperado);
        QFETCH(QString, mensagem);
        for (int i = 0; i < datas.size(); ++i) {
            QCOMPARE(fPagamentos->incluiPagamento(), i);
            digita(i, P::Data, datas[i]);
            digita(i, P::Valor, valores[i]);
        }
        for (int i = 0; i < esperado.size(); ++i)
            QCOMPARE(linha(i), esperado[i]);
        QCOMPARE(debito(M::Mensagem), mensagem);
        QCOMPARE(fDebitos->demonstrativo().totais().Quantidade, mensagem.isEmpty() ? 2 : 1);
    }

    // A change of the debt from the debts' side (its amount, the payment date) is shown at
    // once; payments taken away move the allocation of those left.
    void mudancasDoDebito() {
        fPagamentos->incluiPagamento();
        digita(0, P::Data, QDate(2020, 3, 10));
        digita(0, P::Valor, QStringLiteral("500,00"));
        fPagamentos->incluiPagamento();
        digita(1, P::Data, QDate(2020, 2, 10));
        digita(1, P::Valor, QStringLiteral("300,00"));
        QSignalSpy mudou(fPagamentos.get(), &QAbstractItemModel::dataChanged);
        QVERIFY(fDebitos->setData(fDebitos->index(0, M::Valor), QStringLiteral("2000,00")));
        QCOMPARE(mudou.size(), 1);
        QCOMPARE(mudou[0][1].toModelIndex(), fPagamentos->index(1, P::Colunas - 1));
        QCOMPARE(linha(1)[P::TotalNaData], custo("2000,00", data(2020, 2, 10)));
        // Another debt's edit is not this table's business.
        QVERIFY(fDebitos->setData(fDebitos->index(1, M::Valor), QStringLiteral("300,00")));
        QCOMPARE(mudou.size(), 1);
        fDebitos->defineDataPagamento(data(2020, 3, 9));
        QCOMPARE(mudou.size(), 2);
        QCOMPARE(debito(M::Mensagem),
                 QStringLiteral("O pagamento parcial de 10/03/2020 deve ser anterior à data de "
                                "pagamento do demonstrativo!"));
        // The first payment by date was taken before the refusal.
        QVERIFY(!linha(1)[P::Principal].isEmpty());
        QCOMPARE(linha(0)[P::Principal], QString());

        fDebitos->defineDataPagamento(data(2020, 6, 10));
        fPagamentos->removePagamentos(1, 1);
        QCOMPARE(fPagamentos->rowCount(), 1);
        QCOMPARE(fDebitos->demonstrativo().Debitos[0].Pagamentos.size(), 1);
        QCOMPARE(linha(0)[P::TotalNaData], custo("2000,00", data(2020, 3, 10)));
        fPagamentos->removePagamentos(0, 0);
        QCOMPARE(debito(M::Pago), QString());
        QCOMPARE(debito(M::Mensagem), QString());
    }

    // Debts added or taken away before the one shown: the table follows it; the debt shown
    // taken away: nothing is shown, and nothing can be added.
    void debitoSeguidoAteSair() {
        fPagamentos->defineDebito(1);
        fPagamentos->incluiPagamento();
        digita(0, P::Data, QDate(2020, 3, 10));
        digita(0, P::Valor, QStringLiteral("100,00"));
        fDebitos->insereDebitos(0, {Debito()});
        QCOMPARE(fPagamentos->debito(), 2);
        QCOMPARE(debito(M::Referencia), QStringLiteral("01/2020"));
        QCOMPARE(linha(0)[P::Valor], QStringLiteral("100,00"));
        fDebitos->removeDebitos(0, 2);
        QCOMPARE(fPagamentos->debito(), 0);
        QCOMPARE(fPagamentos->rowCount(), 1);
        QSignalSpy reinicio(fPagamentos.get(), &QAbstractItemModel::modelReset);
        fDebitos->removeDebitos(0, 1);
        QCOMPARE(reinicio.size(), 1);
        QCOMPARE(fPagamentos->debito(), -1);
        QCOMPARE(fPagamentos->rowCount(), 0);
        QCOMPARE(fPagamentos->incluiPagamento(), -1);
    }
};

QTEST_GUILESS_MAIN(TesteModeloPagamentos)
#include "TesteModeloPagamentos.moc"
