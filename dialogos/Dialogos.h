#pragma once

#include "dialogos/TextosPadrao.h"

#include <QList>
#include <QString>

#include <functional>

// The standard dialogs, behind an interface so tests answer them from a script.
enum class TipoDialogo { Aviso, Erro, Informacao, Confirmacao, Personalizado };

enum class Botao : unsigned {
    Sim = 1u << 0,
    Nao = 1u << 1,
    Ok = 1u << 2,
    Cancelar = 1u << 3,
    Abortar = 1u << 4,
    Repetir = 1u << 5,
    Ignorar = 1u << 6,
    Todos = 1u << 7,
    NaoParaTodos = 1u << 8,
    SimParaTodos = 1u << 9,
    Ajuda = 1u << 10,
    Fechar = 1u << 11,
};
using Botoes = unsigned;
constexpr Botoes operator|(Botao a, Botao b) {
    return unsigned(a) | unsigned(b);
}
constexpr Botoes operator|(Botoes a, Botao b) {
    return a | unsigned(b);
}

// What the user chose; Nenhuma when the dialog was closed without a button.
enum class Resposta {
    Nenhuma,
    Ok,
    Cancelar,
    Abortar,
    Repetir,
    Ignorar,
    Sim,
    Nao,
    Todos,
    NaoParaTodos,
    SimParaTodos,
    Ajuda,
    Fechar
};

class Dialogos {
public:
    virtual ~Dialogos() = default;
    // Plain message box: the application title as caption, one "Ok" button.
    virtual void mensagem(const QString& texto) = 0;
    // The same box under a caption of the caller's choosing.
    virtual void mensagemComTitulo(const QString& texto, const QString& titulo) = 0;
    // Message dialog of a kind with the given buttons; the title comes from the kind.
    virtual Resposta dialogo(const QString& texto, TipoDialogo tipo, Botoes botoes) = 0;
    // The general error report: application title, error icon, the message.
    virtual void relatorioErro(const QString& texto) = 0;

    // Confirmation with Yes and No; true only for Yes.
    bool confirma(const QString& texto);
    // Error dialog with one Ok button.
    void erro(const QString& texto);
};

// Title and captions as the standard-text table words them now.
QString tituloDoDialogo(TipoDialogo tipo);
QStringList legendasDosBotoes(Botoes botoes);
Resposta respostaDoBotao(Botao botao);

// Runs a handler's body so that no exception escapes into Qt: the silent abort passes
// without a word, any other failure goes to the general error report.
void executaProtegido(Dialogos& dialogos, const std::function<void()>& corpo);
