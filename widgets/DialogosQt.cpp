#include "widgets/DialogosQt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

struct BotaoCaixa {
    Botao botao;
    TextoPadrao texto;
    QMessageBox::StandardButton padrao;
};

// Buttons without a standard counterpart (the All button) go in as action buttons.
constexpr BotaoCaixa BotoesCaixa[] = {
    {Botao::Sim, TextoPadrao::BotaoSim, QMessageBox::Yes},
    {Botao::Nao, TextoPadrao::BotaoNao, QMessageBox::No},
    {Botao::Ok, TextoPadrao::BotaoOk, QMessageBox::Ok},
    {Botao::Cancelar, TextoPadrao::BotaoCancelar, QMessageBox::Cancel},
    {Botao::Abortar, TextoPadrao::BotaoAbortar, QMessageBox::Abort},
    {Botao::Repetir, TextoPadrao::BotaoRepetir, QMessageBox::Retry},
    {Botao::Ignorar, TextoPadrao::BotaoIgnorar, QMessageBox::Ignore},
    {Botao::Todos, TextoPadrao::BotaoTodos, QMessageBox::NoButton},
    {Botao::NaoParaTodos, TextoPadrao::BotaoNaoParaTodos, QMessageBox::NoToAll},
    {Botao::SimParaTodos, TextoPadrao::BotaoSimParaTodos, QMessageBox::YesToAll},
    {Botao::Ajuda, TextoPadrao::BotaoAjuda, QMessageBox::Help},
    {Botao::Fechar, TextoPadrao::BotaoFechar, QMessageBox::Close},
};

// The program's texts part their lines with line feed then carriage return; a label
// would show the carriage return, so both orders become one line break.
QString textoParaExibir(QString texto) {
    texto.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return texto;
}

QWidget* janelaDona() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

QMessageBox::Icon iconeDoTipo(TipoDialogo tipo) {
    switch (tipo) {
    case TipoDialogo::Aviso:
        return QMessageBox::Warning;
    case TipoDialogo::Erro:
        return QMessageBox::Critical;
    case TipoDialogo::Informacao:
        return QMessageBox::Information;
    case TipoDialogo::Confirmacao:
        return QMessageBox::Question;
    case TipoDialogo::Personalizado:
        break;
    }
    return QMessageBox::NoIcon;
}

void preparaCaixa(QMessageBox& caixa, const QString& titulo, const QString& texto,
                  QMessageBox::Icon icone) {
    caixa.setWindowTitle(titulo);
    caixa.setTextFormat(Qt::PlainText);
    caixa.setText(textoParaExibir(texto));
    caixa.setIcon(icone);
    caixa.setWindowModality(Qt::ApplicationModal);
}

} // namespace

void DialogosQt::mensagem(const QString& texto) {
    QMessageBox caixa(janelaDona());
    preparaCaixa(caixa, TextosPadraoTabela::tituloAplicacao(), texto, QMessageBox::NoIcon);
    caixa.addButton(QMessageBox::Ok)->setText(TextosPadraoTabela::texto(TextoPadrao::BotaoOk));
    caixa.exec();
}

void DialogosQt::mensagemComTitulo(const QString& texto, const QString& titulo) {
    QMessageBox caixa(janelaDona());
    preparaCaixa(caixa, titulo, texto, QMessageBox::NoIcon);
    caixa.addButton(QMessageBox::Ok);
    caixa.exec();
}

Resposta DialogosQt::dialogo(const QString& texto, TipoDialogo tipo, Botoes botoes) {
    QMessageBox caixa(janelaDona());
    preparaCaixa(caixa, tituloDoDialogo(tipo), texto, iconeDoTipo(tipo));
    QList<std::pair<QAbstractButton*, Botao>> criados;
    for (const auto& b : BotoesCaixa) {
        if (!(botoes & unsigned(b.botao)))
            continue;
        const QString legenda = TextosPadraoTabela::texto(b.texto);
        QPushButton* botao = b.padrao == QMessageBox::NoButton
                                 ? caixa.addButton(legenda, QMessageBox::ActionRole)
                                 : caixa.addButton(b.padrao);
        botao->setText(legenda);
        criados.append({botao, b.botao});
    }
    if (criados.isEmpty())
        caixa.addButton(QMessageBox::Ok)->setText(TextosPadraoTabela::texto(TextoPadrao::BotaoOk));
    caixa.exec();
    for (const auto& [botao, qual] : criados)
        if (caixa.clickedButton() == botao)
            return respostaDoBotao(qual);
    return caixa.clickedButton() && criados.isEmpty() ? Resposta::Ok : Resposta::Nenhuma;
}

void DialogosQt::relatorioErro(const QString& texto) {
    QMessageBox caixa(janelaDona());
    preparaCaixa(caixa, TextosPadraoTabela::tituloAplicacao(), texto, QMessageBox::Critical);
    caixa.addButton(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    caixa.exec();
}
