#pragma once

// Puts the months of the central bank's series into the rate table through its
// insertion operation and its rules, and says month by month what became of them.

#include "refresh/LeitorSerie.h"
#include "valores/Relogio.h"
#include "refresh/ResultadoSerie.h"

#include <QByteArray>
#include <QString>

class QFile;
class TBQDataModule;

// In date order: a month the table holds is never overwritten (reported as present, or
// with both rates when they differ); a month not yet over on the clock's day is skipped
// before it reaches the table, so it never leaves a refused row; every other month goes
// through InsereRegistro. A refusal by the table stops there, named in the failure. Adds
// to `resultado`.
void aplicaSerie(TBQDataModule& dados, const Relogio& relogio, const QList<EntradaSerie>& entradas,
                 ResultadoSerie& resultado);

// Reads a series document (CSV or JSON) and applies what it holds; the months read before
// an entry that stopped the reading stay added.
ResultadoSerie importaSerie(TBQDataModule& dados, const Relogio& relogio,
                            const QByteArray& conteudo);

// A file saved from the central bank's site (CSV or JSON) through importaSerie, or a rate
// service document (XML) through the rate import of the start-up refresh, which goes on
// past a refused month and tells each entry's outcome, and where a failure stopped it;
// told apart by content. A document that does not parse imports nothing.
ResultadoSerie importaTaxas(TBQDataModule& dados, const Relogio& relogio,
                            const QByteArray& conteudo);

// importaTaxas on a file's content. A file that cannot be read or is too large throws.
ResultadoSerie importaArquivoTaxas(TBQDataModule& dados, const Relogio& relogio,
                                   const QString& caminho);

// The whole file, refused above the rate document's size limit.
QByteArray leArquivoTaxas(const QString& caminho);

// The whole of an open file (standard input among them), under the same limit; `origem`
// names it in the messages, as "o arquivo \"x\"" or "a entrada padrão".
QByteArray leDocumentoTaxas(QFile& aberto, const QString& origem);
