#include "cli/DialogosConsole.h"

void DialogosConsole::mostra(const QString& texto) {
    fMostrados.append(texto);
    if (fMudo)
        return;
    // Dialog texts break their lines with line feed then carriage return.
    QString linhas = texto;
    linhas.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    fErro << linhas << Qt::endl;
}

void DialogosConsole::mensagem(const QString& texto) {
    mostra(texto);
}

void DialogosConsole::mensagemComTitulo(const QString& texto, const QString&) {
    mostra(texto);
}

Resposta DialogosConsole::dialogo(const QString& texto, TipoDialogo, Botoes botoes) {
    mostra(texto);
    if (botoes & unsigned(Botao::Nao))
        return Resposta::Nao;
    if (botoes & unsigned(Botao::Cancelar))
        return Resposta::Cancelar;
    if (botoes & unsigned(Botao::Ok))
        return Resposta::Ok;
    return Resposta::Nenhuma;
}

void DialogosConsole::relatorioErro(const QString& texto) {
    mostra(texto);
}
