#pragma once

// Builds small rate table files for tests.

#include "apoio/ArquivosTeste.h"

#include <QDate>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

using MesesTeste = QList<QPair<QDate, QString>>;

// Months on both sides of 01/12/2013, the last day whose rows can be neither edited nor
// deleted, and January 2020.
inline MesesTeste mesesEmTornoDoLimite() {
    return {{QDate(2013, 11, 1), QStringLiteral("0.71")},
            {QDate(2013, 12, 1), QStringLiteral("0.79")},
            {QDate(2014, 1, 1), QStringLiteral("0.85")},
            {QDate(2020, 1, 1), QStringLiteral("0.38")}};
}

inline void escreveTabelaTeste(const QString& caminho, const MesesTeste& meses) {
    QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DATAPACKET Version=\"2.0\">\n <METADATA>\n"
        "  <FIELDS>\n   <FIELD attrname=\"Data\" fieldtype=\"date\" required=\"true\"/>\n"
        "   <FIELD attrname=\"Valor\" fieldtype=\"r8\" required=\"true\"/>\n  </FIELDS>\n"
        " </METADATA>\n <ROWDATA>\n";
    for (const auto& [data, valor] : meses)
        xml += "  <ROW Data=\"" + data.toString(QStringLiteral("yyyyMMdd")).toLatin1() +
               "\" Valor=\"" + valor.toLatin1() + "\"/>\n";
    xml += " </ROWDATA>\n</DATAPACKET>\n";
    gravaArquivoTeste(caminho, xml);
}
