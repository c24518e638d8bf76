// The INI reader and writer, on a file holding the input.
// Property: no crash; reading is refused only with a message; a value written reads back
// as written, and a key of another section keeps its value.

#include "fuzz/Alvo.h"
#include "framework/ArquivoIni.h"
#include "valores/Erros.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const QByteArray entrada = bytesDe(dados, tamanho);
    const QString arquivo = arquivoComEntrada(QStringLiteral("BELQOR.ini"), entrada);
    const QString detalhe = QString::fromUtf8(entrada);
    try {
        const QString outra = ArquivoIni::leValor(arquivo, QStringLiteral("BELQOR"),
                                                  QStringLiteral("Versao"), QStringLiteral("-"));
        ArquivoIni::gravaValor(arquivo, QStringLiteral("Fuzz"), QStringLiteral("Chave"),
                               QStringLiteral("valor escrito"));
        EXIGE(ArquivoIni::leValor(arquivo, QStringLiteral("Fuzz"), QStringLiteral("Chave")) ==
                  QStringLiteral("valor escrito"),
              detalhe);
        EXIGE(ArquivoIni::leValor(arquivo, QStringLiteral("BELQOR"), QStringLiteral("Versao"),
                                  QStringLiteral("-")) == outra,
              detalhe);
    } catch (const ErroBelqor& e) {
        EXIGE(!e.mensagem().isEmpty(), detalhe);
    }
    return 0;
}
