#include "apoio/DialogosRoteiro.h"
#include "refresh/AtualizacaoIndices.h"
#include "apoio/AutoridadeTeste.h"
#include "apoio/ModuloTeste.h"
#include "apoio/RespondedorSoap.h"
#include "apoio/ServidorHttpTeste.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>

using namespace std::chrono_literals;

namespace {

const QString EspacoNomes = QStringLiteral("http://servicos.teste/AtualizacaoBelqor");
const QString Documento = QStringLiteral(
    "<list><item><dataSelic>2024-02-01</dataSelic><valorTaxaSelic>0.80</valorTaxaSelic></item>"
    "<item><dataSelic>2024-03-01</dataSelic><valorTaxaSelic>0.83</valorTaxaSelic></item></list>");
const QString StatusBase = QStringLiteral("Atualizando Base de dados... Por favor aguarde!");
const QString StatusIndices = QStringLiteral("Atualizando Índices...");

// Answers the probes of one host with the statuses in turn, the last one from then on
// (a 302 without a target, so the probe stops there).
ServidorHttpTeste::Respondedor sequencia(QList<int> statuses) {
    auto vez = std::make_shared<std::atomic<int>>(0);
    return [statuses, vez](const PedidoHttp&) {
        const int i = std::min<int>(vez->fetch_add(1), int(statuses.size()) - 1);
        return RespostaHttpTeste::comStatus(statuses[i]);
    };
}

} // namespace

class TesteAtualizacaoIndices : public QObject {
    Q_OBJECT

    AutoridadeTeste fAutoridade;
    IdentidadeTls fIdentidade;
    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2024, 5, 15) + 0.5};
    DialogosRoteiro fDialogos;
    QStringList fStatus;
    int fPausas = 0;
    std::unique_ptr<ModuloTeste> fDados;

    QString tabela() const { return fPasta.filePath(QStringLiteral("BELQOR.cds")); }

    void prepara(const MesesTeste& meses) {
        escreveTabelaTeste(tabela(), meses);
        QFile::remove(fPasta.filePath(QStringLiteral("logBELQOR.txt")));
    }

    AtualizacaoIndices atualizacao(const QString& publico, const QString& intranet,
                                   const ServidorHttpTeste& servIntranet,
                                   const ServidorHttpTeste& servInternet) {
        DestinosAtualizacao d;
        d.hostPublico = publico;
        d.hostIntranet = intranet;
        d.servicoIntranet = servIntranet.url(QStringLiteral("/sol/services/AtualizacaoBelqor"));
        d.servicoInternet = servInternet.url(QStringLiteral("/sol/services/AtualizacaoBelqor"));
        d.espacoNomes = EspacoNomes;
        d.arquivoCertificados = fAutoridade.arquivoCertificado();
        d.tempoConexao = 2000ms;
        d.tempoRecepcaoSonda = 2000ms;
        d.tempoTotalServico = 5000ms;
        return AtualizacaoIndices(
            *fDados, fRelogio, fDialogos, d, [this](const QString& m) { fStatus << m; },
            [this] { ++fPausas; });
    }

    int linhasLog() const {
        QFile f(fPasta.filePath(QStringLiteral("logBELQOR.txt")));
        return f.open(QIODevice::ReadOnly) ? int(f.readAll().count("\r\n")) : 0;
    }

private slots:
    void initTestCase() {
        QVERIFY2(fAutoridade.erro().isEmpty(), qPrintable(fAutoridade.erro()));
        fIdentidade = fAutoridade.emite();
        QVERIFY2(!fIdentidade.certificado.isEmpty(), qPrintable(fAutoridade.erro()));
    }
    void init() {
        fDialogos.limpa();
        fStatus.clear();
        fPausas = 0;
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
    }
    void cleanup() { fDados.reset(); }

    void resultadosDasSondas_data() {
        QTest::addColumn<QList<int>>("publico");
        QTest::addColumn<int>("intranet"); // 0: nothing listens
        QTest::addColumn<int>("sondasPublico");
        QTest::addColumn<int>("chamadasIntranet");
        QTest::addColumn<int>("chamadasInternet");
        QTest::addColumn<bool>("dialogoA");
        QTest::addColumn<int>("meses");
        QTest::addColumn<int>("log");
        QTest::newRow("200 e 200: intranet")
            << QList<int>{200} << 200 << 1 << 1 << 0 << false << 3 << 0;
        QTest::newRow("200 e nada: internet")
            << QList<int>{200, 200} << 0 << 2 << 0 << 1 << false << 3 << 0;
        QTest::newRow("404: diálogo A") << QList<int>{404} << 200 << 1 << 0 << 0 << true << 1 << 0;
        QTest::newRow("500: diálogo A") << QList<int>{500} << 200 << 1 << 0 << 0 << true << 1 << 0;
        QTest::newRow("302 conta como alcançável")
            << QList<int>{302} << 302 << 1 << 1 << 0 << false << 3 << 0;
        QTest::newRow("nenhum depois da primeira")
            << QList<int>{200, 500} << 404 << 2 << 0 << 0 << false << 1 << 1;
    }
    void resultadosDasSondas() {
        QFETCH(QList<int>, publico);
        QFETCH(int, intranet);
        QFETCH(int, sondasPublico);
        QFETCH(int, chamadasIntranet);
        QFETCH(int, chamadasInternet);
        QFETCH(bool, dialogoA);
        QFETCH(int, meses);
        QFETCH(int, log);
        prepara({{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        RespondedorSoap soapIntranet(EspacoNomes), soapInternet(EspacoNomes);
        soapIntranet.respondeDocumento(Documento);
        soapInternet.respondeDocumento(Documento);
        ServidorHttpTeste servIntranet(soapIntranet.respondedor());
        ServidorHttpTeste servInternet(soapInternet.respondedor(), fIdentidade);
        ServidorHttpTeste hostPublico(sequencia(publico), fIdentidade);
        std::unique_ptr<ServidorHttpTeste> hostIntranet;
        QString enderecoIntranet =
            QStringLiteral("127.0.0.1:%1").arg(ServidorHttpTeste::portaFechada());
        if (intranet != 0) {
            hostIntranet = std::make_unique<ServidorHttpTeste>(sequencia({intranet}));
            enderecoIntranet = hostIntranet->host();
        }

        atualizacao(hostPublico.host(), enderecoIntranet, servIntranet, servInternet)
            .executa(tabela());

        QCOMPARE(hostPublico.quantidadePedidos(), sondasPublico);
        QCOMPARE(servIntranet.quantidadePedidos(), chamadasIntranet);
        QCOMPARE(servInternet.quantidadePedidos(), chamadasInternet);
        if (hostIntranet)
            QCOMPARE(hostIntranet->quantidadePedidos(), dialogoA ? 0 : 1);
        QCOMPARE(hostPublico.pedidos().first().caminho, QByteArray("/sol"));
        QCOMPARE(fDialogos.textos(),
                 dialogoA ? QStringList{AtualizacaoIndices::TextoFalhaConexao} : QStringList());
        QCOMPARE(fPausas, 1);
        QCOMPARE(fStatus.first(), StatusBase);
        QCOMPARE(fStatus.last(), QString());
        QCOMPARE(fStatus.contains(StatusIndices), !dialogoA);
        QVERIFY(fDados->CDSSelic.ativa());
        QCOMPARE(fDados->CDSSelic.quantidade(), meses);
        QCOMPARE(linhasLog(), log);
        QVERIFY(soapIntranet.problemas().isEmpty());
        QVERIFY(soapInternet.problemas().isEmpty());
        if (chamadasIntranet)
            QCOMPARE(soapIntranet.datasRecebidas().first(),
                     std::optional<QString>(QStringLiteral("01/01/2024")));

        // The months the service returned reach the file when the table closes.
        fDados->CDSSelic.fechar();
        QCOMPARE(conteudoArquivo(tabela()).count("<ROW "), qsizetype(meses));
    }

    // A negative rate in the service's answer is refused with its message; the other months
    // of the answer are stored.
    void taxaNegativaDoServicoRecusada() {
        prepara({{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        RespondedorSoap soap(EspacoNomes);
        soap.respondeDocumento(QStringLiteral(
            "<list><item><dataSelic>2024-02-01</dataSelic><valorTaxaSelic>-0.80</valorTaxaSelic>"
            "</item><item><dataSelic>2024-03-01</dataSelic><valorTaxaSelic>0.83</valorTaxaSelic>"
            "</item></list>"));
        ServidorHttpTeste servico(soap.respondedor());
        ServidorHttpTeste publico(sequencia({200}), fIdentidade);
        ServidorHttpTeste intranet(sequencia({200}));
        atualizacao(publico.host(), intranet.host(), servico, servico).executa(tabela());
        QCOMPARE(fDialogos.textos(),
                 (QStringList{QStringLiteral("A Selic de 02/2024 não pode ser negativa: -0,8."),
                              QStringLiteral("Falha ao inserir registro")}));
        QCOMPARE(fDados->CDSSelic.quantidade(), 2);
        fDados->CDSSelic.fechar();
        const QByteArray arquivo = conteudoArquivo(tabela());
        QVERIFY(!arquivo.contains("Data=\"20240201\""));
        QVERIFY(arquivo.contains("Data=\"20240301\""));
    }

    // The library receives a null text and asks the service with an empty one.
    void tabelaVaziaEnviaDataVazia() {
        prepara({});
        RespondedorSoap soap(EspacoNomes);
        soap.respondeDocumento(Documento);
        ServidorHttpTeste servico(soap.respondedor());
        ServidorHttpTeste publico(sequencia({200}), fIdentidade);
        ServidorHttpTeste intranet(sequencia({200}));
        atualizacao(publico.host(), intranet.host(), servico, servico).executa(tabela());
        QCOMPARE(soap.problemas(), QStringList());
        QCOMPARE(soap.datasRecebidas(), (QList<std::optional<QString>>{QString()}));
        QCOMPARE(fDados->CDSSelic.quantidade(), 2);
    }

    void textoVazioDaBibliotecaMostraDialogoB() {
        prepara({{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        RespondedorSoap soap(EspacoNomes);
        soap.respondeDocumento(QString());
        ServidorHttpTeste servico(soap.respondedor());
        ServidorHttpTeste publico(sequencia({200}), fIdentidade);
        ServidorHttpTeste intranet(sequencia({200}));
        atualizacao(publico.host(), intranet.host(), servico, servico).executa(tabela());
        QCOMPARE(fDialogos.registros().size(), 1);
        QCOMPARE(fDialogos.registros()[0].tipoDialogo, TipoDialogo::Erro);
        QVERIFY(fDialogos.textos()[0].startsWith(AtualizacaoIndices::TextoFalhaGeral));
        QVERIFY(fDialogos.textos()[0].size() > AtualizacaoIndices::TextoFalhaGeral.size());
        QCOMPARE(fDados->CDSSelic.quantidade(), 1);
        QCOMPARE(fStatus.last(), QString());
    }

    void falhaDoServicoMostraDialogoB() {
        prepara({{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        RespondedorSoap soap(EspacoNomes);
        soap.respondeFalha(QStringLiteral("soapenv:Server"),
                           QStringLiteral("índices indisponíveis"));
        ServidorHttpTeste servico(soap.respondedor());
        ServidorHttpTeste publico(sequencia({200}), fIdentidade);
        ServidorHttpTeste intranet(sequencia({200}));
        atualizacao(publico.host(), intranet.host(), servico, servico).executa(tabela());
        QCOMPARE(fDialogos.textos().size(), 1);
        QVERIFY(fDialogos.textos()[0].startsWith(AtualizacaoIndices::TextoFalhaGeral));
        QVERIFY(fDialogos.textos()[0].contains(QStringLiteral("índices indisponíveis")));
    }

    void tabelaAusenteNaoSondaNada() {
        prepara({});
        QVERIFY(QFile::remove(tabela()));
        ServidorHttpTeste publico(sequencia({200}), fIdentidade);
        ServidorHttpTeste intranet(sequencia({200}));
        atualizacao(publico.host(), intranet.host(), intranet, intranet).executa(tabela());
        QCOMPARE(fDialogos.textos().size(), 1);
        QVERIFY(fDialogos.textos()[0].startsWith(AtualizacaoIndices::TextoFalhaGeral));
        QVERIFY(fDialogos.textos()[0].contains(tabela()));
        QCOMPARE(fStatus, QStringList{QString()});
        QCOMPARE(publico.quantidadePedidos(), 0);
        QCOMPARE(intranet.quantidadePedidos(), 0);
        QCOMPARE(fPausas, 0);
        QVERIFY(!fDados->CDSSelic.ativa());
        QCOMPARE(fDados->ArqDados, tabela());
    }
};

QTEST_GUILESS_MAIN(TesteAtualizacaoIndices)
#include "TesteAtualizacaoIndices.moc"
