#pragma once

// Finding records: by words of the taxpayer's name, CPF or CNPJ, reference month, issue
// date range, amount; newest first; a page at a time. A page starts after the last record
// of the one before (keyset: its moment and number), so each page costs the same from the
// first to the last, and records recorded meanwhile neither repeat nor shift a page.
//
// The name, the reference months and the amounts are found through the record's search
// terms (termosDoRegistro), one indexed row each: "n:" and a word of the name, "r:AAAA-MM"
// for each debt's reference month, "v:" and a count of ten-thousandths for each debt's
// amount and total and the record's totals. The CPF or CNPJ and the moment are columns of
// the record, indexed with the moment.

#include "historico/RegistroHistorico.h"

#include <QStringList>
#include <QVariantList>

#include <optional>

struct FiltroHistorico {
    // Each word typed is the start of a word of the name ("silv" finds "Silva"), accents
    // and case aside.
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

// The query of one page (one more row than the page holds, to know whether another
// follows), with its values in the order of its placeholders.
struct ConsultaHistorico {
    QString sql;
    QVariantList valores;
};
ConsultaHistorico consultaDaBusca(const FiltroHistorico& filtro,
                                  const std::optional<PosicaoHistorico>& depoisDe, int tamanho);
