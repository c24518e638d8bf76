// The table filter: the text parsed as a filter of a three-row rate table and applied.
// Property: no crash and no read out of bounds; a refused filter is a message for the user
// (an ErroBelqor) and leaves every row in place.

#include "fuzz/Alvo.h"
#include "valores/Erros.h"
#include "tabela/TabelaMemoria.h"

namespace {

DefinicaoCampo campo(const char* nome, TipoCampo tipo) {
    DefinicaoCampo d;
    d.nome = QString::fromLatin1(nome);
    d.tipo = tipo;
    return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const QString texto = QString::fromUtf8(bytesDe(dados, tamanho));
    TabelaMemoria t(QStringLiteral("Filtrada"));
    Campo* data = t.adicionaCampo(campo("Data", TipoCampo::Data));
    Campo* valor = t.adicionaCampo(campo("Valor", TipoCampo::Flutuante));
    Campo* quantia = t.adicionaCampo(campo("Quantia", TipoCampo::Moeda));
    t.criaVazia();
    for (int mes = 1; mes <= 3; ++mes) {
        t.acrescentar();
        data->defineDataHora(Datas::codificaData(2014, mes, 1));
        valor->defineFloat(0.5 * mes);
        quantia->defineValor(QVariant::fromValue<qint64>(mes * 10000LL));
        t.gravar();
    }
    try {
        t.defineFiltro(texto);
        t.defineFiltrado(true);
        EXIGE(t.quantidade() <= 3, texto);
    } catch (const ErroBelqor& e) {
        EXIGE(!e.mensagem().isEmpty(), texto);
    }
    t.defineFiltrado(false);
    EXIGE(t.quantidade() == 3, texto);
    return 0;
}
