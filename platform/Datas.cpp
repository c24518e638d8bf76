#include "Datas.h"

#include "Erros.h"

#include <cmath>

namespace {

const QDate Origem(1899, 12, 30);
constexpr std::int64_t MsPorDia = 24LL * 60 * 60 * 1000;

} // namespace

namespace Datas {

std::int64_t parteInteira(DataHora valor) {
    return static_cast<std::int64_t>(std::trunc(valor));
}

DataHora codificaData(int ano, int mes, int dia) {
    const QDate data(ano, mes, dia);
    if (ano < 1 || ano > 9999 || !data.isValid())
        throw ErroConversao(QStringLiteral("Data inválida: %1/%2/%3").arg(dia).arg(mes).arg(ano));
    return static_cast<DataHora>(Origem.daysTo(data));
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
    return combinaDataHora(deQDate(paraQDate(valor).addMonths(meses)), hora);
}

DataHora primeiroDiaDoMes(DataHora valor) {
    const QDate data = paraQDate(valor);
    return deQDate(QDate(data.year(), data.month(), 1));
}

int diaDaSemana(DataHora valor) {
    return paraQDate(valor).dayOfWeek() % 7 + 1;
}

} // namespace Datas
