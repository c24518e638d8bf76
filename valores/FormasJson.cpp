#include "valores/FormasJson.h"

#include "valores/Erros.h"

#include <QDate>
#include <QDateTime>

#include <charconv>
#include <cmath>

namespace FormaJson {

namespace {

const QString FormatoMomento = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz");

QJsonValue membro(const QJsonObject& objeto, const QString& nome) {
    const auto i = objeto.constFind(nome);
    if (i == objeto.constEnd())
        campoInvalido(nome);
    return *i;
}

QString textoDe(const QJsonObject& objeto, const QString& nome) {
    const QJsonValue v = membro(objeto, nome);
    if (!v.isString())
        campoInvalido(nome);
    return v.toString();
}

} // namespace

void campoInvalido(const QString& nome) {
    throw ErroConversao(
        QStringLiteral("O campo \"%1\" do registro falta ou não tem a forma esperada.").arg(nome));
}

QJsonValue deMoeda(Moeda valor) {
    return valor.textoDecimal();
}

QJsonValue deData(DataHora data) {
    if (data == Datas::Vazia)
        return QJsonValue::Null;
    return Datas::paraQDate(data).toString(Qt::ISODate);
}

QString textoMomento(DataHora momento) {
    return Datas::paraQDateTime(momento).toString(FormatoMomento);
}

QJsonValue deMomento(DataHora momento) {
    return textoMomento(momento);
}

DataHora momentoEmMilissegundos(DataHora momento) {
    return Datas::deQDateTime(Datas::paraQDateTime(momento));
}

QJsonValue deEstendido(Estendido valor) {
    char texto[64];
    const auto r = std::to_chars(texto, texto + sizeof texto, valor, std::chars_format::hex);
    // "0x" is what C's hexadecimal floating point is known by; to_chars leaves it out.
    const bool negativo = texto[0] == '-';
    const char* digitos = texto + (negativo ? 1 : 0);
    return (negativo ? QStringLiteral("-0x") : QStringLiteral("0x")) +
           QString::fromLatin1(digitos, r.ptr - digitos);
}

Moeda moeda(const QJsonObject& objeto, const QString& nome) {
    const std::optional<Moeda> valor = Moeda::deTextoDecimal(textoDe(objeto, nome));
    if (!valor)
        campoInvalido(nome);
    return *valor;
}

DataHora data(const QJsonObject& objeto, const QString& nome) {
    const QJsonValue v = membro(objeto, nome);
    if (v.isNull())
        return Datas::Vazia;
    const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
    if (!v.isString() || !d.isValid())
        campoInvalido(nome);
    return Datas::deQDate(d);
}

DataHora momento(const QJsonObject& objeto, const QString& nome) {
    const QDateTime m = QDateTime::fromString(textoDe(objeto, nome), FormatoMomento);
    if (!m.isValid())
        campoInvalido(nome);
    return Datas::deQDateTime(m);
}

Estendido estendido(const QJsonObject& objeto, const QString& nome) {
    const QByteArray texto = textoDe(objeto, nome).toLatin1();
    const char* inicio = texto.constData();
    const char* fim = inicio + texto.size();
    const bool negativo = texto.startsWith('-');
    if (negativo)
        ++inicio;
    if (fim - inicio < 3 || inicio[0] != '0' || inicio[1] != 'x' || inicio[2] == '-' ||
        inicio[2] == '+')
        campoInvalido(nome);
    Estendido valor = 0;
    const auto r = std::from_chars(inicio + 2, fim, valor, std::chars_format::hex);
    if (r.ec != std::errc() || r.ptr != fim || !std::isfinite(valor))
        campoInvalido(nome);
    return negativo ? -valor : valor;
}

QString texto(const QJsonObject& objeto, const QString& nome) {
    return textoDe(objeto, nome);
}

bool logico(const QJsonObject& objeto, const QString& nome) {
    const QJsonValue v = membro(objeto, nome);
    if (!v.isBool())
        campoInvalido(nome);
    return v.toBool();
}

qint64 inteiro(const QJsonObject& objeto, const QString& nome) {
    constexpr double Limite = 9007199254740992.0; // 2^53
    const QJsonValue v = membro(objeto, nome);
    const double d = v.toDouble();
    if (!v.isDouble() || d != std::trunc(d) || std::fabs(d) > Limite)
        campoInvalido(nome);
    return static_cast<qint64>(d);
}

double real(const QJsonObject& objeto, const QString& nome) {
    const QJsonValue v = membro(objeto, nome);
    if (!v.isDouble())
        campoInvalido(nome);
    return v.toDouble();
}

QJsonArray lista(const QJsonObject& objeto, const QString& nome) {
    const QJsonValue v = membro(objeto, nome);
    if (!v.isArray())
        campoInvalido(nome);
    return v.toArray();
}

QJsonObject objeto(const QJsonObject& objeto, const QString& nome) {
    const QJsonValue v = membro(objeto, nome);
    if (!v.isObject())
        campoInvalido(nome);
    return v.toObject();
}

QJsonObject objeto(const QJsonValue& elemento, const QString& nomeDaLista) {
    if (!elemento.isObject())
        campoInvalido(nomeDaLista);
    return elemento.toObject();
}

} // namespace FormaJson
