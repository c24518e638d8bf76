#pragma once

// One run of the command line: its output streams, the clock, the console dialogs and
// the data module with the rate table from the chosen file.

#include "ratetable/BQDataModule.h"
#include "calc/Calculo.h"
#include "cli/DialogosConsole.h"
#include "valores/Relogio.h"

#include <QString>
#include <QTextStream>

#include <memory>
#include <optional>

struct MemoriaCalculo;
class RegistradorHistorico;

class SessaoCli {
public:
    SessaoCli(QTextStream& saida, QTextStream& erro, std::unique_ptr<Relogio> relogio,
              const QString& arquivoTabela);
    ~SessaoCli();

    // Reads the table file; a missing or damaged file throws with a message naming it.
    void abreTabela();
    // For a command that writes the table: first takes the table's lock, waiting a few
    // seconds for another program to let go, then reads the file and adds the months a
    // newer installed default holds (said on standard error when there are any). When the
    // lock stays taken, the message has been printed and AbortoSilencioso is thrown
    // (status 1).
    void abreTabelaParaGravar();
    // Closes the table, writing its file when anything changed; a failed write throws.
    void fechaTabela();

    // Writes the calculation memory of one calculation as a PDF, made now by the session's
    // clock; a failure throws ErroEntradaSaida naming the file.
    void gravaPdf(const QString& caminho, const ResultadoCalculo& resultado,
                  const MemoriaCalculo& memoria);

    // Records one calculation in the program's history, made now by the session's clock by
    // this user on this machine; gives its number. A history that cannot be written is said
    // on standard error, once, and nothing is given.
    std::optional<qint64> registraCalculo(const ResultadoCalculo& resultado,
                                          const MemoriaCalculo& memoria);

    QTextStream& saida;
    QTextStream& erro;
    const Relogio& relogio() const { return *fRelogio; }
    DialogosConsole& dialogos() { return fDialogos; }
    TBQDataModule& dados() { return fDados; }

private:
    std::unique_ptr<Relogio> fRelogio;
    DialogosConsole fDialogos;
    TBQDataModule fDados;
    std::unique_ptr<RegistradorHistorico> fRegistrador;
};
