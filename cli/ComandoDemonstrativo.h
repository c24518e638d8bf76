#pragma once

// belqor-cli demonstrativo: the statement of one taxpayer's debts read from a spreadsheet,
// calculated together for one payment date, printed as a table with its totals or as one
// JSON object, and optionally written as a PDF and exported as .xlsx or .csv.

#include <QString>

class SessaoCli;

struct OpcoesDemonstrativo {
    QString entrada;   // .csv, .xlsx, .ods, or "-" for CSV on standard input
    QString pagamento; // dd/mm/aaaa
    QString contribuinte;
    QString documento; // CPF or CNPJ, with or without punctuation
    QString ie;
    QString pdf;
    QString saida;      // .xlsx or .csv
    QString pagamentos; // partial payments: referencia, data, valor
    bool prever = false;
    bool json = false;
};

// 0 when every debt was calculated, 1 when one failed or a row could not be read (the
// failures are in the answer; respondeu is then true), or when the statement could not be
// made at all (its message on standard error).
int comandoDemonstrativo(SessaoCli& sessao, const OpcoesDemonstrativo& opcoes, bool& respondeu);
