#pragma once

// Walking the chain (CadeiaHistorico.h): every record, in the order of its number, must
// match its own hash and link to the record before it; the last one must be the chain's
// tail. The first record that does not is named, and the walk stops there.

#include "historico/CadeiaHistorico.h"

#include <QString>

struct ResultadoVerificacao {
    enum class Falha {
        Nenhuma,
        Conteudo,      // the record does not match its hash: edited outside the program
        Ligacao,       // it does not link to the record before: one removed, inserted or moved
        Removidos,     // the chain ends before the tail: records removed from the end
        Acrescentados, // records after the tail: added outside the program
        Substituido,   // the last record is not the tail's: replaced outside the program
    };
    Falha falha = Falha::Nenhuma;
    qint64 verificados = 0; // records that matched
    qint64 registro = 0;    // the first record that does not match (Removidos: the tail's)

    bool integro() const { return falha == Falha::Nenhuma; }
    // One sentence, naming the history as `descricao` (DestinoHistorico::descricao).
    QString mensagem(const QString& descricao) const;
};

class VerificacaoCadeia {
public:
    // The next record, in the order of its number; false once one did not match.
    bool confere(const LinhaHistorico& linha);
    // After the last record: the tail, as the chain keeps it.
    ResultadoVerificacao conclui(qint64 ultimo, const QString& hashUltimo);

private:
    ResultadoVerificacao fResultado;
    qint64 fIdAnterior = 0;
    QString fHashAnterior = hashInicial();
};
