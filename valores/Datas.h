#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cstdint>

// The date value: a double counting days since 30 December 1899, the fraction being
// the time of day. 0 is the empty date. Dates are compared and subtracted in whole days.
using DataHora = double;

namespace Datas {

constexpr DataHora Vazia = 0.0;

// Whole-day part (truncated toward zero, as the date scale does).
std::int64_t parteInteira(DataHora valor);

// Throws ErroConversao for an impossible date.
DataHora codificaData(int ano, int mes, int dia);
DataHora codificaHora(int hora, int minuto, int segundo, int milissegundo = 0);
void decodificaData(DataHora valor, int& ano, int& mes, int& dia);
void decodificaHora(DataHora valor, int& hora, int& minuto, int& segundo, int& milissegundo);

// A whole day count and a time of day (a fraction from 0 to 1) as one date value. The sign
// belongs to the day part only: before the origin the time counts away from zero, so
// -1,25 is 29/12/1899 06:00.
DataHora combinaDataHora(DataHora dia, DataHora hora);

// Moves by whole calendar months, keeping the time; a day past the end of the target
// month becomes its last day (31 March less one month is 29 February in a leap year).
DataHora incrementaMes(DataHora valor, int meses);
// Day 1 of the valor's month.
DataHora primeiroDiaDoMes(DataHora valor);
// 1 = Sunday ... 7 = Saturday.
int diaDaSemana(DataHora valor);

QDate paraQDate(DataHora valor);
DataHora deQDate(const QDate& data);
QDateTime paraQDateTime(DataHora valor);
DataHora deQDateTime(const QDateTime& momento);

} // namespace Datas
