// Debts pasted from a spreadsheet: the clipboard's tab-separated rows, in the fixed order
// or under a header naming the columns, read into the statement's debts.

#include "demonstrativo/ColagemDebitos.h"
#include "valores/ConfiguracaoRegional.h"
#include "valores/Formatacao.h"

#include <QTest>

namespace {

// One debt as "referência|vencimento|valor|descrição", the due date as the window shows it.
QString linha(const Debito& d) {
    return QStringList{d.Referencia,
                       d.Vencimento == Datas::Vazia ? QString()
                                                    : Formato::dataParaTexto(d.Vencimento),
                       d.Valor, d.Descricao}
        .join(u'|');
}

QStringList linhas(const DebitosColados& c) {
    QStringList r;
    for (const Debito& d : c.Debitos)
        r << linha(d);
    return r;
}

QStringList naoLidas(const DebitosColados& c) {
    QStringList r;
    for (const LinhaRecusada& l : c.NaoLidas)
        r << QStringLiteral("%1: %2").arg(l.Linha).arg(l.Motivo);
    return r;
}

} // namespace

class TesteColagemDebitos : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { regional() = ConfiguracaoRegional::brasileira(); }

    void colagem_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("debitos");
        QTest::addColumn<QStringList>("recusadas");
        const QStringList dois{QStringLiteral("12/2019|10/01/2020|1000,00|"),
                               QStringLiteral("01/2020|10/02/2020|2500,50|ICMS próprio")};
        QTest::newRow("sem cabeçalho, na ordem")
            << "12/2019\t10/01/2020\t1000,00\n01/2020\t10/02/2020\t2500,50\tICMS próprio\n"
            << dois << QStringList();
        QTest::newRow("como a planilha escreve")
            << "12/2019\t2020-01-10\tR$ 1.000,00\r\n2020-01\t10/02/2020\t2.500,5\tICMS próprio"
            << dois << QStringList();
        QTest::newRow("cabeçalho em outra ordem, acentos e caixa trocados")
            << "VALOR\tDescrição\tvencimento\tReferencia\n1000,00\t\t10/01/2020\t12/2019\n"
               "2500,50\tICMS próprio\t10/02/2020\t01/2020\n"
            << dois << QStringList();
        QTest::newRow("cabeçalho com os títulos da grade, sem descrição")
            << "Referência\tVencimento\tValor do ICMS\n12/2019\t10/01/2020\t1000,00\n"
               "01/2020\t10/02/2020\t2500,50\tICMS próprio\n"
            << QStringList{dois[0], QStringLiteral("01/2020|10/02/2020|2500,50|")} << QStringList();
        QTest::newRow("linhas em branco antes, no meio e depois")
            << "\n\t\t\n12/2019\t10/01/2020\t1000,00\n\n01/2020\t10/02/2020\t2500,50\tICMS "
               "próprio\n\n"
            << dois << QStringList();
        QTest::newRow("célula entre aspas com tabulação, quebra e aspas")
            << "12/2019\t10/01/2020\t1000,00\t\"nota \"\"A\"\"\tlinha 1\nlinha 2\"\n"
            << QStringList{QStringLiteral(
                   "12/2019|10/01/2020|1000,00|nota \"A\"\tlinha 1\nlinha 2")}
            << QStringList();
        QTest::newRow("linhas que não se leem, contadas com o cabeçalho")
            << "referencia\tvencimento\tvalor\n12/2019\t10/01/2020\n01/2020\t32/01/2020\t1,00\n"
               "02/2020\t10/03/2020\t12,505\n"
            << QStringList{QStringLiteral("02/2020|10/03/2020|12,505|")}
            << QStringList{QStringLiteral("2: Linha com colunas a menos."),
                           QStringLiteral("3: Data de vencimento inválida: \"32/01/2020\".")};
        QTest::newRow("cabeçalho que não nomeia as três: lido como dados")
            << "referencia\tvencimento\tdescricao\n12/2019\t10/01/2020\t1000,00\n"
            << QStringList{QStringLiteral("12/2019|10/01/2020|1000,00|")}
            << QStringList{QStringLiteral("1: Data de vencimento inválida: \"vencimento\".")};
        QTest::newRow("vencimento vazio fica para o cálculo dizer")
            << "12/2019\t\t1000,00\n"
            << QStringList{QStringLiteral("12/2019||1000,00|")} << QStringList();
        QTest::newRow("nada") << "" << QStringList() << QStringList();
    }
    void colagem() {
        QFETCH(QString, texto);
        QFETCH(QStringList, debitos);
        QFETCH(QStringList, recusadas);
        const DebitosColados c = leDebitosColados(texto);
        QCOMPARE(linhas(c), debitos);
        QCOMPARE(naoLidas(c), recusadas);
    }

    void referencia_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("referencia");
        QTest::newRow("MM/AAAA") << "03/2020"
                                 << "03/2020";
        QTest::newRow("M/AAAA") << "3/2020"
                                << "03/2020";
        QTest::newRow("AAAA-MM") << "2020-03"
                                 << "03/2020";
        QTest::newRow("data do mês") << "01/03/2020"
                                     << "03/2020";
        QTest::newRow("data ISO") << "2020-03-01"
                                  << "03/2020";
        QTest::newRow("brancos") << " 03/2020 "
                                 << "03/2020";
        QTest::newRow("outro texto fica") << "mar/20"
                                          << "mar/20";
        QTest::newRow("dia e mês sem ano fica") << "1/3"
                                                << "1/3";
    }
    void referencia() {
        QFETCH(QString, texto);
        QFETCH(QString, referencia);
        QCOMPARE(referenciaDaPlanilha(texto), referencia);
    }

    void mensagemDasNaoLidas() {
        QCOMPARE(textoNaoLidas({{2, QStringLiteral("Linha com colunas a menos.")}}),
                 QStringLiteral("Uma linha colada não foi incluída:\n\rLinha 2: Linha com colunas "
                                "a menos."));
        QCOMPARE(
            textoNaoLidas({{2, QStringLiteral("A.")}, {5, QStringLiteral("B.")}}),
            QStringLiteral("2 linhas coladas não foram incluídas:\n\rLinha 2: A.\n\rLinha 5: B."));
        // A long paste: the first rows one by one, the others counted.
        QList<LinhaRecusada> muitas;
        for (int i = 1; i <= 25; ++i)
            muitas.append({i, QStringLiteral("R%1.").arg(i)});
        const QStringList linhas = textoNaoLidas(muitas).split(QStringLiteral("\n\r"));
        QCOMPARE(linhas.size(), 1 + 20 + 1);
        QCOMPARE(linhas.first(), QStringLiteral("25 linhas coladas não foram incluídas:"));
        QCOMPARE(linhas[20], QStringLiteral("Linha 20: R20."));
        QCOMPARE(linhas.last(), QStringLiteral("… e mais 5 linhas."));
    }
};

QTEST_GUILESS_MAIN(TesteColagemDebitos)
#include "TesteColagemDebitos.moc"
