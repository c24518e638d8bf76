#include "planilhas/XmlPlanilha.h"

#include "planilhas/ErrosPlanilha.h"
#include "sistema/MotivosFalha.h"
#include "sistema/ProfundidadeXml.h"

XmlPlanilha::XmlPlanilha(const QByteArray& xml, QString nome, QString membro)
    : fXml(xml), fNome(std::move(nome)), fMembro(std::move(membro)) {
    fXml.setNamespaceProcessing(true);
}

bool XmlPlanilha::proximo() {
    // An element's end is reported at its own depth; the level is left after it.
    if (fFechouUltimo) {
        --fProfundidade;
        fFechouUltimo = false;
    }
    if (fXml.atEnd()) {
        if (fXml.hasError())
            falha(motivoDoXml(fXml.error()));
        return false;
    }
    switch (fXml.readNext()) {
    case QXmlStreamReader::StartElement:
        // Refused as soon as it goes too deep: the rest is never read.
        if (++fProfundidade > ProfundidadeMaximaXml)
            falha(textoAninhamentoExcessivo());
        break;
    case QXmlStreamReader::EndElement:
        fFechouUltimo = true;
        break;
    case QXmlStreamReader::DTD:
        falha(QStringLiteral("declaração DOCTYPE, que nenhuma planilha tem"));
    case QXmlStreamReader::Invalid:
        falha(motivoDoXml(fXml.error()));
    default:
        break;
    }
    return true;
}

QStringView XmlPlanilha::atributo(QLatin1StringView local) const {
    for (const QXmlStreamAttribute& a : fXml.attributes())
        if (a.name() == local)
            return a.value();
    return {};
}

void XmlPlanilha::falha(const QString& detalhe) const {
    planilhaDanificada(fNome, QStringLiteral("%1, linha %2, coluna %3: %4")
                                  .arg(fMembro)
                                  .arg(fXml.lineNumber())
                                  .arg(fXml.columnNumber())
                                  .arg(detalhe));
}
