#include "planilhas/CsvPontoVirgula.h"

#include "sistema/ArquivoSaida.h"
#include "sistema/CodificacaoTexto.h"
#include "sistema/MotivosFalha.h"
#include "sistema/PaginaAnsi.h"
#include "valores/Erros.h"

#include <QIODevice>
#include <QTextStream>

#include <algorithm>

namespace {

constexpr qint64 Bloco = 64 * 1024;

bool soSeparadores(const QStringList& brutos) {
    for (const QString& b : brutos)
        if (!QStringView(b).trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

LeitorCsv::LeitorCsv(QIODevice& origem, QString nome, AspasCsv aspas)
    : fOrigem(&origem), fNome(std::move(nome)), fAspas(aspas),
      fWindows1252(utf8OuAnsi(origem) == CodificacaoTexto::Ansi) {}

LeitorCsv::LeitorCsv(QString texto, AspasCsv aspas)
    : fAspas(aspas), fMaximoLinha(texto.size()), fTexto(std::move(texto)), fFim(true),
      fInicio(false) {}

bool LeitorCsv::preenche() {
    if (fFim)
        return false;
    QByteArray bloco(Bloco, Qt::Uninitialized);
    const qint64 lidos = fOrigem->read(bloco.data(), Bloco);
    if (lidos < 0)
        throw ErroEntradaSaida(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                                   .arg(fNome, motivoDoArquivo(*fOrigem)));
    if (lidos == 0) {
        fFim = true;
        return false;
    }
    bloco.truncate(lidos);
    fTexto += fWindows1252 ? PaginaAnsi::decodifica(bloco) : fUtf8.decode(bloco);
    if (fInicio) {
        fInicio = false;
        // The byte-order mark is no text of any row, but its bytes are read.
        if (!fWindows1252 && codificacaoDaMarca(bloco) == CodificacaoTexto::Utf8)
            fBytesConsumidos += marcaDeOrdem(CodificacaoTexto::Utf8).size();
        if (fTexto.startsWith(QChar(0xFEFF)))
            fTexto.remove(0, 1);
    }
    return true;
}

void LeitorCsv::contaConsumidos() {
    if (fWindows1252) {
        fBytesConsumidos += fPos - fContado; // one byte per character
    } else {
        // As UTF-8: a surrogate pair is four bytes, two for each half.
        const char16_t* const texto = QStringView(fTexto).utf16();
        for (qsizetype i = fContado; i < fPos; ++i) {
            const char16_t c = texto[i];
            fBytesConsumidos += c < 0x80 ? 1 : c < 0x800 || (c >= 0xD800 && c < 0xE000) ? 2 : 3;
        }
    }
    fContado = fPos;
}

qint64 LeitorCsv::bytesConsumidos() {
    contaConsumidos();
    return fBytesConsumidos;
}

bool LeitorCsv::preencheAte(qsizetype i) {
    while (i >= fTexto.size())
        if (!preenche())
            return false;
    return true;
}

QString textoAspaAberta(qsizetype linha) {
    return QStringLiteral("A aspa aberta na linha %1 não foi fechada.").arg(linha);
}

bool LeitorCsv::proxima(LinhaCsv& linha) {
    while (proximaMesmoVazia(linha))
        if (!soSeparadores(linha.brutos))
            return true;
    return false;
}

namespace {

// Sets the k-th string of the list to texto, reusing its room: the reader fills the same
// row over and over, and a string no one else holds takes the new text in place.
void poe(QStringList& lista, qsizetype k, QStringView texto) {
    if (k == lista.size()) {
        lista.append(texto.toString());
        return;
    }
    QString& destino = lista[k];
    if (destino.size() != texto.size()) // same length (dates): written over as it is
        destino.resize(texto.size());
    std::copy_n(texto.data(), texto.size(), destino.data());
}

bool marcaCsv(char16_t c) {
    return c == u'"' || c == u';' || c == u'\n';
}

} // namespace

bool LeitorCsv::proximaMesmoVazia(LinhaCsv& linha) {
    linha.numero = fLinhaFisica;
    linha.aspaAberta = 0;
    // What earlier rows used goes only between rows, so positions hold within one. A text
    // in memory stays whole: cutting its front would copy the rest again and again.
    if (fOrigem && fPos >= Bloco) {
        contaConsumidos();
        fTexto.remove(0, fPos);
        fPos = 0;
        fContado = 0;
    }
    if (!disponivel(fPos)) {
        linha.brutos.clear();
        linha.valores.clear();
        return false;
    }
    const qsizetype inicioLinha = fPos;
    qsizetype i = fPos;
    qsizetype campos = 0;
    for (;;) {
        const qsizetype inicio = i;
        qsizetype trecho = i; // start of the value's text not yet copied
        if (!fValor.isEmpty())
            fValor.resize(0); // keeps its room
        bool citado = false, algumaAspa = false, fimLinha = false;
        // Where the open quote began, and the first line break after it with the value
        // gathered up to there: a quote never closed gives back the lines after its own.
        qsizetype linhaAspa = 0, quebraAspa = -1, valorNaQuebra = 0, trechoNaQuebra = 0;
        for (;;) {
            if (!disponivel(i))
                break;
            // Plain characters are passed over in one run, up to the longest row allowed.
            const qsizetype limite = std::min(fTexto.size(), inicioLinha + fMaximoLinha + 1);
            if (i >= limite && citado && quebraAspa >= 0)
                break;
            if (i >= limite)
                throw ErroEntradaSaida(
                    QStringLiteral("A linha %1 de \"%2\" passa de %3 caracteres: o arquivo "
                                   "não é uma planilha separada por \";\".")
                        .arg(linha.numero)
                        .arg(fNome)
                        .arg(MaximoLinha));
            const char16_t* const texto = QStringView(fTexto).utf16();
            while (i < limite && !marcaCsv(texto[i]))
                ++i;
            if (i == limite)
                continue;
            const char16_t c = texto[i];
            if (c == u'"') {
                // Quotes open and close a quoted part; a doubled one inside stands for one.
                algumaAspa = true;
                fValor += QStringView(fTexto).sliced(trecho, i - trecho);
                if (citado && disponivel(i + 1) && fTexto.at(i + 1) == QLatin1Char('"')) {
                    fValor += QLatin1Char('"');
                    ++i;
                } else {
                    citado = !citado;
                    linhaAspa = fLinhaFisica;
                    quebraAspa = -1;
                }
                trecho = ++i;
                continue;
            }
            if (c == u'\n') {
                if (citado && quebraAspa < 0) {
                    quebraAspa = i;
                    valorNaQuebra = fValor.size();
                    trechoNaQuebra = trecho;
                }
                ++fLinhaFisica;
                if (!citado) {
                    fimLinha = true;
                    break;
                }
                if (fAspas == AspasCsv::FechamNaLinha)
                    break;
            } else if (!citado) { // a separator
                break;
            }
            ++i;
        }
        // Only the end of the data or of the longest row, or a line's end where quotes close
        // on their line, stops the loop inside a quote. The row then ends with the quote's
        // own line, and the lines after it are read again.
        if (citado && quebraAspa >= 0) {
            i = quebraAspa;
            fLinhaFisica = linhaAspa + 1;
            fValor.resize(valorNaQuebra);
            trecho = trechoNaQuebra;
            fimLinha = true;
        }
        const bool fimArquivo = !fimLinha && i >= fTexto.size();
        // A carriage return ending the row is the line break's, not the field's.
        const qsizetype fim =
            (fimLinha || fimArquivo) && i > inicio && fTexto.at(i - 1) == QLatin1Char('\r') ? i - 1
                                                                                            : i;
        const QStringView bruto = QStringView(fTexto).sliced(inicio, fim - inicio);
        poe(linha.brutos, campos, bruto);
        if (algumaAspa) {
            fValor += QStringView(fTexto).sliced(trecho, fim - trecho);
            poe(linha.valores, campos, fValor);
        } else {
            poe(linha.valores, campos, bruto);
        }
        ++campos;
        if (fimLinha || fimArquivo) {
            linha.brutos.resize(campos);
            linha.valores.resize(campos);
            if (citado)
                linha.aspaAberta = linhaAspa;
            fPos = fimLinha ? i + 1 : i;
            return true;
        }
        ++i; // past the separator
    }
}

namespace {

bool especialCsv(QChar c) {
    // One test for most characters: all four are below 64.
    constexpr quint64 especiais =
        (quint64(1) << ';') | (quint64(1) << '"') | (quint64(1) << '\n') | (quint64(1) << '\r');
    return c.unicode() < 64 && (especiais >> c.unicode() & 1) != 0;
}

} // namespace

EscritorCsv::EscritorCsv(ArquivoSaida& destino) : fDestino(&destino), fFimLinha(u"\r\n") {
    fTexto.reserve(Bloco + 4096);
    fBom = true;
}

EscritorCsv::EscritorCsv(QTextStream& saida) : fSaida(&saida), fFimLinha(u"\n") {
    fTexto.reserve(Bloco + 4096);
}

void EscritorCsv::campo(QStringView texto) {
    if (!fPrimeiroDaLinha)
        fTexto += u';';
    fPrimeiroDaLinha = false;
    fTexto.append(texto.utf16(), std::size_t(texto.size()));
}

void EscritorCsv::valor(QStringView texto) {
    if (std::none_of(texto.cbegin(), texto.cend(), especialCsv)) {
        campo(texto);
        return;
    }
    campo(u"\"");
    for (const QChar c : texto) {
        if (c == QLatin1Char('"'))
            fTexto += u'"';
        fTexto += char16_t(c.unicode());
    }
    fTexto += u'"';
}

void EscritorCsv::fimDaLinha() {
    fTexto += fFimLinha;
    fPrimeiroDaLinha = true;
    if (fTexto.size() >= std::size_t(Bloco))
        descarrega();
}

void EscritorCsv::descarrega() {
    const QStringView texto(fTexto.data(), qsizetype(fTexto.size()));
    if (fSaida) {
        *fSaida << texto;
        fSaida->flush();
        if (fSaida->status() != QTextStream::Ok)
            throw AbortoSilencioso();
        fTexto.clear(); // keeps the block's room
        return;
    }
    QByteArray bytes = texto.toUtf8();
    if (fBom) {
        bytes.prepend("\xEF\xBB\xBF");
        fBom = false;
    }
    if (fDestino->write(bytes) != bytes.size())
        throw fDestino->erro();
    fTexto.clear();
}
