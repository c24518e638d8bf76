#pragma once

// The taxpayer a statement of debts is made for: a name, the CPF of a person or the CNPJ of
// a company, and the state registration as typed. The number is kept without punctuation
// and shown with it; a CNPJ is taken in both forms in use, 14 digits and the alphanumeric
// one (12 characters from 0–9 and A–Z, then two check digits).

#include <QString>

#include <optional>

enum class TipoDocumento { Nenhum, CPF, CNPJ };

// The number as typed without the punctuation people write in it (".", "/", "-" and
// spaces), letters in upper case.
QString documentoSemPontuacao(const QString& digitado);

// An alphanumeric CNPJ without punctuation: 12 characters from 0–9 and A–Z, each counting as
// its character code minus 48 (A = 17 … Z = 42), then the two check digits of modulo 11
// with the weights 2 to 9 from the right, as the numeric CNPJ.
bool ValidaCNPJAlfanumerico(const QString& cnpj);

// Which number the text holds: 11 digits or fewer, a CPF; anything else, a CNPJ.
TipoDocumento tipoDoDocumento(const QString& semPontuacao);

// Nothing when the typed number is valid (or empty: the number is optional); otherwise
// "CPF inválido!" or "CNPJ inválido!".
std::optional<QString> validaDocumento(const QString& digitado);

// The number with its punctuation: 123.456.789-09, 12.ABC.345/01DE-35.
QString formataDocumento(const QString& semPontuacao);

class Contribuinte {
public:
    QString Nome;
    QString InscricaoEstadual; // free text

    // Keeps the typed number when it is valid and gives nothing; otherwise gives the
    // refusal's message and keeps the number it had.
    std::optional<QString> defineDocumento(const QString& digitado);
    const QString& documento() const { return fDocumento; }
    TipoDocumento tipoDocumento() const { return tipoDoDocumento(fDocumento); }
    QString documentoFormatado() const { return formataDocumento(fDocumento); }

    friend bool operator==(const Contribuinte&, const Contribuinte&) = default;

private:
    QString fDocumento; // without punctuation
};
