#pragma once

// The rate import: walks the rate document that the rate service returns and hands each
// month to the rate table's InsereRegistro. A failure of the walk stops it and writes one
// line to the log; a document that does not parse goes back to the caller. Beside the
// walk, what the insertion did with each entry is recorded for the import's report.

#include "refresh/ResultadoSerie.h"
#include "sistema/DocumentoXML.h"
#include "valores/Relogio.h"

#include <QString>

class TBQDataModule;

class TSelicRN {
public:
    TSelicRN(TBQDataModule& dados, const Relogio& relogio) : fDados(dados), fRelogio(relogio) {}

    // Parses XML (a parse failure reaches the caller) and imports its entries. True
    // whenever it returns, after a complete walk and after a logged failure alike.
    bool ImportaTaxas(DocumentoXML& XML);
    // The same import, telling entry by entry what became of each month handed over and,
    // when a failure stopped the walk, at which entry and why, and whether the log took
    // the line.
    ResultadoSerie importaTaxasComResultado(DocumentoXML& XML);

    // "(relative) [absolute]": where in the program the failure was handled, eight or
    // more upper-case hex digits each; relative to the start of the executable's code.
    static QString textoLocalizacao(const void* endereco);
    // Date, a blank and the long time (only the date at exactly midnight), " - ",
    // location, " - ", message.
    static QString linhaLog(DataHora momento, const QString& localizacao, const QString& mensagem);

private:
    // `entrada` follows the walk: the entry being read, counted from 1; 0 before the first.
    void importa(DocumentoXML& XML, ResultadoSerie& resultado, int& entrada);
    // Where and why the walk stopped, as the report says it.
    QString textoParada(int entrada, const QString& mensagem) const;

    TBQDataModule& fDados;
    const Relogio& fRelogio;
};
