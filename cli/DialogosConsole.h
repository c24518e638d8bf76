#pragma once

#include "dialogos/Dialogos.h"

#include <QStringList>
#include <QTextStream>

// The standard dialogs on a console: every text goes to standard error, one line per
// message; a question takes its safe answer (No, Cancel) since nobody is there to answer.
// Every text shown is also kept, so a command can report or collect it. Muted, it only
// keeps them (a batch puts them in its rows instead).
class DialogosConsole : public Dialogos {
public:
    explicit DialogosConsole(QTextStream& erro) : fErro(erro) {}

    void mensagem(const QString& texto) override;
    Resposta dialogo(const QString& texto, TipoDialogo tipo, Botoes botoes) override;
    void relatorioErro(const QString& texto) override;
    void mensagemComTitulo(const QString& texto, const QString& titulo) override;

    void defineMudo(bool mudo) { fMudo = mudo; }
    const QStringList& mostrados() const { return fMostrados; }
    void limpa() { fMostrados.clear(); }

private:
    void mostra(const QString& texto);

    QTextStream& fErro;
    bool fMudo = false;
    QStringList fMostrados;
};
