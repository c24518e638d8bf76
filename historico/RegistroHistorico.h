#pragma once

// The history: every calculation and statement issued, kept so that it can be found again,
// drawn again exactly as it was issued, and shown to be untouched.
//
// A record holds who issued what, when and where (kind, moment from the program's clock,
// login name, host, program version), the inputs as typed (the taxpayer, the payment date,
// each debt; partial payments and the forecast flag have their place), every figure as
// shown and as exact decimal text, each debt's account of the calculation (rule, tier, the
// months and rates summed), the last month the rate table held and a SHA-256 of the rates
// used. Its content is one JSON document, stored as written; the database (Historico.h)
// keeps beside it the columns a search needs and the chain of hashes (CadeiaHistorico.h).

#include "calc/Calculo.h"
#include "calc/FormataResultado.h"
#include "calc/MemoriaCalculo.h"
#include "demonstrativo/Demonstrativo.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

enum class TipoRegistro { Calculo, Demonstrativo };

// "calculo", "demonstrativo": the kind as stored.
QString nomeTipoRegistro(TipoRegistro tipo);

// Who issued a record, and with which program.
struct IdentidadeRegistro {
    QString Usuario; // the login name
    QString Maquina; // the host name
    QString Versao;  // the program's version, "3.02.00"

    // The user the process runs as, the machine's host name, and `versao`.
    static IdentidadeRegistro doProcesso(const QString& versao);

    friend bool operator==(const IdentidadeRegistro&, const IdentidadeRegistro&) = default;
};

// One debt as typed, and what became of it: the results with their account and their
// texts as shown, or the message that stopped it.
struct DebitoRegistrado {
    Debito Entrada;
    ResultadoDebito Saida;
    ResultadoFormatado Exibido; // empty when the debt was not calculated

    friend bool operator==(const DebitoRegistrado&, const DebitoRegistrado&) = default;
};

struct RegistroHistorico {
    qint64 Id = 0; // the record's number in the chain; 0 until it is recorded
    TipoRegistro Tipo = TipoRegistro::Calculo;
    DataHora Emissao = Datas::Vazia; // to the millisecond, as stored
    IdentidadeRegistro Identidade;
    Contribuinte Titular; // empty for a calculation
    DataHora DataPagamento = Datas::Vazia;
    QList<DebitoRegistrado> Debitos;
    TotaisDemonstrativo Totais; // of the debts calculated
    // Reserved for what the statement will add: its partial payments, and whether the
    // payment date is a forecast.
    QJsonArray PagamentosParciais;
    bool Previsao = false;
    DataHora UltimoMesTabela = Datas::Vazia; // Vazia when no debt was calculated
    QString HashTaxas;                       // hashDasTaxas of the debts

    friend bool operator==(const RegistroHistorico&, const RegistroHistorico&) = default;
};

// A calculation of the calculation window or of the command line, issued at `momento`.
RegistroHistorico registroDeCalculo(const ResultadoCalculo& resultado,
                                    const MemoriaCalculo& memoria, DataHora momento,
                                    const IdentidadeRegistro& identidade);
// A statement as calculated (Demonstrativo::calcula), issued at `momento`.
RegistroHistorico registroDeDemonstrativo(const Demonstrativo& demonstrativo, DataHora momento,
                                          const IdentidadeRegistro& identidade);

// The SHA-256, in lower-case hexadecimal, of the rates the debts summed: every month summed
// by any of them, once, in month order, as the line "AAAA-MM;taxa\n" where taxa is the
// month's rate in percent as the table held it, in the shortest decimal text with a point
// that reads back to the same double ("2020-02;0.29\n"); the lines in UTF-8. No month
// summed gives the SHA-256 of no bytes.
QString hashDasTaxas(const QList<DebitoRegistrado>& debitos);

// The record's content, as stored (without its number).
QJsonObject conteudoDoRegistro(const RegistroHistorico& registro);
// Reads a stored content back; throws ErroConversao naming what is missing or out of form.
RegistroHistorico registroDoConteudo(qint64 id, const QJsonObject& conteudo);

// The words a name is found by: without accents, in lower case, letters and digits only
// ("João da Silva-Ltda." gives "joao", "da", "silva", "ltda").
QStringList palavrasDoNome(const QString& nome);
