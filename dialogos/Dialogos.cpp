#include "dialogos/Dialogos.h"

#include "valores/Erros.h"

#include <stdexcept>

bool Dialogos::confirma(const QString& texto) {
    return dialogo(texto, TipoDialogo::Confirmacao, Botao::Sim | Botao::Nao) == Resposta::Sim;
}

void Dialogos::erro(const QString& texto) {
    dialogo(texto, TipoDialogo::Erro, Botoes(Botao::Ok));
}

QString tituloDoDialogo(TipoDialogo tipo) {
    using namespace TextosPadraoTabela;
    switch (tipo) {
    case TipoDialogo::Aviso:
        return texto(TextoPadrao::TituloAviso);
    case TipoDialogo::Erro:
        return texto(TextoPadrao::TituloErro);
    case TipoDialogo::Informacao:
        return texto(TextoPadrao::TituloInformacao);
    case TipoDialogo::Confirmacao:
        return texto(TextoPadrao::TituloConfirmacao);
    case TipoDialogo::Personalizado:
        break;
    }
    return tituloAplicacao();
}

namespace {

struct DefinicaoBotao {
    Botao botao;
    TextoPadrao texto;
    Resposta resposta;
};

// In the order the dialogs lay them out.
constexpr DefinicaoBotao Definicoes[] = {
    {Botao::Sim, TextoPadrao::BotaoSim, Resposta::Sim},
    {Botao::Nao, TextoPadrao::BotaoNao, Resposta::Nao},
    {Botao::Ok, TextoPadrao::BotaoOk, Resposta::Ok},
    {Botao::Cancelar, TextoPadrao::BotaoCancelar, Resposta::Cancelar},
    {Botao::Abortar, TextoPadrao::BotaoAbortar, Resposta::Abortar},
    {Botao::Repetir, TextoPadrao::BotaoRepetir, Resposta::Repetir},
    {Botao::Ignorar, TextoPadrao::BotaoIgnorar, Resposta::Ignorar},
    {Botao::Todos, TextoPadrao::BotaoTodos, Resposta::Todos},
    {Botao::NaoParaTodos, TextoPadrao::BotaoNaoParaTodos, Resposta::NaoParaTodos},
    {Botao::SimParaTodos, TextoPadrao::BotaoSimParaTodos, Resposta::SimParaTodos},
    {Botao::Ajuda, TextoPadrao::BotaoAjuda, Resposta::Ajuda},
    {Botao::Fechar, TextoPadrao::BotaoFechar, Resposta::Fechar},
};

} // namespace

QStringList legendasDosBotoes(Botoes botoes) {
    QStringList legendas;
    for (const auto& d : Definicoes)
        if (botoes & unsigned(d.botao))
            legendas << TextosPadraoTabela::texto(d.texto);
    return legendas;
}

Resposta respostaDoBotao(Botao botao) {
    for (const auto& d : Definicoes)
        if (d.botao == botao)
            return d.resposta;
    return Resposta::Nenhuma;
}

void executaProtegido(Dialogos& dialogos, const std::function<void()>& corpo) {
    try {
        corpo();
    } catch (const AbortoSilencioso&) {
    } catch (const std::exception& e) {
        dialogos.relatorioErro(mensagemDe(e));
    } catch (...) {
        dialogos.relatorioErro(QStringLiteral("Erro desconhecido."));
    }
}
