#pragma once

#include <QStringList>

class SessaoCli;

// lote ENTRADA.csv [SAIDA.csv]: one calculation per row of valor;vencimento;pagamento
// (header row first), written out with every input column plus dias, taxa, multa, juros,
// total and the row's message where it failed. A failed row never stops the others.
// The output goes to SAIDA (replaced whole, only once complete) or to standard output.
// With pastaPdf, the calculation memory of each calculated row goes into that folder
// (created when missing) as linha-N.pdf, N counting the rows after the header from 1.
// 0 when every row was calculated.
int comandoLote(SessaoCli& sessao, const QStringList& argumentos, const QString& pastaPdf);
