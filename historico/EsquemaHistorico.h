#pragma once

// The history's tables, built by ordered migrations: a database at schema version N runs
// migrations N+1 onwards when it is opened, in one transaction, and records the version
// reached. SQLite and PostgreSQL share the statements; the few words where their SQL
// differs are marked in them and filled by the dialect.

#include <QList>
#include <QStringList>

struct DialetoHistorico {
    bool postgresql = false;

    // Fills the marks: {ID} (the record number as primary key), {C} (byte-order comparison
    // for a text searched by range), {SEM_ROWID} (a table that is its own index).
    QString ajusta(QString sql) const;
    // Starts a transaction that holds the right to write until it ends.
    QStringList inicioExclusivo() const;
    // Starts a transaction whose reads all see one moment.
    QString inicioLeitura() const;
    // Reads the chain's tail so that no other writer reads it until this one commits.
    QString leituraCauda() const;
    // The tables of the database the connection is in.
    QString consultaTabelas() const;
};

// The schema version this program builds and reads.
int versaoEsquema();
// The statements of the migration to version `versao` (1 to versaoEsquema()).
QStringList migracao(int versao);
