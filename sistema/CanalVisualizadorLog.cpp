#include "sistema/CanalVisualizadorLog.h"

#include "sistema/MotivosFalha.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>

#include <cerrno>

namespace {

// Why the channel could not be opened, in Portuguese.
QString motivoDaEscuta(QAbstractSocket::SocketError erro) {
    switch (erro) {
    case QAbstractSocket::SocketAccessError:
        return motivoDoSistema(EACCES);
    case QAbstractSocket::AddressInUseError:
        return motivoDoSistema(EADDRINUSE);
    case QAbstractSocket::SocketResourceError:
        return motivoDoSistema(EMFILE);
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("nome de canal inválido");
    default:
        return QStringLiteral("o canal não pôde ser aberto");
    }
}

constexpr qsizetype TamanhoCabecalho = 8 + 4;
constexpr qsizetype TamanhoResposta = 8;

int restante(const QDeadlineTimer& prazo) {
    return int(qMax<qint64>(0, prazo.remainingTime()));
}

} // namespace

namespace CanalVisualizadorLogLocal {

QString nomeDoCanal(const QString& classeJanela, const QString& tituloJanela) {
    // The session's own runtime directory keeps one desktop session's viewer to itself.
    QString diretorio = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (diretorio.isEmpty() || !QFileInfo(diretorio).isDir())
        diretorio = QDir::tempPath();
    return diretorio + QLatin1Char('/') + classeJanela + QLatin1Char('-') + tituloJanela;
}

QString nomePadrao() {
    return nomeDoCanal(QString::fromLatin1(ClasseJanelaVisualizador),
                       QString::fromLatin1(TituloJanelaVisualizador));
}

QByteArray registro(quint64 tipo, const QString& texto) {
    const auto contagem = quint32(2 * (texto.size() + 1));
    QByteArray bytes(TamanhoCabecalho + contagem, Qt::Uninitialized);
    auto* p = reinterpret_cast<uchar*>(bytes.data());
    qToLittleEndian<quint64>(tipo, p);
    qToLittleEndian<quint32>(contagem, p + 8);
    qToLittleEndian<char16_t>(texto.utf16(), texto.size(), p + TamanhoCabecalho);
    qToLittleEndian<char16_t>(0, p + TamanhoCabecalho + 2 * texto.size());
    return bytes;
}

} // namespace CanalVisualizadorLogLocal

EmissorVisualizadorLog::EmissorVisualizadorLog(QString nomeCanal, int esperaMs)
    : fNomeCanal(std::move(nomeCanal)), fEsperaMs(esperaMs) {}

void EmissorVisualizadorLog::envia(const QString& texto) {
    // Forwarding is a courtesy to whoever watches the log: no viewer, a slow one or one
    // that goes away mid-record all end the same way, quietly.
    const QDeadlineTimer prazo(fEsperaMs);
    QLocalSocket socket;
    socket.connectToServer(fNomeCanal);
    if (!socket.waitForConnected(restante(prazo)))
        return;
    socket.write(
        CanalVisualizadorLogLocal::registro(CanalVisualizadorLogLocal::TipoLinhaLog, texto));
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(restante(prazo)))
            return;
    while (socket.bytesAvailable() < TamanhoResposta)
        if (!socket.waitForReadyRead(restante(prazo)))
            return;
    socket.disconnectFromServer();
}

OuvinteVisualizadorLog::OuvinteVisualizadorLog(QObject* parent)
    : QObject(parent), fServidor(new QLocalServer(this)) {
    fServidor->setSocketOptions(QLocalServer::UserAccessOption);
    connect(fServidor, &QLocalServer::newConnection, this, &OuvinteVisualizadorLog::aceitaConexoes);
}

bool OuvinteVisualizadorLog::escutando() const {
    return fServidor->isListening();
}

OuvinteVisualizadorLog::~OuvinteVisualizadorLog() {
    // The connections go with the server, after this object's own members: they must not
    // call back into them on the way.
    for (QLocalSocket* socket : fServidor->findChildren<QLocalSocket*>())
        socket->disconnect(this);
    fServidor->close();
}

bool OuvinteVisualizadorLog::escuta(const QString& nomeCanal, QString* erro) {
    // Listening replaces whatever socket has the name, so a live viewer is looked for first.
    {
        QLocalSocket outro;
        outro.connectToServer(nomeCanal);
        if (outro.waitForConnected(500)) {
            if (erro)
                *erro = QStringLiteral("Outro visualizador já recebe as mensagens em %1.")
                            .arg(nomeCanal);
            return false;
        }
    }
    if (fServidor->listen(nomeCanal))
        return true;
    if (fServidor->serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(nomeCanal);
        if (fServidor->listen(nomeCanal))
            return true;
    }
    if (erro)
        *erro = motivoDaEscuta(fServidor->serverError());
    return false;
}

void OuvinteVisualizadorLog::aceitaConexoes() {
    while (QLocalSocket* socket = fServidor->nextPendingConnection()) {
        fPendentes.insert(socket, {});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { leRegistros(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            fPendentes.remove(socket);
            socket->deleteLater();
        });
        leRegistros(socket);
    }
}

void OuvinteVisualizadorLog::leRegistros(QLocalSocket* socket) {
    QByteArray& pendente = fPendentes[socket];
    pendente += socket->readAll();
    while (pendente.size() >= TamanhoCabecalho) {
        const auto* p = reinterpret_cast<const uchar*>(pendente.constData());
        const auto tipo = qFromLittleEndian<quint64>(p);
        const auto contagem = qFromLittleEndian<quint32>(p + 8);
        if (contagem > CanalVisualizadorLogLocal::MaiorTextoAceito) {
            socket->abort();
            return;
        }
        if (pendente.size() < TamanhoCabecalho + qsizetype(contagem))
            return;
        const QByteArray bytesTexto = pendente.mid(TamanhoCabecalho, contagem);
        pendente.remove(0, TamanhoCabecalho + contagem);

        emit registroRecebido(tipo, bytesTexto);
        if (tipo == CanalVisualizadorLogLocal::TipoLinhaLog) {
            QString linha(bytesTexto.size() / 2, Qt::Uninitialized);
            qFromLittleEndian<char16_t>(bytesTexto.constData(), linha.size(), linha.data());
            const qsizetype zero = linha.indexOf(QChar(0));
            emit linhaRecebida(zero < 0 ? linha : linha.left(zero));
        }
        socket->write(QByteArray(TamanhoResposta, '\0'));
    }
}
