#include "apoio/RespondedorBancoCentral.h"

#include <QFile>
#include <QRegularExpression>
#include <QUrlQuery>

namespace {

QDate leData(const QString& texto) {
    return QDate::fromString(texto, QStringLiteral("dd/MM/yyyy"));
}

} // namespace

RespostaHttpTeste RespondedorBancoCentral::operator()(const PedidoHttp& pedido) const {
    const QByteArray& caminho = pedido.caminho;
    const QUrlQuery consulta(QString::fromUtf8(caminho.mid(caminho.indexOf('?') + 1)));
    const QDate de = leData(consulta.queryItemValue(QStringLiteral("dataInicial")));
    const QDate ate = leData(consulta.queryItemValue(QStringLiteral("dataFinal")));
    if (consulta.queryItemValue(QStringLiteral("formato")) != QLatin1String("json") ||
        !de.isValid() || !ate.isValid() || ate >= de.addYears(10))
        return RespostaHttpTeste::comStatus(
            400, "{\"error\":\"Requisição inválida\",\"message\":\"O sistema aceita uma janela "
                 "de consulta de, no máximo, 10 anos.\"}");
    MesesSerie naJanela;
    for (const auto& mes : fSerie)
        if (mes.first >= de && mes.first <= ate)
            naJanela << mes;
    RespostaHttpTeste resposta = RespostaHttpTeste::comStatus(200, json(naJanela));
    resposta.cabecalhos.append(
        qMakePair(QByteArray("Content-Type"), QByteArray("application/json")));
    return resposta;
}

QByteArray RespondedorBancoCentral::json(const MesesSerie& serie) {
    QStringList itens;
    for (const auto& [data, valor] : serie)
        itens << QStringLiteral("{\"data\":\"%1\",\"valor\":\"%2\"}")
                     .arg(data.toString(QStringLiteral("dd/MM/yyyy")), valor);
    return (QLatin1Char('[') + itens.join(QLatin1Char(',')) + QLatin1Char(']')).toUtf8();
}

MesesSerie RespondedorBancoCentral::serieDaTabelaPadrao(const QString& arquivo, const QDate& de,
                                                        const QDate& ate) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("tabela padrão ausente: %s", qPrintable(arquivo));
    static const QRegularExpression linha(
        QStringLiteral("<ROW Data=\"(\\d{8})\" Valor=\"([0-9.]+)\"/>"));
    MesesSerie serie;
    for (auto m = linha.globalMatch(QString::fromUtf8(f.readAll())); m.hasNext();) {
        const QRegularExpressionMatch r = m.next();
        const QDate data = QDate::fromString(r.captured(1), QStringLiteral("yyyyMMdd"));
        if (data >= de && data <= ate)
            serie << qMakePair(data, r.captured(2));
    }
    return serie;
}

QStringList RespondedorBancoCentral::janelasPedidas(const ServidorHttpTeste& servidor) {
    QStringList janelas;
    for (const PedidoHttp& pedido : servidor.pedidos()) {
        const QUrlQuery consulta(
            QString::fromUtf8(pedido.caminho.mid(pedido.caminho.indexOf('?') + 1)));
        janelas << consulta.queryItemValue(QStringLiteral("dataInicial")) + QLatin1Char('-') +
                       consulta.queryItemValue(QStringLiteral("dataFinal"));
    }
    return janelas;
}
