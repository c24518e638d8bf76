#pragma once

#include "dialogos/Dialogos.h"

#include <QList>
#include <QString>
#include <QStringList>

// Answers from a script, for tests. Every dialog is recorded; a dialog that asks a
// question takes the next queued answer, and one with no answer queued is a test failure.
class DialogosRoteiro : public Dialogos {
public:
    struct Registro {
        enum Tipo { Mensagem, Dialogo, RelatorioErro } tipo;
        QString texto;
        TipoDialogo tipoDialogo = TipoDialogo::Personalizado;
        Botoes botoes = 0;
        // The caption the dialog was shown under.
        QString titulo;
    };

    void mensagem(const QString& texto) override;
    void mensagemComTitulo(const QString& texto, const QString& titulo) override;
    Resposta dialogo(const QString& texto, TipoDialogo tipo, Botoes botoes) override;
    void relatorioErro(const QString& texto) override;

    void enfileira(Resposta resposta) { fRespostas.append(resposta); }
    const QList<Registro>& registros() const { return fRegistros; }
    // Texts of every dialog shown, in order.
    QStringList textos() const;
    void limpa();
    qsizetype respostasPendentes() const { return fRespostas.size(); }

private:
    QList<Resposta> fRespostas;
    QList<Registro> fRegistros;
};
