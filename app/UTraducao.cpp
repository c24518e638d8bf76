#include "app/UTraducao.h"

#include <array>

namespace {

constexpr std::array<SubstituicaoTexto, 17> Substituicoes{{
    {TextoPadrao::BotaoSim, u"&Sim"},
    {TextoPadrao::BotaoOk, u"Ok"},
    {TextoPadrao::BotaoCancelar, u"Cancelar"},
    {TextoPadrao::BotaoNao, u"&Não"},
    {TextoPadrao::TituloAviso, u"Aviso"},
    {TextoPadrao::TituloErro, u"Erro"},
    {TextoPadrao::TituloInformacao, u"Informação"},
    {TextoPadrao::TituloConfirmacao, u"Confirme"},
    {TextoPadrao::BotaoAjuda, u"&Ajuda"},
    {TextoPadrao::SemArquivoAjuda, u"Não há arquivo de ajuda"},
    {TextoPadrao::TituloAjuda, u"Ajuda"},
    {TextoPadrao::BotaoAbortar, u"&Abortar"},
    {TextoPadrao::BotaoRepetir, u"&Repetir"},
    {TextoPadrao::BotaoIgnorar, u"&Ignorar"},
    {TextoPadrao::BotaoTodos, u"&Todos"},
    {TextoPadrao::BotaoNaoParaTodos, u"N&ão para Todos"},
    {TextoPadrao::BotaoSimParaTodos, u"Sim pata &Todos"},
}};

} // namespace

void TrocaTextoPadrao(TextoPadrao registro, const QString& texto) {
    TextosPadraoTabela::troca(registro, texto);
}

std::span<const SubstituicaoTexto> substituicoesPadrao() {
    return Substituicoes;
}

void inicializaTraducao() {
    // Start-up runs on the main thread before any other could exist: a plain flag is enough.
    static bool inicializada = false;
    if (inicializada)
        return;
    inicializada = true;
    for (const auto& s : Substituicoes)
        TrocaTextoPadrao(s.registro, QString::fromUtf16(s.texto));
}
