#pragma once

// Finding records: by words of the taxpayer's name, CPF or CNPJ, reference month, issue
// date range, amount; newest first; a page at a time. A page starts after the last record
// of the one before (keyset: its moment and number), so each page costs the same from the
// first to the last, and records recorded meanwhile neither repeat nor shift a page.
//
// The CPF or CNPJ and the moment are columns of the record, indexed with the moment. The
// reference months, the amounts and the starts of the name's words are the record's search
// terms (termosDoRegistro), one row each, indexed with the record's moment: "r:AAAA-MM" for
// each debt's reference month, "v:" and a count of ten-thousandths for each debt's amount
// and total and the record's totals, "p:" and the first three letters of each word of the
// name. One criterion leads the query, walking its index newest first (the CPF or CNPJ,
// else the rarest of the terms, else the moment alone); the others are checked on each
// record it reaches, the name's words against the record's folded name (nomeParaBusca). A
// page costs what it takes to meet its records, however large the history.

#include "historico/RegistroHistorico.h"

#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

struct FiltroHistorico {
    // Each word typed is the start of a word of the name ("silv" finds "Silva"), accents
    // and case aside. A word of three letters or more can lead the search.
    QString Nome;
    // With or without punctuation.
    QString Documento;
    DataHora MesReferencia = Datas::Vazia; // any day of the month
    DataHora EmitidoDe = Datas::Vazia;     // days, both included
    DataHora EmitidoAte = Datas::Vazia;
    // An amount, a total or a statement's totals, to the cent.
    std::optional<Moeda> Valor;
    std::optional<TipoRegistro> Tipo;
};

// Where a page ends: the next page starts after it.
struct PosicaoHistorico {
    QString momento;
    qint64 id = 0;
};

// A record as a list of results shows it.
struct ResumoRegistro {
    qint64 Id = 0;
    TipoRegistro Tipo = TipoRegistro::Calculo;
    DataHora Emissao = Datas::Vazia;
    QString Usuario;
    QString Maquina;
    QString Documento; // without punctuation
    QString Nome;
    Moeda Valor;
    Moeda Total;
};

struct PaginaHistorico {
    QList<ResumoRegistro> Registros;
    // Where the next page starts; nothing on the last page.
    std::optional<PosicaoHistorico> Seguinte;
};

// The search terms of a record, each once.
QStringList termosDoRegistro(const RegistroHistorico& registro);
// The name's words as a search reads them, each after a blank and the last followed by one:
// " joao da silva ".
QString nomeParaBusca(const QString& nome);

// The query of one page (one more row than the page holds, to know whether another
// follows), with its values in the order of its placeholders.
struct ConsultaHistorico {
    QString sql;
    QVariantList valores;
};
// How many records a term has, up to a bound; it lets the query lead by the rarest term.
using FrequenciaTermo = std::function<qint64(const QString& termo)>;
ConsultaHistorico consultaDaBusca(const FiltroHistorico& filtro,
                                  const std::optional<PosicaoHistorico>& depoisDe, int tamanho,
                                  const FrequenciaTermo& frequencia = {});
