#pragma once

#include "apoio/ServidorHttpTeste.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

// A month of the series and its rate as the interface writes it ("1.28").
using MesesSerie = QList<QPair<QDate, QString>>;

// Plays the central bank's series interface on a loopback server: a GET of
// <path>?formato=json&dataInicial=dd/mm/aaaa&dataFinal=dd/mm/aaaa answers, as a JSON
// array, the months of its series dated within the window; a window longer than ten
// years, or a query without both dates, gets 400 and an error object, as the real one.
class RespondedorBancoCentral {
public:
    explicit RespondedorBancoCentral(MesesSerie serie) : fSerie(std::move(serie)) {}

    RespostaHttpTeste operator()(const PedidoHttp& pedido) const;

    // The months of the shipped default table (the official series) from `de` to `ate`.
    static MesesSerie serieDaTabelaPadrao(const QString& arquivo, const QDate& de,
                                          const QDate& ate);
    // "dd/mm/aaaa-dd/mm/aaaa" for each request the server received, in order.
    static QStringList janelasPedidas(const ServidorHttpTeste& servidor);
    // The series as the interface writes it.
    static QByteArray json(const MesesSerie& serie);

private:
    MesesSerie fSerie;
};
