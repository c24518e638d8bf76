#pragma once

// The rate table store: the data module with the table of monthly Selic rates, its file
// (where LocaisArquivos puts it), the five rules that guard every change to it, and the
// insertion operation the rate import uses. The rate table window edits the same table
// directly, the calculation reads it through a date filter; the rules guard all of them alike.

#include "framework/ConfigApp.h"
#include "dialogos/Dialogos.h"
#include "sistema/LocaisArquivos.h"
#include "valores/Relogio.h"
#include "tabela/TabelaMemoria.h"

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

// What InsereRegistro did with a month.
struct DesfechoInsercao {
    enum class Tipo {
        Gravado,  // stored
        Presente, // the table holds that day already; its rate stays
        Futuro,   // a date later than now: nothing stored
        Recusado  // refused, after its message and "Falha ao inserir registro" were shown
    };
    Tipo Situacao = Tipo::Gravado;
    double NaTabela = 0; // the rate the table holds, for a present month
    QString Motivo;      // for a refused month: the rule's message, or the failure's
};

class TBQDataModule : public QObject {
    Q_OBJECT

    // Declared first so that it goes last: the table, closed by its own destructor, is
    // written before the lock is let go.
    std::unique_ptr<QLockFile> fTrava;

public:
    // The table and the log live where `locais` says: the program's own places unless a test
    // gives others.
    TBQDataModule(const Relogio& relogio, Dialogos& dialogos, QObject* parent = nullptr,
                  const LocaisArquivos& locais = LocaisArquivos::doPrograma());
    // Closes the table if it is still open and no write has failed yet; a failed write is
    // reported through the dialogs, once, with the file's name.
    ~TBQDataModule() override;

    // The program's own rate table file.
    static QString arquivoPadrao();

    // Gives the table the file ArqDados and opens it. The program's own table is first put
    // in place (its folder, the installed default on first start); then the log's folder.
    void AbreTabela();
    // Closes the table, writing its file when needed. Tried once: a failed write reaches the
    // caller, the table keeps its rows, and neither this nor the destructor tries again.
    void FechaTabela();

    TabelaMemoria CDSSelic;
    Campo* const CDSSelicData;
    Campo* const CDSSelicValor;
    TConfigApp ConfigApp;
    QString ArqDados;

    // One writer per table: a program that may write the table holds a lock file beside it
    // (the table's name followed by ".lock") from before the table is read until after it
    // is written. Waits up to esperaMs for another program to let go; a lock left by a
    // process that has ended is taken over. When another program holds it, shows
    // textoTabelaEmUso and answers false. A lock that is unusable is no other program: a
    // folder (or anything but a file) in its place shows textoTravaNaoCriada at once, an
    // abandoned lock that cannot be removed textoTravaNaoRemovida, each with the reason,
    // and the answer is false. Where no lock file can be made at all (a folder that cannot
    // be written), the program goes on without one.
    bool reservaTabela(const QString& arquivo, int esperaMs);
    static QString textoTabelaEmUso(const QString& arquivo);
    static QString textoTravaNaoCriada(const QString& trava, const QString& motivo);
    static QString textoTravaNaoRemovida(const QString& trava, const QString& motivo);

    // Adds a month's rate unless the month is present or lies in the future. False only
    // when something failed, after "Falha ao inserir registro" was shown; a row it began
    // and the before-post rule refused is abandoned, not left pending. Every rate from
    // outside (a rate document, the central bank's series, the rate service) comes in
    // here: a negative one is refused with its own message before a row begins.
    bool InsereRegistro(DataHora dt, double vlr);
    // The same insertion, telling what it did: an import reports it month by month.
    DesfechoInsercao insereRegistroComDesfecho(DataHora dt, double vlr);

    void CDSSelicNewRecord(TabelaMemoria& DataSet);
    void CDSSelicBeforeInsert(TabelaMemoria& DataSet);
    void CDSSelicBeforeEdit(TabelaMemoria& DataSet);
    void CDSSelicBeforeDelete(TabelaMemoria& DataSet);
    void CDSSelicBeforePost(TabelaMemoria& DataSet);

    // Where the program's own table and its installed default live.
    const LocaisArquivos& locais() const { return fLocais; }
    const Relogio& relogio() const { return fRelogio; }
    Dialogos& dialogos() const { return fDialogos; }

private:
    // Whether the lock was left by a process of this machine that has ended.
    static bool travaAbandonada(const QLockFile& trava);
    // Removes an abandoned lock as the lock itself would; the errno that stopped it, or 0.
    static int removeTravaAbandonada(const QLockFile& trava);
    // A rule's refusal: its message shown and kept for the insertion's outcome, then the
    // silent abort.
    [[noreturn]] void recusa(const QString& mensagem);
    // An insertion that failed: the row it began dropped, the table left unfiltered,
    // "Falha ao inserir registro" shown.
    DesfechoInsercao abandonaInsercao(bool comecouLinha, const QString& motivo);

    const Relogio& fRelogio;
    Dialogos& fDialogos;
    LocaisArquivos fLocais;
    bool fGravacaoFalhou = false;
    QString fMotivoRecusa;
};
