#pragma once

// What one import did to the rate table, month by month (the central bank's series, a rate
// document, the installed default's months), and the end message that the main window and
// the command line show alike.

#include "valores/Datas.h"
#include "ratetable/TextosTaxas.h"

#include <QList>
#include <QString>
#include <QStringList>

struct DesfechoInsercao;

enum class SituacaoMes {
    Incluido,     // stored in the table
    JaPresente,   // the table already holds it with the same rate
    OutraTaxa,    // the table holds it with another rate, which stays
    NaoEncerrado, // the current month or a later one: its monthly rate is not known yet
    Recusado      // refused by the table's rules, for the reason in Motivo
};

struct DesfechoMes {
    DataHora Mes = 0; // first day of the month
    SituacaoMes Situacao = SituacaoMes::Incluido;
    double Publicada = 0; // the series' rate, in percent
    double NaTabela = 0;  // the table's rate, for a month present with another rate
    QString Motivo;       // the rule's message, for a refused month
};

struct ResultadoSerie {
    QList<DesfechoMes> Meses;
    // Why the reading stopped, naming the entry; empty when it went through.
    QString Falha;

    bool incluiu() const;
    QList<DesfechoMes> meses(SituacaoMes situacao) const;
};

// Whether a month's rate can be known on `hoje`: the month has ended.
bool mesEncerrado(DataHora mes, DataHora hoje);

// What became of a month handed to the table's insertion, as the outcome tells it: stored,
// present with the same rate or another, not yet over on `hoje` (whether the insertion
// skipped it as future or its rule refused it for that), or refused with the rule's message.
DesfechoMes desfechoDaInsercao(DataHora mes, double publicada, const DesfechoInsercao& insercao,
                               DataHora hoje);

// One line per kind of outcome that occurred, in a fixed order, consecutive months
// written as ranges; a month with another rate shows both rates, a refused one the rule's
// message; the failure last.
QStringList linhasResultado(const ResultadoSerie& resultado);
