#include "sistema/CodificacaoTexto.h"

#include <QIODevice>

#include <algorithm>

namespace {

struct Marca {
    CodificacaoTexto codificacao;
    QByteArrayView bytes;
};

// UTF-8 first: its mark shares no prefix with the UTF-16 ones.
constexpr Marca Marcas[] = {
    {CodificacaoTexto::Utf8, QByteArrayView("\xEF\xBB\xBF", 3)},
    {CodificacaoTexto::Utf16LE, QByteArrayView("\xFF\xFE", 2)},
    {CodificacaoTexto::Utf16BE, QByteArrayView("\xFE\xFF", 2)},
};

constexpr qint64 Bloco = 64 * 1024;

// How many bytes at the end begin a sequence they do not finish. Only a byte that can lead
// a sequence (0xC2 to 0xF4) counts: any other is invalid whatever follows, and the decoder
// says so at once.
qsizetype inacabados(QByteArrayView bytes) {
    for (qsizetype n = 1; n <= std::min<qsizetype>(3, bytes.size()); ++n) {
        const uchar c = uchar(bytes[bytes.size() - n]);
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: its lead is further back
        const qsizetype comprimento = c >= 0xF5   ? 1
                                      : c >= 0xF0 ? 4
                                      : c >= 0xE0 ? 3
                                      : c >= 0xC2 ? 2
                                                  : 1;
        return comprimento > n ? n : 0;
    }
    return 0;
}

} // namespace

QByteArrayView marcaDeOrdem(CodificacaoTexto codificacao) {
    for (const Marca& m : Marcas)
        if (m.codificacao == codificacao)
            return m.bytes;
    return {};
}

std::optional<CodificacaoTexto> codificacaoDaMarca(QByteArrayView bytes) {
    for (const Marca& m : Marcas)
        if (bytes.startsWith(m.bytes))
            return m.codificacao;
    return std::nullopt;
}

void VerificacaoUtf8::acrescenta(QByteArrayView parte) {
    if (!inicioValido())
        return; // nothing after an invalid sequence makes it valid
    fPendente += parte;
    const qsizetype guardados = inacabados(fPendente);
    // Decoding is what finds an invalid sequence; the text itself is not needed.
    [[maybe_unused]] const QString lido =
        fDecodificador.decode(QByteArrayView(fPendente).first(fPendente.size() - guardados));
    fPendente = fPendente.last(guardados);
}

CodificacaoTexto utf8OuAnsi(QByteArrayView texto) {
    VerificacaoUtf8 verificacao;
    verificacao.acrescenta(texto);
    return verificacao.inteiroValido() ? CodificacaoTexto::Utf8 : CodificacaoTexto::Ansi;
}

CodificacaoTexto utf8OuAnsi(QIODevice& origem) {
    VerificacaoUtf8 verificacao;
    if (origem.isSequential()) {
        verificacao.acrescenta(origem.peek(Bloco));
        return verificacao.inicioValido() ? CodificacaoTexto::Utf8 : CodificacaoTexto::Ansi;
    }
    const qint64 inicio = origem.pos();
    while (verificacao.inicioValido()) {
        const QByteArray bloco = origem.read(Bloco);
        if (bloco.isEmpty())
            break;
        verificacao.acrescenta(bloco);
    }
    origem.seek(inicio);
    return verificacao.inteiroValido() ? CodificacaoTexto::Utf8 : CodificacaoTexto::Ansi;
}
