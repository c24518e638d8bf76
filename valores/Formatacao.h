#pragma once

#include "valores/ConfiguracaoRegional.h"
#include "valores/Datas.h"
#include "valores/Estendido.h"
#include "valores/Moeda.h"

#include <QString>
#include <QStringView>

#include <array>

// Text to and from numbers and dates, the way the desktop's formatting routines do it,
// with their error texts. Every function takes the regional settings, by default the
// process-wide ones.
namespace Formato {

// Blanks and control characters (code 32 and below) off both ends, and only those.
QString apara(const QString& texto);

// Number patterns such as "#,##0.00", "0.00", "#,##0.000000" and "0": "0" a required
// digit, "#" an optional one, "," grouping, "." the decimal separator. The value is
// taken to 18 significant decimal digits, then rounded with halves away from zero.
QString formataNumero(const QString& padrao, Estendido valor,
                      const ConfiguracaoRegional& cfg = regional());

// An amount with the pattern "#,###,##0.00" (1.234,50), the same text as formataNumero
// gives for the count divided by 10000. For whole cents the text is built from the count
// itself: such a value has at most 17 significant digits, so its 18-digit rounding is
// exact and nothing is left to round at two decimals.
QString formataMoedaAgrupada(Moeda valor, const ConfiguracaoRegional& cfg = regional());
// Room for the longest amount's text (23 characters).
using EspacoMoeda = std::array<QChar, 32>;
// The same text written into espaco, which the view returned points into: the batch
// formats three amounts per row without allocating.
QStringView formataMoedaAgrupada(Moeda valor, EspacoMoeda& espaco,
                                 const ConfiguracaoRegional& cfg = regional());

// Plain decimal text: optional blanks, sign, digits, the decimal separator, an exponent.
// No thousands separators. Throws ErroConversao "'%s' is not a valid floating point value".
Estendido textoParaEstendido(const QString& texto, const ConfiguracaoRegional& cfg = regional());
bool tentaTextoParaEstendido(const QString& texto, Estendido& valor,
                             const ConfiguracaoRegional& cfg = regional());
// The same text read exactly into a currency amount (ties to even past four decimals).
Moeda textoParaMoeda(const QString& texto, const ConfiguracaoRegional& cfg = regional());

// Date patterns ("ddmmyyyy", "hhmmss", "dd/mm/yyyy", ...).
QString formataData(const QString& padrao, DataHora valor,
                    const ConfiguracaoRegional& cfg = regional());
// The short date pattern.
QString dataParaTexto(DataHora valor, const ConfiguracaoRegional& cfg = regional());
// A month as a reference period, "MM/AAAA" (02/2020), in every message, document and
// status text. Always with "/", as tax forms write the period whatever the desktop's date
// separator, and as the rate table's rules word their messages.
QString mesAno(DataHora mes);
// The long time format.
QString horaParaTexto(DataHora valor, const ConfiguracaoRegional& cfg = regional());
// Date, then a blank and the long time unless the time is exactly midnight.
QString dataHoraParaTexto(DataHora valor, const ConfiguracaoRegional& cfg = regional());

// Day, month and year in the order of the short date pattern, separated by the date
// separator. Throws ErroConversao "'%s' is not a valid date".
DataHora textoParaData(const QString& texto, const ConfiguracaoRegional& cfg = regional());
// A date optionally followed by a time. Throws "'%s' is not a valid date and time".
DataHora textoParaDataHora(const QString& texto, const ConfiguracaoRegional& cfg = regional());
bool tentaTextoParaData(const QString& texto, DataHora& valor,
                        const ConfiguracaoRegional& cfg = regional());

} // namespace Formato
