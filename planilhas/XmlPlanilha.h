#pragma once

// One XML member of a spreadsheet's container read in one pass of QXmlStreamReader, with
// namespaces resolved (elements are matched by their local names, whatever prefix the
// program that saved the file chose). An element deeper than ProfundidadeMaximaXml, a
// document type declaration (no spreadsheet has one, and it is where entities are declared)
// and a document that is not well-formed each refuse the file as damaged, naming the member
// and where it broke.

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

class XmlPlanilha {
public:
    // nome words the file in the messages; membro names the member.
    XmlPlanilha(const QByteArray& xml, QString nome, QString membro);

    // Reads the next token: true while there is one, false at the document's end. Throws
    // ErroPlanilha when the document breaks a rule above.
    bool proximo();
    bool inicio(QLatin1StringView local) const {
        return fXml.isStartElement() && fXml.name() == local;
    }
    bool fim(QLatin1StringView local) const { return fXml.isEndElement() && fXml.name() == local; }
    // The depth of the element just started or ended: the root is at 1.
    int profundidade() const { return fProfundidade; }
    // The attribute of the element just started with that local name, whatever its prefix;
    // empty when it has none.
    QStringView atributo(QLatin1StringView local) const;
    QXmlStreamReader& xml() { return fXml; }

    // Refuses the file as damaged, naming the member and the position.
    [[noreturn]] void falha(const QString& detalhe) const;

private:
    QXmlStreamReader fXml;
    QString fNome;
    QString fMembro;
    int fProfundidade = 0;
    bool fFechouUltimo = false;
};
