#include "framework/ArquivoLinhas.h"

#include "valores/Erros.h"
#include "sistema/MotivosFalha.h"
#include "sistema/PaginaAnsi.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

struct Marca {
    CodificacaoTexto codificacao;
    QByteArrayView bytes;
    QStringConverter::Encoding conversor;
};

// UTF-8 first: its mark shares no prefix with the UTF-16 ones.
const Marca Marcas[] = {
    {CodificacaoTexto::Utf8, QByteArrayView("\xEF\xBB\xBF", 3), QStringConverter::Utf8},
    {CodificacaoTexto::Utf16LE, QByteArrayView("\xFF\xFE", 2), QStringConverter::Utf16LE},
    {CodificacaoTexto::Utf16BE, QByteArrayView("\xFE\xFF", 2), QStringConverter::Utf16BE},
};

const Marca* marcaDe(CodificacaoTexto codificacao) {
    for (const Marca& m : Marcas)
        if (m.codificacao == codificacao)
            return &m;
    return nullptr;
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

    ArquivoLinhas resultado;
    for (const Marca& m : Marcas) {
        if (bytes.startsWith(m.bytes)) {
            resultado.codificacao = m.codificacao;
            QStringDecoder decodificador(m.conversor, QStringConverter::Flag::Stateless);
            const QString texto = decodificador(QByteArrayView(bytes).sliced(m.bytes.size()));
            resultado.linhas = divideLinhas(texto);
            return resultado;
        }
    }
    resultado.linhas = divideLinhas(PaginaAnsi::decodifica(bytes));
    return resultado;
}

void ArquivoLinhas::grava(const QString& caminho) const {
    QString texto;
    for (const QString& linha : linhas)
        texto += linha + QStringLiteral("\r\n");

    QByteArray bytes;
    if (const Marca* m = marcaDe(codificacao)) {
        QStringEncoder codificador(m->conversor, QStringConverter::Flag::Stateless);
        bytes = m->bytes.toByteArray() + QByteArray(codificador(texto));
    } else {
        bytes = PaginaAnsi::codifica(texto);
    }

    QSaveFile arquivo(caminho);
    // Where no new file may be made beside it, the file is rewritten in place.
    arquivo.setDirectWriteFallback(true);
    if (!arquivo.open(QIODevice::WriteOnly) || arquivo.write(bytes) != bytes.size() ||
        !arquivo.commit())
        throw erroDe(caminho, motivoDoArquivo(arquivo));
}
