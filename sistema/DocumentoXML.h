#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QStringList>

// An XML document object holding its text as lines, parsed when made active: the lines
// joined, each followed by a line break, in memory, without validation and without
// resolving external entities. With no line at all the document is empty and no failure
// arises. A text far larger than any real document, or nested deeper than any, is refused
// before parsing.
class DocumentoXML {
public:
    static constexpr qsizetype TamanhoMaximo = 16 * 1024 * 1024;

    QStringList Linhas;
    // When off, looking up a missing element is a failure instead of creating it empty.
    bool CriaNosAutomaticamente = false;

    // Throws ErroBelqor with the parser's message.
    void defineAtivo(bool ativo);
    bool ativo() const { return fAtivo; }
    const QDomDocument& documento() const { return fDocumento; }

    // The child element of that exact name; missing: created empty or a failure.
    QDomElement filho(QDomNode pai, const QString& nome);

private:
    QDomDocument fDocumento;
    bool fAtivo = false;
};

// The text of an element holding plain text: nothing, or one piece of text or character
// data. Anything else (a nested element, text mixed with a comment) is a failure.
QString textoSimples(const QDomElement& elemento);
