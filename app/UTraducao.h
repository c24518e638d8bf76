#pragma once

#include "dialogos/TextosPadrao.h"

#include <QString>

#include <span>

// Start-up wording of the standard dialogs: the titles and button captions of the
// standard-text table become Portuguese once, before the application object exists.
struct SubstituicaoTexto {
    TextoPadrao registro;
    const char16_t* texto;
};

// Puts `texto` in place of the standard text of `registro`.
void TrocaTextoPadrao(TextoPadrao registro, const QString& texto);

// The replacements in the order they are applied.
std::span<const SubstituicaoTexto> substituicoesPadrao();

// Applies every replacement; only the first call in a process does anything.
void inicializaTraducao();
