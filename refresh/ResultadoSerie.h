#pragma once

// What one reading of the central bank's monthly Selic series did to the rate table,
// month by month, and the end message that the main window and the command line show
// alike.

#include "valores/Datas.h"
#include "ratetable/TextosTaxas.h"

#include <QList>
#include <QString>
#include <QStringList>

enum class SituacaoMes {
    Incluido,    // stored in the table
    JaPresente,  // the table already holds it with the same rate
    OutraTaxa,   // the table holds it with another rate, which stays
    NaoEncerrado // the current month or a later one: its monthly rate is not known yet
};

struct DesfechoMes {
    DataHora Mes = 0; // first day of the month
    SituacaoMes Situacao = SituacaoMes::Incluido;
    double Publicada = 0; // the series' rate, in percent
    double NaTabela = 0;  // the table's rate, for a month present with another rate
};

struct ResultadoSerie {
    QList<DesfechoMes> Meses;
    // Why the reading stopped, naming the entry; empty when it went through.
    QString Falha;

    bool incluiu() const;
    QList<DesfechoMes> meses(SituacaoMes situacao) const;
};

// One line per kind of outcome that occurred, in a fixed order, consecutive months
// written as ranges; a month with another rate shows both rates; the failure last.
QStringList linhasResultado(const ResultadoSerie& resultado);
