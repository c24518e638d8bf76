#include "historico/EsquemaHistorico.h"

#include "historico/CadeiaHistorico.h"

namespace {

// The registros columns hold the small ones first: a search reads them without reaching
// the content, which spills over SQLite's pages.
const QList<QStringList>& migracoes() {
    static const QList<QStringList> lista{
        {
            QStringLiteral("CREATE TABLE esquema (versao INTEGER NOT NULL)"),
            QStringLiteral("INSERT INTO esquema (versao) VALUES (0)"),
            QStringLiteral("CREATE TABLE registros ("
                           "id {ID}, tipo TEXT NOT NULL, momento TEXT{C} NOT NULL, "
                           "usuario TEXT NOT NULL, maquina TEXT NOT NULL, versao TEXT NOT NULL, "
                           "documento TEXT{C} NOT NULL, nome TEXT NOT NULL, "
                           "nome_busca TEXT NOT NULL, valor BIGINT NOT NULL, "
                           "total BIGINT NOT NULL, hash_anterior TEXT NOT NULL, "
                           "hash TEXT NOT NULL, conteudo TEXT NOT NULL)"),
            QStringLiteral("CREATE INDEX registros_momento ON registros (momento, id)"),
            QStringLiteral(
                "CREATE INDEX registros_documento ON registros (documento, momento, id)"),
            // A term's records in the order a page walks them.
            QStringLiteral("CREATE TABLE termos (termo TEXT{C} NOT NULL, momento TEXT{C} NOT "
                           "NULL, registro BIGINT NOT NULL, PRIMARY KEY (termo, momento, "
                           "registro)){SEM_ROWID}"),
            QStringLiteral("CREATE TABLE cauda (ultimo BIGINT NOT NULL, hash TEXT NOT NULL)"),
            QStringLiteral("INSERT INTO cauda (ultimo, hash) VALUES (0, '%1')").arg(hashInicial()),
        },
    };
    return lista;
}

} // namespace

QString DialetoHistorico::ajusta(QString sql) const {
    sql.replace(QLatin1String("{ID}"), postgresql ? QLatin1String("BIGINT PRIMARY KEY")
                                                  : QLatin1String("INTEGER PRIMARY KEY"));
    sql.replace(QLatin1String("{C}"),
                postgresql ? QLatin1String(" COLLATE \"C\"") : QLatin1String());
    sql.replace(QLatin1String("{SEM_ROWID}"),
                postgresql ? QLatin1String() : QLatin1String(" WITHOUT ROWID"));
    return sql;
}

QStringList DialetoHistorico::inicioExclusivo() const {
    // PostgreSQL: a lock of the program's own ("BELQOR" in ASCII), which the schema's
    // creation needs before any table exists; the appends also lock the tail's row.
    if (postgresql)
        return {QStringLiteral("BEGIN"),
                QStringLiteral("SELECT pg_advisory_xact_lock(72909846515794)")};
    // SQLite: the write lock from the start, so no reader's snapshot has to be upgraded.
    return {QStringLiteral("BEGIN IMMEDIATE")};
}

QString DialetoHistorico::inicioLeitura() const {
    // SQLite's reads share the snapshot of the first; PostgreSQL's do when asked.
    return postgresql ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ")
                      : QStringLiteral("BEGIN");
}

QString DialetoHistorico::leituraCauda() const {
    return postgresql ? QStringLiteral("SELECT ultimo, hash FROM cauda FOR UPDATE")
                      : QStringLiteral("SELECT ultimo, hash FROM cauda");
}

QString DialetoHistorico::consultaTabelas() const {
    return postgresql ? QStringLiteral("SELECT table_name FROM information_schema.tables "
                                       "WHERE table_schema = current_schema()")
                      : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                       "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'");
}

int versaoEsquema() {
    return int(migracoes().size());
}

QStringList migracao(int versao) {
    return migracoes().value(versao - 1);
}
