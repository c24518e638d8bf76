#include "dialogos/TextosPadrao.h"

#include <QHash>

namespace {

QHash<TextoPadrao, QString> originais() {
    return {
        {TextoPadrao::BotaoSim, QStringLiteral("&Yes")},
        {TextoPadrao::BotaoOk, QStringLiteral("OK")},
        {TextoPadrao::BotaoCancelar, QStringLiteral("Cancel")},
        {TextoPadrao::BotaoNao, QStringLiteral("&No")},
        {TextoPadrao::TituloAviso, QStringLiteral("Warning")},
        {TextoPadrao::TituloErro, QStringLiteral("Error")},
        {TextoPadrao::TituloInformacao, QStringLiteral("Information")},
        {TextoPadrao::TituloConfirmacao, QStringLiteral("Confirm")},
        {TextoPadrao::BotaoAjuda, QStringLiteral("&Help")},
        {TextoPadrao::SemArquivoAjuda, QStringLiteral("No help available")},
        {TextoPadrao::TituloAjuda, QStringLiteral("Help")},
        {TextoPadrao::BotaoAbortar, QStringLiteral("&Abort")},
        {TextoPadrao::BotaoRepetir, QStringLiteral("&Retry")},
        {TextoPadrao::BotaoIgnorar, QStringLiteral("&Ignore")},
        {TextoPadrao::BotaoTodos, QStringLiteral("&All")},
        {TextoPadrao::BotaoNaoParaTodos, QStringLiteral("N&o to All")},
        {TextoPadrao::BotaoSimParaTodos, QStringLiteral("Yes to &All")},
        {TextoPadrao::BotaoFechar, QStringLiteral("&Close")},
        {TextoPadrao::PerguntaExcluirRegistro, QStringLiteral("Delete record?")},
    };
}

QHash<TextoPadrao, QString>& tabela() {
    static QHash<TextoPadrao, QString> t = originais();
    return t;
}

QString& titulo() {
    static QString t;
    return t;
}

} // namespace

namespace TextosPadraoTabela {

QString texto(TextoPadrao id) {
    return tabela().value(id);
}
void troca(TextoPadrao id, const QString& texto) {
    tabela()[id] = texto;
}
void restauraOriginais() {
    tabela() = originais();
}
QString tituloAplicacao() {
    return titulo();
}
void defineTituloAplicacao(const QString& t) {
    titulo() = t;
}

} // namespace TextosPadraoTabela
