#include "refresh/LeitorSerie.h"

#include "planilhas/CsvPontoVirgula.h"
#include "sistema/CodificacaoTexto.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLocale>
#include <QRegularExpression>

#include <stdexcept>

namespace {

QByteArray semMarca(const QByteArray& conteudo) {
    return codificacaoDaMarca(conteudo) == CodificacaoTexto::Utf8
               ? conteudo.mid(marcaDeOrdem(CodificacaoTexto::Utf8).size())
               : conteudo;
}

// An entry that cannot be read: the message already names it.
struct EntradaInvalida : std::runtime_error {
    explicit EntradaInvalida(QString texto) : std::runtime_error("entrada"), mensagem(texto) {}
    QString mensagem;
};

// "dd/mm/aaaa" naming the first day of a month.
DataHora leMes(const QString& onde, const QString& texto) {
    const QDate data = QDate::fromString(texto.trimmed(), QStringLiteral("dd/MM/yyyy"));
    if (!data.isValid())
        throw EntradaInvalida(QStringLiteral("A leitura parou %1: \"%2\" não é uma data no "
                                             "formato dd/mm/aaaa.")
                                  .arg(onde, texto));
    if (data.day() != 1)
        throw EntradaInvalida(QStringLiteral("A leitura parou %1: a data %2 não é o primeiro "
                                             "dia de um mês.")
                                  .arg(onde, texto));
    return Datas::deQDate(data);
}

// Digits with at most one decimal separator, "." or ",", and no grouping.
double leTaxa(const QString& onde, const QString& texto) {
    static const QRegularExpression numero(QStringLiteral("^-?[0-9]+([.,][0-9]+)?$"));
    const QString limpo = texto.trimmed();
    if (!numero.match(limpo).hasMatch())
        throw EntradaInvalida(
            QStringLiteral("A leitura parou %1: o valor \"%2\" não é um número.").arg(onde, texto));
    return QString(limpo).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

// The series as UTF-8 text, one row a line: a quote still open at a line's end closes
// there. Blank lines are passed over; a line of separators only is a row like any other,
// and fails as one.
void leCsv(const QByteArray& conteudo, LeituraSerie& leitura) {
    LeitorCsv leitor(QString::fromUtf8(conteudo), AspasCsv::FechamNaLinha);
    LinhaCsv linha;
    while (leitor.proximaMesmoVazia(linha)) {
        const QStringList& campos = linha.valores;
        if (campos.size() == 1 && linha.brutos.first().trimmed().isEmpty())
            continue;
        const QString onde = QStringLiteral("na linha %1").arg(linha.numero);
        if (linha.numero == 1 && campos.size() == 2 &&
            campos[0].trimmed().compare(QLatin1String("data"), Qt::CaseInsensitive) == 0)
            continue;
        if (campos.size() != 2)
            throw EntradaInvalida(QStringLiteral("A leitura parou %1: são esperados dois campos "
                                                 "separados por \";\", a data e o valor.")
                                      .arg(onde));
        const DataHora mes = leMes(onde, campos[0]);
        leitura.Entradas << EntradaSerie{mes, leTaxa(onde, campos[1])};
    }
}

QString textoDoCampo(const QJsonObject& item, const char* nome, const QString& onde) {
    const QJsonValue valor = item.value(QLatin1String(nome));
    if (valor.isString())
        return valor.toString();
    if (valor.isDouble())
        return QString::number(valor.toDouble(), 'g', QLocale::FloatingPointShortest);
    throw EntradaInvalida(
        QStringLiteral("A leitura parou %1: falta o campo \"%2\".").arg(onde, QLatin1String(nome)));
}

// The interface answers a refused request with an object instead of the list.
QString mensagemDoObjeto(const QJsonObject& objeto) {
    for (const char* chave : {"message", "error", "erro", "mensagem"})
        if (objeto.value(QLatin1String(chave)).isString())
            return objeto.value(QLatin1String(chave)).toString();
    return QString::fromUtf8(QJsonDocument(objeto).toJson(QJsonDocument::Compact));
}

void leJson(const QByteArray& conteudo, LeituraSerie& leitura) {
    QJsonParseError erro{};
    const QJsonDocument documento = QJsonDocument::fromJson(conteudo, &erro);
    if (erro.error != QJsonParseError::NoError)
        throw EntradaInvalida(
            QStringLiteral("O documento JSON está malformado na posição %1.").arg(erro.offset));
    if (documento.isObject())
        throw EntradaInvalida(QStringLiteral("O documento não traz a série de taxas, e sim a "
                                             "mensagem: %1")
                                  .arg(mensagemDoObjeto(documento.object())));
    const QJsonArray itens = documento.array();
    for (qsizetype i = 0; i < itens.size(); ++i) {
        const QString onde = QStringLiteral("no item %1 da lista").arg(i + 1);
        if (!itens[i].isObject())
            throw EntradaInvalida(
                QStringLiteral("A leitura parou %1: o item não é um objeto com data e valor.")
                    .arg(onde));
        const QJsonObject item = itens[i].toObject();
        const DataHora mes = leMes(onde, textoDoCampo(item, "data", onde));
        leitura.Entradas << EntradaSerie{mes, leTaxa(onde, textoDoCampo(item, "valor", onde))};
    }
}

} // namespace

FormatoDocumento formatoDoConteudo(const QByteArray& conteudo) {
    for (const char c : semMarca(conteudo)) {
        if (c == '<')
            return FormatoDocumento::Xml;
        if (c == '[' || c == '{')
            return FormatoDocumento::Json;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            break;
    }
    return FormatoDocumento::Csv;
}

LeituraSerie leSerie(const QByteArray& conteudo) {
    LeituraSerie leitura;
    const QByteArray texto = semMarca(conteudo);
    try {
        if (texto.trimmed().isEmpty())
            throw EntradaInvalida(QStringLiteral("O documento está vazio: não traz a série de "
                                                 "taxas."));
        if (formatoDoConteudo(texto) == FormatoDocumento::Json)
            leJson(texto, leitura);
        else
            leCsv(texto, leitura);
    } catch (const EntradaInvalida& e) {
        leitura.Falha = e.mensagem;
    }
    return leitura;
}
