#pragma once

// Why the history's database refused something, in Portuguese: SQLite's result codes and
// PostgreSQL's error codes (SQLSTATE), and, for a connection that never came up, what libpq
// said of it. Qt and the databases word their reasons in English; no message of the
// history shows those words.

#include <QString>

class QSqlError;

QString motivoSQLite(const QSqlError& erro);
QString motivoPostgreSQL(const QSqlError& erro);

// SQLite's verdict that the file is not a database, or a damaged one.
bool arquivoSQLiteInvalido(const QSqlError& erro);
