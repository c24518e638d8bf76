#include "valores/Datas.h"

#include "valores/Erros.h"

#include <algorithm>
#include <cmath>

namespace {

const QDate Origem(1899, 12, 30);
constexpr std::int64_t MsPorDia = 24LL * 60 * 60 * 1000;

// Years 1 to 9999 of the proleptic Gregorian calendar are worked out in integers, which
// agree with QDate there and cost a fraction of it (the batch converts dates on every
// row); outside them QDate answers, as it always has.
constexpr std::int64_t PrimeiroDia = -693593; // 01/01/0001
constexpr std::int64_t UltimoDia = 2958465;   // 31/12/9999
// Days from 01/03/0000, where the count below starts, to the origin.
constexpr std::int64_t MarcoAteOrigem = 693899;

bool bissexto(int ano) {
    return ano % 4 == 0 && (ano % 100 != 0 || ano % 400 == 0);
}

int diasNoMes(int ano, int mes) {
    constexpr int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return mes == 2 && bissexto(ano) ? 29 : dias[mes - 1];
}

bool noIntervalo(std::int64_t dias) {
    return dias >= PrimeiroDia && dias <= UltimoDia;
}

// Days since the origin of a valid date of years 1 to 9999 (years counted from March,
// so the leap day ends the year).
std::int64_t diasDaData(int ano, int mes, int dia) {
    const int a = mes <= 2 ? ano - 1 : ano;
    const int era = a / 400;
    const int anoDaEra = a - era * 400;
    const int diaDoAno = (153 * (mes > 2 ? mes - 3 : mes + 9) + 2) / 5 + dia - 1;
    const int diaDaEra = anoDaEra * 365 + anoDaEra / 4 - anoDaEra / 100 + diaDoAno;
    return std::int64_t(era) * 146097 + diaDaEra - MarcoAteOrigem;
}

// The reverse, for days within years 1 to 9999.
void dataDosDias(std::int64_t dias, int& ano, int& mes, int& dia) {
    const std::int64_t z = dias + MarcoAteOrigem;
    const int era = int(z / 146097);
    const int diaDaEra = int(z - std::int64_t(era) * 146097);
    const int anoDaEra = (diaDaEra - diaDaEra / 1460 + diaDaEra / 36524 - diaDaEra / 146096) / 365;
    const int diaDoAno = diaDaEra - (365 * anoDaEra + anoDaEra / 4 - anoDaEra / 100);
    const int mp = (5 * diaDoAno + 2) / 153;
    dia = diaDoAno - (153 * mp + 2) / 5 + 1;
    mes = mp < 10 ? mp + 3 : mp - 9;
    ano = anoDaEra + era * 400 + (mes <= 2 ? 1 : 0);
}

} // namespace

namespace Datas {

std::int64_t parteInteira(DataHora valor) {
    return static_cast<std::int64_t>(std::trunc(valor));
}

DataHora codificaData(int ano, int mes, int dia) {
    if (ano < 1 || ano > 9999 || mes < 1 || mes > 12 || dia < 1 || dia > diasNoMes(ano, mes))
        throw ErroConversao(QStringLiteral("Data inválida: %1/%2/%3").arg(dia).arg(mes).arg(ano));
    return static_cast<DataHora>(diasDaData(ano, mes, dia));
}

DataHora codificaHora(int hora, int minuto, int segundo, int milissegundo) {
    const QTime tempo(hora, minuto, segundo, milissegundo);
    if (!tempo.isValid())
        throw ErroConversao(
            QStringLiteral("Hora inválida: %1:%2:%3").arg(hora).arg(minuto).arg(segundo));
    return static_cast<DataHora>(tempo.msecsSinceStartOfDay()) / MsPorDia;
}

QDate paraQDate(DataHora valor) {
    return Origem.addDays(parteInteira(valor));
}

DataHora deQDate(const QDate& data) {
    return static_cast<DataHora>(Origem.daysTo(data));
}

void decodificaData(DataHora valor, int& ano, int& mes, int& dia) {
    const std::int64_t dias = parteInteira(valor);
    if (noIntervalo(dias))
        dataDosDias(dias, ano, mes, dia);
    else
        paraQDate(valor).getDate(&ano, &mes, &dia);
}

void decodificaHora(DataHora valor, int& hora, int& minuto, int& segundo, int& milissegundo) {
    // The fraction's magnitude is the time of day, also for dates before the origin.
    const double fracao = std::fabs(valor - std::trunc(valor));
    std::int64_t ms = std::llround(fracao * MsPorDia);
    if (ms >= MsPorDia)
        ms = MsPorDia - 1;
    hora = int(ms / 3600000);
    minuto = int(ms / 60000 % 60);
    segundo = int(ms / 1000 % 60);
    milissegundo = int(ms % 1000);
}

QDateTime paraQDateTime(DataHora valor) {
    int h = 0, m = 0, s = 0, ms = 0;
    decodificaHora(valor, h, m, s, ms);
    return QDateTime(paraQDate(valor), QTime(h, m, s, ms));
}

DataHora deQDateTime(const QDateTime& momento) {
    return combinaDataHora(deQDate(momento.date()),
                           static_cast<DataHora>(momento.time().msecsSinceStartOfDay()) / MsPorDia);
}

DataHora combinaDataHora(DataHora dia, DataHora hora) {
    return dia < 0 ? dia - hora : dia + hora;
}

DataHora incrementaMes(DataHora valor, int meses) {
    const DataHora hora = std::fabs(valor - std::trunc(valor));
    const std::int64_t dias = parteInteira(valor);
    if (noIntervalo(dias) && meses > -120000 && meses < 120000) {
        int ano = 0, mes = 0, dia = 0;
        dataDosDias(dias, ano, mes, dia);
        const int contados = ano * 12 + (mes - 1) + meses;
        const int novoAno = contados / 12, novoMes = contados % 12 + 1;
        if (contados >= 12 && novoAno <= 9999)
            return combinaDataHora(
                static_cast<DataHora>(
                    diasDaData(novoAno, novoMes, std::min(dia, diasNoMes(novoAno, novoMes)))),
                hora);
    }
    return combinaDataHora(deQDate(paraQDate(valor).addMonths(meses)), hora);
}

DataHora primeiroDiaDoMes(DataHora valor) {
    const std::int64_t dias = parteInteira(valor);
    if (noIntervalo(dias)) {
        int ano = 0, mes = 0, dia = 0;
        dataDosDias(dias, ano, mes, dia);
        return static_cast<DataHora>(dias - (dia - 1));
    }
    const QDate data = paraQDate(valor);
    return deQDate(QDate(data.year(), data.month(), 1));
}

int diaDaSemana(DataHora valor) {
    const std::int64_t dias = parteInteira(valor);
    if (noIntervalo(dias))
        return int(((dias % 7) + 7 + 6) % 7) + 1; // the origin was a Saturday
    return paraQDate(valor).dayOfWeek() % 7 + 1;
}

} // namespace Datas
