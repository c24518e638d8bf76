#include "sistema/DocumentoXML.h"

#include "valores/Erros.h"
#include "sistema/MotivosFalha.h"
#include "sistema/ProfundidadeXml.h"

void DocumentoXML::defineAtivo(bool ativo) {
    if (!ativo) {
        fDocumento.clear();
        fAtivo = false;
        return;
    }
    fDocumento.clear();
    fAtivo = false;
    if (Linhas.isEmpty()) {
        fAtivo = true;
        return;
    }
    qsizetype tamanho = 0;
    for (const QString& linha : Linhas) {
        tamanho += linha.size() + 1;
        if (tamanho > TamanhoMaximo)
            throw ErroBelqor(QStringLiteral("Documento XML grande demais (mais de %1 MiB).")
                                 .arg(TamanhoMaximo / (1024 * 1024)));
    }
    QString texto;
    texto.reserve(tamanho);
    for (const QString& linha : Linhas) {
        texto += linha;
        texto += QLatin1Char('\n');
    }
    if (!aninhamentoAceitavel(texto))
        throw ErroBelqor(QStringLiteral("Documento XML recusado: %1, o que nenhum documento de "
                                        "taxas tem.")
                             .arg(textoAninhamentoExcessivo()));
    // QDomDocument resolves no external entity and bounds the expansion of internal ones.
    QString erro;
    int linha = 0, coluna = 0;
    if (!fDocumento.setContent(texto, false, &erro, &linha, &coluna)) {
        // The tree's parser words its failure in English; the stream reader, over the same
        // text, tells which failure it is.
        QXmlStreamReader leitor(texto);
        while (!leitor.atEnd())
            leitor.readNext();
        throw ErroBelqor(QStringLiteral("Erro no documento XML: %1 (linha %2, coluna %3)")
                             .arg(motivoDoXml(leitor.hasError() ? leitor.error()
                                                                : QXmlStreamReader::CustomError))
                             .arg(linha)
                             .arg(coluna));
    }
    fAtivo = true;
}

QDomElement DocumentoXML::filho(QDomNode pai, const QString& nome) {
    for (QDomNode n = pai.firstChild(); !n.isNull(); n = n.nextSibling())
        if (n.isElement() && n.nodeName() == nome)
            return n.toElement();
    if (!CriaNosAutomaticamente)
        throw ErroBelqor(QStringLiteral("Nó \"%1\" não encontrado.").arg(nome));
    return pai.appendChild(fDocumento.createElement(nome)).toElement();
}

QString textoSimples(const QDomElement& elemento) {
    const QDomNodeList filhos = elemento.childNodes();
    if (filhos.isEmpty())
        return QString();
    const QDomNode unico = filhos.at(0);
    if (filhos.size() == 1 && (unico.isText() || unico.isCDATASection()))
        return unico.nodeValue();
    throw ErroBelqor(
        QStringLiteral("O elemento \"%1\" não contém texto simples.").arg(elemento.nodeName()));
}
