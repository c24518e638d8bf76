#include "service/AtualizacaoBelqorService.h"
#include "service/ServicoSelic.h"

#include "apoio/AutoridadeTeste.h"
#include "apoio/RespondedorSoap.h"
#include "apoio/ServidorHttpTeste.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <optional>

using namespace std::chrono_literals;

namespace {

const QString espacoNomes = QStringLiteral("urn:teste:AtualizacaoBelqor");
const QString caminhoServico = QStringLiteral("/sol/services/AtualizacaoBelqor");
const QString documento = QStringLiteral("<list><item><dataSelic>2024-06-01</dataSelic>"
                                         "<valorTaxaSelic>0,79</valorTaxaSelic></item></list>");

using PontoDeEntrada = int32_t (*)(const char16_t*, char16_t**, char16_t**);

// The namespace of the service's description, whose schema the fixtures keep.
const QString espacoNomesDescricao =
    QStringLiteral("http://servicos.sefaz.exemplo.gov.br/AtualizacaoBelqor");

// What the schema validator says of an envelope checked against the description's
// schema; empty when it validates.
QString recusaDoEsquema(const QByteArray& envelope) {
    QProcess validador;
    validador.start(
        QStringLiteral(BELQOR_XMLLINT),
        {QStringLiteral("--noout"), QStringLiteral("--nonet"), QStringLiteral("--schema"),
         QStringLiteral(BELQOR_FIXTURES "/servico/envelope-soap.xsd"), QStringLiteral("-")});
    if (!validador.waitForStarted(-1))
        return QStringLiteral("o validador não iniciou: ") + validador.errorString();
    validador.write(envelope);
    validador.closeWriteChannel();
    validador.waitForFinished(-1);
    if (validador.exitStatus() == QProcess::NormalExit && validador.exitCode() == 0)
        return QString();
    return QString::fromUtf8(validador.readAllStandardError()).trimmed();
}

// One call through the C interface, with both returned texts copied and released.
struct Chamada {
    int32_t status = -1;
    std::optional<QString> resultado;
    std::optional<QString> mensagem;
};

Chamada chama(PontoDeEntrada pontoDeEntrada, const char16_t* ultimaDataSelic) {
    char16_t* resultado = nullptr;
    char16_t* mensagem = nullptr;
    Chamada chamada;
    chamada.status = pontoDeEntrada(ultimaDataSelic, &resultado, &mensagem);
    if (resultado)
        chamada.resultado = QString::fromUtf16(resultado);
    if (mensagem)
        chamada.mensagem = QString::fromUtf16(mensagem);
    liberaTextoAtualizacaoBelqor(resultado);
    liberaTextoAtualizacaoBelqor(mensagem);
    return chamada;
}

int32_t aponta(int32_t rede, const QString& endereco, const QString& certificados = {},
               int32_t tempoTotalMs = 0, const QString& servico = espacoNomes) {
    const QByteArray e = endereco.toUtf8();
    const QByteArray n = servico.toUtf8();
    const QByteArray c = certificados.toLocal8Bit();
    const DestinoAtualizacaoBelqor destino{e.constData(),
                                           servico.isNull() ? nullptr : n.constData(),
                                           c.constData(), 1000, tempoTotalMs};
    return defineDestinoAtualizacaoBelqor(rede, &destino);
}

enum class Resposta {
    Falha,
    Erro503,
    Erro500SemEnvelope,
    Malformada,
    OutroXml,
    EnvelopeSemCorpo,
    CorpoVazio,
    Aninhada,
    GrandeDemais
};

} // namespace

Q_DECLARE_METATYPE(Resposta)

class TesteServicoAtualizacao : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const char* variavel :
             {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(variavel);
        QVERIFY2(fAutoridade.erro().isEmpty(), qPrintable(fAutoridade.erro()));
        fIdentidade = fAutoridade.emite();
        QVERIFY2(!fIdentidade.certificado.isEmpty(), qPrintable(fAutoridade.erro()));
    }

    void cleanup() {
        defineDestinoAtualizacaoBelqor(ATUALIZACAO_BELQOR_INTRANET, nullptr);
        defineDestinoAtualizacaoBelqor(ATUALIZACAO_BELQOR_INTERNET, nullptr);
    }

    void documentoPelaIntranet_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("nula");
        QTest::newRow("data do último mês") << "01/05/2024" << false;
        QTest::newRow("tabela vazia") << QString() << true;
    }
    void documentoPelaIntranet() {
        QFETCH(QString, data);
        QFETCH(bool, nula);
        RespondedorSoap soap(espacoNomes);
        soap.respondeDocumento(documento);
        ServidorHttpTeste servidor(soap.respondedor());
        QCOMPARE(aponta(ATUALIZACAO_BELQOR_INTRANET, servidor.url(caminhoServico)),
                 ATUALIZACAO_BELQOR_OK);

        const Chamada chamada =
            chama(retornaUltimoIndiceSELIC_INTRANET,
                  nula ? nullptr : reinterpret_cast<const char16_t*>(data.utf16()));

        QCOMPARE(soap.problemas().join(QStringLiteral("; ")), QString());
        QCOMPARE(chamada.status, ATUALIZACAO_BELQOR_OK);
        QCOMPARE(chamada.resultado, std::optional<QString>(documento));
        QCOMPARE(chamada.mensagem, std::nullopt);
        // An empty table's null text reaches the service as an empty argument.
        QCOMPARE(soap.datasRecebidas(), QList<std::optional<QString>>{std::optional(data)});
        QCOMPARE(servidor.pedidos().first().caminho, caminhoServico.toUtf8());
    }

    void pedidoValidaNoEsquemaDoServico_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("nula");
        QTest::newRow("tabela vazia") << QString() << true;
        QTest::newRow("data do último mês") << "01/05/2024" << false;
    }
    void pedidoValidaNoEsquemaDoServico() {
        QFETCH(QString, data);
        QFETCH(bool, nula);
        RespondedorSoap soap(espacoNomesDescricao);
        soap.respondeDocumento(documento);
        ServidorHttpTeste servidor(soap.respondedor());
        QCOMPARE(aponta(ATUALIZACAO_BELQOR_INTRANET, servidor.url(caminhoServico), {}, 0,
                        espacoNomesDescricao),
                 ATUALIZACAO_BELQOR_OK);

        const Chamada chamada =
            chama(retornaUltimoIndiceSELIC_INTRANET,
                  nula ? nullptr : reinterpret_cast<const char16_t*>(data.utf16()));

        QCOMPARE(servidor.quantidadePedidos(), 1);
        QCOMPARE(recusaDoEsquema(servidor.pedidos().first().corpo), QString());
        QCOMPARE(chamada.status, ATUALIZACAO_BELQOR_OK);
    }

    // The schema refuses the nil argument that the service answers with an error.
    void esquemaRecusaArgumentoNulo() {
        const QByteArray nulo =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><soapenv:Body>"
            "<ns1:retornaUltimoIndiceSELIC "
            "xmlns:ns1=\"http://servicos.sefaz.exemplo.gov.br/AtualizacaoBelqor\">"
            "<ultimaDataSelic xsi:nil=\"true\"/></ns1:retornaUltimoIndiceSELIC>"
            "</soapenv:Body></soapenv:Envelope>";
        const QString recusa = recusaDoEsquema(nulo);
        QVERIFY2(recusa.contains(QStringLiteral("not 'nillable'")), qPrintable(recusa));
    }

    // Each network has its own destination; the internet one here over TLS.
    void cadaRedeNoSeuDestino() {
        RespondedorSoap intranet(espacoNomes);
        intranet.respondeDocumento(QStringLiteral("<list/>"));
        RespondedorSoap internet(espacoNomes);
        internet.respondeDocumento(QStringLiteral("<list>Índices de março</list>"));
        ServidorHttpTeste servidorIntranet(intranet.respondedor());
        ServidorHttpTeste servidorInternet(internet.respondedor(), fIdentidade);
        QCOMPARE(aponta(ATUALIZACAO_BELQOR_INTRANET, servidorIntranet.url(caminhoServico)),
                 ATUALIZACAO_BELQOR_OK);
        QCOMPARE(aponta(ATUALIZACAO_BELQOR_INTERNET, servidorInternet.url(caminhoServico),
                        fAutoridade.arquivoCertificado()),
                 ATUALIZACAO_BELQOR_OK);

        const Chamada chamada = chama(retornaUltimoIndiceSELIC_INTERNET, u"01/02/2024");

        QCOMPARE(internet.problemas().join(QStringLiteral("; ")), QString());
        QCOMPARE(chamada.resultado,
                 std::optional<QString>(QStringLiteral("<list>Índices de março</list>")));
        QCOMPARE(servidorInternet.quantidadePedidos(), 1);
        QCOMPARE(servidorIntranet.quantidadePedidos(), 0);
    }

    void resultadoVazio_data() {
        QTest::addColumn<int>("forma");
        QTest::addColumn<std::optional<QString>>("esperado");
        QTest::newRow("elemento nulo") << 0 << std::optional<QString>();
        QTest::newRow("elemento ausente") << 1 << std::optional<QString>();
        QTest::newRow("elemento vazio") << 2 << std::optional<QString>(QString(""));
    }
    void resultadoVazio() {
        QFETCH(int, forma);
        QFETCH(std::optional<QString>, esperado);
        RespondedorSoap soap(espacoNomes);
        if (forma == 0)
            soap.respondeNulo();
        else if (forma == 1)
            soap.respondeAusente();
        else
            soap.respondeDocumento(QString());
        ServidorHttpTeste servidor(soap.respondedor());
        aponta(ATUALIZACAO_BELQOR_INTERNET, servidor.url(caminhoServico));

        const Chamada chamada = chama(retornaUltimoIndiceSELIC_INTERNET, u"01/05/2024");

        QCOMPARE(soap.problemas().join(QStringLiteral("; ")), QString());
        QCOMPARE(chamada.status, ATUALIZACAO_BELQOR_OK);
        QCOMPARE(chamada.resultado, esperado);
        QCOMPARE(chamada.mensagem, std::nullopt);
    }

    void respostaDeFalha_data() {
        QTest::addColumn<Resposta>("resposta");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("falha SOAP") << Resposta::Falha << int(ATUALIZACAO_BELQOR_FALHA_SOAP)
                                    << "O serviço de atualização de índices recusou o pedido: Data "
                                       "inválida (código soapenv:Server)";
        QTest::newRow("erro HTTP 503")
            << Resposta::Erro503 << int(ATUALIZACAO_BELQOR_ERRO_HTTP)
            << "O serviço de atualização de índices respondeu com o erro HTTP 503.";
        QTest::newRow("500 sem envelope")
            << Resposta::Erro500SemEnvelope << int(ATUALIZACAO_BELQOR_ERRO_HTTP)
            << "O serviço de atualização de índices respondeu com o erro HTTP 500.";
        QTest::newRow("envelope malformado")
            << Resposta::Malformada << int(ATUALIZACAO_BELQOR_RESPOSTA_INVALIDA)
            << "A resposta do serviço de atualização de índices não pôde ser lida: o documento "
               "terminou antes do "
               "fim do envelope.";
        QTest::newRow("XML que não é envelope")
            << Resposta::OutroXml << int(ATUALIZACAO_BELQOR_RESPOSTA_INVALIDA)
            << "A resposta do serviço de atualização de índices não pôde ser lida: o documento não "
               "é um envelope "
               "SOAP 1.1.";
        QTest::newRow("envelope sem corpo")
            << Resposta::EnvelopeSemCorpo << int(ATUALIZACAO_BELQOR_RESPOSTA_INVALIDA)
            << "A resposta do serviço de atualização de índices não pôde ser lida: o envelope não "
               "tem corpo.";
        QTest::newRow("resposta vazia")
            << Resposta::CorpoVazio << int(ATUALIZACAO_BELQOR_RESPOSTA_INVALIDA)
            << "A resposta do serviço de atualização de índices não pôde ser lida: o documento "
               "terminou antes do "
               "fim do envelope.";
        QTest::newRow("aninhada 100 000 níveis")
            << Resposta::Aninhada << int(ATUALIZACAO_BELQOR_RESPOSTA_INVALIDA)
            << "A resposta do serviço de atualização de índices não pôde ser lida: os elementos "
               "estão aninhados em mais de 32 níveis.";
        QTest::newRow("33 MiB")
            << Resposta::GrandeDemais << int(ATUALIZACAO_BELQOR_RESPOSTA_INVALIDA)
            << "A resposta do serviço de atualização de índices é grande demais para ser um "
               "documento de índices.";
    }
    void respostaDeFalha() {
        QFETCH(Resposta, resposta);
        QFETCH(int, status);
        QFETCH(QString, mensagem);
        RespondedorSoap soap(espacoNomes);
        const QByteArray envelope =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\">";
        switch (resposta) {
        case Resposta::Falha:
            soap.respondeFalha(QStringLiteral("soapenv:Server"), QStringLiteral("Data inválida"));
            break;
        case Resposta::Erro503:
            soap.respondeCru(503, "<html><body>Serviço indisponível</body></html>");
            break;
        case Resposta::Erro500SemEnvelope:
            soap.respondeCru(500, "<html><body>Erro interno</body></html>");
            break;
        case Resposta::Malformada:
            soap.respondeCru(200, envelope + "<e:Body><ns1:retorna");
            break;
        case Resposta::OutroXml:
            soap.respondeCru(200, documento.toUtf8());
            break;
        case Resposta::EnvelopeSemCorpo:
            soap.respondeCru(200, envelope + "<e:Header/></e:Envelope>");
            break;
        case Resposta::CorpoVazio:
            soap.respondeCru(200, QByteArray());
            break;
        case Resposta::Aninhada:
            soap.respondeCru(200, envelope + "<e:Body>" + QByteArray("<a>").repeated(100000));
            break;
        case Resposta::GrandeDemais:
            soap.respondeCru(200, envelope + QByteArray(33 * 1024 * 1024, ' '));
            break;
        }
        ServidorHttpTeste servidor(soap.respondedor());
        aponta(ATUALIZACAO_BELQOR_INTRANET, servidor.url(caminhoServico));

        const Chamada chamada = chama(retornaUltimoIndiceSELIC_INTRANET, u"01/05/2024");

        QCOMPARE(soap.problemas().join(QStringLiteral("; ")), QString());
        QCOMPARE(chamada.status, status);
        QCOMPARE(chamada.resultado, std::nullopt);
        QCOMPARE(chamada.mensagem, std::optional(mensagem));
    }

    void semConexao_data() {
        QTest::addColumn<int>("caso");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("conexão recusada")
            << 0 << "a conexão foi recusada ou o servidor está inacessível";
        QTest::newRow("servidor calado") << 1 << "o servidor não respondeu a tempo";
        QTest::newRow("autoridade desconhecida")
            << 2 << "o certificado do servidor não é confiável";
    }
    void semConexao() {
        QFETCH(int, caso);
        QFETCH(QString, motivo);
        ServidorHttpTeste servidor([](const PedidoHttp&) { return RespostaHttpTeste::silencio(); },
                                   caso == 2 ? std::optional(fIdentidade) : std::nullopt);
        const QString endereco = caso == 0 ? QStringLiteral("http://127.0.0.1:%1%2")
                                                 .arg(ServidorHttpTeste::portaFechada())
                                                 .arg(caminhoServico)
                                           : servidor.url(caminhoServico);
        // Without the test authority's file the system's store does not know it.
        QCOMPARE(aponta(ATUALIZACAO_BELQOR_INTERNET, endereco, QString(), 1000),
                 ATUALIZACAO_BELQOR_OK);
        QElapsedTimer relogio;
        relogio.start();

        const Chamada chamada = chama(retornaUltimoIndiceSELIC_INTERNET, u"01/05/2024");

        QCOMPARE_LT(relogio.elapsed(), 10000);
        QCOMPARE(chamada.status, ATUALIZACAO_BELQOR_SEM_CONEXAO);
        QCOMPARE(chamada.resultado, std::nullopt);
        QCOMPARE(
            chamada.mensagem,
            std::optional(
                QStringLiteral("Não foi possível comunicar com o serviço de atualização de índices "
                               "em %1: %2.")
                    .arg(endereco, motivo)));
    }

    void semLugarParaResultado() {
        char16_t* mensagem = nullptr;
        QCOMPARE(retornaUltimoIndiceSELIC_INTRANET(u"01/05/2024", nullptr, &mensagem),
                 ATUALIZACAO_BELQOR_ARGUMENTO_INVALIDO);
        QVERIFY(mensagem);
        QCOMPARE(
            QString::fromUtf16(mensagem),
            QStringLiteral(
                "O serviço de atualização de índices foi chamado sem lugar para o resultado."));
        liberaTextoAtualizacaoBelqor(mensagem);
    }

    void falhaSemPedirMensagem() {
        aponta(ATUALIZACAO_BELQOR_INTRANET,
               QStringLiteral("http://127.0.0.1:%1/").arg(ServidorHttpTeste::portaFechada()));
        char16_t* resultado = nullptr;
        QCOMPARE(retornaUltimoIndiceSELIC_INTRANET(nullptr, &resultado, nullptr),
                 ATUALIZACAO_BELQOR_SEM_CONEXAO);
        QCOMPARE(resultado, nullptr);
    }

    void destinoRecusado() {
        const DestinoAtualizacaoBelqor negativo{"http://127.0.0.1/", nullptr, nullptr, -1, 0};
        QCOMPARE(defineDestinoAtualizacaoBelqor(2, nullptr), ATUALIZACAO_BELQOR_ARGUMENTO_INVALIDO);
        QCOMPARE(defineDestinoAtualizacaoBelqor(ATUALIZACAO_BELQOR_INTRANET, &negativo),
                 ATUALIZACAO_BELQOR_ARGUMENTO_INVALIDO);
    }

    // A destination that leaves the namespace out takes the one the library was built with.
    void espacoDeNomesEmbutido() {
        RespondedorSoap soap(QStringLiteral(BELQOR_SERVICO_ESPACO_NOMES));
        soap.respondeDocumento(documento);
        ServidorHttpTeste servidor(soap.respondedor());
        QCOMPARE(
            aponta(ATUALIZACAO_BELQOR_INTRANET, servidor.url(caminhoServico), {}, 0, QString()),
            ATUALIZACAO_BELQOR_OK);

        const Chamada chamada = chama(retornaUltimoIndiceSELIC_INTRANET, u"01/05/2024");

        QCOMPARE(soap.problemas().join(QStringLiteral("; ")), QString());
        QCOMPARE(chamada.status, ATUALIZACAO_BELQOR_OK);
    }

    void destinosPadraoDaConfiguracao() {
        const DestinosAtualizacao destinos = DestinosAtualizacao::padrao();
        QCOMPARE(destinos.hostPublico, QStringLiteral(BELQOR_HOST_PUBLICO));
        QCOMPARE(destinos.hostIntranet, QStringLiteral(BELQOR_HOST_INTRANET));
        QCOMPARE(destinos.servicoIntranet, QStringLiteral(BELQOR_SERVICO_INTRANET));
        QCOMPARE(destinos.servicoInternet, QStringLiteral(BELQOR_SERVICO_INTERNET));
        QCOMPARE(destinos.espacoNomes, QStringLiteral(BELQOR_SERVICO_ESPACO_NOMES));
        QCOMPARE(destinos.urlSondaPublica(), QStringLiteral(BELQOR_HOST_PUBLICO "/sol"));
        QCOMPARE(destinos.urlSondaIntranet(), QStringLiteral(BELQOR_HOST_INTRANET "/sol"));
    }

    void servicoSelicDevolveTexto_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("nulo");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("documento") << "01/05/2024" << false << documento;
        QTest::newRow("tabela vazia, resultado nulo") << QString() << true << QString();
    }
    void servicoSelicDevolveTexto() {
        QFETCH(QString, data);
        QFETCH(bool, nulo);
        QFETCH(QString, esperado);
        RespondedorSoap soap(espacoNomes);
        if (nulo)
            soap.respondeNulo();
        else
            soap.respondeDocumento(documento);
        ServidorHttpTeste intranet(soap.respondedor());
        ServidorHttpTeste internet(soap.respondedor(), fIdentidade);
        const ServicoSelic servico(destinos(intranet, internet));

        QCOMPARE(servico.retornaUltimoIndiceSELIC_INTRANET(data), esperado);
        QCOMPARE(servico.retornaUltimoIndiceSELIC_INTERNET(data), esperado);

        QCOMPARE(soap.problemas().join(QStringLiteral("; ")), QString());
        const std::optional<QString> enviada(data);
        QCOMPARE(soap.datasRecebidas(), (QList<std::optional<QString>>{enviada, enviada}));
        QCOMPARE(intranet.quantidadePedidos(), 1);
        QCOMPARE(internet.quantidadePedidos(), 1);
    }

    void servicoSelicLancaFalha() {
        RespondedorSoap soap(espacoNomes);
        soap.respondeFalha(QStringLiteral("soapenv:Client"), QStringLiteral("Pedido recusado"));
        ServidorHttpTeste intranet(soap.respondedor());
        ServidorHttpTeste internet(soap.respondedor(), fIdentidade);
        const ServicoSelic servico(destinos(intranet, internet));
        try {
            servico.retornaUltimoIndiceSELIC_INTRANET(QStringLiteral("01/05/2024"));
            QFAIL("a falha do serviço não chegou como exceção");
        } catch (const ErroServicoAtualizacao& erro) {
            QCOMPARE(erro.status(), ATUALIZACAO_BELQOR_FALHA_SOAP);
            QCOMPARE(erro.mensagem(),
                     QStringLiteral("O serviço de atualização de índices recusou o pedido: "
                                    "Pedido recusado (código soapenv:Client)"));
        }
    }

private:
    DestinosAtualizacao destinos(const ServidorHttpTeste& intranet,
                                 const ServidorHttpTeste& internet) const {
        DestinosAtualizacao destinos;
        destinos.servicoIntranet = intranet.url(caminhoServico);
        destinos.servicoInternet = internet.url(caminhoServico);
        destinos.espacoNomes = espacoNomes;
        destinos.arquivoCertificados = fAutoridade.arquivoCertificado();
        destinos.tempoTotalServico = 5000ms;
        return destinos;
    }

    AutoridadeTeste fAutoridade;
    IdentidadeTls fIdentidade;
};

QTEST_GUILESS_MAIN(TesteServicoAtualizacao)
#include "TesteServicoAtualizacao.moc"
