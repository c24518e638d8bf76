#pragma once

// The reader of the central bank's monthly Selic series (series 4390, percent per month,
// one value per month dated its first day), in the two forms its site and its public
// interface give it:
//   JSON  [{"data":"01/10/2026","valor":"1.28"}, ...]      (value with a decimal point)
//   CSV   "data";"valor" then "01/10/2026";"1,28" ...        (";", decimal comma, fields
//         quoted or not, possibly a UTF-8 byte-order mark and CR LF line ends)
// The form is told apart by the content, never by a file name.

#include "valores/Datas.h"

#include <QByteArray>
#include <QList>
#include <QString>

enum class FormatoDocumento { Csv, Json, Xml };

// Xml when the first character after a byte-order mark and blanks is "<", Json when it is
// "[" or "{", Csv otherwise.
FormatoDocumento formatoDoConteudo(const QByteArray& conteudo);

struct EntradaSerie {
    DataHora Mes = 0; // first day of the month
    double Valor = 0; // percent
};

struct LeituraSerie {
    // The entries read, in document order, up to the one that stopped the reading.
    QList<EntradaSerie> Entradas;
    // What stopped it, naming the line (CSV) or the item or position (JSON); empty when
    // the whole document was read.
    QString Falha;
};

LeituraSerie leSerie(const QByteArray& conteudo);
