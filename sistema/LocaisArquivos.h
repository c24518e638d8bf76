#pragma once

#include <QString>

#include <functional>

// Where the rate table, the history and the log live. This is the one place that decides it; the
// data module, the configuration and log component and the command line all ask here.
//
// A portable copy (a build folder, a copy on a pen drive) keeps both beside the executable:
// that is the case when the executable's folder holds a "BELQOR.cds" and can be written.
// Otherwise, as for a program installed under /usr, the table is
// $XDG_DATA_HOME/belqor/BELQOR.cds (default ~/.local/share), created on first start from the
// installed default and never overwritten, and the log lives in $XDG_STATE_HOME/belqor/
// (default ~/.local/state). Unset, empty or relative XDG variables take their defaults. The
// history's SQLite file lives beside the table, portable or installed.
struct LocaisArquivos {
    // Reads one environment variable; empty when unset.
    using Ambiente = std::function<QString(const QString& nome)>;
    // Whether the current user may create files in a folder.
    using Gravavel = std::function<bool(const QString& pasta)>;

    // Full path of the rate table.
    QString tabela;
    // Full path of the history's SQLite file, beside the table.
    QString historico;
    // The folder the log name is taken relative to.
    QString pastaLog;
    // The installed default table that a missing user table is created from; empty when
    // portable.
    QString tabelaPadrao;
    bool portatil = false;

    static LocaisArquivos decide(const QString& pastaExecutavel, const Ambiente& ambiente,
                                 const Gravavel& gravavel);
    // The running program's places: from its own folder and environment, decided once.
    static const LocaisArquivos& doPrograma();

    // Creates the table's folder and, when the table is not there yet, the table from the
    // installed default. An existing table is never touched. Throws ErroEntradaSaida with one
    // message naming the folder or file that cannot be created or written.
    void preparaTabela() const;
    // Creates the log's folder; throws ErroEntradaSaida naming it when that is not possible.
    void preparaPastaLog() const;

    // The installed default whose months the table in use is completed with, since a user's
    // table made from an older package lacks the months a newer one brings: tabelaPadrao
    // when tabelaEmUso is this program's own table and the default is installed as another
    // file. Empty for a portable copy (its table is the only one), for a table the user
    // chose elsewhere, for the default itself (XDG_DATA_HOME naming the installed share
    // folder) and when no default is installed.
    QString tabelaPadraoPara(const QString& tabelaEmUso) const;
};
