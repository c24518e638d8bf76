#include "service/AtualizacaoBelqorService.h"

#include "service/DestinoServico.h"
#include "service/EnvelopeSoap.h"
#include "service/FalhaServico.h"
#include "service/PostagemHttp.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <optional>

namespace {

DestinoServico destinoEmbutido(int32_t rede) {
    DestinoServico destino;
    destino.endereco =
        rede == ATUALIZACAO_BELQOR_INTRANET ? BELQOR_SERVICO_INTRANET : BELQOR_SERVICO_INTERNET;
    destino.espacoNomes = BELQOR_SERVICO_ESPACO_NOMES;
    return destino;
}

bool redeValida(int32_t rede) {
    return rede == ATUALIZACAO_BELQOR_INTRANET || rede == ATUALIZACAO_BELQOR_INTERNET;
}

std::mutex travaDestinos;
DestinoServico destinos[2] = {destinoEmbutido(ATUALIZACAO_BELQOR_INTRANET),
                              destinoEmbutido(ATUALIZACAO_BELQOR_INTERNET)};

DestinoServico destinoAtual(int32_t rede) {
    std::lock_guard<std::mutex> trava(travaDestinos);
    return destinos[rede];
}

char16_t* copiaTexto(const QString& texto) {
    auto* copia = new char16_t[size_t(texto.size()) + 1];
    std::copy_n(reinterpret_cast<const char16_t*>(texto.utf16()), texto.size() + 1, copia);
    return copia;
}

int32_t reporta(int32_t status, const QString& mensagem, char16_t** mensagemErro) {
    if (mensagemErro) {
        try {
            *mensagemErro = copiaTexto(mensagem);
        } catch (const std::bad_alloc&) {
            *mensagemErro = nullptr;
        }
    }
    return status;
}

QString falhaSoap(const RespostaSoap& resposta) {
    QString texto = resposta.textoFalha.isEmpty()
                        ? QStringLiteral("O serviço de atualização de índices recusou o pedido.")
                        : QStringLiteral("O serviço de atualização de índices recusou o pedido: %1")
                              .arg(resposta.textoFalha);
    if (!resposta.codigoFalha.isEmpty())
        texto += QStringLiteral(" (código %1)").arg(resposta.codigoFalha);
    return texto;
}

QString erroHttp(long status) {
    return QStringLiteral("O serviço de atualização de índices respondeu com o erro HTTP %1.")
        .arg(status);
}

// A SOAP fault travels with status 500; any other error status, or a 500 whose body is
// not a fault, is an HTTP error.
std::optional<QString> documentoDaResposta(const RespostaHttp& http) {
    const bool sucesso = http.status >= 200 && http.status < 300;
    RespostaSoap soap;
    try {
        soap = leRespostaSoap(http.corpo);
    } catch (const FalhaServico&) {
        if (sucesso)
            throw;
        throw FalhaServico{ATUALIZACAO_BELQOR_ERRO_HTTP, erroHttp(http.status)};
    }
    if (soap.falha)
        throw FalhaServico{ATUALIZACAO_BELQOR_FALHA_SOAP, falhaSoap(soap)};
    if (!sucesso)
        throw FalhaServico{ATUALIZACAO_BELQOR_ERRO_HTTP, erroHttp(http.status)};
    return soap.resultado;
}

int32_t retornaUltimoIndice(int32_t rede, const char16_t* ultimaDataSelic, char16_t** resultado,
                            char16_t** mensagemErro) {
    if (mensagemErro)
        *mensagemErro = nullptr;
    try {
        if (!resultado)
            return reporta(
                ATUALIZACAO_BELQOR_ARGUMENTO_INVALIDO,
                QStringLiteral("O serviço de atualização de índices foi chamado sem lugar "
                               "para o resultado."),
                mensagemErro);
        *resultado = nullptr;
        const QString data = ultimaDataSelic ? QString::fromUtf16(ultimaDataSelic) : QString();
        const DestinoServico destino = destinoAtual(rede);
        const std::optional<QString> documento =
            documentoDaResposta(postaSoap(destino, montaPedidoSoap(destino.espacoNomes, data)));
        if (documento)
            *resultado = copiaTexto(*documento);
        return ATUALIZACAO_BELQOR_OK;
    } catch (const FalhaServico& falha) {
        return reporta(falha.status, falha.mensagem, mensagemErro);
    } catch (const std::bad_alloc&) {
        return reporta(
            ATUALIZACAO_BELQOR_ERRO_INTERNO,
            QStringLiteral("Memória insuficiente para consultar o serviço de atualização "
                           "de índices."),
            mensagemErro);
    } catch (...) {
        return reporta(ATUALIZACAO_BELQOR_ERRO_INTERNO,
                       QStringLiteral("Falha inesperada ao consultar o serviço de atualização de "
                                      "índices."),
                       mensagemErro);
    }
}

} // namespace

extern "C" {

int32_t retornaUltimoIndiceSELIC_INTRANET(const char16_t* ultimaDataSelic, char16_t** resultado,
                                          char16_t** mensagemErro) {
    return retornaUltimoIndice(ATUALIZACAO_BELQOR_INTRANET, ultimaDataSelic, resultado,
                               mensagemErro);
}

int32_t retornaUltimoIndiceSELIC_INTERNET(const char16_t* ultimaDataSelic, char16_t** resultado,
                                          char16_t** mensagemErro) {
    return retornaUltimoIndice(ATUALIZACAO_BELQOR_INTERNET, ultimaDataSelic, resultado,
                               mensagemErro);
}

void liberaTextoAtualizacaoBelqor(char16_t* texto) {
    delete[] texto;
}

int32_t defineDestinoAtualizacaoBelqor(int32_t rede, const DestinoAtualizacaoBelqor* destino) {
    if (!redeValida(rede) ||
        (destino && (destino->tempoConexaoMs < 0 || destino->tempoTotalMs < 0)))
        return ATUALIZACAO_BELQOR_ARGUMENTO_INVALIDO;
    try {
        DestinoServico novo = destinoEmbutido(rede);
        if (destino) {
            if (destino->endereco && destino->endereco[0])
                novo.endereco = destino->endereco;
            if (destino->espacoNomes && destino->espacoNomes[0])
                novo.espacoNomes = destino->espacoNomes;
            if (destino->arquivoCertificados)
                novo.arquivoCertificados = destino->arquivoCertificados;
            if (destino->tempoConexaoMs > 0)
                novo.tempoConexaoMs = destino->tempoConexaoMs;
            if (destino->tempoTotalMs > 0)
                novo.tempoTotalMs = destino->tempoTotalMs;
        }
        std::lock_guard<std::mutex> trava(travaDestinos);
        destinos[rede] = std::move(novo);
        return ATUALIZACAO_BELQOR_OK;
    } catch (...) {
        return ATUALIZACAO_BELQOR_ERRO_INTERNO;
    }
}
}
