#include "rede/SondaUrl.h"

#include "apoio/AutoridadeTeste.h"
#include "apoio/ServidorHttpTeste.h"

#include <QElapsedTimer>
#include <QTest>

using namespace std::chrono_literals;

namespace {

// The host under test answers /sol as told; /destino and /ausente are redirection targets.
ServidorHttpTeste::Respondedor rotas(RespostaHttpTeste sol) {
    return [sol](const PedidoHttp& pedido) {
        if (pedido.caminho == "/destino")
            return RespostaHttpTeste::comStatus(200);
        if (pedido.caminho == "/ausente")
            return RespostaHttpTeste::comStatus(404);
        return sol;
    };
}

RespostaHttpTeste respostaCom(int status, const QByteArray& destino) {
    return destino.isEmpty() ? RespostaHttpTeste::comStatus(status)
                             : RespostaHttpTeste::redireciona(status, destino);
}

} // namespace

class TesteSondaUrl : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        ServidorHttpTeste::ignoraProxiesDoAmbiente();
        QVERIFY2(fAutoridade.erro().isEmpty(), qPrintable(fAutoridade.erro()));
        fIdentidade = fAutoridade.emite();
        QVERIFY2(!fIdentidade.certificado.isEmpty(), qPrintable(fAutoridade.erro()));
    }

    void esquema_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("https");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("https sem esquema")
            << "www.exemplo/sol" << true << "https://www.exemplo/sol";
        QTest::newRow("https já presente")
            << "https://www.exemplo/sol" << true << "https://www.exemplo/sol";
        QTest::newRow("HTTPS maiúsculo não se repete")
            << "HTTPS://www.exemplo/sol" << true << "HTTPS://www.exemplo/sol";
        QTest::newRow("https em qualquer lugar")
            << "www.exemplo/sol?volta=https://x" << true << "www.exemplo/sol?volta=https://x";
        QTest::newRow("http sem esquema") << "intranet/sol" << false << "http://intranet/sol";
        QTest::newRow("Http misto não se repete")
            << "Http://intranet/sol" << false << "Http://intranet/sol";
        QTest::newRow("https não conta como http")
            << "https://intranet/sol" << false << "http://https://intranet/sol";
    }
    void esquema() {
        QFETCH(QString, url);
        QFETCH(bool, https);
        QFETCH(QString, esperado);
        QCOMPARE(urlComEsquema(url, https), esperado);
    }

    void statusHttp_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("destino");
        QTest::addColumn<bool>("alcancavel");
        QTest::newRow("200") << 200 << QByteArray() << true;
        QTest::newRow("302 sem destino") << 302 << QByteArray() << true;
        QTest::newRow("302 para página 200") << 302 << QByteArray("/destino") << true;
        QTest::newRow("302 para página 404") << 302 << QByteArray("/ausente") << false;
        QTest::newRow("301 sem destino") << 301 << QByteArray() << false;
        QTest::newRow("301 para página 200") << 301 << QByteArray("/destino") << true;
        QTest::newRow("302 para destino ilegível") << 302 << QByteArray("http://[::1") << true;
        QTest::newRow("redirecionamento sem fim") << 302 << QByteArray("/sol") << false;
        QTest::newRow("204") << 204 << QByteArray() << false;
        QTest::newRow("404") << 404 << QByteArray() << false;
        QTest::newRow("500") << 500 << QByteArray() << false;
        QTest::newRow("503") << 503 << QByteArray() << false;
    }
    void statusHttp() {
        QFETCH(int, status);
        QFETCH(QByteArray, destino);
        QFETCH(bool, alcancavel);
        ServidorHttpTeste servidor(rotas(respostaCom(status, destino)));
        QCOMPARE(CheckUrl(servidor.host() + "/sol", false), alcancavel);
    }

    void statusHttps_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("destino");
        QTest::addColumn<bool>("alcancavel");
        QTest::newRow("200") << 200 << QByteArray() << true;
        QTest::newRow("302 sem destino") << 302 << QByteArray() << true;
        QTest::newRow("302 para página 200") << 302 << QByteArray("/destino") << true;
        QTest::newRow("404") << 404 << QByteArray() << false;
        QTest::newRow("500") << 500 << QByteArray() << false;
    }
    void statusHttps() {
        QFETCH(int, status);
        QFETCH(QByteArray, destino);
        QFETCH(bool, alcancavel);
        ServidorHttpTeste servidor(rotas(respostaCom(status, destino)), fIdentidade);
        QCOMPARE(CheckUrl(servidor.host() + "/sol", true, confiaNaAutoridade()), alcancavel);
        QCOMPARE(servidor.pedidos().first().caminho, QByteArray("/sol"));
    }

    void httpsMaiusculoNaoRepeteEsquema() {
        ServidorHttpTeste servidor(rotas(RespostaHttpTeste::comStatus(200)), fIdentidade);
        QVERIFY(CheckUrl("HTTPS://" + servidor.host() + "/sol", true, confiaNaAutoridade()));
        QCOMPARE(servidor.quantidadePedidos(), 1);
    }

    void certificadoRecusado_data() {
        QTest::addColumn<QString>("nomes");
        QTest::addColumn<bool>("outraAutoridade");
        QTest::newRow("certificado de outro nome") << "DNS:outro.exemplo" << false;
        QTest::newRow("autoridade desconhecida") << "IP:127.0.0.1" << true;
    }
    void certificadoRecusado() {
        QFETCH(QString, nomes);
        QFETCH(bool, outraAutoridade);
        AutoridadeTeste outra;
        AutoridadeTeste& emissora = outraAutoridade ? outra : fAutoridade;
        const IdentidadeTls identidade = emissora.emite(nomes);
        QVERIFY2(!identidade.certificado.isEmpty(), qPrintable(emissora.erro()));
        ServidorHttpTeste servidor(rotas(RespostaHttpTeste::comStatus(200)), identidade);
        QCOMPARE(CheckUrl(servidor.host() + "/sol", true, confiaNaAutoridade()), false);
        QCOMPARE(servidor.quantidadePedidos(), 0);
    }

    void semResposta_data() {
        QTest::addColumn<int>("caso");
        QTest::addColumn<bool>("https");
        QTest::newRow("conexão recusada") << 0 << false;
        QTest::newRow("conexão recusada, https") << 0 << true;
        QTest::newRow("fecha sem responder") << 1 << false;
        QTest::newRow("nunca responde") << 2 << false;
        QTest::newRow("nunca completa o TLS") << 2 << true;
    }
    void semResposta() {
        QFETCH(int, caso);
        QFETCH(bool, https);
        const RespostaHttpTeste resposta =
            caso == 1 ? RespostaHttpTeste::fechamento() : RespostaHttpTeste::silencio();
        ServidorHttpTeste servidor(rotas(resposta));
        const QString host =
            caso == 0 ? QStringLiteral("127.0.0.1:%1").arg(ServidorHttpTeste::portaFechada())
                      : servidor.host();
        OpcoesSonda opcoes = confiaNaAutoridade();
        opcoes.tempoConexao = 1000ms;
        opcoes.tempoRecepcao = 1000ms;
        QElapsedTimer relogio;
        relogio.start();
        QCOMPARE(CheckUrl(host + "/sol", https, opcoes), false);
        QCOMPARE_LT(relogio.elapsed(), 10000);
    }

    void pedidoDaSonda() {
        ServidorHttpTeste servidor(rotas(RespostaHttpTeste::comStatus(200)));
        QVERIFY(CheckUrl(servidor.host() + "/sol", false));
        const QList<PedidoHttp> pedidos = servidor.pedidos();
        QCOMPARE(pedidos.size(), 1);
        QCOMPARE(pedidos[0].metodo, QByteArray("GET"));
        QCOMPARE(pedidos[0].caminho, QByteArray("/sol"));
        QCOMPARE(pedidos[0].cabecalho("User-Agent"), QByteArray("InetURL:/1.0"));
        QCOMPARE(pedidos[0].cabecalho("Cache-Control"), QByteArray("no-cache"));
        QCOMPARE(pedidos[0].cabecalho("Pragma"), QByteArray("no-cache"));
    }

    // With the default 30-second receive time-out, waiting for the body would take that long.
    void corpoNuncaEsperado() {
        ServidorHttpTeste servidor(rotas(RespostaHttpTeste::semCorpo(200, 1000000)));
        QElapsedTimer relogio;
        relogio.start();
        QVERIFY(CheckUrl(servidor.host() + "/sol", false));
        QCOMPARE_LT(relogio.elapsed(), 10000);
    }

    void usaProxyDoSistema() {
        ServidorHttpTeste proxy(rotas(RespostaHttpTeste::comStatus(200)));
        qputenv("http_proxy", ("http://" + proxy.host()).toUtf8());
        const bool alcancavel = CheckUrl("intranet.exemplo.invalid/sol", false);
        qunsetenv("http_proxy");
        QVERIFY(alcancavel);
        QCOMPARE(proxy.quantidadePedidos(), 1);
        QCOMPARE(proxy.pedidos().first().caminho,
                 QByteArray("http://intranet.exemplo.invalid/sol"));
    }

private:
    OpcoesSonda confiaNaAutoridade() const {
        OpcoesSonda opcoes;
        opcoes.arquivoCertificados = fAutoridade.arquivoCertificado();
        return opcoes;
    }

    AutoridadeTeste fAutoridade;
    IdentidadeTls fIdentidade;
};

QTEST_GUILESS_MAIN(TesteSondaUrl)
#include "TesteSondaUrl.moc"
