#include "ratetable/TextosTaxas.h"

QString textoMesAno(DataHora mes) {
    int ano = 0, m = 0, dia = 0;
    Datas::decodificaData(mes, ano, m, dia);
    return QStringLiteral("%1/%2")
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(ano, 4, 10, QLatin1Char('0'));
}

QString textoTaxa(double taxa) {
    return QString::number(taxa, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}
