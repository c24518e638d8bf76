#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// Failures travel as exceptions carrying their Portuguese (or platform) message.
// A rule that refuses an operation shows its own message and then throws
// AbortoSilencioso, which every handler passes over without a word.
class ErroBelqor : public std::exception {
public:
    explicit ErroBelqor(QString mensagem);
    const QString& mensagem() const noexcept { return fMensagem; }
    const char* what() const noexcept override { return fUtf8.constData(); }

private:
    QString fMensagem;
    QByteArray fUtf8;
};

// Text that cannot be read as a number or a date.
class ErroConversao : public ErroBelqor {
    using ErroBelqor::ErroBelqor;
};

// Errors of the in-memory table: closed table, unknown field, read-only field, bad file.
class ErroTabela : public ErroBelqor {
    using ErroBelqor::ErroBelqor;
};

// A currency amount that leaves the range of its 64-bit count.
class ErroEstouroMoeda : public ErroBelqor {
    using ErroBelqor::ErroBelqor;
};

class AbortoSilencioso : public std::exception {
public:
    const char* what() const noexcept override { return "operação abandonada"; }
};

[[noreturn]] void aborta();

// The message of any exception, for the general error report and the logs.
QString mensagemDe(const std::exception& e);

// A file that cannot be read, written or closed: the message names the file and the reason.
class ErroEntradaSaida : public ErroBelqor {
    using ErroBelqor::ErroBelqor;
};
