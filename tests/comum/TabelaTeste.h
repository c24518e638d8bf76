#pragma once

// Builds small rate table files for tests.

#include <QDate>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

using MesesTeste = QList<QPair<QDate, QString>>;

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
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly) || f.write(xml) != xml.size())
        qFatal("não foi possível escrever a tabela de teste %s", qPrintable(caminho));
}

inline QByteArray conteudoArquivo(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
