#pragma once

// The statement written out for a spreadsheet, after Demonstrativo::calcula: an .xlsx
// workbook laid out to be read and printed (the taxpayer and the payment date above the
// table, amounts as numbers, dates as dates, the totals below), or a CSV as the batch writes
// its output, for other programs to read.
//
// .xlsx, one sheet "Demonstrativo": the title, then Contribuinte, CPF or CNPJ (formatted),
// Inscrição estadual and Data de pagamento in columns A and B; an empty row; the table's
// header (Referência, Vencimento, Valor do ICMS, Descrição, Dias, Taxa de Juros, Multa de
// Mora, Juros de Mora, Total, Mensagem); one row per debt, a failed one with its message and
// no results; then "Totais" with the sums of the debts calculated and their count.
//
// .csv: referencia;vencimento;valor;descricao;pagamento, then the batch's result columns
// (dias;taxa;multa;juros;total;mensagem) with the batch's texts, one row per debt, through
// the batch's writer: the same bytes `lote` writes for those rows.
//
// When some debt had partial payments or used an estimated month (colunasExtras), both add
// at the end of each row the forecast's mark ("PREVISÃO" or nothing), what the debt paid and
// the principal left open; the .xlsx then gives the typed amount under Valor do ICMS and
// adds a sheet "Pagamentos", one row per payment with its cost that day and its three parts.

#include <QString>

class ArquivoSaida;
class Demonstrativo;
class QTextStream;

// Whether the statement's files carry the forecast's and the payments' columns.
bool colunasExtras(const Demonstrativo& demonstrativo);

// By the extension of caminho, .xlsx or .csv, without regard to case; the file is replaced
// only once complete. Throws ErroBelqor for any other extension, ErroEntradaSaida (naming
// the file) when it cannot be written.
void exportaDemonstrativo(const Demonstrativo& demonstrativo, const QString& caminho);

// Into an output already open (ArquivoSaida::abre); the caller concludes it.
void exportaXlsx(const Demonstrativo& demonstrativo, ArquivoSaida& destino);
// With a byte-order mark and CR LF, as the batch writes a file.
void exportaCsv(const Demonstrativo& demonstrativo, ArquivoSaida& destino);
// As plain lines, as the batch writes to standard output.
void exportaCsv(const Demonstrativo& demonstrativo, QTextStream& saida);
