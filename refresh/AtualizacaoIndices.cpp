#include "refresh/AtualizacaoIndices.h"

#include "ratetable/BQDataModule.h"
#include "refresh/BQrnSELIC.h"
#include "sistema/DocumentoXML.h"
#include "valores/Erros.h"
#include "service/ServicoSelic.h"
#include "rede/SondaUrl.h"

#include <utility>

// Lines are separated by a line feed followed by a carriage return.
const QString AtualizacaoIndices::TextoFalhaConexao =
    QStringLiteral("FALHA AO ATUALIZAR ÍNDICES\n\rNão foi possível conectar a internet. Verifique "
                   "suas conexões de rede.");
const QString AtualizacaoIndices::TextoFalhaGeral = QStringLiteral(
    "FALHA AO ATUALIZAR ÍNDICES\n\rCaso o erro persista, gentileza entrar em contato com a NUR "
    "enviando um print deste erro.\n\r");

AtualizacaoIndices::AtualizacaoIndices(TBQDataModule& dados, const Relogio& relogio,
                                       Dialogos& dialogos, DestinosAtualizacao destinos,
                                       MostraStatus mostraStatus, Pausa pausa)
    : fDados(dados), fRelogio(relogio), fDialogos(dialogos), fDestinos(std::move(destinos)),
      fMostraStatus(std::move(mostraStatus)), fPausa(std::move(pausa)) {}

bool AtualizacaoIndices::CheckUrl(const QString& url, bool https) const {
    return ::CheckUrl(url, https, fDestinos.opcoesSonda());
}

void AtualizacaoIndices::executa(const QString& arqDados) {
    try {
        passoProtegido(arqDados);
    } catch (const AbortoSilencioso&) {
    } catch (const std::exception& e) {
        fDialogos.erro(TextoFalhaGeral + mensagemDe(e));
    }
    fMostraStatus(QString());
}

void AtualizacaoIndices::passoProtegido(const QString& arqDados) {
    DocumentoXML xml;
    TSelicRN importacao(fDados, fRelogio);

    fDados.ArqDados = arqDados;
    fDados.AbreTabela();
    fMostraStatus(QStringLiteral("Atualizando Base de dados... Por favor aguarde!"));
    fPausa();

    if (!CheckUrl(fDestinos.urlSondaPublica(), true)) {
        fDialogos.erro(TextoFalhaConexao);
        return;
    }
    fMostraStatus(QStringLiteral("Atualizando Índices..."));
    fDados.CDSSelic.ultimo();
    const QString ultimaData = fDados.CDSSelicData->comoTexto();

    xml.Linhas.clear();
    xml.CriaNosAutomaticamente = false;
    if (CheckUrl(fDestinos.urlSondaIntranet(), false)) {
        xml.Linhas << ServicoSelic(fDestinos).retornaUltimoIndiceSELIC_INTRANET(ultimaData);
    } else if (CheckUrl(fDestinos.urlSondaPublica(), true)) {
        xml.Linhas << ServicoSelic(fDestinos).retornaUltimoIndiceSELIC_INTERNET(ultimaData);
    }
    importacao.ImportaTaxas(xml);
}
