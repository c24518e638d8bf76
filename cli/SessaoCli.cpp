#include "SessaoCli.h"

#include "DocumentoMemoria.h"
#include "Erros.h"

SessaoCli::SessaoCli(QTextStream& saida, QTextStream& erro, std::unique_ptr<Relogio> relogio,
                     const QString& arquivoTabela)
    : saida(saida), erro(erro), fRelogio(std::move(relogio)), fDialogos(erro),
      fDados(*fRelogio, fDialogos) {
    fDados.ArqDados = arquivoTabela;
}

void SessaoCli::abreTabela() {
    fDados.AbreTabela();
}

void SessaoCli::abreTabelaParaGravar() {
    constexpr int EsperaMs = 5000;
    if (!fDados.reservaTabela(fDados.ArqDados, EsperaMs))
        throw AbortoSilencioso();
    abreTabela();
}

void SessaoCli::fechaTabela() {
    fDados.FechaTabela();
}

void SessaoCli::gravaPdf(const QString& caminho, const ResultadoCalculo& resultado,
                         const MemoriaCalculo& memoria) {
    gravaPdfMemoria(caminho, {resultado, memoria, fRelogio->agora(), fDados.ConfigApp.Versao()});
}
