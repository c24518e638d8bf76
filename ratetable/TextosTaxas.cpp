#include "ratetable/TextosTaxas.h"

QString textoTaxa(double taxa) {
    return QString::number(taxa, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}
