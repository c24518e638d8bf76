#pragma once

#include <QString>

// The table of standard texts the dialogs take their titles and button captions from.
// It starts in English; the program's start-up replaces entries with Portuguese ones.
enum class TextoPadrao {
    BotaoSim,
    BotaoOk,
    BotaoCancelar,
    BotaoNao,
    TituloAviso,
    TituloErro,
    TituloInformacao,
    TituloConfirmacao,
    BotaoAjuda,
    SemArquivoAjuda,
    TituloAjuda,
    BotaoAbortar,
    BotaoRepetir,
    BotaoIgnorar,
    BotaoTodos,
    BotaoNaoParaTodos,
    BotaoSimParaTodos,
    BotaoFechar,
    PerguntaExcluirRegistro,
};

namespace TextosPadraoTabela {

QString texto(TextoPadrao id);
void troca(TextoPadrao id, const QString& texto);
// Back to the English table (for tests that need the untranslated state).
void restauraOriginais();

// The application title: the caption of plain message boxes and of the error report.
QString tituloAplicacao();
void defineTituloAplicacao(const QString& titulo);

} // namespace TextosPadraoTabela
