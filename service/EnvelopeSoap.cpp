#include "service/EnvelopeSoap.h"

#include "service/AtualizacaoBelqorService.h"
#include "service/FalhaServico.h"
#include "sistema/MotivosFalha.h"
#include "sistema/ProfundidadeXml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

const QString envelopeSoap = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
const QString instanciaXsd = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");

[[noreturn]] void respostaInvalida(const QString& motivo) {
    throw FalhaServico{
        ATUALIZACAO_BELQOR_RESPOSTA_INVALIDA,
        QStringLiteral("A resposta do serviço de atualização de índices não pôde ser lida: %1.")
            .arg(motivo)};
}

[[noreturn]] void erroDeLeitura(const QXmlStreamReader& leitor) {
    if (leitor.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        respostaInvalida(QStringLiteral("o documento terminou antes do fim do envelope"));
    respostaInvalida(QStringLiteral("%1 (linha %2, coluna %3)")
                         .arg(motivoDoXml(leitor.error()))
                         .arg(leitor.lineNumber())
                         .arg(leitor.columnNumber()));
}

// Moves to the next child element of the current one; false at the end of the parent.
bool proximoFilho(QXmlStreamReader& leitor) {
    const bool achou = leitor.readNextStartElement();
    if (leitor.hasError())
        erroDeLeitura(leitor);
    return achou;
}

bool ehNulo(const QXmlStreamReader& leitor) {
    const QStringView nulo = leitor.attributes().value(instanciaXsd, QStringLiteral("nil"));
    return nulo == QStringLiteral("true") || nulo == QStringLiteral("1");
}

QString textoDoElemento(QXmlStreamReader& leitor) {
    const QString texto = leitor.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (leitor.hasError())
        erroDeLeitura(leitor);
    return texto;
}

void leFalha(QXmlStreamReader& leitor, RespostaSoap& resposta) {
    resposta.falha = true;
    while (proximoFilho(leitor)) {
        if (leitor.name() == QStringLiteral("faultcode"))
            resposta.codigoFalha = textoDoElemento(leitor).trimmed();
        else if (leitor.name() == QStringLiteral("faultstring"))
            resposta.textoFalha = textoDoElemento(leitor).trimmed();
        else
            leitor.skipCurrentElement();
    }
}

void leRetorno(QXmlStreamReader& leitor, RespostaSoap& resposta) {
    while (proximoFilho(leitor)) {
        if (leitor.name() == QStringLiteral("retornaUltimoIndiceSELICReturn") &&
            !resposta.resultado) {
            if (ehNulo(leitor))
                leitor.skipCurrentElement();
            else
                resposta.resultado = textoDoElemento(leitor);
        } else {
            leitor.skipCurrentElement();
        }
    }
}

} // namespace

QByteArray montaPedidoSoap(const QByteArray& espacoNomes, const QString& ultimaDataSelic) {
    const QString servico = QString::fromUtf8(espacoNomes);
    QByteArray corpo;
    QXmlStreamWriter escritor(&corpo);
    escritor.writeStartDocument();
    escritor.writeNamespace(envelopeSoap, QStringLiteral("soapenv"));
    escritor.writeStartElement(envelopeSoap, QStringLiteral("Envelope"));
    escritor.writeStartElement(envelopeSoap, QStringLiteral("Body"));
    if (!servico.isEmpty())
        escritor.writeNamespace(servico, QStringLiteral("ns1"));
    escritor.writeStartElement(servico, QStringLiteral("retornaUltimoIndiceSELIC"));
    escritor.writeTextElement(QStringLiteral("ultimaDataSelic"), ultimaDataSelic);
    escritor.writeEndDocument();
    return corpo;
}

RespostaSoap leRespostaSoap(const QByteArray& corpo) {
    if (!aninhamentoAceitavel(corpo))
        respostaInvalida(textoAninhamentoExcessivo());
    QXmlStreamReader leitor(corpo);
    if (!proximoFilho(leitor))
        respostaInvalida(QStringLiteral("não há envelope SOAP"));
    if (leitor.namespaceUri() != envelopeSoap || leitor.name() != QStringLiteral("Envelope"))
        respostaInvalida(QStringLiteral("o documento não é um envelope SOAP 1.1"));

    RespostaSoap resposta;
    bool temCorpo = false;
    while (proximoFilho(leitor)) {
        if (leitor.namespaceUri() != envelopeSoap || leitor.name() != QStringLiteral("Body")) {
            leitor.skipCurrentElement();
            continue;
        }
        temCorpo = true;
        if (!proximoFilho(leitor))
            respostaInvalida(QStringLiteral("o corpo do envelope está vazio"));
        if (leitor.namespaceUri() == envelopeSoap && leitor.name() == QStringLiteral("Fault"))
            leFalha(leitor, resposta);
        else
            leRetorno(leitor, resposta);
        break;
    }
    if (!temCorpo)
        respostaInvalida(QStringLiteral("o envelope não tem corpo"));
    return resposta;
}
