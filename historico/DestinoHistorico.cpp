#include "historico/DestinoHistorico.h"

#include "historico/ErroHistorico.h"
#include "sistema/LocaisArquivos.h"

#include <QDir>
#include <QUrl>

namespace {

// The part of an address before its path: usuario[:senha]@servidor[:porta].
QString autoridade(const QString& texto) {
    return texto.section(QStringLiteral("://"), 1).section(u'/', 0, 0);
}

// The text as a message may repeat it: a password typed in it is not.
QString semSenha(const QString& texto) {
    const QString usuario = autoridade(texto).section(u'@', 0, -2);
    if (!usuario.contains(u':'))
        return texto;
    QString mostrado = texto;
    return mostrado.replace(texto.indexOf(usuario), usuario.size(),
                            usuario.section(u':', 0, 0) + QStringLiteral(":***"));
}

[[noreturn]] void recusa(const QString& texto, const QString& motivo) {
    throw ErroHistorico(ErroHistorico::Tipo::Configuracao,
                        QStringLiteral("BELQOR_HISTORICO=%1 não serve: %2 Use "
                                       "postgresql://usuario@servidor[:porta]/banco ou o "
                                       "caminho completo de um arquivo SQLite.")
                            .arg(semSenha(texto), motivo));
}

DestinoHistorico postgresql(const QString& texto) {
    const QUrl url(texto, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        recusa(texto, QStringLiteral("falta o servidor."));
    // user:password@server, even with an empty password.
    if (!url.password().isEmpty() || autoridade(texto).section(u'@', 0, -2).contains(u':'))
        recusa(texto, QStringLiteral("a senha não vai no endereço; ela vem do arquivo de senhas "
                                     "do PostgreSQL (~/.pgpass)."));
    if (url.hasQuery() || url.hasFragment())
        recusa(texto, QStringLiteral("o endereço não leva parâmetros."));
    DestinoHistorico d;
    d.tipo = DestinoHistorico::Tipo::PostgreSQL;
    d.usuario = url.userName();
    d.servidor = url.host();
    d.porta = url.port(DestinoHistorico::PortaPadrao);
    d.banco = url.path().mid(1);
    if (d.banco.isEmpty() || d.banco.contains(u'/'))
        recusa(texto, QStringLiteral("falta o nome do banco."));
    return d;
}

} // namespace

DestinoHistorico DestinoHistorico::sqlite(const QString& arquivo) {
    DestinoHistorico d;
    d.arquivo = arquivo;
    return d;
}

DestinoHistorico DestinoHistorico::deTexto(const QString& texto, const QString& arquivoPadrao) {
    if (texto.isEmpty())
        return sqlite(arquivoPadrao);
    if (texto.startsWith(QLatin1String("postgresql://")) ||
        texto.startsWith(QLatin1String("postgres://")))
        return postgresql(texto);
    if (QDir::isAbsolutePath(texto))
        return sqlite(QDir::cleanPath(texto));
    recusa(texto, QStringLiteral("não é um endereço PostgreSQL nem um caminho completo."));
}

DestinoHistorico DestinoHistorico::doPrograma() {
    return deTexto(qEnvironmentVariable("BELQOR_HISTORICO"),
                   LocaisArquivos::doPrograma().historico);
}

QString DestinoHistorico::endereco() const {
    if (tipo == Tipo::SQLite)
        return arquivo;
    const QString host = servidor.contains(u':') ? u'[' + servidor + u']' : servidor;
    return QStringLiteral("postgresql://%1%2:%3/%4")
        .arg(usuario.isEmpty() ? QString() : usuario + u'@', host)
        .arg(porta)
        .arg(banco);
}

QString DestinoHistorico::descricao() const {
    if (tipo == Tipo::SQLite)
        return u'"' + arquivo + u'"';
    return QStringLiteral("no servidor PostgreSQL %1").arg(endereco().mid(13));
}
