#include "cli/SessaoCli.h"

#include "calc/DocumentoMemoria.h"
#include "historico/RegistradorHistorico.h"
#include "valores/Erros.h"
#include "refresh/MesesDaTabelaPadrao.h"

SessaoCli::SessaoCli(QTextStream& saida, QTextStream& erro, std::unique_ptr<Relogio> relogio,
                     const QString& arquivoTabela)
    : saida(saida), erro(erro), fRelogio(std::move(relogio)), fDialogos(erro),
      fDados(*fRelogio, fDialogos) {
    fDados.ArqDados = arquivoTabela;
}

SessaoCli::~SessaoCli() = default;

void SessaoCli::abreTabela() {
    fDados.AbreTabela();
}

void SessaoCli::abreTabelaParaGravar() {
    constexpr int EsperaMs = 5000;
    if (!fDados.reservaTabela(fDados.ArqDados, EsperaMs))
        throw AbortoSilencioso();
    abreTabela();
    // A notice beside the command's own result, which standard output keeps alone.
    const QStringList linhas = linhasTabelaPadrao(incluiMesesDaTabelaPadrao(fDados, *fRelogio));
    for (const QString& linha : linhas)
        erro << linha << '\n';
    erro.flush();
}

void SessaoCli::fechaTabela() {
    fDados.FechaTabela();
}

void SessaoCli::gravaPdf(const QString& caminho, const ResultadoCalculo& resultado,
                         const MemoriaCalculo& memoria) {
    gravaPdfMemoria(caminho, {resultado, memoria, fRelogio->agora(), fDados.ConfigApp.Versao()});
}

std::optional<qint64> SessaoCli::registraCalculo(const ResultadoCalculo& resultado,
                                                 const MemoriaCalculo& memoria) {
    if (!fRegistrador)
        fRegistrador = std::make_unique<RegistradorHistorico>(
            RegistradorHistorico::aberturaDoPrograma(),
            [this](const QString& mensagem) { fDialogos.mensagem(mensagem); });
    return fRegistrador->registra(
        registroDeCalculo(resultado, memoria, fRelogio->agora(),
                          IdentidadeRegistro::doProcesso(fDados.ConfigApp.Versao())));
}
