#pragma once

#include "dialogos/Dialogos.h"

// The standard dialogs on screen, as message boxes worded by the standard-text table.
// Each dialog is modal over the window that is active when it is shown.
class DialogosQt : public Dialogos {
public:
    void mensagem(const QString& texto) override;
    Resposta dialogo(const QString& texto, TipoDialogo tipo, Botoes botoes) override;
    // Keeps the platform's own "OK" on its button: only the dialogs above follow the table.
    void relatorioErro(const QString& texto) override;
    // A message box with a title of its own and the platform's OK button.
    void mensagemComTitulo(const QString& texto, const QString& titulo) override;
};
