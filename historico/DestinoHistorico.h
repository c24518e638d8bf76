#pragma once

// Where the history lives: by default an SQLite file beside the rate table
// (LocaisArquivos); for an office, a PostgreSQL server shared by its machines, named by
// the environment variable BELQOR_HISTORICO as postgresql://usuario@servidor[:porta]/banco.
// The password is never part of it: libpq reads it from the PostgreSQL password file
// (~/.pgpass, or the file PGPASSFILE names) when none is given. BELQOR_HISTORICO may also
// name another SQLite file by its absolute path.

#include <QString>

struct DestinoHistorico {
    enum class Tipo { SQLite, PostgreSQL };
    static constexpr int PortaPadrao = 5432;

    Tipo tipo = Tipo::SQLite;
    QString arquivo; // SQLite
    QString usuario; // PostgreSQL; empty: the login name, as libpq takes it
    QString servidor;
    int porta = PortaPadrao;
    QString banco;

    static DestinoHistorico sqlite(const QString& arquivo);
    // What BELQOR_HISTORICO holds, or arquivoPadrao when it is empty. Throws ErroHistorico
    // saying what is wrong with any other text (a password in the address among them).
    static DestinoHistorico deTexto(const QString& texto, const QString& arquivoPadrao);
    // The running program's: BELQOR_HISTORICO, else LocaisArquivos' file.
    static DestinoHistorico doPrograma();

    // How messages name it after "o histórico": the file's path in quotes, or "no servidor
    // PostgreSQL usuario@servidor:porta/banco".
    QString descricao() const;
    // postgresql://usuario@servidor:porta/banco, or the file's path.
    QString endereco() const;
};
