#pragma once

// The rate import: walks the rate document that the rate service returns and hands each
// month to the rate table's InsereRegistro. A failure of the walk stops it and writes one
// line to the log; a document that does not parse goes back to the caller.

#include "sistema/DocumentoXML.h"
#include "valores/Relogio.h"

#include <QString>

class TBQDataModule;

// How a walk of the rate document ended: through every entry, or stopped by a failure
// whose message went to the log.
struct ResultadoImportacao {
    bool completa = true;
    QString mensagem;
};

class TSelicRN {
public:
    TSelicRN(TBQDataModule& dados, const Relogio& relogio) : fDados(dados), fRelogio(relogio) {}

    // Parses XML (a parse failure reaches the caller) and imports its entries. True
    // whenever it returns, after a complete walk and after a logged failure alike.
    bool ImportaTaxas(DocumentoXML& XML);
    // The same import, telling how the walk ended, whether or not the log took the line.
    ResultadoImportacao importaTaxasComResultado(DocumentoXML& XML);

    // "(relative) [absolute]": where in the program the failure was handled, eight or
    // more upper-case hex digits each; relative to the start of the executable's code.
    static QString textoLocalizacao(const void* endereco);
    // Date, a blank and the long time (only the date at exactly midnight), " - ",
    // location, " - ", message.
    static QString linhaLog(DataHora momento, const QString& localizacao, const QString& mensagem);

private:
    void importa(DocumentoXML& XML);

    TBQDataModule& fDados;
    const Relogio& fRelogio;
};
