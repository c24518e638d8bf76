#pragma once

// Where the program writes on the user's word: a batch's output, a calculation memory,
// standard output. A regular file, or a path where nothing is yet, is written beside the
// target and put in its place only once complete (QSaveFile), so a failure leaves the old
// file as it was. Anything else is written in place: a character device such as /dev/null,
// a named pipe, a socket; renaming over them would put a plain file where the device or the
// pipe was. A path that names the program's own standard output or error (/dev/stdout) is
// written through that stream. A folder is refused.
//
// Every write is checked to its last byte; the first failure stops all later writes and
// keeps the system's reason, and conclui() reports it. QTextStream and QPdfWriter write to
// it as to any device.

#include "valores/Erros.h"

#include <QIODevice>
#include <QString>

#include <memory>

class QSaveFile;

// The path names a folder: a command typed wrong rather than a failure of the system.
class ErroSaidaEmPasta : public ErroEntradaSaida {
    using ErroEntradaSaida::ErroEntradaSaida;
};

class ArquivoSaida : public QIODevice {
public:
    // A file by its path; nothing is touched before abre().
    explicit ArquivoSaida(QString caminho);
    // A descriptor already open (standard output or error), written in place and left open;
    // `nome` words it in the messages ("saída padrão").
    ArquivoSaida(int descritor, QString nome);
    // A regular file not concluded is abandoned: the target keeps what it held.
    ~ArquivoSaida() override;

    // Opens the file for writing as its kind asks. Throws ErroSaidaEmPasta for a folder and
    // ErroEntradaSaida, naming the file and the reason, when it cannot be opened.
    void abre();
    // Ends the writing: for a regular file the new content takes the target's place. Throws
    // ErroEntradaSaida with the first failure, of any write or of the end itself.
    void conclui();

    bool falhou() const { return fCodigoErro != 0 || !fMotivo.isEmpty(); }
    // The first failure's reason, in Portuguese; empty while nothing failed.
    const QString& motivo() const { return fMotivo; }
    // "Não foi possível gravar o arquivo "x": <motivo>" / "Erro de gravação na saída padrão: …"
    ErroEntradaSaida erro() const;
    // A failure of what was to be written, before it reached the output (a document that
    // could not be made), kept as a failed write is: conclui() leaves the target as it was.
    // Gives the error above, with that reason unless a write had failed first.
    ErroEntradaSaida falha(const QString& motivo);

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* dados, qint64 tamanho) override;
    qint64 writeData(const char* dados, qint64 tamanho) override;

private:
    void registraFalha(int codigo);
    void registraFalha(const QString& motivo);
    int descritor() const;
    void abreNoLugar(const QByteArray& caminho);

    QString fCaminho;
    QString fNome;
    std::unique_ptr<QSaveFile> fSalvo; // a regular file, through its temporary file
    int fDescritor = -1;
    bool fDescritorProprio = false; // opened here, closed by conclui()
    int fCodigoErro = 0;
    QString fMotivo;
};
