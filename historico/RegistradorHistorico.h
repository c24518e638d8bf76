#pragma once

// What the program records with. The history is opened at the first record, and recording
// never stops a calculation: a history that cannot be opened or written is said once,
// through the warning given, and nothing more is recorded in that run, nor anywhere else.
// A damaged or foreign file stays as it is until it is set aside: renamed with the date,
// so that a new history starts in its place.

#include "historico/DestinoHistorico.h"
#include "historico/RegistroHistorico.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Historico;

class RegistradorHistorico {
public:
    using Abertura = std::function<std::unique_ptr<Historico>()>;
    using Aviso = std::function<void(const QString& mensagem)>;

    RegistradorHistorico(Abertura abertura, Aviso aviso);
    ~RegistradorHistorico();

    // Opens the history of `destino`; that of the running program (BELQOR_HISTORICO, else
    // the file LocaisArquivos places), where a text it does not understand is a failure of
    // the first record.
    static Abertura aberturaDe(const DestinoHistorico& destino);
    static Abertura aberturaDoPrograma();

    // The record's number; nothing when it was not recorded.
    std::optional<qint64> registra(const RegistroHistorico& registro);

    // Why recording is off (what the warning said); empty while it is on.
    const QString& falha() const { return fFalha; }
    // The damaged or foreign file that turned recording off; empty otherwise.
    const QString& arquivoInvalido() const { return fArquivoInvalido; }
    // Sets that file aside (poeHistoricoDeLado) and turns recording on again, into a new
    // file at the next record. Gives the file's new name; throws ErroHistorico when it
    // cannot be renamed, and recording stays off.
    QString poeDeLadoERecomeca(DataHora hoje);

private:
    Abertura fAbertura;
    Aviso fAviso;
    std::unique_ptr<Historico> fHistorico;
    QString fFalha;
    QString fArquivoInvalido;
};

// Renames a history file, with its write-ahead log and shared-memory files, to
// "historico-AAAA-MM-DD.sqlite" beside it ("historico-AAAA-MM-DD-2.sqlite" and on when the
// name is taken); gives the new name. Nothing of it is changed but its name.
QString poeHistoricoDeLado(const QString& arquivo, DataHora hoje);
