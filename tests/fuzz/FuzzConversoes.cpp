// Text to number and text to date, under the Brazilian regional settings.
// Property: a text is either read or refused with the conversion's error (ErroConversao),
// never anything else; a value read comes back the same from its own text (amounts through
// their decimal text, dates and times through the short date pattern and the long time).

#include "fuzz/Alvo.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"

#include <optional>

namespace {

template <typename Funcao> auto converte(Funcao funcao) -> std::optional<decltype(funcao())> {
    try {
        return funcao();
    } catch (const ErroConversao&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const QString texto = QString::fromUtf8(bytesDe(dados, tamanho));

    Estendido tentado = 0;
    const bool tentou = Formato::tentaTextoParaEstendido(texto, tentado);
    const auto estendido = converte([&] { return Formato::textoParaEstendido(texto); });
    EXIGE(tentou == estendido.has_value(), texto);

    if (const auto moeda = converte([&] { return Formato::textoParaMoeda(texto); })) {
        ConfiguracaoRegional ponto = ConfiguracaoRegional::brasileira();
        ponto.separadorDecimal = QLatin1Char('.');
        const QString decimal = moeda->textoDecimal();
        EXIGE(Formato::textoParaMoeda(decimal, ponto) == *moeda, texto + " -> " + decimal);
    }

    if (const auto data = converte([&] { return Formato::textoParaData(texto); })) {
        const QString escrito = Formato::dataParaTexto(*data);
        EXIGE(Formato::textoParaData(escrito) == *data, texto + " -> " + escrito);
    }

    if (const auto momento = converte([&] { return Formato::textoParaDataHora(texto); })) {
        const QString escrito = Formato::dataHoraParaTexto(*momento);
        EXIGE(Formato::textoParaDataHora(escrito) == *momento, texto + " -> " + escrito);
    }
    return 0;
}
