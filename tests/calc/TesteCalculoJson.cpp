#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "apoio/TabelaDistribuida.h"
#include "calc/Calculo.h"
#include "calc/CalculoJson.h"
#include "calc/MemoriaCalculo.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Through the JSON text, as a stored record holds it.
QJsonObject pelaTexto(const QJsonObject& objeto) {
    return QJsonDocument::fromJson(QJsonDocument(objeto).toJson(QJsonDocument::Compact)).object();
}

} // namespace

// The results and the account of real calculations on the shipped table, written as JSON
// and read back: the same values to the last bit, so a record can be drawn again as it was
// issued.
class TesteCalculoJson : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2026, 12, 10)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

    struct Calculado {
        ResultadoCalculo resultado;
        MemoriaCalculo memoria;
    };
    Calculado calcula(const QString& valor, const QString& vencimento, const QString& pagamento,
                      bool prever = false) {
        Calculado c;
        const auto previsao = prever ? previsaoDaTabela(*fDados) : std::nullopt;
        const auto r =
            CalculaValores(*fDados, Formato::textoParaMoeda(valor),
                           Formato::textoParaData(vencimento), Formato::textoParaData(pagamento),
                           &c.memoria, nullptr, previsao ? &*previsao : nullptr);
        if (!r)
            qFatal("cálculo recusado");
        c.resultado = *r;
        return c;
    }

private slots:
    void initTestCase() {
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        fDados->abreArquivo(copiaTabelaDistribuida(fPasta.path()));
    }
    void cleanupTestCase() { fDados.reset(); }

    void idaEVolta_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("vencimento");
        QTest::addColumn<QString>("pagamento");
        QTest::addColumn<bool>("prever");
        QTest::newRow("sem atraso") << "1000,00"
                                    << "10/01/2020"
                                    << "10/01/2020" << false;
        QTest::newRow("por dia, mês do vencimento") << "1234,56"
                                                    << "10/01/2020"
                                                    << "20/01/2020" << false;
        QTest::newRow("intermediária") << "999,99"
                                       << "10/01/2020"
                                       << "20/02/2020" << false;
        QTest::newRow("teto, três meses") << "1000,00"
                                          << "10/01/2020"
                                          << "10/04/2020" << false;
        QTest::newRow("regras antigas") << "0,01"
                                        << "10/01/2003"
                                        << "10/06/2003" << false;
        QTest::newRow("anos de meses") << "98765432,10"
                                       << "10/01/1998"
                                       << "10/09/2026" << false;
        // Months past the shipped table's last, at its rate: marked in the result and the
        // account, and read back so.
        QTest::newRow("previsão") << "1000,00"
                                  << "10/09/2026"
                                  << "10/02/2027" << true;
    }
    void idaEVolta() {
        QFETCH(QString, valor);
        QFETCH(QString, vencimento);
        QFETCH(QString, pagamento);
        QFETCH(bool, prever);
        const Calculado c = calcula(valor, vencimento, pagamento, prever);
        QCOMPARE(c.resultado.Previsao, prever);
        QCOMPARE(resultadoDeJson(pelaTexto(resultadoParaJson(c.resultado))), c.resultado);
        QCOMPARE(memoriaDeJson(pelaTexto(memoriaParaJson(c.memoria))), c.memoria);
    }

    // The figures are exact text, readable without the program.
    void figurasComoTextoDecimal() {
        const Calculado c = calcula(QStringLiteral("1000,00"), QStringLiteral("10/01/2020"),
                                    QStringLiteral("10/04/2020"));
        const QJsonObject r = resultadoParaJson(c.resultado);
        QCOMPARE(r.value(QStringLiteral("total")).toString(), QStringLiteral("1138.2600"));
        QCOMPARE(r.value(QStringLiteral("dias")).toInteger(), 91);
        const QJsonObject m = memoriaParaJson(c.memoria);
        QCOMPARE(m.value(QStringLiteral("faixa")).toString(), QStringLiteral("teto"));
        QCOMPARE(m.value(QStringLiteral("mesesSelic")).toArray().first().toObject(),
                 (QJsonObject{{QStringLiteral("mes"), QStringLiteral("2020-02-01")},
                              {QStringLiteral("taxa"), 0.29}}));
        QCOMPARE(m.value(QStringLiteral("ultimoMesTabela")).toString(),
                 QStringLiteral("2026-09-01"));
    }

    // Each member missing is refused by name: a record damaged outside the program is never
    // read as something else.
    void membroAusenteERecusado() {
        const Calculado c = calcula(QStringLiteral("1000,00"), QStringLiteral("10/01/2020"),
                                    QStringLiteral("10/04/2020"));
        const QJsonObject completo = memoriaParaJson(c.memoria);
        for (const QString& nome : completo.keys()) {
            QJsonObject falta = completo;
            falta.remove(nome);
            try {
                memoriaDeJson(falta);
                QFAIL(qPrintable(nome));
            } catch (const ErroConversao& e) {
                QVERIFY2(e.mensagem().contains(QLatin1Char('"') + nome + QLatin1Char('"')),
                         qPrintable(e.mensagem()));
            }
        }
        QJsonObject faixa = completo;
        faixa.insert(QStringLiteral("faixa"), QStringLiteral("outra"));
        QVERIFY_THROWS_EXCEPTION(ErroConversao, memoriaDeJson(faixa));
        QJsonObject mes = completo;
        mes.insert(QStringLiteral("mesesSelic"), QJsonArray{QStringLiteral("02/2020")});
        QVERIFY_THROWS_EXCEPTION(ErroConversao, memoriaDeJson(mes));
    }
};

QTEST_GUILESS_MAIN(TesteCalculoJson)
#include "TesteCalculoJson.moc"
