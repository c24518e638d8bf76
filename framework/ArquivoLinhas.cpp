#include "framework/ArquivoLinhas.h"

#include "valores/Erros.h"
#include "sistema/MotivosFalha.h"
#include "sistema/PaginaAnsi.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// The converter of an encoding a byte-order mark names.
QStringConverter::Encoding conversorDe(CodificacaoTexto codificacao) {
    switch (codificacao) {
    case CodificacaoTexto::Utf16LE:
        return QStringConverter::Utf16LE;
    case CodificacaoTexto::Utf16BE:
        return QStringConverter::Utf16BE;
    case CodificacaoTexto::Utf8:
    case CodificacaoTexto::Ansi: // no mark, and no converter of Qt's: PaginaAnsi
        break;
    }
    return QStringConverter::Utf8;
}

ErroEntradaSaida erroDe(const QString& caminho, const QString& motivo) {
    return ErroEntradaSaida(
        QStringLiteral("Erro de entrada/saída no arquivo \"%1\": %2").arg(caminho, motivo));
}

} // namespace

QStringList divideLinhas(QStringView texto) {
    QStringList linhas;
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        linhas << texto.sliced(inicio, i - inicio).toString();
        if (c == QLatin1Char('\r') && i + 1 < texto.size() && texto[i + 1] == QLatin1Char('\n'))
            ++i;
        inicio = i + 1;
    }
    if (inicio < texto.size())
        linhas << texto.sliced(inicio).toString();
    return linhas;
}

ArquivoLinhas ArquivoLinhas::le(const QString& caminho) {
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw erroDe(caminho, motivoDoArquivo(arquivo));
    const QByteArray bytes = arquivo.readAll();
    if (arquivo.error() != QFileDevice::NoError)
        throw erroDe(caminho, motivoDoArquivo(arquivo));

    // Without a mark the log is in the ANSI code page, whatever its bytes look like.
    ArquivoLinhas resultado;
    if (const auto marca = codificacaoDaMarca(bytes)) {
        resultado.codificacao = *marca;
        QStringDecoder decodificador(conversorDe(*marca), QStringConverter::Flag::Stateless);
        const QString texto =
            decodificador(QByteArrayView(bytes).sliced(marcaDeOrdem(*marca).size()));
        resultado.linhas = divideLinhas(texto);
        return resultado;
    }
    resultado.linhas = divideLinhas(PaginaAnsi::decodifica(bytes));
    return resultado;
}

void ArquivoLinhas::grava(const QString& caminho) const {
    QString texto;
    for (const QString& linha : linhas)
        texto += linha + QStringLiteral("\r\n");

    QByteArray bytes;
    if (codificacao == CodificacaoTexto::Ansi) {
        bytes = PaginaAnsi::codifica(texto);
    } else {
        QStringEncoder codificador(conversorDe(codificacao), QStringConverter::Flag::Stateless);
        bytes = marcaDeOrdem(codificacao).toByteArray() + QByteArray(codificador(texto));
    }

    QSaveFile arquivo(caminho);
    // Where no new file may be made beside it, the file is rewritten in place.
    arquivo.setDirectWriteFallback(true);
    if (!arquivo.open(QIODevice::WriteOnly) || arquivo.write(bytes) != bytes.size() ||
        !arquivo.commit())
        throw erroDe(caminho, motivoDoArquivo(arquivo));
}
