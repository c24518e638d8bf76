#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// Log lines travel to a separate log viewer program over a local socket. The socket's name
// joins the viewer window's class name and title, so only that viewer receives them. Each
// line is one record, answered by the viewer once it has handled it:
//   kind        64-bit unsigned, little-endian
//   byte count  32-bit unsigned, little-endian: size of the text in bytes, zero included
//   text        UTF-16 little-endian, ended by a zero character
// The answer is a 64-bit value the sender ignores.
namespace CanalVisualizadorLogLocal {

inline constexpr auto ClasseJanelaVisualizador = "TfrmVisualiadorAvancadoLog_NURTO";
inline constexpr auto TituloJanelaVisualizador = "VerLogNUR";
// The kind of record a log line travels as.
inline constexpr quint64 TipoLinhaLog = 1;
// Larger records are refused by the viewer: no log line comes near it.
inline constexpr quint32 MaiorTextoAceito = 16u * 1024u * 1024u;

// The socket of the viewer window with this class and title, in the user's runtime directory.
QString nomeDoCanal(const QString& classeJanela, const QString& tituloJanela);
// The socket of this system's log viewer.
QString nomePadrao();
// The bytes of one record carrying the text.
QByteArray registro(quint64 tipo, const QString& texto);

} // namespace CanalVisualizadorLogLocal

// Where the log component forwards its lines. Sending never fails: when no viewer
// listens, nothing is sent.
class CanalVisualizadorLog {
public:
    virtual ~CanalVisualizadorLog() = default;
    virtual void envia(const QString& texto) = 0;
};

// Sends over the local socket and waits, within a bound, until the viewer has handled
// the record, so the viewer shows the line before the sender goes on.
class EmissorVisualizadorLog : public CanalVisualizadorLog {
public:
    explicit EmissorVisualizadorLog(QString nomeCanal = CanalVisualizadorLogLocal::nomePadrao(),
                                    int esperaMs = 2000);
    void envia(const QString& texto) override;
    const QString& nomeCanal() const { return fNomeCanal; }

private:
    QString fNomeCanal;
    int fEsperaMs;
};

// The viewer's listening part: accepts senders, reads their records, answers each one
// after announcing it. Runs on the thread it lives in, through that thread's event loop.
class OuvinteVisualizadorLog : public QObject {
    Q_OBJECT

public:
    explicit OuvinteVisualizadorLog(QObject* parent = nullptr);
    ~OuvinteVisualizadorLog() override;

    // Starts listening; false, with the reason in *erro, when another viewer already
    // listens on the name or the socket cannot be made. A socket left behind by a viewer
    // that ended abruptly is replaced.
    bool escuta(const QString& nomeCanal, QString* erro = nullptr);
    bool escutando() const;

signals:
    // The record as received: its kind and its text bytes (byte count as sent).
    void registroRecebido(quint64 tipo, const QByteArray& bytesTexto);
    // The text of a record of kind TipoLinhaLog, up to its first zero character.
    void linhaRecebida(const QString& linha);

private:
    void aceitaConexoes();
    void leRegistros(QLocalSocket* socket);

    // A child, so it follows the listener to another thread.
    QLocalServer* fServidor;
    QHash<QLocalSocket*, QByteArray> fPendentes;
};
