#pragma once

// The results of a calculation as the batch writes them, in six columns after a row's own
// fields: dias, taxa, multa, juros, total and the row's message. Shared by `lote` and the
// statement's CSV export, so both write the same texts under the same names. Formatted
// without allocating: the batch writes millions of rows.

#include "calc/Calculo.h"
#include "valores/Formatacao.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

// "dias", "taxa", "multa", "juros", "total", "mensagem"
const QStringList& nomesColunasResultado();

class TextosResultado {
public:
    using Colunas = std::array<QStringView, 6>;

    // The texts of a result: days as QString::number writes them, the rate in percent with
    // six decimals, amounts with their thousands grouped; no message. The views stay valid
    // until the next call.
    const Colunas& de(const ResultadoCalculo& r);
    // A row that failed: its message alone, in the last column.
    const Colunas& deFalha(QStringView mensagem);

private:
    // Rows of the same months give the same rate: each distinct rate is formatted once.
    // Keyed by the value's bits, so only the very same extended value shares a text.
    QHash<std::pair<quint64, quint16>, QString> fTaxas;
    std::array<QChar, 24> fDias;
    Formato::EspacoMoeda fMulta, fJuros, fTotal;
    Colunas fColunas;
};
