#include "apoio/DialogosRoteiro.h"
#include "refresh/AtualizacaoBancoCentral.h"
#include "valores/Formatacao.h"

#include "apoio/AutoridadeTeste.h"
#include "apoio/RespondedorBancoCentral.h"
#include "apoio/ServidorHttpTeste.h"
#include "apoio/ModuloTeste.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace std::chrono_literals;

namespace {

// What the loopback server does in one case.
enum class Servidor { Serie, Fixa, Silencio, Reinicio, OutraAutoridade, PortaFechada };

// Today is 10/12/2026: the table ends at 09/2026, the server has October, November and a
// partial December.
const MesesSerie SerieRecente = {{QDate(2026, 10, 1), QStringLiteral("1.28")},
                                 {QDate(2026, 11, 1), QStringLiteral("1.05")},
                                 {QDate(2026, 12, 1), QStringLiteral("0.41")}};

const QStringList TabelaInicial = {"08/2026=1.09", "09/2026=1.08"};

const QString Conselho =
    QStringLiteral(" Tente de novo mais tarde ou importe a série 4390 (Selic acumulada no mês) "
                   "salva do site do Banco Central em CSV ou JSON.");

const QString Prefixo = QStringLiteral("Não foi possível atualizar as taxas pelo Banco Central: ");

} // namespace

class TesteAtualizacaoBancoCentral : public QObject {
    Q_OBJECT

    AutoridadeTeste fAutoridade;
    IdentidadeTls fIdentidade;
    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2026, 12, 10) + Datas::codificaHora(8, 15, 0)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fModulo;

    void criaTabela(const MesesTeste& meses) {
        fModulo->escreveTabela(meses);
        fModulo->CDSSelic.abrir();
    }

    DestinoBancoCentral destino(const ServidorHttpTeste& servidor) const {
        DestinoBancoCentral d;
        d.endereco = servidor.url(QStringLiteral("/dados/serie/bcdata.sgs.4390/dados"));
        d.opcoes.arquivoCertificados = fAutoridade.arquivoCertificado();
        d.opcoes.tempoConexao = 2000ms;
        d.opcoes.tempoTotal = 1500ms;
        d.opcoes.tamanhoMaximo = 64 * 1024;
        return d;
    }

    // The table's rows with nothing pending or shown; its file unchanged unless a month
    // was added.
    void confereTabela(const QStringList& esperado, bool incluiu) {
        QCOMPARE(fModulo->CDSSelic.estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(fDialogos.textos(), QStringList());
        QCOMPARE(fModulo->meses(), esperado);
        QCOMPARE(fModulo->fechaEGravaSeAlterada(), incluiu);
    }

private slots:
    void initTestCase() {
        ServidorHttpTeste::ignoraProxiesDoAmbiente();
        QVERIFY2(fAutoridade.erro().isEmpty(), qPrintable(fAutoridade.erro()));
        fIdentidade = fAutoridade.emite();
        QVERIFY2(!fIdentidade.certificado.isEmpty(), qPrintable(fAutoridade.erro()));
    }
    void init() {
        fDialogos.limpa();
        fModulo = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
    }
    void cleanup() { fModulo.reset(); }

    void janelas_data() {
        QTest::addColumn<QDate>("inicio");
        QTest::addColumn<QDate>("hoje");
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("um mês") << QDate(2026, 12, 1) << QDate(2026, 12, 10)
                                << QStringList{"01/12/2026-10/12/2026"};
        QTest::newRow("dez anos exatos menos um dia")
            << QDate(2016, 10, 1) << QDate(2026, 9, 30) << QStringList{"01/10/2016-30/09/2026"};
        QTest::newRow("um dia além dos dez anos")
            << QDate(2016, 10, 1) << QDate(2026, 10, 1)
            << QStringList{"01/10/2016-30/09/2026", "01/10/2026-01/10/2026"};
        QTest::newRow("vinte e poucos anos")
            << QDate(2000, 2, 1) << QDate(2026, 12, 10)
            << QStringList{"01/02/2000-31/01/2010", "01/02/2010-31/01/2020",
                           "01/02/2020-10/12/2026"};
        QTest::newRow("início depois de hoje")
            << QDate(2027, 1, 1) << QDate(2026, 12, 10) << QStringList();
    }
    void janelas() {
        QFETCH(QDate, inicio);
        QFETCH(QDate, hoje);
        QFETCH(QStringList, esperado);
        QStringList obtidas;
        for (const JanelaConsulta& j :
             AtualizacaoBancoCentral::janelas(Datas::deQDate(inicio), Datas::deQDate(hoje)))
            obtidas << Datas::paraQDate(j.Inicio).toString(QStringLiteral("dd/MM/yyyy")) + '-' +
                           Datas::paraQDate(j.Fim).toString(QStringLiteral("dd/MM/yyyy"));
        QCOMPARE(obtidas, esperado);
    }

    void enderecoDaConsulta() {
        const JanelaConsulta j{Datas::codificaData(2026, 10, 1), Datas::codificaData(2026, 12, 10)};
        QCOMPARE(AtualizacaoBancoCentral::enderecoDaJanela(
                     QStringLiteral("https://api.bcb.gov.br/dados/serie/bcdata.sgs.4390/dados"), j),
                 QByteArray("https://api.bcb.gov.br/dados/serie/bcdata.sgs.4390/dados?formato=json"
                            "&dataInicial=01/10/2026&dataFinal=10/12/2026"));
        QCOMPARE(DestinoBancoCentral::padrao().endereco,
                 QStringLiteral("https://api.bcb.gov.br/dados/serie/bcdata.sgs.4390/dados"));
    }

    // Twelve years of the official series asked in two windows, each accepted by a
    // server that refuses longer ones.
    void janelaDivididaEmDezAnos() {
        criaTabela({{QDate(2014, 8, 1), QStringLiteral("0.87")},
                    {QDate(2014, 9, 1), QStringLiteral("0.91")}});
        const MesesSerie serie = RespondedorBancoCentral::serieDaTabelaPadrao(
            QStringLiteral(BELQOR_FONTE "/data/BELQOR.cds"), QDate(2014, 10, 1), QDate(2026, 9, 1));
        QCOMPARE(serie.size(), 144);
        ServidorHttpTeste servidor(RespondedorBancoCentral(serie), fIdentidade);
        const ResultadoSerie r =
            AtualizacaoBancoCentral(*fModulo, fRelogio, destino(servidor)).executa();
        QCOMPARE(r.Falha, QString());
        QCOMPARE(RespondedorBancoCentral::janelasPedidas(servidor),
                 (QStringList{"01/10/2014-30/09/2024", "01/10/2024-10/12/2026"}));
        QCOMPARE(r.meses(SituacaoMes::Incluido).size(), 144);
        const QStringList tabela = fModulo->meses();
        QCOMPARE(tabela.size(), 146);
        QCOMPARE(tabela.last(), QStringLiteral("09/2026=1.08"));
        confereTabela(tabela, true);
    }

    void respostas_data() {
        QTest::addColumn<int>("servidor");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<QStringList>("esperado");
        QTest::addColumn<QStringList>("ignorados");
        QTest::addColumn<QString>("falha");
        const int serie = int(Servidor::Serie);
        const int fixa = int(Servidor::Fixa);
        const QStringList outubroNovembro =
            TabelaInicial + QStringList{"10/2026=1.28", "11/2026=1.05"};
        QTest::newRow("mês corrente com valor parcial")
            << serie << 200 << QByteArray() << outubroNovembro << QStringList{"12/2026"} << "";
        QTest::newRow("lista vazia")
            << fixa << 200 << QByteArray("[]") << TabelaInicial << QStringList() << "";
        QTest::newRow("mês presente com outra taxa")
            << fixa << 200
            << QByteArray("[{\"data\":\"01/09/2026\",\"valor\":\"1.10\"},"
                          "{\"data\":\"01/10/2026\",\"valor\":\"1.28\"}]")
            << TabelaInicial + QStringList{"10/2026=1.28"} << QStringList() << "";
        QTest::newRow("400 para janela longa")
            << fixa << 400
            << QByteArray("{\"error\":\"x\",\"message\":\"janela de no máximo 10 anos\"}")
            << TabelaInicial << QStringList()
            << Prefixo + "o serviço respondeu com o status HTTP 400." + Conselho;
        QTest::newRow("500") << fixa << 500 << QByteArray("erro interno") << TabelaInicial
                             << QStringList()
                             << Prefixo + "o serviço respondeu com o status HTTP 500." + Conselho;
        QTest::newRow("objeto de erro com 200")
            << fixa << 200 << QByteArray("{\"error\":\"x\",\"message\":\"Série indisponível\"}")
            << TabelaInicial << QStringList()
            << Prefixo +
                   "O documento não traz a série de taxas, e sim a mensagem: Série "
                   "indisponível" +
                   Conselho;
        QTest::newRow("JSON malformado")
            << fixa << 200 << QByteArray("[{\"data\":\"01/10/2026\",\"valor\":\"1.28\"")
            << TabelaInicial << QStringList()
            << Prefixo + "O documento JSON está malformado na posição 36." + Conselho;
        QTest::newRow("página em vez de JSON")
            << fixa << 200 << QByteArray("<html><body>manutenção</body></html>") << TabelaInicial
            << QStringList() << Prefixo + "a resposta não é um documento JSON." + Conselho;
        QTest::newRow("resposta enorme")
            << fixa << 200
            << "[" + QByteArray("{\"data\":\"01/10/2026\",\"valor\":\"1.28\"},").repeated(4000) +
                   "]"
            << TabelaInicial << QStringList()
            << Prefixo + "a resposta passa de 64 KiB, grande demais para o que foi pedido." +
                   Conselho;
        QTest::newRow("resposta lenta")
            << int(Servidor::Silencio) << 200 << QByteArray() << TabelaInicial << QStringList()
            << Prefixo + "o servidor não respondeu a tempo." + Conselho;
        QTest::newRow("conexão interrompida")
            << int(Servidor::Reinicio) << 200 << QByteArray() << TabelaInicial << QStringList()
            << Prefixo + "a conexão foi interrompida durante a resposta." + Conselho;
        QTest::newRow("certificado de outra autoridade")
            << int(Servidor::OutraAutoridade) << 200 << QByteArray() << TabelaInicial
            << QStringList() << Prefixo + "o certificado do servidor não é confiável." + Conselho;
        QTest::newRow("sem servidor")
            << int(Servidor::PortaFechada) << 200 << QByteArray() << TabelaInicial << QStringList()
            << Prefixo + "a conexão foi recusada ou o servidor está inacessível." + Conselho;
    }
    void respostas() {
        QFETCH(int, servidor);
        QFETCH(int, status);
        QFETCH(QByteArray, corpo);
        QFETCH(QStringList, esperado);
        QFETCH(QStringList, ignorados);
        QFETCH(QString, falha);
        criaTabela({{QDate(2026, 8, 1), QStringLiteral("1.09")},
                    {QDate(2026, 9, 1), QStringLiteral("1.08")}});
        AutoridadeTeste outra;
        const IdentidadeTls identidade =
            servidor == int(Servidor::OutraAutoridade) ? outra.emite() : fIdentidade;
        ServidorHttpTeste http(
            [&](const PedidoHttp& pedido) {
                switch (Servidor(servidor)) {
                case Servidor::Serie:
                    return RespondedorBancoCentral(SerieRecente)(pedido);
                case Servidor::Silencio:
                    return RespostaHttpTeste::silencio();
                case Servidor::Reinicio:
                    return RespostaHttpTeste::reinicio();
                default:
                    return RespostaHttpTeste::comStatus(status, corpo);
                }
            },
            identidade);
        DestinoBancoCentral d = destino(http);
        if (servidor == int(Servidor::PortaFechada))
            d.endereco =
                QStringLiteral("https://127.0.0.1:%1/dados").arg(ServidorHttpTeste::portaFechada());
        const ResultadoSerie r = AtualizacaoBancoCentral(*fModulo, fRelogio, d).executa();
        QCOMPARE(r.Falha, falha);
        QStringList abertos;
        for (const DesfechoMes& m : r.meses(SituacaoMes::NaoEncerrado))
            abertos << Formato::mesAno(m.Mes);
        QCOMPARE(abertos, ignorados);
        confereTabela(esperado, esperado != TabelaInicial);
    }

    void outraTaxaMantemAdaTabela() {
        criaTabela({{QDate(2026, 8, 1), QStringLiteral("1.09")},
                    {QDate(2026, 9, 1), QStringLiteral("1.08")}});
        ServidorHttpTeste http(
            [](const PedidoHttp&) {
                return RespostaHttpTeste::comStatus(
                    200, "[{\"data\":\"01/09/2026\",\"valor\":\"1.10\"}]");
            },
            fIdentidade);
        const ResultadoSerie r =
            AtualizacaoBancoCentral(*fModulo, fRelogio, destino(http)).executa();
        QCOMPARE(r.Meses.size(), 1);
        QCOMPARE(int(r.Meses[0].Situacao), int(SituacaoMes::OutraTaxa));
        QCOMPARE(r.Meses[0].NaTabela, 1.08);
        QCOMPARE(r.Meses[0].Publicada, 1.10);
        confereTabela(TabelaInicial, false);
    }
};

QTEST_GUILESS_MAIN(TesteAtualizacaoBancoCentral)
#include "TesteAtualizacaoBancoCentral.moc"
