#pragma once

// The one message a spreadsheet file that cannot be read gives, naming the file: damaged,
// protected by a password, not a spreadsheet of its kind, or larger than the readers take.
// What QuaZip, zlib and the XML reader say of it stays here; the user reads these texts.

#include "valores/Erros.h"

#include <QString>

// A file refused for what it holds; a file that could not be read at all is an
// ErroEntradaSaida, as for every other reader.
class ErroPlanilha : public ErroBelqor {
    using ErroBelqor::ErroBelqor;
};

// "A planilha "x" está danificada: detalhe."
[[noreturn]] void planilhaDanificada(const QString& nome, const QString& detalhe);
// "O arquivo "x" não é uma planilha .xlsx." or, with a detail, "…: detalhe."
[[noreturn]] void naoEPlanilha(const QString& nome, const QString& extensao,
                               const QString& detalhe = QString());
// "A planilha "x" está protegida por senha: …"
[[noreturn]] void planilhaProtegida(const QString& nome);
// "A planilha "x" é grande demais: detalhe."
[[noreturn]] void planilhaGrandeDemais(const QString& nome, const QString& detalhe);
// "Não foi possível ler o arquivo "x": motivo" (an ErroEntradaSaida)
[[noreturn]] void planilhaIlegivel(const QString& nome, const QString& motivo);
