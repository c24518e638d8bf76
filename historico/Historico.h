#pragma once

// The history's database, through Qt SQL: an SQLite file (QSQLITE) or a PostgreSQL server
// (QPSQL), the same schema, migrations and statements (EsquemaHistorico.h).
//
// Opening connects, refuses a file that is damaged or belongs to another program (leaving
// it as it is), and runs the migrations the database lacks. SQLite runs with a write-ahead
// log and synchronous=FULL: a record reported as written survives the program's or the
// machine's end at any moment. Each record is one transaction that appends it at the
// chain's tail while no other writer can (SQLite: BEGIN IMMEDIATE; PostgreSQL: the
// program's advisory lock and the tail's row locked), so several programs recording at
// once lose nothing and keep one chain.
//
// Every failure throws ErroHistorico with one Portuguese message naming the file or the
// server.

#include "historico/BuscaHistorico.h"
#include "historico/DestinoHistorico.h"
#include "historico/EsquemaHistorico.h"
#include "historico/RegistroHistorico.h"
#include "historico/VerificacaoHistorico.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class QSqlError;
class QSqlQuery;

class Historico {
public:
    explicit Historico(const DestinoHistorico& destino);
    ~Historico();
    Historico(const Historico&) = delete;
    Historico& operator=(const Historico&) = delete;

    const DestinoHistorico& destino() const { return fDestino; }

    // Appends the record (its Id is ignored) and gives the number it was given.
    qint64 registra(const RegistroHistorico& registro);
    // Appends the records in order, in one transaction: all of them or none.
    QList<qint64> registra(const QList<RegistroHistorico>& registros);

    // The record as it was stored; one that no longer matches its hash, or that cannot be
    // read, is refused.
    RegistroHistorico le(qint64 id);

    // One page of the records the filter finds, newest first; the next page starts after
    // `depoisDe` (the previous page's Seguinte).
    PaginaHistorico busca(const FiltroHistorico& filtro,
                          const std::optional<PosicaoHistorico>& depoisDe = std::nullopt,
                          int tamanho = 50);

    // Walks the whole chain.
    ResultadoVerificacao verifica();

private:
    QSqlDatabase banco() const;
    void abre();
    void confereTabelas(const QStringList& tabelas);
    void migra();
    QStringList tabelas();
    QSqlQuery executa(const QString& sql, const QVariantList& valores, const QString& acao);
    void iniciaEscrita(const QString& acao);
    void confirma(const QString& acao);
    void desfaz();
    qint64 acrescenta(const RegistroHistorico& registro, qint64& ultimo, QString& hashUltimo);
    [[noreturn]] void falha(const QString& acao, const QSqlError& erro) const;
    [[noreturn]] void semCauda(const QString& acao) const;

    DestinoHistorico fDestino;
    DialetoHistorico fDialeto;
    QString fConexao;
};
