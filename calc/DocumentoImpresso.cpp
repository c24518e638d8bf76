#include "calc/DocumentoImpresso.h"

#include "sistema/ArquivoSaida.h"

#include <QAbstractTextDocumentLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// Millimetres in the device's units along an axis of `dpi` dots per inch.
double milimetros(double mm, int dpi) {
    return mm / 25.4 * dpi;
}

// Where each page begins in the laid-out text, and where the last one ends: every `altura`,
// except where a line crosses that line of the grid. Qt lays a long document out in steps,
// and a step that resumes just above a page break may count itself on the next page and
// leave its first line across the break (a few times in a thousand pages); that page then
// begins with that line, a little higher, and ends a little longer.
QList<double> iniciosDasPaginas(const QTextDocument& texto, int paginas, double altura) {
    QList<double> inicios(paginas + 1);
    for (int pagina = 0; pagina <= paginas; ++pagina)
        inicios[pagina] = pagina * altura;
    const QAbstractTextDocumentLayout* leiaute = texto.documentLayout();
    for (QTextBlock bloco = texto.begin(); bloco.isValid(); bloco = bloco.next()) {
        const QTextLayout* linhas = bloco.layout();
        // Where the block's lines are measured from (the rect's top-left is the layout's
        // position, whatever the first line's offset).
        const double origem = leiaute->blockBoundingRect(bloco).top();
        for (int i = 0; i < linhas->lineCount(); ++i) {
            const QTextLine linha = linhas->lineAt(i);
            const double topo = origem + linha.y();
            const int primeira = static_cast<int>(topo / altura);
            const int ultima = static_cast<int>((topo + linha.height()) / altura);
            for (int quebra = primeira + 1; quebra <= std::min(ultima, paginas); ++quebra)
                if (quebra * altura < topo + linha.height())
                    inicios[quebra] = std::min(inicios[quebra], topo);
        }
    }
    return inicios;
}

} // namespace

void preparaPaginaA4(QPagedPaintDevice& destino, QPageLayout::Orientation orientacao) {
    destino.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientacao, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter));
}

QFont fonteDocumento() {
    QFont fonte(QStringLiteral("DejaVu Sans"));
    fonte.setStyleHint(QFont::SansSerif);
    fonte.setPointSizeF(10);
    return fonte;
}

void desenhaComPaginasNumeradas(QPagedPaintDevice& destino, const QString& html,
                                const QString& cabecalho) {
    QPainter pintor(&destino);
    // A device that cannot start (a PDF file that cannot be written) keeps its reason for
    // whoever writes it.
    if (!pintor.isActive())
        return;
    const int dpiX = destino.logicalDpiX();
    const int dpiY = destino.logicalDpiY();
    const double lateral = milimetros(12, dpiX);
    const double topo = milimetros(15, dpiY);
    const double base = milimetros(20, dpiY);
    // A page of whole device pixels: the layout places its pages in fixed point (1/64 of a
    // pixel), and pages of a height it cannot hold exactly drift from where they are drawn,
    // until a page draws the first line of the next one at its foot.
    const QRectF corpo(std::round(lateral), std::round(topo),
                       std::floor(destino.width() - 2 * lateral),
                       std::floor(destino.height() - topo - base));

    // The device, the page and the font come before the text, so the text is laid out once,
    // with the device's own metrics.
    QTextDocument texto;
    texto.setDefaultFont(fonteDocumento());
    texto.setDocumentMargin(0);
    texto.documentLayout()->setPaintDevice(&destino);
    texto.setPageSize(corpo.size());
    texto.setHtml(html);
    const int paginas = texto.pageCount();
    const QList<double> inicios = iniciosDasPaginas(texto, paginas, corpo.height());

    QFont fonteRodape = fonteDocumento();
    fonteRodape.setPointSizeF(8);
    const QRectF rodape(corpo.left(), corpo.bottom() + milimetros(5, dpiY), corpo.width(),
                        milimetros(8, dpiY));
    QFont fonteCabecalho = fonteDocumento();
    fonteCabecalho.setBold(true);
    const QRectF faixaCabecalho(corpo.left(), milimetros(5, dpiY), corpo.width(),
                                corpo.top() - milimetros(6, dpiY));
    for (int pagina = 0; pagina < paginas; ++pagina) {
        if (pagina > 0)
            destino.newPage();
        const QRectF vista(0, inicios[pagina], corpo.width(),
                           inicios[pagina + 1] - inicios[pagina]);
        pintor.save();
        pintor.translate(corpo.left(), corpo.top() - vista.top());
        pintor.setClipRect(vista);
        QAbstractTextDocumentLayout::PaintContext contexto;
        // The layout draws a line that touches the clip: the first line of the next page
        // starts right at this page's foot, and a page may begin right below a line of the one
        // before; their text would be drawn, out of sight but still read, on both.
        contexto.clip = vista.adjusted(0, 1, 0, -1);
        // Black on paper, whatever the desktop's colours.
        contexto.palette.setColor(QPalette::Text, Qt::black);
        texto.documentLayout()->draw(&pintor, contexto);
        pintor.restore();

        if (!cabecalho.isEmpty()) {
            pintor.setFont(fonteCabecalho);
            pintor.setPen(Qt::black);
            pintor.drawText(faixaCabecalho, Qt::AlignLeft | Qt::AlignTop, cabecalho);
        }
        pintor.setFont(fonteRodape);
        pintor.setPen(Qt::black);
        pintor.drawText(rodape, Qt::AlignRight | Qt::AlignTop,
                        QStringLiteral("Página %1 de %2").arg(pagina + 1).arg(paginas));
    }
}

void gravaPdf(const QString& caminho, const DocumentoImpresso& documento) {
    ArquivoSaida arquivo(caminho);
    arquivo.abre();
    {
        QPdfWriter pdf(&arquivo);
        pdf.setTitle(documento.Titulo);
        pdf.setCreator(documento.Criador);
        preparaPaginaA4(pdf, documento.Orientacao);
        // The drawing's painter ends the PDF before it returns.
        documento.Desenha(pdf);
    }
    // The new file takes the old one's place only when every byte reached it.
    arquivo.conclui();
}
