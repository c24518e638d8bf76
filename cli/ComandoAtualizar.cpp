#include "cli/ComandoAtualizar.h"

#include "refresh/AtualizacaoBancoCentral.h"
#include "framework/ConfigApp.h"
#include "cli/SessaoCli.h"

#include <QtGlobal>

int comandoAtualizar(SessaoCli& sessao, const QStringList& argumentos, const QString& url) {
    if (!argumentos.isEmpty()) {
        sessao.erro << "Uso: belqor-cli atualizar [--url ENDEREÇO]" << Qt::endl;
        return 2;
    }
    DestinoBancoCentral destino = DestinoBancoCentral::padrao();
    if (!url.isEmpty())
        destino.endereco = url;
    destino.opcoes.arquivoCertificados = qEnvironmentVariable("BELQOR_CERTIFICADOS");
    sessao.abreTabelaParaGravar();
    const ResultadoSerie resultado =
        AtualizacaoBancoCentral(sessao.dados(), sessao.relogio(), destino).executa();
    return informaResultadoSerie(sessao, resultado);
}

int informaResultadoSerie(SessaoCli& sessao, const ResultadoSerie& resultado) {
    sessao.fechaTabela();
    QStringList linhas = linhasResultado(resultado);
    if (!resultado.Falha.isEmpty())
        linhas.removeLast();
    for (const QString& linha : linhas)
        sessao.saida << linha << '\n';
    sessao.saida.flush();
    // The failure may quote a document's text: a line break in it would forge a line.
    if (!resultado.Falha.isEmpty())
        sessao.erro << emUmaLinha(resultado.Falha) << Qt::endl;
    const bool semRessalva = resultado.Falha.isEmpty() &&
                             resultado.meses(SituacaoMes::OutraTaxa).isEmpty() &&
                             resultado.meses(SituacaoMes::Recusado).isEmpty();
    return semRessalva ? 0 : 1;
}
