#pragma once

// The checks the calculation runs before it computes: the amount as typed, then the two
// dates in a fixed order. Each gives the first failure with its message and the field it
// concerns, so the calculation window and the command line word them alike.

#include "valores/Datas.h"

#include <QString>

#include <optional>

enum class CampoCalculo { Valor, DataVencimento, DataPagamento };

struct FalhaValidacao {
    QString Mensagem;
    CampoCalculo Campo;
    // The window puts the focus on the field only for these checks; the others leave it.
    bool MoveFoco;
};

// "Valor inválido! Digite o valor com as duas casas decimais."
QString MensagemValorInvalido();

// The amount's exit check. An empty text becomes "0,00"; the text is accepted when it
// holds a comma followed by exactly two characters (12,50 and ,50 pass; 12 and 12,5 fail).
std::optional<FalhaValidacao> ValidaTextoValor(QString& Texto);

// The amount's check where no keystroke filter ran before it: ValidaTextoValor, then a sign
// before the amount, which the window's field never takes, refused with the same message.
std::optional<FalhaValidacao> ValidaValorSemSinal(QString& Texto);

// The three checks of the payment date alone (given, not before 01/01/1998, a working
// day), as they run within ValidaDatas.
std::optional<FalhaValidacao> ValidaDataPagamento(DataHora DataPagamento);

// The seven date checks, in order; the first that fails is given. Dates count in whole
// days, 0 is no date, and 01/01/1998 itself passes the lower limit.
std::optional<FalhaValidacao> ValidaDatas(DataHora DataVencimento, DataHora DataPagamento);
