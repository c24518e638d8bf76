#include "widgets/TradutorTextosPadrao.h"

#include "dialogos/TextosPadrao.h"

#include <cstring>

namespace {

struct TextoQt {
    const char* origem;
    TextoPadrao texto;
};

// Qt's button captions and the table entry that stands for each.
constexpr TextoQt TextosQt[] = {
    {"OK", TextoPadrao::BotaoOk},
    {"&Yes", TextoPadrao::BotaoSim},
    {"&No", TextoPadrao::BotaoNao},
    {"Cancel", TextoPadrao::BotaoCancelar},
    {"Abort", TextoPadrao::BotaoAbortar},
    {"Retry", TextoPadrao::BotaoRepetir},
    {"Ignore", TextoPadrao::BotaoIgnorar},
    {"Yes to &All", TextoPadrao::BotaoSimParaTodos},
    {"N&o to All", TextoPadrao::BotaoNaoParaTodos},
    {"Help", TextoPadrao::BotaoAjuda},
};

} // namespace

QString TradutorTextosPadrao::translate(const char* contexto, const char* origem,
                                        const char* desambiguacao, int n) const {
    Q_UNUSED(desambiguacao);
    Q_UNUSED(n);
    if (!contexto || !origem || std::strcmp(contexto, "QPlatformTheme") != 0)
        return {};
    for (const auto& t : TextosQt)
        if (std::strcmp(origem, t.origem) == 0)
            return TextosPadraoTabela::texto(t.texto);
    return {};
}
