#include "historico/MotivosBanco.h"

#include <QSqlError>

namespace {

// SQLite's primary result codes (the low byte of an extended one).
enum CodigoSQLite {
    Perm = 3,
    Busy = 5,
    Locked = 6,
    NoMem = 7,
    ReadOnly = 8,
    IoErr = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    Auth = 23,
    NotADb = 26,
};

int codigoSQLite(const QSqlError& erro) {
    bool ok = false;
    const int codigo = erro.nativeErrorCode().toInt(&ok);
    return ok ? codigo & 0xff : -1;
}

bool contem(const QSqlError& erro, const char* texto) {
    return erro.databaseText().contains(QLatin1String(texto), Qt::CaseInsensitive) ||
           erro.driverText().contains(QLatin1String(texto), Qt::CaseInsensitive);
}

const QString SenhaRecusada =
    QStringLiteral("o servidor recusou o usuário ou a senha (a senha vem do arquivo de senhas do "
                   "PostgreSQL, ~/.pgpass, ou do arquivo que PGPASSFILE indica)");

} // namespace

bool arquivoSQLiteInvalido(const QSqlError& erro) {
    const int codigo = codigoSQLite(erro);
    return codigo == NotADb || codigo == Corrupt;
}

QString motivoSQLite(const QSqlError& erro) {
    switch (codigoSQLite(erro)) {
    case Perm:
    case Auth:
        return QStringLiteral("permissão negada");
    case Busy:
    case Locked:
        return QStringLiteral("o arquivo ficou ocupado por outro programa por tempo demais");
    case NoMem:
        return QStringLiteral("falta memória");
    case ReadOnly:
        return QStringLiteral("o arquivo não pode ser gravado");
    case IoErr:
        return QStringLiteral("erro de leitura ou gravação no disco");
    case Corrupt:
        return QStringLiteral("o arquivo está danificado");
    case Full:
        return QStringLiteral("não há espaço livre no dispositivo");
    case CantOpen:
        return QStringLiteral("o arquivo não pode ser aberto");
    case NotADb:
        return QStringLiteral("o arquivo não é um banco de dados SQLite");
    default:
        return QStringLiteral("falha do SQLite (código %1)").arg(erro.nativeErrorCode());
    }
}

QString motivoPostgreSQL(const QSqlError& erro) {
    const QString estado = erro.nativeErrorCode();
    if (estado == QLatin1String("28P01") || estado == QLatin1String("28000"))
        return SenhaRecusada;
    if (estado == QLatin1String("3D000"))
        return QStringLiteral("o banco não existe no servidor");
    if (estado == QLatin1String("42501"))
        return QStringLiteral("o usuário não tem permissão para isso no banco");
    if (estado.startsWith(QLatin1String("53")))
        return QStringLiteral("o servidor está sem recursos (disco, memória ou conexões)");
    if (estado.startsWith(QLatin1String("57P")))
        return QStringLiteral("o servidor foi desligado");
    if (estado.startsWith(QLatin1String("08")))
        return QStringLiteral("a conexão com o servidor caiu");
    if (estado.startsWith(QLatin1String("40")))
        return QStringLiteral("a gravação conflitou com a de outro programa");
    // A connection that never came up has no code; libpq's words tell what happened.
    if (contem(erro, "password authentication failed") || contem(erro, "no password supplied") ||
        contem(erro, "authentication failed"))
        return SenhaRecusada;
    if (contem(erro, "role \"") && contem(erro, "does not exist"))
        return QStringLiteral("o usuário não existe no servidor");
    if (contem(erro, "database \"") && contem(erro, "does not exist"))
        return QStringLiteral("o banco não existe no servidor");
    if (contem(erro, "connection refused"))
        return QStringLiteral("o servidor recusou a conexão (não está no ar ou não atende "
                              "nessa porta)");
    if (contem(erro, "timeout expired"))
        return QStringLiteral("o servidor não respondeu a tempo");
    if (contem(erro, "could not translate host name"))
        return QStringLiteral("o nome do servidor não foi encontrado");
    if (contem(erro, "no route to host") || contem(erro, "network is unreachable"))
        return QStringLiteral("a rede não chega ao servidor");
    if (contem(erro, "server closed the connection"))
        return QStringLiteral("a conexão com o servidor caiu");
    if (!estado.isEmpty())
        return QStringLiteral("o servidor recusou a operação (código %1)").arg(estado);
    return QStringLiteral("o servidor não aceitou a conexão");
}
