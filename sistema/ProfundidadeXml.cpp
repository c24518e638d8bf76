#include "sistema/ProfundidadeXml.h"

#include <QXmlStreamReader>

namespace {

bool dentroDoLimite(QXmlStreamReader& leitor) {
    int profundidade = 0;
    while (!leitor.atEnd()) {
        switch (leitor.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++profundidade > ProfundidadeMaximaXml)
                return false;
            break;
        case QXmlStreamReader::EndElement:
            --profundidade;
            break;
        default:
            break;
        }
    }
    return true;
}

} // namespace

bool aninhamentoAceitavel(const QByteArray& texto) {
    QXmlStreamReader leitor(texto);
    return dentroDoLimite(leitor);
}

bool aninhamentoAceitavel(const QString& texto) {
    QXmlStreamReader leitor(texto);
    return dentroDoLimite(leitor);
}

QString textoAninhamentoExcessivo() {
    return QStringLiteral("os elementos estão aninhados em mais de %1 níveis")
        .arg(ProfundidadeMaximaXml);
}
