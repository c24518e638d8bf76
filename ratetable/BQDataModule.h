#pragma once

// The rate table store: the data module with the table of monthly Selic rates, its file
// beside the executable, the five rules that guard every change to it, and the insertion
// operation the rate import uses. The rate table window edits the same table directly,
// the calculation reads it through a date filter; the rules guard all of them alike.

#include "ConfigApp.h"
#include "Dialogos.h"
#include "Relogio.h"
#include "TabelaMemoria.h"

#include <QObject>
#include <QString>

class TBQDataModule : public QObject {
    Q_OBJECT

public:
    TBQDataModule(const Relogio& relogio, Dialogos& dialogos, QObject* parent = nullptr);
    ~TBQDataModule() override;

    // The executable's directory followed by "/BELQOR.cds".
    static QString arquivoPadrao();

    TabelaMemoria CDSSelic;
    Campo* const CDSSelicData;
    Campo* const CDSSelicValor;
    TConfigApp ConfigApp;
    QString ArqDados;

    // Adds a month's rate unless the month is present or lies in the future. False only
    // when something failed, after "Falha ao inserir registro" was shown; a row it began
    // and the before-post rule refused is abandoned, not left pending.
    bool InsereRegistro(DataHora dt, double vlr);

    void CDSSelicNewRecord(TabelaMemoria& DataSet);
    void CDSSelicBeforeInsert(TabelaMemoria& DataSet);
    void CDSSelicBeforeEdit(TabelaMemoria& DataSet);
    void CDSSelicBeforeDelete(TabelaMemoria& DataSet);
    void CDSSelicBeforePost(TabelaMemoria& DataSet);

    const Relogio& relogio() const { return fRelogio; }
    Dialogos& dialogos() const { return fDialogos; }

private:
    const Relogio& fRelogio;
    Dialogos& fDialogos;
};
