#pragma once

// A calculation's results and its account as JSON, read back to the same values: the
// stored record of a calculation keeps them so its document can be drawn again as it was
// issued, without calculating anything. Every figure is exact (FormasJson.h): amounts as
// decimal text of their count, the rates summed as the table held them, the extended
// values in hexadecimal floating point.

#include "calc/Calculo.h"
#include "calc/MemoriaCalculo.h"

#include <QJsonObject>

QJsonObject resultadoParaJson(const ResultadoCalculo& resultado);
// Throws ErroConversao naming the member that is missing or not of its form.
ResultadoCalculo resultadoDeJson(const QJsonObject& objeto);

QJsonObject memoriaParaJson(const MemoriaCalculo& memoria);
// Throws ErroConversao naming the member that is missing or not of its form.
MemoriaCalculo memoriaDeJson(const QJsonObject& objeto);
