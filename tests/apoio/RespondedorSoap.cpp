#include "apoio/RespondedorSoap.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <functional>

namespace {

const QString envelopeSoap = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
const QString instanciaXsd = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");

QByteArray envelope(const std::function<void(QXmlStreamWriter&)>& corpo) {
    QByteArray texto;
    QXmlStreamWriter escritor(&texto);
    escritor.writeStartDocument();
    escritor.writeNamespace(envelopeSoap, QStringLiteral("soapenv"));
    escritor.writeNamespace(instanciaXsd, QStringLiteral("xsi"));
    escritor.writeStartElement(envelopeSoap, QStringLiteral("Envelope"));
    escritor.writeEmptyElement(envelopeSoap, QStringLiteral("Header"));
    escritor.writeStartElement(envelopeSoap, QStringLiteral("Body"));
    corpo(escritor);
    escritor.writeEndDocument();
    return texto;
}

RespostaHttpTeste respostaXml(int status, const QByteArray& corpo) {
    RespostaHttpTeste resposta = RespostaHttpTeste::comStatus(status, corpo);
    resposta.cabecalhos.append(
        qMakePair(QByteArray("Content-Type"), QByteArray("text/xml; charset=utf-8")));
    return resposta;
}

// Checks the request envelope; the date argument, or the first problem found.
struct Leitura {
    std::optional<QString> data;
    QString problema;
};

Leitura leEnvelope(const QByteArray& corpo, const QString& espacoNomes) {
    QXmlStreamReader leitor(corpo);
    auto espera = [&leitor](const QString& ns, const QString& nome) -> QString {
        if (!leitor.readNextStartElement())
            return QStringLiteral("faltou o elemento %1 (%2)").arg(nome, leitor.errorString());
        if (leitor.namespaceUri() != ns || leitor.name() != nome)
            return QStringLiteral("esperava {%1}%2, veio {%3}%4")
                .arg(ns, nome, leitor.namespaceUri().toString(), leitor.name().toString());
        return {};
    };
    leitor.readNext();
    if (leitor.tokenType() != QXmlStreamReader::StartDocument ||
        leitor.documentEncoding().compare(QStringLiteral("UTF-8"), Qt::CaseInsensitive) != 0)
        return {std::nullopt, QStringLiteral("a declaração XML não anuncia UTF-8")};
    for (const auto& [ns, nome] :
         {std::pair{envelopeSoap, QStringLiteral("Envelope")},
          std::pair{envelopeSoap, QStringLiteral("Body")},
          std::pair{espacoNomes, QStringLiteral("retornaUltimoIndiceSELIC")},
          std::pair{QString(), QStringLiteral("ultimaDataSelic")}}) {
        const QString problema = espera(ns, nome);
        if (!problema.isEmpty())
            return {std::nullopt, problema};
    }
    Leitura leitura;
    const QStringView nulo = leitor.attributes().value(instanciaXsd, QStringLiteral("nil"));
    const QString texto = leitor.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    // The service declares the argument a required string that may not be nil.
    if (nulo == QStringLiteral("true") || nulo == QStringLiteral("1"))
        return {std::nullopt, QStringLiteral("ultimaDataSelic nulo")};
    leitura.data = texto;
    if (leitor.readNextStartElement())
        return {std::nullopt, QStringLiteral("elemento a mais: %1").arg(leitor.name().toString())};
    if (leitor.hasError())
        return {std::nullopt, leitor.errorString()};
    return leitura;
}

} // namespace

RespondedorSoap::RespondedorSoap(QString espacoNomes) : fEspacoNomes(std::move(espacoNomes)) {
    respondeAusente();
}

void RespondedorSoap::respondeDocumento(const QString& documento) {
    const QByteArray corpo = envelope([&](QXmlStreamWriter& escritor) {
        escritor.writeNamespace(fEspacoNomes, QStringLiteral("ns1"));
        escritor.writeStartElement(fEspacoNomes,
                                   QStringLiteral("retornaUltimoIndiceSELICResponse"));
        escritor.writeTextElement(QStringLiteral("retornaUltimoIndiceSELICReturn"), documento);
    });
    QMutexLocker bloqueio(&fTrava);
    fResposta = respostaXml(200, corpo);
}

void RespondedorSoap::respondeNulo() {
    const QByteArray corpo = envelope([&](QXmlStreamWriter& escritor) {
        escritor.writeNamespace(fEspacoNomes, QStringLiteral("ns1"));
        escritor.writeStartElement(fEspacoNomes,
                                   QStringLiteral("retornaUltimoIndiceSELICResponse"));
        escritor.writeEmptyElement(QStringLiteral("retornaUltimoIndiceSELICReturn"));
        escritor.writeAttribute(instanciaXsd, QStringLiteral("nil"), QStringLiteral("true"));
    });
    QMutexLocker bloqueio(&fTrava);
    fResposta = respostaXml(200, corpo);
}

void RespondedorSoap::respondeAusente() {
    const QByteArray corpo = envelope([&](QXmlStreamWriter& escritor) {
        escritor.writeNamespace(fEspacoNomes, QStringLiteral("ns1"));
        escritor.writeEmptyElement(fEspacoNomes,
                                   QStringLiteral("retornaUltimoIndiceSELICResponse"));
    });
    QMutexLocker bloqueio(&fTrava);
    fResposta = respostaXml(200, corpo);
}

void RespondedorSoap::respondeFalha(const QString& codigo, const QString& texto) {
    const QByteArray corpo = envelope([&](QXmlStreamWriter& escritor) {
        escritor.writeStartElement(envelopeSoap, QStringLiteral("Fault"));
        escritor.writeTextElement(QStringLiteral("faultcode"), codigo);
        escritor.writeTextElement(QStringLiteral("faultstring"), texto);
    });
    QMutexLocker bloqueio(&fTrava);
    fResposta = respostaXml(500, corpo);
}

void RespondedorSoap::respondeCru(int status, const QByteArray& corpo) {
    QMutexLocker bloqueio(&fTrava);
    fResposta = RespostaHttpTeste::comStatus(status, corpo);
}

RespostaHttpTeste RespondedorSoap::responde(const PedidoHttp& pedido) {
    QStringList problemas;
    if (pedido.metodo != "POST")
        problemas
            << QStringLiteral("método %1 em vez de POST").arg(QString::fromLatin1(pedido.metodo));
    const QByteArray tipo = pedido.cabecalho("Content-Type").toLower().replace(" ", "");
    if (!tipo.startsWith("text/xml;") || !tipo.contains("charset=utf-8"))
        problemas << QStringLiteral("Content-Type %1")
                         .arg(QString::fromLatin1(pedido.cabecalho("Content-Type")));
    const QByteArray acao = pedido.cabecalho("SOAPAction");
    if (acao.isNull() || (acao != "\"\"" && !acao.isEmpty()))
        problemas << QStringLiteral("SOAPAction %1")
                         .arg(acao.isNull() ? QStringLiteral("ausente")
                                            : QString::fromLatin1(acao));
    const Leitura leitura = leEnvelope(pedido.corpo, fEspacoNomes);
    if (!leitura.problema.isEmpty())
        problemas << QStringLiteral("envelope: %1").arg(leitura.problema);

    QMutexLocker bloqueio(&fTrava);
    fDatas.append(leitura.data);
    fProblemas += problemas;
    if (!problemas.isEmpty())
        return RespostaHttpTeste::comStatus(400, problemas.join(QStringLiteral("; ")).toUtf8());
    return fResposta;
}

QStringList RespondedorSoap::problemas() const {
    QMutexLocker bloqueio(&fTrava);
    return fProblemas;
}

QList<std::optional<QString>> RespondedorSoap::datasRecebidas() const {
    QMutexLocker bloqueio(&fTrava);
    return fDatas;
}
