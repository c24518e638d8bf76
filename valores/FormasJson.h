#pragma once

// The values as a stored record writes them in JSON, and read back exactly: an amount as
// the exact decimal text of its count ("1138.2600"), a date as "2020-01-10" (the empty date
// as null), a moment as "2026-12-10T14:30:05.123", an extended value as hexadecimal
// floating-point text ("0x8.58793dd97f62b6cp-9"), which holds its 64-bit significand
// whole. None of them depends on the regional settings or the C library's locale.
//
// The readers take one member of an object and throw ErroConversao naming it when it is
// missing or not of its form, so a record damaged outside the program is refused with a
// message instead of read as something else.

#include "valores/Datas.h"
#include "valores/Estendido.h"
#include "valores/Moeda.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace FormaJson {

QJsonValue deMoeda(Moeda valor);
QJsonValue deData(DataHora data);
// Milliseconds are the finest the text keeps: see momentoEmMilissegundos.
QJsonValue deMomento(DataHora momento);
QJsonValue deEstendido(Estendido valor);
QString textoMomento(DataHora momento);

// The moment as its text reads back: to the millisecond.
DataHora momentoEmMilissegundos(DataHora momento);

Moeda moeda(const QJsonObject& objeto, const QString& nome);
DataHora data(const QJsonObject& objeto, const QString& nome);
DataHora momento(const QJsonObject& objeto, const QString& nome);
Estendido estendido(const QJsonObject& objeto, const QString& nome);
QString texto(const QJsonObject& objeto, const QString& nome);
bool logico(const QJsonObject& objeto, const QString& nome);
// A whole number that a JSON number holds exactly (up to 2^53 either way).
qint64 inteiro(const QJsonObject& objeto, const QString& nome);
double real(const QJsonObject& objeto, const QString& nome);
QJsonArray lista(const QJsonObject& objeto, const QString& nome);
QJsonObject objeto(const QJsonObject& objeto, const QString& nome);
// An element of a list that must be an object.
QJsonObject objeto(const QJsonValue& elemento, const QString& nomeDaLista);

// "O campo \"nome\" do registro falta ou não tem a forma esperada."
[[noreturn]] void campoInvalido(const QString& nome);

} // namespace FormaJson
