#include "planilhas/LeitorOds.h"

#include "planilhas/ErrosPlanilha.h"
#include "planilhas/MontagemFolha.h"
#include "planilhas/PacoteZip.h"
#include "planilhas/XmlPlanilha.h"

#include <QDateTime>

#include <algorithm>
#include <optional>

namespace {

const QString Manifesto = QStringLiteral("META-INF/manifest.xml");
const QString Conteudo = QStringLiteral("content.xml");

// The document's kind, when the container says it: a spreadsheet or its template.
void confereTipo(PacoteZip& pacote) {
    if (!pacote.contem(QStringLiteral("mimetype")))
        return;
    const QByteArray tipo = pacote.le(QStringLiteral("mimetype")).trimmed();
    if (tipo != "application/vnd.oasis.opendocument.spreadsheet" &&
        tipo != "application/vnd.oasis.opendocument.spreadsheet-template")
        naoEPlanilha(pacote.nome(), pacote.extensao(),
                     QStringLiteral("é um documento de outro tipo"));
}

// A document saved with a password keeps its manifest in the clear, and there every
// encrypted member carries its encryption data.
void confereCriptografia(PacoteZip& pacote) {
    if (!pacote.contem(Manifesto))
        return;
    XmlPlanilha x(pacote.le(Manifesto), pacote.nome(), Manifesto);
    while (x.proximo())
        if (x.inicio(QLatin1StringView("encryption-data")))
            planilhaProtegida(pacote.nome());
}

// A repetition count: 1 when absent. A count that is not a positive number damages the
// file; a huge one is kept, the sheet's bounds being MontagemFolha's.
qint64 repeticoes(XmlPlanilha& x, QLatin1StringView atributo) {
    const QStringView texto = x.atributo(atributo);
    if (texto.isEmpty())
        return 1;
    bool ok = false;
    const qint64 n = texto.toLongLong(&ok);
    if (!ok || n < 1)
        x.falha(QStringLiteral("número de repetições inválido: \"%1\"").arg(texto.left(20)));
    return n;
}

// A date value: "2020-01-10" or "2020-01-10T13:30:00".
std::optional<DataHora> dataOds(QStringView texto) {
    if (texto.size() <= 10) {
        const QDate data = QDate::fromString(texto, Qt::ISODate);
        if (data.isValid())
            return Datas::deQDate(data);
        return std::nullopt;
    }
    const QDateTime momento = QDateTime::fromString(texto, Qt::ISODate);
    if (momento.isValid())
        return Datas::deQDateTime(momento);
    return std::nullopt;
}

// The text of the cell the reader stands at, up to its end: paragraphs joined by line
// breaks, runs of spaces (text:s), tabs and line breaks written as such; a note attached to
// the cell (office:annotation) is no part of it.
QString textoDaCelula(XmlPlanilha& x) {
    const int nivel = x.profundidade();
    QString texto;
    int paragrafos = 0;
    int nota = 0; // depth of the note being passed over; 0 outside one
    while (x.proximo() && !(x.xml().isEndElement() && x.profundidade() == nivel)) {
        if (nota > 0) {
            if (x.xml().isEndElement() && x.profundidade() == nota)
                nota = 0;
            continue;
        }
        if (x.inicio(QLatin1StringView("annotation"))) {
            nota = x.profundidade();
        } else if (x.inicio(QLatin1StringView("p")) || x.inicio(QLatin1StringView("h"))) {
            if (paragrafos++ > 0)
                texto += u'\n';
        } else if (x.inicio(QLatin1StringView("s"))) {
            bool ok = false;
            const int n = x.atributo(QLatin1StringView("c")).toInt(&ok);
            texto += QString(ok ? std::clamp(n, 1, 1024) : 1, u' ');
        } else if (x.inicio(QLatin1StringView("tab"))) {
            texto += u'\t';
        } else if (x.inicio(QLatin1StringView("line-break"))) {
            texto += u'\n';
        } else if (x.xml().isCharacters()) {
            texto += x.xml().text();
        }
    }
    return texto;
}

// The cell the reader stands at, by its value type; its text when the value cannot be read.
CelulaPlanilha celulaOds(XmlPlanilha& x) {
    const QString tipo = x.atributo(QLatin1StringView("value-type")).toString();
    const QString valor = x.atributo(QLatin1StringView("value")).toString();
    const QString data = x.atributo(QLatin1StringView("date-value")).toString();
    const QString booleano = x.atributo(QLatin1StringView("boolean-value")).toString();
    const QString textoAtributo = x.atributo(QLatin1StringView("string-value")).toString();
    const QString texto = textoDaCelula(x);
    if (tipo == QLatin1String("float") || tipo == QLatin1String("currency") ||
        tipo == QLatin1String("percentage")) {
        bool ok = false;
        const double numero = valor.toDouble(&ok);
        if (ok && qIsFinite(numero))
            return CelulaPlanilha::deNumero(numero);
    } else if (tipo == QLatin1String("date")) {
        if (const auto d = dataOds(data))
            return CelulaPlanilha::deData(*d);
    } else if (tipo == QLatin1String("boolean")) {
        return CelulaPlanilha::deNumero(booleano == QLatin1String("true") ? 1 : 0);
    } else if (tipo == QLatin1String("string") && !textoAtributo.isEmpty()) {
        return CelulaPlanilha::deTexto(textoAtributo);
    }
    return CelulaPlanilha::deTexto(texto);
}

std::optional<QList<LinhaPlanilha>> leTabela(PacoteZip& pacote, int indice) {
    XmlPlanilha x(pacote.le(Conteudo), pacote.nome(), Conteudo);
    MontagemFolha folha(pacote.nome());
    bool raiz = false, emTabela = false, achouTabela = false, pulando = false;
    int nivelTabela = 0, tabelas = 0;
    qint64 linha = 1, vezesLinha = 1, coluna = 0;
    while (x.proximo()) {
        if (x.profundidade() == 1 && x.xml().isStartElement()) {
            if (x.xml().name() != QLatin1String("document-content") &&
                x.xml().name() != QLatin1String("document"))
                naoEPlanilha(pacote.nome(), pacote.extensao());
            raiz = true;
        } else if (pulando) {
            // A table before the one asked for, passed over whole.
            if (x.xml().isEndElement() && x.profundidade() == nivelTabela)
                pulando = false;
        } else if (!emTabela) {
            if (x.inicio(QLatin1StringView("table"))) {
                achouTabela = true;
                nivelTabela = x.profundidade();
                emTabela = tabelas++ == indice;
                pulando = !emTabela;
            }
        } else if (x.xml().isEndElement() && x.profundidade() == nivelTabela) {
            break; // the table asked for is all that is read
        } else if (x.inicio(QLatin1StringView("table-row"))) {
            vezesLinha = repeticoes(x, QLatin1StringView("number-rows-repeated"));
            coluna = 0;
        } else if (x.fim(QLatin1StringView("table-row"))) {
            folha.fimDaLinha(linha, vezesLinha);
            // Past the sheet's height only empty rows can follow without a refusal.
            linha = std::min(linha + vezesLinha, MontagemFolha::MaximoLinhas + 1);
        } else if (x.inicio(QLatin1StringView("table-cell")) ||
                   x.inicio(QLatin1StringView("covered-table-cell"))) {
            const qint64 vezes = repeticoes(x, QLatin1StringView("number-columns-repeated"));
            folha.celula(coluna, celulaOds(x), vezes);
            // Counted even where empty, so a later cell lands in its column; past the
            // sheet's width only empty cells can follow without a refusal.
            coluna = std::min(coluna + vezes, MontagemFolha::MaximoColunas + 1);
        }
    }
    if (!raiz)
        naoEPlanilha(pacote.nome(), pacote.extensao());
    if (!achouTabela)
        naoEPlanilha(pacote.nome(), pacote.extensao(), QStringLiteral("não tem nenhuma folha"));
    if (!emTabela)
        return std::nullopt;
    return folha.conclui();
}

} // namespace

std::optional<QList<LinhaPlanilha>> leFolhaOds(PacoteZip& pacote, int indice) {
    confereTipo(pacote);
    confereCriptografia(pacote);
    return leTabela(pacote, indice);
}
