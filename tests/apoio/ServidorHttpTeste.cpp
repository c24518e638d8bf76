#include "apoio/ServidorHttpTeste.h"

#include <QHostAddress>
#include <QMutex>
#include <QMutexLocker>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <sys/socket.h>

namespace {

QByteArray frase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

QByteArray montaCabecalhos(const RespostaHttpTeste& resposta) {
    QByteArray texto =
        "HTTP/1.1 " + QByteArray::number(resposta.status) + ' ' + frase(resposta.status) + "\r\n";
    texto += "Content-Length: " + QByteArray::number(resposta.corpo.size()) + "\r\n";
    texto += "Connection: close\r\n";
    for (const auto& [nome, valor] : resposta.cabecalhos)
        texto += nome + ": " + valor + "\r\n";
    return texto + "\r\n";
}

// Reads one request from the bytes received so far; none while it is incomplete.
std::optional<PedidoHttp> lePedido(const QByteArray& recebido) {
    const qsizetype fimCabecalhos = recebido.indexOf("\r\n\r\n");
    if (fimCabecalhos < 0)
        return std::nullopt;
    const QList<QByteArray> linhas = recebido.left(fimCabecalhos).split('\n');
    const QList<QByteArray> partes = linhas.first().trimmed().split(' ');
    PedidoHttp pedido;
    pedido.metodo = partes.value(0);
    pedido.caminho = partes.value(1);
    for (qsizetype i = 1; i < linhas.size(); ++i) {
        const qsizetype doisPontos = linhas[i].indexOf(':');
        if (doisPontos > 0)
            pedido.cabecalhos.append(
                {linhas[i].left(doisPontos).trimmed(), linhas[i].mid(doisPontos + 1).trimmed()});
    }
    const qsizetype tamanho = pedido.cabecalho("Content-Length").toLongLong();
    if (recebido.size() < fimCabecalhos + 4 + tamanho)
        return std::nullopt;
    pedido.corpo = recebido.mid(fimCabecalhos + 4, tamanho);
    return pedido;
}

} // namespace

QByteArray PedidoHttp::cabecalho(const QByteArray& nome) const {
    for (const auto& [chave, valor] : cabecalhos) {
        if (chave.compare(nome, Qt::CaseInsensitive) == 0)
            return valor.isNull() ? QByteArray("") : valor;
    }
    return {};
}

bool PedidoHttp::temCabecalho(const QByteArray& nome) const {
    return !cabecalho(nome).isNull();
}

RespostaHttpTeste RespostaHttpTeste::comStatus(int status, QByteArray corpo) {
    RespostaHttpTeste resposta;
    resposta.status = status;
    resposta.corpo = std::move(corpo);
    return resposta;
}

RespostaHttpTeste RespostaHttpTeste::redireciona(int status, const QByteArray& destino) {
    RespostaHttpTeste resposta = comStatus(status, "movido");
    resposta.cabecalhos.append(qMakePair(QByteArray("Location"), destino));
    return resposta;
}

RespostaHttpTeste RespostaHttpTeste::silencio() {
    RespostaHttpTeste resposta;
    resposta.modo = Modo::Silencia;
    return resposta;
}

RespostaHttpTeste RespostaHttpTeste::semCorpo(int status, qsizetype tamanhoAnunciado) {
    RespostaHttpTeste resposta = comStatus(status, QByteArray(tamanhoAnunciado, 'x'));
    resposta.modo = Modo::SoCabecalhos;
    return resposta;
}

RespostaHttpTeste RespostaHttpTeste::fechamento() {
    RespostaHttpTeste resposta;
    resposta.modo = Modo::FechaSemResposta;
    return resposta;
}

RespostaHttpTeste RespostaHttpTeste::reinicio() {
    RespostaHttpTeste resposta;
    resposta.modo = Modo::Reinicia;
    return resposta;
}

struct ServidorHttpTeste::Estado {
    QThread linha;
    QObject* contexto = nullptr;
    QTcpServer* escuta = nullptr;
    quint16 porta = 0;
    std::optional<IdentidadeTls> tls;

    mutable QMutex trava;
    Respondedor respondedor;
    QList<PedidoHttp> pedidos;

    // Runs on the server's thread.
    void atende(QTcpSocket* socket, const QByteArray& recebido, bool& respondido) {
        if (respondido)
            return;
        const std::optional<PedidoHttp> pedido = lePedido(recebido);
        if (!pedido)
            return;
        respondido = true;
        Respondedor copia;
        {
            QMutexLocker bloqueio(&trava);
            pedidos.append(*pedido);
            copia = respondedor;
        }
        const RespostaHttpTeste resposta = copia(*pedido);
        switch (resposta.modo) {
        case RespostaHttpTeste::Modo::Silencia:
            return;
        case RespostaHttpTeste::Modo::FechaSemResposta:
            socket->disconnectFromHost();
            return;
        case RespostaHttpTeste::Modo::SoCabecalhos:
            socket->write(montaCabecalhos(resposta));
            return;
        case RespostaHttpTeste::Modo::Reinicia: {
            // Closed at once with nothing left to linger for: the system sends a reset.
            const linger semEspera{1, 0};
            ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &semEspera,
                         sizeof semEspera);
            socket->abort();
            return;
        }
        case RespostaHttpTeste::Modo::Responde:
            socket->write(montaCabecalhos(resposta) + resposta.corpo);
            socket->disconnectFromHost();
            return;
        }
    }
};

namespace {

class Escuta : public QTcpServer {
public:
    using Atendimento = std::function<void(QTcpSocket*, const QByteArray&, bool&)>;

    Escuta(std::optional<IdentidadeTls> tls, Atendimento atendimento)
        : fTls(std::move(tls)), fAtendimento(std::move(atendimento)) {}

protected:
    void incomingConnection(qintptr descritor) override {
        QTcpSocket* socket = nullptr;
        if (fTls) {
            auto* seguro = new QSslSocket(this);
            seguro->setSocketDescriptor(descritor);
            seguro->setLocalCertificate(QSslCertificate(fTls->certificado));
            QSslKey chave(fTls->chave, QSsl::Ec);
            if (chave.isNull())
                chave = QSslKey(fTls->chave, QSsl::Rsa);
            seguro->setPrivateKey(chave);
            seguro->setPeerVerifyMode(QSslSocket::VerifyNone);
            seguro->startServerEncryption();
            socket = seguro;
        } else {
            socket = new QTcpSocket(this);
            socket->setSocketDescriptor(descritor);
        }
        auto recebido = std::make_shared<QByteArray>();
        auto respondido = std::make_shared<bool>(false);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, recebido, respondido] {
            recebido->append(socket->readAll());
            fAtendimento(socket, *recebido, *respondido);
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    std::optional<IdentidadeTls> fTls;
    Atendimento fAtendimento;
};

} // namespace

ServidorHttpTeste::ServidorHttpTeste(Respondedor respondedor, std::optional<IdentidadeTls> tls)
    : fEstado(std::make_unique<Estado>()) {
    Estado* estado = fEstado.get();
    estado->respondedor = std::move(respondedor);
    estado->tls = std::move(tls);
    estado->contexto = new QObject;
    estado->contexto->moveToThread(&estado->linha);
    estado->linha.start();
    QMetaObject::invokeMethod(
        estado->contexto,
        [estado] {
            estado->escuta =
                new Escuta(estado->tls, [estado](QTcpSocket* socket, const QByteArray& recebido,
                                                 bool& respondido) {
                    estado->atende(socket, recebido, respondido);
                });
            if (estado->escuta->listen(QHostAddress::LocalHost, 0))
                estado->porta = estado->escuta->serverPort();
        },
        Qt::BlockingQueuedConnection);
}

ServidorHttpTeste::~ServidorHttpTeste() {
    Estado* estado = fEstado.get();
    QMetaObject::invokeMethod(
        estado->contexto,
        [estado] {
            delete estado->escuta;
            estado->escuta = nullptr;
        },
        Qt::BlockingQueuedConnection);
    estado->linha.quit();
    estado->linha.wait();
    delete estado->contexto;
}

quint16 ServidorHttpTeste::porta() const {
    return fEstado->porta;
}

QString ServidorHttpTeste::host() const {
    return QStringLiteral("127.0.0.1:%1").arg(porta());
}

QString ServidorHttpTeste::url(const QString& caminho) const {
    return (fEstado->tls ? QStringLiteral("https://") : QStringLiteral("http://")) + host() +
           caminho;
}

void ServidorHttpTeste::defineRespondedor(Respondedor respondedor) {
    QMutexLocker bloqueio(&fEstado->trava);
    fEstado->respondedor = std::move(respondedor);
}

QList<PedidoHttp> ServidorHttpTeste::pedidos() const {
    QMutexLocker bloqueio(&fEstado->trava);
    return fEstado->pedidos;
}

qsizetype ServidorHttpTeste::quantidadePedidos() const {
    QMutexLocker bloqueio(&fEstado->trava);
    return fEstado->pedidos.size();
}

quint16 ServidorHttpTeste::portaFechada() {
    QTcpServer escuta;
    if (!escuta.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 porta = escuta.serverPort();
    escuta.close();
    return porta;
}

QList<const char*> ServidorHttpTeste::variaveisProxy() {
    return {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy",
            "ALL_PROXY",  "no_proxy",    "NO_PROXY"};
}

void ServidorHttpTeste::ignoraProxiesDoAmbiente() {
    for (const char* variavel : variaveisProxy())
        qunsetenv(variavel);
}
