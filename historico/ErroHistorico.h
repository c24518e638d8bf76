#pragma once

#include "valores/Erros.h"

// The history cannot be used: its message, in Portuguese, names the file or the server.
// A damaged or foreign file is told apart, since the user may set it aside and start a new
// one; the file is never touched by the program otherwise.
class ErroHistorico : public ErroBelqor {
public:
    enum class Tipo {
        Configuracao,    // BELQOR_HISTORICO says something the program does not understand
        Indisponivel,    // the driver is missing, the folder cannot be made, the server is down
        ArquivoInvalido, // damaged, or not a history of this program
        VersaoNova,      // made by a newer version of the program
        Gravacao,        // a read or a write failed
    };
    ErroHistorico(Tipo tipo, QString mensagem, QString arquivo = QString())
        : ErroBelqor(std::move(mensagem)), fTipo(tipo), fArquivo(std::move(arquivo)) {}
    Tipo tipo() const { return fTipo; }
    // The SQLite file, for a damaged or foreign one.
    const QString& arquivo() const { return fArquivo; }

private:
    Tipo fTipo;
    QString fArquivo;
};
