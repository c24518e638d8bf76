#pragma once

#include <QString>

class SessaoCli;

// lote ENTRADA.csv [SAIDA.csv]: one calculation per row of valor;vencimento;pagamento
// (header row first, columns in any order), read and written one row at a time. Every
// input field is written back as it was read, followed by dias, taxa, multa, juros,
// total and the row's message where it failed; a failed row never stops the others.
// The output goes to SAIDA (replaced whole, only once complete; never the input or the
// rate table) or, when it is empty or "-", to standard output; ENTRADA "-" is standard
// input. With pastaPdf, the calculation memory of each calculated row goes into that
// folder (created when missing) as linha-N.pdf, N counting the rows after the header from
// 1. 0 when every row was calculated, 1 when a row failed, 2 for a refused output.
int comandoLote(SessaoCli& sessao, const QString& entrada, const QString& destino,
                const QString& pastaPdf);
