#include "apoio/DialogosRoteiro.h"

#include "dialogos/TextosPadrao.h"

#include <stdexcept>

void DialogosRoteiro::mensagem(const QString& texto) {
    fRegistros.append({Registro::Mensagem, texto, TipoDialogo::Personalizado, Botoes(Botao::Ok),
                       TextosPadraoTabela::tituloAplicacao()});
}

void DialogosRoteiro::mensagemComTitulo(const QString& texto, const QString& titulo) {
    fRegistros.append(
        {Registro::Mensagem, texto, TipoDialogo::Personalizado, Botoes(Botao::Ok), titulo});
}

Resposta DialogosRoteiro::dialogo(const QString& texto, TipoDialogo tipo, Botoes botoes) {
    fRegistros.append({Registro::Dialogo, texto, tipo, botoes, tituloDoDialogo(tipo)});
    if (fRespostas.isEmpty()) {
        // A lone Ok button needs no answer from the script.
        if (botoes == Botoes(Botao::Ok))
            return Resposta::Ok;
        throw std::logic_error("DialogosRoteiro: diálogo sem resposta no roteiro: " +
                               texto.toStdString());
    }
    return fRespostas.takeFirst();
}

void DialogosRoteiro::relatorioErro(const QString& texto) {
    fRegistros.append({Registro::RelatorioErro, texto, TipoDialogo::Erro, Botoes(Botao::Ok),
                       TextosPadraoTabela::tituloAplicacao()});
}

QStringList DialogosRoteiro::textos() const {
    QStringList t;
    for (const auto& r : fRegistros)
        t << r.texto;
    return t;
}

void DialogosRoteiro::limpa() {
    fRegistros.clear();
    fRespostas.clear();
}
