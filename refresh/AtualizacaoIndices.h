#pragma once

// The start-up refresh of the rate table: open the table, probe which network reaches
// the tax authority, ask the rate service library for the months after the last one
// held and import the returned document. Failures end in one of two error dialogs; the
// status message is removed whatever happened.

#include "service/DestinosAtualizacao.h"
#include "dialogos/Dialogos.h"
#include "valores/Relogio.h"

#include <QString>

#include <functional>

class TBQDataModule;

class AtualizacaoIndices {
public:
    using MostraStatus = std::function<void(const QString& Mensagem)>;
    using Pausa = std::function<void()>;

    static const QString TextoFalhaConexao; // dialog A
    static const QString TextoFalhaGeral;   // dialog B, followed by the failure's message

    AtualizacaoIndices(TBQDataModule& dados, const Relogio& relogio, Dialogos& dialogos,
                       DestinosAtualizacao destinos, MostraStatus mostraStatus, Pausa pausa);

    // True when the address answers 200 or 302; the scheme goes in front when missing.
    bool CheckUrl(const QString& url, bool https) const;

    // Opens the table from arqDados and brings it up to date. Never throws: failures are
    // reported in the dialogs or, inside the import's walk, in the log.
    void executa(const QString& arqDados);

private:
    void passoProtegido(const QString& arqDados);

    TBQDataModule& fDados;
    const Relogio& fRelogio;
    Dialogos& fDialogos;
    DestinosAtualizacao fDestinos;
    MostraStatus fMostraStatus;
    Pausa fPausa;
};
