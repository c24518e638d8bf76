#include "historico/Historico.h"

#include "historico/ErroHistorico.h"
#include "historico/MotivosBanco.h"
#include "valores/Erros.h"
#include "valores/FormasJson.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace {

const QString AcaoAbrir = QStringLiteral("abrir o histórico");
const QString AcaoConectar = QStringLiteral("conectar ao histórico");
const QString AcaoGravar = QStringLiteral("gravar no histórico");
const QString AcaoLer = QStringLiteral("ler o histórico");

// SQLite waits this long for another program's record before it gives up.
constexpr int EsperaEscritaMs = 15000;
// libpq's wait for a server that does not answer, in seconds.
constexpr int EsperaConexaoS = 5;

QString novaConexao() {
    static std::atomic<int> contador{0};
    return QStringLiteral("belqor-historico-%1").arg(++contador);
}

// Qt SQL binds a null text as NULL; an empty one is a text, as the columns require.
QVariant textoNaoNulo(const QVariant& valor) {
    if (valor.typeId() == QMetaType::QString && valor.toString().isNull())
        return QStringLiteral("");
    return valor;
}

LinhaHistorico linhaDoRegistro(const RegistroHistorico& r) {
    LinhaHistorico l;
    l.tipo = nomeTipoRegistro(r.Tipo);
    l.momento = FormaJson::textoMomento(r.Emissao);
    l.usuario = r.Identidade.Usuario;
    l.maquina = r.Identidade.Maquina;
    l.versao = r.Identidade.Versao;
    l.documento = r.Titular.documento();
    l.nome = r.Titular.Nome;
    l.valor = r.Totais.Valor.contagem();
    l.total = r.Totais.Total.contagem();
    l.conteudo =
        QString::fromUtf8(QJsonDocument(conteudoDoRegistro(r)).toJson(QJsonDocument::Compact));
    return l;
}

const QString ColunasLinha = QStringLiteral(
    "id, tipo, momento, usuario, maquina, versao, documento, nome, valor, total, hash_anterior, "
    "hash, conteudo");

LinhaHistorico linhaDaConsulta(const QSqlQuery& q) {
    LinhaHistorico l;
    l.id = q.value(0).toLongLong();
    l.tipo = q.value(1).toString();
    l.momento = q.value(2).toString();
    l.usuario = q.value(3).toString();
    l.maquina = q.value(4).toString();
    l.versao = q.value(5).toString();
    l.documento = q.value(6).toString();
    l.nome = q.value(7).toString();
    l.valor = q.value(8).toLongLong();
    l.total = q.value(9).toLongLong();
    l.hashAnterior = q.value(10).toString();
    l.hash = q.value(11).toString();
    l.conteudo = q.value(12).toString();
    return l;
}

} // namespace

Historico::Historico(const DestinoHistorico& destino) : fDestino(destino), fConexao(novaConexao()) {
    fDialeto.postgresql = destino.tipo == DestinoHistorico::Tipo::PostgreSQL;
    try {
        abre();
        migra();
    } catch (...) {
        QSqlDatabase::removeDatabase(fConexao);
        throw;
    }
}

Historico::~Historico() {
    {
        QSqlDatabase b = banco();
        b.close();
    }
    QSqlDatabase::removeDatabase(fConexao);
}

QSqlDatabase Historico::banco() const {
    return QSqlDatabase::database(fConexao, false);
}

void Historico::abre() {
    const QString driver =
        fDialeto.postgresql ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
    if (!QSqlDatabase::isDriverAvailable(driver))
        throw ErroHistorico(
            ErroHistorico::Tipo::Indisponivel,
            QStringLiteral("Não foi possível %1 %2: falta o suporte do Qt a %3 (pacote %4).")
                .arg(AcaoAbrir, fDestino.descricao(),
                     fDialeto.postgresql ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite"),
                     fDialeto.postgresql ? QStringLiteral("libqt6sql6-psql")
                                         : QStringLiteral("libqt6sql6-sqlite")));
    QSqlDatabase b = QSqlDatabase::addDatabase(driver, fConexao);
    if (fDialeto.postgresql) {
        b.setHostName(fDestino.servidor);
        b.setPort(fDestino.porta);
        b.setDatabaseName(fDestino.banco);
        if (!fDestino.usuario.isEmpty())
            b.setUserName(fDestino.usuario);
        // An empty password: libpq takes it from the PostgreSQL password file, and not from
        // PGPASSWORD, which it reads only when no password is given at all.
        b.setConnectOptions(QStringLiteral("connect_timeout=%1;password=''").arg(EsperaConexaoS));
    } else {
        const QString pasta = QFileInfo(fDestino.arquivo).absolutePath();
        if (!QDir().mkpath(pasta))
            throw ErroHistorico(
                ErroHistorico::Tipo::Indisponivel,
                QStringLiteral("Não foi possível criar a pasta \"%1\" do histórico.").arg(pasta));
        b.setDatabaseName(fDestino.arquivo);
    }
    if (!b.open()) {
        if (!fDialeto.postgresql)
            falha(AcaoAbrir, b.lastError());
        throw ErroHistorico(
            ErroHistorico::Tipo::Indisponivel,
            QStringLiteral("Não foi possível %1 %2: %3.")
                .arg(AcaoConectar, fDestino.descricao(), motivoPostgreSQL(b.lastError())));
    }
    if (!fDialeto.postgresql)
        executa(QStringLiteral("PRAGMA busy_timeout = %1").arg(EsperaEscritaMs), {}, AcaoAbrir);
    // Read before anything is written: a file of another program is left exactly as it is.
    const QStringList existentes = tabelas();
    confereTabelas(existentes);
    if (!fDialeto.postgresql) {
        // A record is a few kilobytes: pages of 8 KiB hold most of one whole, where 4 KiB
        // pages spill it over a page of its own (a tenth less space). Only a new file takes it.
        if (existentes.isEmpty())
            executa(QStringLiteral("PRAGMA page_size = 8192"), {}, AcaoAbrir);
        executa(QStringLiteral("PRAGMA journal_mode = WAL"), {}, AcaoAbrir);
        executa(QStringLiteral("PRAGMA synchronous = FULL"), {}, AcaoAbrir);
    }
}

QStringList Historico::tabelas() {
    QSqlQuery q = executa(fDialeto.consultaTabelas(), {}, AcaoAbrir);
    QStringList nomes;
    while (q.next())
        nomes << q.value(0).toString();
    return nomes;
}

void Historico::confereTabelas(const QStringList& tabelas) {
    if (tabelas.isEmpty() || tabelas.contains(QStringLiteral("esquema")))
        return;
    if (fDialeto.postgresql)
        throw ErroHistorico(ErroHistorico::Tipo::ArquivoInvalido,
                            QStringLiteral("O banco do histórico %1 não é um histórico do BELQOR: "
                                           "tem tabelas de outro programa. O histórico precisa de "
                                           "um banco só para ele.")
                                .arg(fDestino.descricao()));
    throw ErroHistorico(ErroHistorico::Tipo::ArquivoInvalido,
                        QStringLiteral("O arquivo %1 não é um histórico do BELQOR: é um banco de "
                                       "dados de outro programa. O arquivo foi mantido como está.")
                            .arg(fDestino.descricao()),
                        fDestino.arquivo);
}

void Historico::migra() {
    iniciaEscrita(AcaoAbrir);
    try {
        int versao = 0;
        if (tabelas().contains(QStringLiteral("esquema"))) {
            QSqlQuery q = executa(QStringLiteral("SELECT versao FROM esquema"), {}, AcaoAbrir);
            if (q.next())
                versao = q.value(0).toInt();
        }
        if (versao > versaoEsquema())
            throw ErroHistorico(ErroHistorico::Tipo::VersaoNova,
                                QStringLiteral("O histórico %1 foi criado por uma versão mais nova "
                                               "do BELQOR (esquema %2; esta versão conhece até o "
                                               "%3) e não pode ser usado por esta.")
                                    .arg(fDestino.descricao())
                                    .arg(versao)
                                    .arg(versaoEsquema()));
        for (int v = versao + 1; v <= versaoEsquema(); ++v) {
            for (const QString& sql : migracao(v))
                executa(fDialeto.ajusta(sql), {}, AcaoAbrir);
            executa(QStringLiteral("UPDATE esquema SET versao = ?"), {v}, AcaoAbrir);
        }
        confirma(AcaoAbrir);
    } catch (...) {
        desfaz();
        throw;
    }
}

QSqlQuery Historico::executa(const QString& sql, const QVariantList& valores, const QString& acao) {
    QSqlQuery q(banco());
    q.setForwardOnly(true);
    // PostgreSQL prepares no transaction control nor schema change: only statements with
    // values are prepared.
    if (valores.isEmpty()) {
        if (!q.exec(sql))
            falha(acao, q.lastError());
        return q;
    }
    if (!q.prepare(sql))
        falha(acao, q.lastError());
    for (const QVariant& v : valores)
        q.addBindValue(textoNaoNulo(v));
    if (!q.exec())
        falha(acao, q.lastError());
    return q;
}

void Historico::iniciaEscrita(const QString& acao) {
    const QStringList inicio = fDialeto.inicioExclusivo();
    executa(inicio.first(), {}, acao);
    try {
        for (qsizetype i = 1; i < inicio.size(); ++i)
            executa(inicio[i], {}, acao);
    } catch (...) {
        desfaz();
        throw;
    }
}

void Historico::confirma(const QString& acao) {
    executa(QStringLiteral("COMMIT"), {}, acao);
}

void Historico::desfaz() {
    // Whatever failed first is what is said; a rollback that fails too adds nothing.
    QSqlQuery q(banco());
    q.exec(QStringLiteral("ROLLBACK"));
}

void Historico::falha(const QString& acao, const QSqlError& erro) const {
    if (!fDialeto.postgresql && arquivoSQLiteInvalido(erro))
        throw ErroHistorico(ErroHistorico::Tipo::ArquivoInvalido,
                            QStringLiteral("O arquivo %1 está danificado ou não é um histórico do "
                                           "BELQOR: %2. O arquivo foi mantido como está.")
                                .arg(fDestino.descricao(), motivoSQLite(erro)),
                            fDestino.arquivo);
    throw ErroHistorico(
        ErroHistorico::Tipo::Gravacao,
        QStringLiteral("Não foi possível %1 %2: %3.")
            .arg(acao, fDestino.descricao(),
                 fDialeto.postgresql ? motivoPostgreSQL(erro) : motivoSQLite(erro)));
}

void Historico::semCauda(const QString& acao) const {
    throw ErroHistorico(ErroHistorico::Tipo::Gravacao,
                        QStringLiteral("Não foi possível %1 %2: falta a cauda da cadeia de "
                                       "registros.")
                            .arg(acao, fDestino.descricao()));
}

qint64 Historico::acrescenta(const RegistroHistorico& registro, qint64& ultimo,
                             QString& hashUltimo) {
    LinhaHistorico l = linhaDoRegistro(registro);
    l.id = ultimo + 1;
    l.hashAnterior = hashUltimo;
    l.hash = hashDaLinha(l);
    executa(QStringLiteral("INSERT INTO registros (%1, nome_busca) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                           "?, ?, ?, ?, ?, ?)")
                .arg(ColunasLinha),
            {l.id, l.tipo, l.momento, l.usuario, l.maquina, l.versao, l.documento, l.nome, l.valor,
             l.total, l.hashAnterior, l.hash, l.conteudo, nomeParaBusca(l.nome)},
            AcaoGravar);
    QSqlQuery termo(banco());
    if (!termo.prepare(
            QStringLiteral("INSERT INTO termos (termo, momento, registro) VALUES (?, ?, ?)")))
        falha(AcaoGravar, termo.lastError());
    for (const QString& t : termosDoRegistro(registro)) {
        termo.addBindValue(t);
        termo.addBindValue(l.momento);
        termo.addBindValue(l.id);
        if (!termo.exec())
            falha(AcaoGravar, termo.lastError());
    }
    ultimo = l.id;
    hashUltimo = l.hash;
    return l.id;
}

qint64 Historico::registra(const RegistroHistorico& registro) {
    return registra(QList<RegistroHistorico>{registro}).first();
}

QList<qint64> Historico::registra(const QList<RegistroHistorico>& registros) {
    iniciaEscrita(AcaoGravar);
    try {
        qint64 ultimo = 0;
        QString hashUltimo;
        {
            QSqlQuery cauda = executa(fDialeto.leituraCauda(), {}, AcaoGravar);
            if (!cauda.next())
                semCauda(AcaoGravar);
            ultimo = cauda.value(0).toLongLong();
            hashUltimo = cauda.value(1).toString();
        }
        QList<qint64> ids;
        for (const RegistroHistorico& r : registros)
            ids << acrescenta(r, ultimo, hashUltimo);
        executa(QStringLiteral("UPDATE cauda SET ultimo = ?, hash = ?"), {ultimo, hashUltimo},
                AcaoGravar);
        confirma(AcaoGravar);
        return ids;
    } catch (...) {
        desfaz();
        throw;
    }
}

RegistroHistorico Historico::le(qint64 id) {
    QSqlQuery q = executa(QStringLiteral("SELECT %1 FROM registros WHERE id = ?").arg(ColunasLinha),
                          {id}, AcaoLer);
    if (!q.next())
        throw ErroHistorico(ErroHistorico::Tipo::Gravacao,
                            QStringLiteral("O histórico %1 não tem o registro %2.")
                                .arg(fDestino.descricao())
                                .arg(id));
    const LinhaHistorico l = linhaDaConsulta(q);
    const auto ilegivel = [&](const QString& motivo) {
        return ErroHistorico(ErroHistorico::Tipo::Gravacao,
                             QStringLiteral("O registro %1 do histórico %2 não pode ser usado: %3.")
                                 .arg(id)
                                 .arg(fDestino.descricao(), motivo));
    };
    if (hashDaLinha(l) != l.hash)
        throw ilegivel(QStringLiteral("foi modificado fora do BELQOR"));
    QJsonParseError erroJson;
    const QJsonDocument documento = QJsonDocument::fromJson(l.conteudo.toUtf8(), &erroJson);
    if (!documento.isObject())
        throw ilegivel(QStringLiteral("o conteúdo não é um documento JSON"));
    try {
        return registroDoConteudo(id, documento.object());
    } catch (const ErroConversao& e) {
        throw ilegivel(e.mensagem());
    }
}

PaginaHistorico Historico::busca(const FiltroHistorico& filtro,
                                 const std::optional<PosicaoHistorico>& depoisDe, int tamanho) {
    // Counted up to a bound: enough to tell a rare term from a common one, cheap either way.
    const auto frequencia = [this](const QString& termo) {
        QSqlQuery q = executa(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM termos WHERE "
                                             "termo = ? LIMIT 5000) contados"),
                              {termo}, AcaoLer);
        return q.next() ? q.value(0).toLongLong() : 0;
    };
    const ConsultaHistorico consulta = consultaDaBusca(filtro, depoisDe, tamanho, frequencia);
    QSqlQuery q = executa(consulta.sql, consulta.valores, AcaoLer);
    PaginaHistorico pagina;
    QString ultimoMomento;
    while (q.next()) {
        if (pagina.Registros.size() == tamanho) {
            pagina.Seguinte = PosicaoHistorico{ultimoMomento, pagina.Registros.last().Id};
            break;
        }
        ultimoMomento = q.value(2).toString();
        ResumoRegistro r;
        r.Id = q.value(0).toLongLong();
        r.Tipo = q.value(1).toString() == nomeTipoRegistro(TipoRegistro::Demonstrativo)
                     ? TipoRegistro::Demonstrativo
                     : TipoRegistro::Calculo;
        r.Emissao = Datas::deQDateTime(
            QDateTime::fromString(ultimoMomento, QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")));
        r.Usuario = q.value(3).toString();
        r.Maquina = q.value(4).toString();
        r.Documento = q.value(5).toString();
        r.Nome = q.value(6).toString();
        r.Valor = Moeda::deContagem(q.value(7).toLongLong());
        r.Total = Moeda::deContagem(q.value(8).toLongLong());
        pagina.Registros.append(r);
    }
    return pagina;
}

ResultadoVerificacao Historico::verifica() {
    // One read transaction: the tail and the records of one moment, whatever is recorded
    // meanwhile.
    executa(fDialeto.inicioLeitura(), {}, AcaoLer);
    try {
        qint64 ultimo = 0;
        QString hashUltimo;
        {
            QSqlQuery cauda =
                executa(QStringLiteral("SELECT ultimo, hash FROM cauda"), {}, AcaoLer);
            if (!cauda.next())
                semCauda(AcaoLer);
            ultimo = cauda.value(0).toLongLong();
            hashUltimo = cauda.value(1).toString();
        }
        VerificacaoCadeia cadeia;
        {
            QSqlQuery q =
                executa(QStringLiteral("SELECT %1 FROM registros ORDER BY id").arg(ColunasLinha),
                        {}, AcaoLer);
            while (q.next() && cadeia.confere(linhaDaConsulta(q))) {
            }
            if (q.lastError().isValid())
                falha(AcaoLer, q.lastError());
        }
        const ResultadoVerificacao resultado = cadeia.conclui(ultimo, hashUltimo);
        desfaz();
        return resultado;
    } catch (...) {
        desfaz();
        throw;
    }
}
