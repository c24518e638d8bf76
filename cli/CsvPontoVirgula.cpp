#include "CsvPontoVirgula.h"

#include "Erros.h"
#include "PaginaAnsi.h"

#include <QIODevice>
#include <QTextStream>

#include <algorithm>

namespace {

constexpr qint64 Bloco = 64 * 1024;

// Whether the bytes the device holds (a file: all of them; a stream: what it has at first)
// are valid UTF-8. A sequence cut at the end of what a stream showed is not held against it.
bool ehUtf8(QIODevice& origem) {
    QStringDecoder decodificador(QStringDecoder::Utf8);
    if (origem.isSequential()) {
        const QString lido = decodificador.decode(origem.peek(Bloco));
        return !decodificador.hasError();
    }
    const qint64 inicio = origem.pos();
    while (!decodificador.hasError()) {
        const QByteArray bloco = origem.read(Bloco);
        if (bloco.isEmpty())
            break;
        const QString lido = decodificador.decode(bloco);
    }
    const bool valido = !decodificador.hasError();
    origem.seek(inicio);
    return valido;
}

bool soSeparadores(const QStringList& brutos) {
    for (const QString& b : brutos)
        if (!b.trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

LeitorCsv::LeitorCsv(QIODevice& origem, QString nome)
    : fOrigem(origem), fNome(std::move(nome)), fWindows1252(!ehUtf8(origem)) {}

bool LeitorCsv::preenche() {
    if (fFim)
        return false;
    QByteArray bloco(Bloco, Qt::Uninitialized);
    const qint64 lidos = fOrigem.read(bloco.data(), Bloco);
    if (lidos < 0)
        throw ErroEntradaSaida(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                                   .arg(fNome, fOrigem.errorString()));
    if (lidos == 0) {
        fFim = true;
        return false;
    }
    bloco.truncate(lidos);
    fBytesLidos += lidos;
    fTexto += fWindows1252 ? PaginaAnsi::decodifica(bloco) : fUtf8.decode(bloco);
    if (fInicio) {
        fInicio = false;
        if (fTexto.startsWith(QChar(0xFEFF)))
            fTexto.remove(0, 1);
    }
    return true;
}

bool LeitorCsv::preencheAte(qsizetype i) {
    while (i >= fTexto.size())
        if (!preenche())
            return false;
    return true;
}

bool LeitorCsv::proxima(LinhaCsv& linha) {
    while (leUma(linha))
        if (!soSeparadores(linha.brutos))
            return true;
    return false;
}

bool LeitorCsv::leUma(LinhaCsv& linha) {
    linha.brutos.clear();
    linha.valores.clear();
    linha.numero = fLinhaFisica;
    // What earlier rows used goes only between rows, so positions hold within one.
    if (fPos >= Bloco) {
        fTexto.remove(0, fPos);
        fPos = 0;
    }
    if (!disponivel(fPos))
        return false;
    const qsizetype inicioLinha = fPos;
    qsizetype i = fPos;
    for (;;) {
        const qsizetype inicio = i;
        qsizetype trecho = i; // start of the value's text not yet copied
        QString valor;
        bool citado = false, algumaAspa = false, fimLinha = false;
        while (disponivel(i)) {
            if (i - inicioLinha > MaximoLinha)
                throw ErroEntradaSaida(
                    QStringLiteral("A linha %1 de \"%2\" passa de %3 caracteres: o arquivo "
                                   "não é uma planilha separada por \";\".")
                        .arg(linha.numero)
                        .arg(fNome)
                        .arg(MaximoLinha));
            const QChar c = fTexto.at(i); // read only: no detach check per character
            if (c == QLatin1Char('"')) {
                // Quotes open and close a quoted part; a doubled one inside stands for one.
                algumaAspa = true;
                valor += QStringView(fTexto).sliced(trecho, i - trecho);
                if (citado && disponivel(i + 1) && fTexto.at(i + 1) == QLatin1Char('"')) {
                    valor += QLatin1Char('"');
                    ++i;
                } else {
                    citado = !citado;
                }
                trecho = ++i;
                continue;
            }
            if (c == QLatin1Char('\n')) {
                ++fLinhaFisica;
                if (!citado) {
                    fimLinha = true;
                    break;
                }
            } else if (c == QLatin1Char(';') && !citado) {
                break;
            }
            ++i;
        }
        const bool fimArquivo = !fimLinha && i >= fTexto.size();
        // A carriage return ending the row is the line break's, not the field's; cut
        // before the field is copied, so its text and value stay one shared string.
        const qsizetype fim =
            (fimLinha || fimArquivo) && i > inicio && fTexto.at(i - 1) == QLatin1Char('\r') ? i - 1
                                                                                            : i;
        QString bruto = fTexto.sliced(inicio, fim - inicio);
        if (algumaAspa)
            valor += QStringView(fTexto).sliced(trecho, fim - trecho);
        else
            valor = bruto;
        linha.brutos.append(std::move(bruto));
        linha.valores.append(std::move(valor));
        if (fimLinha || fimArquivo) {
            fPos = fimLinha ? i + 1 : i;
            return true;
        }
        ++i; // past the separator
    }
}

namespace {

bool especialCsv(QChar c) {
    return c == QLatin1Char(';') || c == QLatin1Char('"') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

} // namespace

QString campoCsv(const QString& valor) {
    if (std::none_of(valor.cbegin(), valor.cend(), especialCsv))
        return valor;
    QString citado = valor;
    citado.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + citado + QLatin1Char('"');
}

EscritorCsv::EscritorCsv(QIODevice& destino) : fDestino(&destino), fFimLinha(u"\r\n") {
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
        fTexto.clear(); // keeps the block's room
        return;
    }
    QByteArray bytes = texto.toUtf8();
    if (fBom) {
        bytes.prepend("\xEF\xBB\xBF");
        fBom = false;
    }
    if (fDestino->write(bytes) != bytes.size())
        throw ErroEntradaSaida(
            QStringLiteral("Não foi possível gravar a saída: %1").arg(fDestino->errorString()));
    fTexto.clear();
}
