#include "service/DestinosAtualizacao.h"

DestinosAtualizacao DestinosAtualizacao::padrao() {
    DestinosAtualizacao destinos;
    destinos.hostPublico = QStringLiteral(BELQOR_HOST_PUBLICO);
    destinos.hostIntranet = QStringLiteral(BELQOR_HOST_INTRANET);
    destinos.servicoIntranet = QStringLiteral(BELQOR_SERVICO_INTRANET);
    destinos.servicoInternet = QStringLiteral(BELQOR_SERVICO_INTERNET);
    destinos.espacoNomes = QStringLiteral(BELQOR_SERVICO_ESPACO_NOMES);
    return destinos;
}

OpcoesSonda DestinosAtualizacao::opcoesSonda() const {
    OpcoesSonda opcoes;
    opcoes.arquivoCertificados = arquivoCertificados;
    opcoes.tempoConexao = tempoConexao;
    opcoes.tempoRecepcao = tempoRecepcaoSonda;
    return opcoes;
}
