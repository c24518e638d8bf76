#include "refresh/LeitorSerie.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <stdexcept>

namespace {

const QByteArray MarcaOrdemBytes("\xEF\xBB\xBF");

QByteArray semMarca(const QByteArray& conteudo) {
    return conteudo.startsWith(MarcaOrdemBytes) ? conteudo.mid(MarcaOrdemBytes.size()) : conteudo;
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

// Fields separated by ";", each in double quotes or not, a quote inside doubled.
QStringList camposCsv(const QString& linha) {
    QStringList campos;
    QString campo;
    bool entreAspas = false;
    for (qsizetype i = 0; i < linha.size(); ++i) {
        const QChar c = linha[i];
        if (entreAspas) {
            if (c != QLatin1Char('"'))
                campo += c;
            else if (i + 1 < linha.size() && linha[i + 1] == QLatin1Char('"'))
                campo += linha[++i];
            else
                entreAspas = false;
        } else if (c == QLatin1Char('"')) {
            entreAspas = true;
        } else if (c == QLatin1Char(';')) {
            campos << campo;
            campo.clear();
        } else {
            campo += c;
        }
    }
    campos << campo;
    return campos;
}

void leCsv(const QByteArray& conteudo, LeituraSerie& leitura) {
    const QStringList linhas = QString::fromUtf8(conteudo).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < linhas.size(); ++i) {
        QString linha = linhas[i];
        if (linha.endsWith(QLatin1Char('\r')))
            linha.chop(1);
        if (linha.trimmed().isEmpty())
            continue;
        const QStringList campos = camposCsv(linha);
        const QString onde = QStringLiteral("na linha %1").arg(i + 1);
        if (i == 0 && campos.size() == 2 &&
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
