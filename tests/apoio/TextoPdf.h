#pragma once

// What a PDF says, read as a user's tools read it: the text pdftotext gets out of it (laid out
// or in the order of its content stream), its fonts and pictures (pdffonts, pdfimages), its
// page count (pdfinfo); and lookups in those lines.

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// The non-blank lines, simplified, one of the PDF tools prints; empty when it fails.
inline QStringList saidaPoppler(const char* ferramenta, const QStringList& argumentos) {
    const QString programa = QStandardPaths::findExecutable(QString::fromLatin1(ferramenta));
    if (programa.isEmpty())
        qFatal("%s não encontrado: tools/instala-dependencias instala poppler-utils", ferramenta);
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QStringList linhas;
    for (const QString& l : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (!l.simplified().isEmpty())
            linhas << l.simplified();
    return linhas;
}

// The PDF's text as pdftotext reads it, keeping each table row on one line; `primeira` and
// `ultima` (counted from 1) take only those pages.
inline QStringList textoPdf(const QString& pdf, int primeira = 0, int ultima = 0) {
    QStringList argumentos{QStringLiteral("-layout"), QStringLiteral("-enc"),
                           QStringLiteral("UTF-8")};
    if (primeira > 0)
        argumentos << QStringLiteral("-f") << QString::number(primeira);
    if (ultima > 0)
        argumentos << QStringLiteral("-l") << QString::number(ultima);
    return saidaPoppler("pdftotext", argumentos << pdf << QStringLiteral("-"));
}

// The PDF's text in the reading order pdftotext works out from where each piece stands (its
// default mode), each piece of text on a line of its own; textoPdfCru gives the order the
// pieces are drawn in.
inline QStringList textoPdfEmFluxo(const QString& pdf) {
    return saidaPoppler(
        "pdftotext", {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
}

// The PDF's text strictly in the order its content stream draws it (pdftotext -raw), the
// pieces drawn on one line joined on one line: the order of an untagged PDF's text for a
// screen reader, which the ordering heuristics of textoPdfEmFluxo do not show.
inline QStringList textoPdfCru(const QString& pdf) {
    return saidaPoppler("pdftotext", {QStringLiteral("-raw"), QStringLiteral("-enc"),
                                      QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
}

// How many pages pdfinfo counts; 0 when it cannot read the file.
inline int paginasPdf(const QString& pdf) {
    for (const QString& l : saidaPoppler("pdfinfo", {pdf}))
        if (l.startsWith(QLatin1String("Pages:")))
            return l.mid(6).trimmed().toInt();
    return 0;
}

// Walks `esperados` in order, each looked for by `busca` from where the one before ended
// (busca gives that end, or -1 when it finds nothing); the first missing or out of order is
// named in `falta`.
template <typename Busca>
bool achadosEmOrdem(const QStringList& esperados, QString& falta, Busca busca) {
    qsizetype desde = 0;
    for (const QString& e : esperados) {
        desde = busca(e, desde);
        if (desde < 0) {
            falta = e;
            return false;
        }
    }
    return true;
}

// Where each line, in order, is found whole in `linhas`, each after the one before.
inline bool emOrdem(const QStringList& linhas, const QStringList& esperadas, QString& falta) {
    return achadosEmOrdem(esperadas, falta, [&](const QString& e, qsizetype desde) {
        const qsizetype achada = linhas.indexOf(e, desde);
        return achada < 0 ? achada : achada + 1;
    });
}

// Where each text is found in `texto`, in order, each after the end of the one before.
inline bool emSequencia(const QString& texto, const QStringList& esperados, QString& falta) {
    return achadosEmOrdem(esperados, falta, [&](const QString& e, qsizetype desde) {
        const qsizetype achado = texto.indexOf(e, desde);
        return achado < 0 ? achado : achado + e.size();
    });
}

// The first line holding every piece, in that order; empty when none does.
inline QString linhaCom(const QStringList& linhas, const QStringList& pedacos) {
    for (const QString& l : linhas) {
        qsizetype desde = 0;
        bool achou = true;
        for (const QString& p : pedacos) {
            desde = l.indexOf(p, desde);
            if (desde < 0) {
                achou = false;
                break;
            }
            desde += p.size();
        }
        if (achou)
            return l;
    }
    return {};
}

// The first line that ends inside a figure ("… 3.") or begins with the rest of one
// ("982.047…", "%"): a figure split over two lines. Empty when there is none.
inline QString linhaComFiguraPartida(const QStringList& linhas) {
    static const QRegularExpression inicioPartido(QStringLiteral("^([0-9.,]*[.,][0-9]|%)"));
    static const QRegularExpression fimPartido(QStringLiteral("[0-9][.,]$"));
    for (const QString& l : linhas)
        if (inicioPartido.match(l).hasMatch() || fimPartido.match(l).hasMatch())
            return l;
    return {};
}

// Whether the line holding `rotulo` ends with a whole amount at four decimals ("1.120,0000").
inline bool terminaEmQuatroCasas(const QStringList& linhas, const QString& rotulo) {
    static const QRegularExpression quatroCasas(
        QStringLiteral("\\s[0-9]{1,3}(\\.[0-9]{3})*,[0-9]{4}$"));
    return quatroCasas.match(linhaCom(linhas, {rotulo})).hasMatch();
}
