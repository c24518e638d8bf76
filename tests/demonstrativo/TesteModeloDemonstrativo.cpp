// The statement as the grid's table: its columns, what each cell shows, and an edit that
// calculates its own row alone and tells the views of that row only.

#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "calc/FormataResultado.h"
#include "demonstrativo/ModeloDemonstrativo.h"
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

const QString FaltamTaxas = QStringLiteral(
    "Nem todos os índices mensais da Selic foram cadastrados. Favor fornecer todos os índices "
    "para que o sistema efetue corretamente os cálculos!");

} // namespace

class TesteModeloDemonstrativo : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{data(2020, 6, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;
    std::unique_ptr<M> fModelo;

    QString celula(int linha, int coluna, int papel = Qt::DisplayRole) const {
        return fModelo->index(linha, coluna).data(papel).toString();
    }

private slots:
    // January to March 2020 in the table: a debt due in January paid on 10/04/2020 is
    // calculated; one paid in May lacks April.
    void init() {
        fDialogos.limpa();
        fDados =
            std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(),
                                          MesesTeste{{QDate(2020, 1, 1), QStringLiteral("0.38")},
                                                     {QDate(2020, 2, 1), QStringLiteral("0.29")},
                                                     {QDate(2020, 3, 1), QStringLiteral("0.34")}});
        fModelo = std::make_unique<M>(*fDados);
        fModelo->defineDataPagamento(data(2020, 4, 10));
        fModelo->insereDebitos(
            0, {{QStringLiteral("12/2019"), data(2020, 1, 10), QStringLiteral("1000,00"), {}},
                {QStringLiteral("01/2020"), data(2020, 2, 10), QStringLiteral("1234567,89"),
                 QStringLiteral("ICMS próprio")},
                {}});
    }
    void cleanup() {
        fModelo.reset();
        fDados.reset();
    }

    void colunas() {
        QStringList titulos;
        for (int c = 0; c < fModelo->columnCount(); ++c)
            titulos << fModelo->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titulos, QStringList({"Referência", "Vencimento", "Valor do ICMS", "Descrição",
                                       "Pago", "Principal em Aberto", "Dias", "Taxa de Juros",
                                       "Multa de Mora", "Juros de Mora", "Total", "Mensagem"}));
        for (int c = 0; c < M::Colunas; ++c)
            QCOMPARE(bool(fModelo->flags(fModelo->index(0, c)) & Qt::ItemIsEditable),
                     c <= M::Descricao);
        QCOMPARE(fModelo->rowCount(), 3);
    }

    // What the grid shows: the inputs as typed (a valid amount grouped), the results as the
    // calculation window shows them, nothing on the row in blank.
    void celulas() {
        QCOMPARE(celula(0, M::Referencia), QStringLiteral("12/2019"));
        QCOMPARE(celula(0, M::Vencimento), QStringLiteral("10/01/2020"));
        QCOMPARE(fModelo->index(0, M::Vencimento).data(Qt::EditRole).toDate(), QDate(2020, 1, 10));
        QCOMPARE(celula(1, M::Valor), QStringLiteral("1.234.567,89"));
        QCOMPARE(celula(1, M::Valor, Qt::EditRole), QStringLiteral("1234567,89"));
        QCOMPARE(celula(1, M::Descricao), QStringLiteral("ICMS próprio"));
        // Nothing paid: the whole amount is open.
        QCOMPARE(celula(0, M::Pago), QString());
        QCOMPARE(celula(0, M::PrincipalEmAberto), QStringLiteral("1.000,00"));
        QCOMPARE(celula(0, M::Dias), QStringLiteral("91"));
        QCOMPARE(celula(0, M::Taxa), QStringLiteral("1,630000 %"));
        QCOMPARE(celula(0, M::Multa), QStringLiteral("120,00"));
        QCOMPARE(celula(0, M::Juros), QStringLiteral("18,26"));
        QCOMPARE(celula(0, M::Total), QStringLiteral("1.138,26"));
        QCOMPARE(celula(0, M::Mensagem), QString());
        for (int c = 0; c < M::Colunas; ++c)
            QCOMPARE(celula(2, c), QString());
        QVERIFY(fModelo->temDebitos());
    }

    // An edit calculates its row and tells the views of that row alone; the same value
    // again changes nothing.
    void edicaoDeUmaCelula() {
        QSignalSpy mudou(fModelo.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy totais(fModelo.get(), &M::totaisMudaram);
        QSignalSpy alterado(fModelo.get(), &M::debitoAlterado);
        QVERIFY(fModelo->setData(fModelo->index(1, M::Vencimento), QDate(2020, 3, 7)));
        QCOMPARE(mudou.size(), 1);
        QCOMPARE(mudou[0][0].toModelIndex(), fModelo->index(1, 0));
        QCOMPARE(mudou[0][1].toModelIndex(), fModelo->index(1, M::Colunas - 1));
        QCOMPARE(totais.size(), 1);
        QCOMPARE(alterado.size(), 1);
        QCOMPARE(alterado[0][0].toInt(), 1);
        QCOMPARE(celula(1, M::Mensagem), QStringLiteral("A Data do Vencimento deve ser dia útil!"));
        QCOMPARE(celula(1, M::Total), QString());
        QCOMPARE(fModelo->demonstrativo().totais().Quantidade, 1);

        QVERIFY(fModelo->setData(fModelo->index(1, M::Vencimento), QStringLiteral("07/03/2020")));
        QVERIFY(fModelo->setData(fModelo->index(1, M::Valor), QStringLiteral(" 1234567,89 ")));
        QCOMPARE(mudou.size(), 1);
        QCOMPARE(totais.size(), 1);

        QVERIFY(!fModelo->setData(fModelo->index(1, M::Vencimento), QStringLiteral("31/02/2020")));
        QVERIFY(!fModelo->setData(fModelo->index(1, M::Total), QStringLiteral("1,00")));
        QVERIFY(fModelo->setData(fModelo->index(1, M::Vencimento), QDate()));
        QCOMPARE(celula(1, M::Vencimento), QString());
        QCOMPARE(celula(1, M::Mensagem), QStringLiteral("Digite a Data de Vencimento!"));
        QVERIFY(fModelo->setData(fModelo->index(1, M::Valor), QStringLiteral("12,5")));
        QCOMPARE(celula(1, M::Valor), QStringLiteral("12,5"));
        QCOMPARE(celula(1, M::Mensagem),
                 QStringLiteral("Valor inválido! Digite o valor com as duas casas decimais."));
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // The rows an edit does not touch are not calculated again: with April added to the
    // table, the debt that lacked it still shows its old message until it is edited or the
    // payment date is set again.
    void edicaoNaoRecalculaAsOutras() {
        fModelo->defineDataPagamento(data(2020, 5, 11));
        QCOMPARE(celula(0, M::Mensagem), FaltamTaxas);
        QVERIFY(fDados->InsereRegistro(data(2020, 4, 1), 0.28));
        QVERIFY(fModelo->setData(fModelo->index(1, M::Descricao), QStringLiteral("outra")));
        QCOMPARE(celula(0, M::Mensagem), FaltamTaxas);
        QCOMPARE(celula(1, M::Mensagem), QString());
        QCOMPARE(fModelo->demonstrativo().totais().Quantidade, 1);
        fModelo->defineDataPagamento(data(2020, 5, 11));
        QCOMPARE(celula(0, M::Mensagem), QString());
        QCOMPARE(fModelo->demonstrativo().totais().Quantidade, 2);
    }

    // A payment calculates its debt alone: the row shows what was paid and the balance on
    // what it left open; a payment refused leaves the message in the row and the debt out
    // of the totals.
    void pagamentosDeUmDebito() {
        QSignalSpy mudou(fModelo.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy totais(fModelo.get(), &M::totaisMudaram);
        QSignalSpy alterado(fModelo.get(), &M::debitoAlterado);
        fModelo->definePagamentos(0, {{data(2020, 3, 10), QStringLiteral("500,00")}});
        QCOMPARE(mudou.size(), 1);
        QCOMPARE(mudou[0][0].toModelIndex(), fModelo->index(0, 0));
        QCOMPARE(mudou[0][1].toModelIndex(), fModelo->index(0, M::Colunas - 1));
        QCOMPARE(totais.size(), 1);
        QCOMPARE(alterado.size(), 1);
        const ResultadoDebito& r = fModelo->demonstrativo().resultados()[0];
        QVERIFY2(r.Resultado, qPrintable(r.Mensagem));
        QCOMPARE(celula(0, M::Valor), QStringLiteral("1.000,00"));
        QCOMPARE(celula(0, M::Pago), QStringLiteral("500,00"));
        QCOMPARE(celula(0, M::PrincipalEmAberto), formataReais(r.Pagamentos.PrincipalEmAberto));
        QCOMPARE(celula(0, M::Total), formataReais(r.Resultado->Total));
        QCOMPARE(celula(0, M::Mensagem), QString());
        QCOMPARE(formataReais(fModelo->demonstrativo().totais().Pago), QStringLiteral("500,00"));

        fModelo->definePagamentos(0, {{data(2020, 3, 7), QStringLiteral("500,00")}});
        QCOMPARE(celula(0, M::Mensagem),
                 QStringLiteral("O pagamento parcial de 07/03/2020 deve ser dia útil!"));
        QCOMPARE(celula(0, M::Pago), QString());
        QCOMPARE(celula(0, M::PrincipalEmAberto), QString());
        QCOMPARE(fModelo->demonstrativo().totais().Quantidade, 1);
        QCOMPARE(fModelo->demonstrativo().totais().Pago, Moeda());
        fModelo->definePagamentos(0, {});
        QCOMPARE(celula(0, M::Total), QStringLiteral("1.138,26"));
        QCOMPARE(fModelo->demonstrativo().totais().Quantidade, 2);
    }

    // The forecast calculates every debt again: the one short of April's rate takes March's
    // and is marked, the totals count it as estimated and the month is listed with its
    // rate; off again, the missing rate's message returns and no mark stays.
    void previsao() {
        fModelo->defineDataPagamento(data(2020, 5, 11));
        QCOMPARE(celula(0, M::Mensagem), FaltamTaxas);
        QSignalSpy mudou(fModelo.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy totais(fModelo.get(), &M::totaisMudaram);
        fModelo->definePrevisao(true);
        QCOMPARE(mudou.size(), 1);
        QCOMPARE(mudou[0][0].toModelIndex(), fModelo->index(0, M::Pago));
        QCOMPARE(mudou[0][1].toModelIndex(), fModelo->index(2, M::Mensagem));
        QCOMPARE(totais.size(), 1);
        QCOMPARE(celula(0, M::Mensagem), QStringLiteral("PREVISÃO"));
        QCOMPARE(celula(0, M::Mensagem, Qt::ToolTipRole), QStringLiteral("PREVISÃO"));
        QVERIFY(!celula(0, M::Total).isEmpty());
        QCOMPARE(celula(2, M::Mensagem), QString());
        QCOMPARE(fModelo->demonstrativo().totais().Previstos, 2);
        QCOMPARE(textoMesesEstimados(fModelo->demonstrativo().mesesEstimados()),
                 QStringLiteral("PREVISÃO — taxas estimadas: 04/2020 0,340000 %"));
        // Asked again, nothing is calculated.
        fModelo->definePrevisao(true);
        QCOMPARE(mudou.size(), 1);

        fModelo->definePrevisao(false);
        QCOMPARE(celula(0, M::Mensagem), FaltamTaxas);
        QCOMPARE(celula(1, M::Mensagem), FaltamTaxas);
        QCOMPARE(fModelo->demonstrativo().totais().Previstos, 0);
        QCOMPARE(textoMesesEstimados(fModelo->demonstrativo().mesesEstimados()), QString());
    }

    void linhasIncluidasERemovidas() {
        QSignalSpy totais(fModelo.get(), &M::totaisMudaram);
        QSignalSpy debitos(fModelo.get(), &M::debitosMudaram);
        fModelo->insereDebitos(
            1, {{QStringLiteral("11/2019"), data(2019, 12, 10), QStringLiteral("50,00"), {}}});
        QCOMPARE(fModelo->rowCount(), 4);
        QCOMPARE(celula(1, M::Referencia), QStringLiteral("11/2019"));
        QCOMPARE(fModelo->demonstrativo().totais().Quantidade, 3);
        fModelo->removeDebitos(0, 2);
        QCOMPARE(fModelo->rowCount(), 2);
        QCOMPARE(celula(0, M::Referencia), QStringLiteral("01/2020"));
        QCOMPARE(fModelo->demonstrativo().totais().Quantidade, 1);
        QCOMPARE(totais.size(), 2);
        QCOMPARE(debitos.size(), 2);
        fModelo->removeDebitos(0, 1);
        QVERIFY(!fModelo->temDebitos());
    }
};

QTEST_GUILESS_MAIN(TesteModeloDemonstrativo)
#include "TesteModeloDemonstrativo.moc"
