#include "apoio/ArquivosTeste.h"
#include "apoio/ModuloTeste.h"
#include "calc/Calculo.h"
#include "dialogos/Dialogos.h"
#include "apoio/DialogosRoteiro.h"
#include "tabela/FiltroExpressao.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"
#include "calc/TfrmCalcular.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>
#include <memory>

namespace {

const QStringList NomesResultados = {QStringLiteral("lblResNumDias"), QStringLiteral("lblResTaxa"),
                                     QStringLiteral("lblResMulta"), QStringLiteral("lblResJuros"),
                                     QStringLiteral("lblResTotal")};

// A fixed sequence, so a failure can be replayed.
class Sorteio {
public:
    std::uint64_t proximo(std::uint64_t limite) {
        fEstado = fEstado * 6364136223846793005ULL + 1442695040888963407ULL;
        return (fEstado >> 17) % limite;
    }

private:
    std::uint64_t fEstado = 2026;
};

struct Entrada {
    QString valor;
    QDate vencimento, pagamento;
};

// Business-day due dates over the whole shipped table; most paid within a year and a
// month, some years later across much of the table, a few after its last month (rates
// missing); amounts from cents to millions.
QList<Entrada> geraEntradas(int quantas, const QDate& ultimoMes) {
    Sorteio s;
    const QDate primeiro(1998, 1, 2);
    const qint64 diasTabela = primeiro.daysTo(ultimoMes.addMonths(1));
    auto util = [](const QDate& d) { return EhDiaUtil(Datas::deQDate(d)); };
    QList<Entrada> entradas;
    while (entradas.size() < quantas) {
        const QDate vencimento = primeiro.addDays(qint64(s.proximo(std::uint64_t(diasTabela))));
        const std::uint64_t tipo = s.proximo(100);
        const qint64 atraso = tipo < 75   ? qint64(s.proximo(400))
                              : tipo < 97 ? qint64(s.proximo(std::uint64_t(diasTabela)))
                                          : qint64(s.proximo(3000));
        const QDate pagamento = vencimento.addDays(atraso);
        if (!util(vencimento) || !util(pagamento))
            continue;
        const std::uint64_t centavos =
            s.proximo(100) < 10 ? s.proximo(1000000000000ULL) : s.proximo(100000000ULL);
        entradas.append({QStringLiteral("%1,%2")
                             .arg(centavos / 100)
                             .arg(centavos % 100, 2, 10, QLatin1Char('0')),
                         vencimento, pagamento});
    }
    return entradas;
}

} // namespace

// The batch, streamed through the command line, against the same calculations run as the
// calculation window runs them: the window's computation and labels over the table's
// filter, and beside them the rates summed by a plain row-by-row test of the filter the
// computation set. Byte for byte the same texts.
class TesteLoteComoJanela : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;

private slots:
    void loteIgualAJanela() {
        const QString tabela = fPasta.filePath(QStringLiteral("BELQOR.cds"));
        QVERIFY(QFile::copy(QStringLiteral(BELQOR_FONTE "/data/BELQOR.cds"), tabela));

        RelogioFixo relogio(Datas::codificaData(2026, 12, 10));
        DialogosRoteiro dialogos;
        ModuloTeste dados(relogio, dialogos, fPasta.path());
        dados.abreArquivo(tabela);
        dados.CDSSelic.ultimo();
        const QDate ultimoMes = Datas::paraQDate(dados.CDSSelicData->comoDataHora());
        dados.CDSSelic.primeiro();

        const QList<Entrada> entradas = geraEntradas(24000, ultimoMes);
        QByteArray csv = "valor;vencimento;pagamento\n";
        for (const Entrada& e : entradas)
            csv += (e.valor + QLatin1Char(';') + e.vencimento.toString("dd/MM/yyyy") +
                    QLatin1Char(';') + e.pagamento.toString("dd/MM/yyyy") + QLatin1Char('\n'))
                       .toUtf8();
        const QString entrada = fPasta.filePath(QStringLiteral("entrada.csv"));
        const QString saida = fPasta.filePath(QStringLiteral("saida.csv"));
        gravaArquivoTeste(entrada, csv);

        QProcess lote;
        lote.start(QStringLiteral(BELQOR_CLI),
                   {QStringLiteral("lote"), entrada, saida, QStringLiteral("--tabela"), tabela});
        QVERIFY(lote.waitForFinished(300000));
        QByteArray bytes = conteudoArquivo(saida);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QStringList linhas = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
        QCOMPARE(linhas.takeLast(), QString());
        QCOMPARE(linhas.takeFirst(),
                 QStringLiteral("valor;vencimento;pagamento;dias;taxa;multa;juros;total;mensagem"));
        QCOMPARE(linhas.size(), entradas.size());

        TfrmCalcular janela(dados, dialogos, relogio);
        auto* valor = janela.findChild<QLineEdit*>(QStringLiteral("MaskEditValor"));
        auto* vencimento = janela.findChild<QDateEdit*>(QStringLiteral("DTPickerDataVencimento"));
        auto* pagamento = janela.findChild<QDateEdit*>(QStringLiteral("DTPickerDataPagamento"));
        QSet<QString> filtrosConferidos;
        int faltas = 0, longos = 0;
        for (qsizetype i = 0; i < entradas.size(); ++i) {
            const Entrada& e = entradas[i];
            dialogos.limpa();
            valor->setText(e.valor);
            vencimento->setDate(e.vencimento);
            pagamento->setDate(e.pagamento);
            janela.actCalcularExecute();
            QStringList esperado{e.valor, e.vencimento.toString("dd/MM/yyyy"),
                                 e.pagamento.toString("dd/MM/yyyy")};
            if (dialogos.textos().isEmpty()) {
                for (const QString& nome : NomesResultados)
                    esperado << janela.findChild<QLabel*>(nome)->text();
                esperado[4].chop(2); // the batch's column names the unit
                esperado << QString();
                // The labels are the general patterns' texts of the same results.
                const auto r =
                    CalculaValores(dados, Formato::textoParaMoeda(e.valor),
                                   Datas::deQDate(e.vencimento), Datas::deQDate(e.pagamento));
                QVERIFY(r);
                const auto reais = [](Moeda m) {
                    return Formato::formataNumero(QStringLiteral("#,###,##0.00"),
                                                  m.contagemEstendida() / Moeda::Escala);
                };
                const QStringList geral{
                    Formato::formataNumero(QStringLiteral("0"), static_cast<Estendido>(r->Dias)),
                    Formato::formataNumero(QStringLiteral("#,###,##0.000000"), r->TaxaJuros * 100),
                    reais(r->MultaMora), reais(r->JurosMora), reais(r->Total)};
                if (esperado.mid(3, 5) != geral)
                    QCOMPARE(esperado.mid(3, 5), geral);
            } else {
                esperado << QString() << QString() << QString() << QString() << QString()
                         << dialogos.textos().join(QLatin1Char(' '));
                ++faltas;
            }
            if (linhas[i] != esperado.join(QLatin1Char(';')))
                QCOMPARE(linhas[i], esperado.join(QLatin1Char(';')));
            QVERIFY(!dados.CDSSelic.filtrado());

            // The filter the computation set, tested row by row over the stored rows in
            // their order, gives the rate the window shows.
            const QString filtro = dados.CDSSelic.filtro();
            const int mesesEntre = (e.pagamento.year() - e.vencimento.year()) * 12 +
                                   e.pagamento.month() - e.vencimento.month() - 1;
            if (!dialogos.textos().isEmpty() || mesesEntre < 1 ||
                filtrosConferidos.contains(filtro))
                continue;
            filtrosConferidos.insert(filtro);
            if (e.vencimento.daysTo(e.pagamento) > 400)
                ++longos;
            const FiltroExpressao expressao(filtro, dados.CDSSelic);
            Estendido soma = 0;
            for (dados.CDSSelic.primeiro(); !dados.CDSSelic.fimDaTabela(); dados.CDSSelic.proximo())
                if (expressao.avalia({dados.CDSSelicData->valor(), dados.CDSSelicValor->valor()}))
                    soma = static_cast<Estendido>(dados.CDSSelicValor->comoFloat()) + soma;
            const Estendido taxa = soma / 100 + 0.01L;
            QCOMPARE(Formato::formataNumero(QStringLiteral("#,###,##0.000000"), taxa * 100) +
                         QStringLiteral(" %"),
                     janela.findChild<QLabel*>(QStringLiteral("lblResTaxa"))->text());
        }
        // The batch went over the whole table and met missing months too.
        QVERIFY2(faltas > 0 && faltas < entradas.size() / 4, qPrintable(QString::number(faltas)));
        QVERIFY2(longos > 100, qPrintable(QString::number(longos)));
        QVERIFY2(filtrosConferidos.size() > 2000,
                 qPrintable(QString::number(filtrosConferidos.size())));
    }
};

QTEST_MAIN(TesteLoteComoJanela)
#include "TesteLoteComoJanela.moc"
