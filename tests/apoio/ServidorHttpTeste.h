#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// A request as the loopback server received it.
struct PedidoHttp {
    QByteArray metodo;
    QByteArray caminho;
    QList<QPair<QByteArray, QByteArray>> cabecalhos;
    QByteArray corpo;

    // The first value of a header, its name without regard to case; null when absent.
    QByteArray cabecalho(const QByteArray& nome) const;
    bool temCabecalho(const QByteArray& nome) const;
};

// What the server does with one request.
struct RespostaHttpTeste {
    enum class Modo {
        Responde,         // status, headers and body, then the connection closes
        Silencia,         // keeps the connection open and never answers
        FechaSemResposta, // closes the connection without a byte
        SoCabecalhos,     // sends status and headers, then holds back the body for good
        Reinicia          // resets the connection (TCP RST) instead of answering
    };
    Modo modo = Modo::Responde;
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> cabecalhos;
    QByteArray corpo;

    static RespostaHttpTeste comStatus(int status, QByteArray corpo = "ok");
    static RespostaHttpTeste redireciona(int status, const QByteArray& destino);
    static RespostaHttpTeste silencio();
    static RespostaHttpTeste fechamento();
    static RespostaHttpTeste reinicio();
    static RespostaHttpTeste semCorpo(int status, qsizetype tamanhoAnunciado);
};

// Certificate and private key in PEM for a TLS server.
struct IdentidadeTls {
    QByteArray certificado;
    QByteArray chave;
};

// An HTTP/1.1 server on 127.0.0.1 with a port of the system's choosing, in a thread of
// its own so that a blocking client on the test's thread can reach it. With an identity
// it speaks TLS. Every request is recorded before it is answered.
class ServidorHttpTeste {
public:
    using Respondedor = std::function<RespostaHttpTeste(const PedidoHttp&)>;

    explicit ServidorHttpTeste(Respondedor respondedor,
                               std::optional<IdentidadeTls> tls = std::nullopt);
    ~ServidorHttpTeste();
    ServidorHttpTeste(const ServidorHttpTeste&) = delete;
    ServidorHttpTeste& operator=(const ServidorHttpTeste&) = delete;

    quint16 porta() const;
    // "127.0.0.1:port", as a host for the probe.
    QString host() const;
    // scheme://127.0.0.1:port followed by the path.
    QString url(const QString& caminho) const;

    void defineRespondedor(Respondedor respondedor);
    QList<PedidoHttp> pedidos() const;
    qsizetype quantidadePedidos() const;

    // A loopback port on which nothing listens: a connection there is refused.
    static quint16 portaFechada();

    // The environment variables through which libcurl picks a proxy.
    static QList<const char*> variaveisProxy();
    // Unsets them, so that the machine's proxy settings do not carry loopback requests
    // elsewhere.
    static void ignoraProxiesDoAmbiente();

private:
    struct Estado;
    std::unique_ptr<Estado> fEstado;
};
