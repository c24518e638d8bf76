#include "planilhas/LeitorXlsx.h"

#include "planilhas/ErrosPlanilha.h"
#include "planilhas/FormatoNumeroXlsx.h"
#include "planilhas/MontagemFolha.h"
#include "planilhas/PacoteZip.h"
#include "planilhas/XmlPlanilha.h"

#include <QDateTime>
#include <QHash>

#include <optional>

namespace {

struct Relacao {
    QString tipo;   // the last part of the type's address: "worksheet", "sharedStrings"
    QString membro; // the member it points to, from the container's root
};

// A relationship's target, relative to the folder of the member that names it unless it
// starts with "/", brought to a member's name: "worksheets/sheet1.xml" from "xl/" is
// "xl/worksheets/sheet1.xml".
QString resolve(const QString& pasta, QStringView alvo) {
    QStringList partes;
    const QString caminho =
        alvo.startsWith(u'/') ? alvo.sliced(1).toString() : pasta + alvo.toString();
    for (const QString& parte : caminho.split(u'/', Qt::SkipEmptyParts)) {
        if (parte == QLatin1String("..")) {
            if (!partes.isEmpty())
                partes.removeLast();
        } else if (parte != QLatin1String(".")) {
            partes.append(parte);
        }
    }
    return partes.join(u'/');
}

QString pastaDe(const QString& membro) {
    return membro.left(membro.lastIndexOf(u'/') + 1);
}

// "xl/_rels/workbook.xml.rels" for "xl/workbook.xml".
QString relacoesDe(const QString& membro) {
    const QString pasta = pastaDe(membro);
    return pasta + QStringLiteral("_rels/") + membro.sliced(pasta.size()) + QStringLiteral(".rels");
}

// The relationships a member declares, by their ids; none when it declares none.
QHash<QString, Relacao> leRelacoes(PacoteZip& pacote, const QString& dono) {
    QHash<QString, Relacao> relacoes;
    const QString membro = relacoesDe(dono);
    if (!pacote.contem(membro))
        return relacoes;
    XmlPlanilha x(pacote.le(membro), pacote.nome(), membro);
    const QString pasta = pastaDe(dono);
    while (x.proximo()) {
        if (!x.inicio(QLatin1StringView("Relationship")) ||
            x.atributo(QLatin1StringView("TargetMode")) == QLatin1String("External"))
            continue;
        const QStringView tipo = x.atributo(QLatin1StringView("Type"));
        relacoes.insert(x.atributo(QLatin1StringView("Id")).toString(),
                        {tipo.sliced(tipo.lastIndexOf(u'/') + 1).toString(),
                         resolve(pasta, x.atributo(QLatin1StringView("Target")))});
    }
    return relacoes;
}

std::optional<Relacao> relacaoDoTipo(const QHash<QString, Relacao>& relacoes,
                                     QLatin1StringView tipo) {
    for (const Relacao& r : relacoes)
        if (r.tipo == tipo)
            return r;
    return std::nullopt;
}

struct Livro {
    QStringList folhas; // the sheets' members, in the workbook's order
    bool data1904 = false;
    QString textos; // the shared texts' member; empty when there are none
    QString estilos;
};

Livro leLivro(PacoteZip& pacote) {
    const auto documento =
        relacaoDoTipo(leRelacoes(pacote, QString()), QLatin1StringView("officeDocument"));
    const QString membro = documento ? documento->membro : QStringLiteral("xl/workbook.xml");
    XmlPlanilha x(pacote.le(membro), pacote.nome(), membro);
    Livro livro;
    QStringList idsFolhas;
    bool raiz = false;
    while (x.proximo()) {
        if (!x.xml().isStartElement())
            continue;
        if (x.profundidade() == 1) {
            // A text document or a presentation has a container of the same kind.
            if (x.xml().name() != QLatin1String("workbook"))
                naoEPlanilha(pacote.nome(), pacote.extensao());
            raiz = true;
        } else if (x.inicio(QLatin1StringView("workbookPr"))) {
            const QStringView v = x.atributo(QLatin1StringView("date1904"));
            livro.data1904 = v == QLatin1String("1") || v == QLatin1String("true");
        } else if (x.inicio(QLatin1StringView("sheet"))) {
            // r:id, in the relationships' namespace of either edition of the format.
            for (const QXmlStreamAttribute& a : x.xml().attributes())
                if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
                    idsFolhas << a.value().toString();
        }
    }
    if (!raiz)
        naoEPlanilha(pacote.nome(), pacote.extensao());
    const QHash<QString, Relacao> relacoes = leRelacoes(pacote, membro);
    for (const QString& id : std::as_const(idsFolhas)) {
        const auto folha = relacoes.constFind(id);
        // Only the first sheet is required; a later one without its member is no sheet.
        if (folha == relacoes.cend() && livro.folhas.isEmpty())
            break;
        if (folha == relacoes.cend())
            continue;
        livro.folhas << folha->membro;
    }
    if (livro.folhas.isEmpty())
        naoEPlanilha(pacote.nome(), pacote.extensao(),
                     QStringLiteral("a pasta de trabalho não tem nenhuma folha"));
    if (const auto r = relacaoDoTipo(relacoes, QLatin1StringView("sharedStrings")))
        livro.textos = r->membro;
    if (const auto r = relacaoDoTipo(relacoes, QLatin1StringView("styles")))
        livro.estilos = r->membro;
    return livro;
}

// "_x000D_": a character the format writes as its code in a text.
QString semEscapes(QString texto) {
    qsizetype i = texto.indexOf(QLatin1String("_x"));
    while (i >= 0 && i + 7 <= texto.size()) {
        bool ok = false;
        const uint codigo = QStringView(texto).sliced(i + 2, 4).toUInt(&ok, 16);
        if (ok && texto[i + 6] == u'_') {
            texto.replace(i, 7, QChar(char16_t(codigo)));
            i = texto.indexOf(QLatin1String("_x"), i + 1);
        } else {
            i = texto.indexOf(QLatin1String("_x"), i + 2);
        }
    }
    return texto;
}

// The text of an <si> or <is> element, which the reader stands at: its <t>, or the <t> of
// each of its runs; the phonetic guide (<rPh>) is no part of it.
QString textoRico(XmlPlanilha& x) {
    const int nivel = x.profundidade();
    QString texto;
    int foneticos = 0;
    bool emTexto = false;
    while (x.proximo() && !(x.xml().isEndElement() && x.profundidade() == nivel)) {
        if (x.inicio(QLatin1StringView("rPh")))
            ++foneticos;
        else if (x.fim(QLatin1StringView("rPh")))
            --foneticos;
        else if (x.xml().isStartElement() || x.xml().isEndElement())
            emTexto = x.inicio(QLatin1StringView("t")) && foneticos == 0;
        else if (emTexto && x.xml().isCharacters())
            texto += x.xml().text();
    }
    return semEscapes(std::move(texto));
}

QList<QString> leTextos(PacoteZip& pacote, const QString& membro) {
    QList<QString> textos;
    if (membro.isEmpty() || !pacote.contem(membro))
        return textos;
    XmlPlanilha x(pacote.le(membro), pacote.nome(), membro);
    while (x.proximo())
        if (x.inicio(QLatin1StringView("si")))
            textos.append(textoRico(x));
    return textos;
}

// Whether each cell format (the cells' s attribute) shows a date.
QList<bool> leFormatosDeData(PacoteZip& pacote, const QString& membro) {
    QList<bool> datas;
    if (membro.isEmpty() || !pacote.contem(membro))
        return datas;
    XmlPlanilha x(pacote.le(membro), pacote.nome(), membro);
    QHash<int, bool> proprios; // the formats the file defines, by id
    bool emFormatos = false;
    while (x.proximo()) {
        if (x.inicio(QLatin1StringView("numFmt"))) {
            const int id = x.atributo(QLatin1StringView("numFmtId")).toInt();
            proprios.insert(id, formatoDeData(id, x.atributo(QLatin1StringView("formatCode"))));
        } else if (x.inicio(QLatin1StringView("cellXfs"))) {
            emFormatos = true;
        } else if (x.fim(QLatin1StringView("cellXfs"))) {
            emFormatos = false;
        } else if (emFormatos && x.inicio(QLatin1StringView("xf"))) {
            const int id = x.atributo(QLatin1StringView("numFmtId")).toInt();
            datas.append(proprios.value(id, formatoInternoDeData(id)));
        }
    }
    return datas;
}

// "AB12": the column from 0 (27) and the row from 1 (12); -1 for a part that is missing.
void referencia(QStringView ref, qint64& coluna, qint64& linha) {
    qsizetype i = 0;
    qint64 c = 0;
    while (i < ref.size() && i < 4 && ref[i].isLetter() && ref[i].unicode() < 128)
        c = c * 26 + (ref[i++].toUpper().unicode() - u'A' + 1);
    coluna = i > 0 ? c - 1 : -1;
    bool ok = false;
    const qint64 l = ref.sliced(i).toLongLong(&ok);
    linha = ok ? l : -1;
}

// A serial date number of the workbook's date system as the date value: the 1904 system
// counts from 01/01/1904; the 1900 system counts a 29/02/1900 that never was, so its
// numbers before 01/03/1900 are one day behind.
double serialParaData(double serial, bool data1904) {
    if (data1904)
        return serial + 1462;
    return serial < 61 ? serial + 1 : serial;
}

// Dates from 01/01/0001 to 31/12/9999, the calendar the program computes in.
bool noCalendario(double data) {
    return data >= -693593 && data < 2958466;
}

struct Contexto {
    const QList<QString>& textos;
    const QList<bool>& datas;
    bool data1904;
};

CelulaPlanilha celulaXlsx(XmlPlanilha& x, const Contexto& ctx, QStringView tipo, int estilo,
                          QString valor, bool temValor, QString textoEmbutido) {
    if (tipo == QLatin1String("inlineStr"))
        return CelulaPlanilha::deTexto(std::move(textoEmbutido));
    if (!temValor)
        return {};
    if (tipo == QLatin1String("s")) {
        bool ok = false;
        const qsizetype i = valor.toLongLong(&ok);
        if (!ok || i < 0 || i >= ctx.textos.size())
            x.falha(QStringLiteral("a célula aponta um texto compartilhado que não existe"));
        return CelulaPlanilha::deTexto(ctx.textos[i]);
    }
    if (tipo == QLatin1String("str") || tipo == QLatin1String("e"))
        return CelulaPlanilha::deTexto(semEscapes(std::move(valor)));
    if (tipo == QLatin1String("d")) {
        const QDateTime momento = QDateTime::fromString(valor.trimmed(), Qt::ISODate);
        if (momento.isValid())
            return CelulaPlanilha::deData(Datas::deQDateTime(momento));
        return CelulaPlanilha::deTexto(std::move(valor));
    }
    bool ok = false;
    const double numero = valor.trimmed().toDouble(&ok);
    if (!ok || !qIsFinite(numero))
        return CelulaPlanilha::deTexto(std::move(valor));
    if (tipo != QLatin1String("b") && estilo >= 0 && estilo < ctx.datas.size() &&
        ctx.datas[estilo]) {
        const double data = serialParaData(numero, ctx.data1904);
        if (numero >= 0 && noCalendario(data))
            return CelulaPlanilha::deData(data);
    }
    return CelulaPlanilha::deNumero(numero);
}

QList<LinhaPlanilha> leFolha(PacoteZip& pacote, const QString& membro, const Contexto& ctx) {
    XmlPlanilha x(pacote.le(membro), pacote.nome(), membro);
    MontagemFolha folha(pacote.nome());
    qint64 linha = 0, coluna = -1;
    bool emDados = false;
    while (x.proximo()) {
        if (x.inicio(QLatin1StringView("sheetData"))) {
            emDados = true;
        } else if (x.fim(QLatin1StringView("sheetData"))) {
            break;
        } else if (emDados && x.inicio(QLatin1StringView("row"))) {
            bool ok = false;
            const qint64 r = x.atributo(QLatin1StringView("r")).toLongLong(&ok);
            linha = ok ? r : linha + 1;
            coluna = -1;
        } else if (emDados && x.fim(QLatin1StringView("row"))) {
            folha.fimDaLinha(linha);
        } else if (emDados && x.inicio(QLatin1StringView("c"))) {
            qint64 c = -1, l = -1;
            referencia(x.atributo(QLatin1StringView("r")), c, l);
            coluna = c >= 0 ? c : coluna + 1;
            const QString tipo = x.atributo(QLatin1StringView("t")).toString();
            bool ok = false;
            int estilo = x.atributo(QLatin1StringView("s")).toInt(&ok);
            if (!ok)
                estilo = 0;
            // The value (<v>) and an inline text (<is>); a formula (<f>) is passed over,
            // its last result being the value.
            const int nivel = x.profundidade();
            QString valor, embutido;
            bool temValor = false, emValor = false;
            while (x.proximo() && !(x.xml().isEndElement() && x.profundidade() == nivel)) {
                if (x.inicio(QLatin1StringView("v"))) {
                    emValor = temValor = true;
                } else if (x.inicio(QLatin1StringView("is"))) {
                    embutido = textoRico(x);
                } else if (x.xml().isStartElement() || x.xml().isEndElement()) {
                    emValor = false;
                } else if (emValor && x.xml().isCharacters()) {
                    valor += x.xml().text();
                }
            }
            folha.celula(coluna, celulaXlsx(x, ctx, tipo, estilo, std::move(valor), temValor,
                                            std::move(embutido)));
        }
    }
    return folha.conclui();
}

} // namespace

std::optional<QList<LinhaPlanilha>> leFolhaXlsx(PacoteZip& pacote, int indice) {
    const Livro livro = leLivro(pacote);
    if (indice >= livro.folhas.size())
        return std::nullopt;
    const QList<QString> textos = leTextos(pacote, livro.textos);
    const QList<bool> datas = leFormatosDeData(pacote, livro.estilos);
    return leFolha(pacote, livro.folhas[indice], Contexto{textos, datas, livro.data1904});
}
