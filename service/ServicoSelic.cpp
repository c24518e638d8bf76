#include "service/ServicoSelic.h"

#include "service/AtualizacaoBelqorService.h"

#include <memory>
#include <utility>

namespace {

struct LiberaTexto {
    void operator()(char16_t* texto) const { liberaTextoAtualizacaoBelqor(texto); }
};
using TextoDaBiblioteca = std::unique_ptr<char16_t, LiberaTexto>;

using PontoDeEntrada = int32_t (*)(const char16_t*, char16_t**, char16_t**);

QString chama(PontoDeEntrada pontoDeEntrada, const QString& ultimaDataSelic) {
    const char16_t* data = ultimaDataSelic.isEmpty()
                               ? nullptr
                               : reinterpret_cast<const char16_t*>(ultimaDataSelic.utf16());
    char16_t* resultado = nullptr;
    char16_t* mensagem = nullptr;
    const int32_t status = pontoDeEntrada(data, &resultado, &mensagem);
    const TextoDaBiblioteca documento(resultado);
    const TextoDaBiblioteca erro(mensagem);
    if (status != ATUALIZACAO_BELQOR_OK) {
        throw ErroServicoAtualizacao(
            status, erro ? QString::fromUtf16(erro.get())
                         : QStringLiteral("O serviço de atualização de índices falhou (código %1).")
                               .arg(status));
    }
    return documento ? QString::fromUtf16(documento.get()) : QString();
}

void defineDestino(int32_t rede, const QString& endereco, const DestinosAtualizacao& destinos) {
    const QByteArray enderecoUtf8 = endereco.toUtf8();
    const QByteArray espacoNomes = destinos.espacoNomes.toUtf8();
    const QByteArray certificados = destinos.arquivoCertificados.toLocal8Bit();
    DestinoAtualizacaoBelqor destino{};
    destino.endereco = enderecoUtf8.constData();
    destino.espacoNomes = espacoNomes.constData();
    destino.arquivoCertificados = certificados.constData();
    destino.tempoConexaoMs = int32_t(destinos.tempoConexao.count());
    destino.tempoTotalMs = int32_t(destinos.tempoTotalServico.count());
    const int32_t status = defineDestinoAtualizacaoBelqor(rede, &destino);
    if (status != ATUALIZACAO_BELQOR_OK)
        throw ErroServicoAtualizacao(
            status,
            QStringLiteral("O endereço do serviço de atualização de índices \"%1\" não foi aceito.")
                .arg(endereco));
}

} // namespace

ErroServicoAtualizacao::ErroServicoAtualizacao(int32_t status, QString mensagem)
    : ErroBelqor(std::move(mensagem)), fStatus(status) {}

ServicoSelic::ServicoSelic(const DestinosAtualizacao& destinos) {
    defineDestino(ATUALIZACAO_BELQOR_INTRANET, destinos.servicoIntranet, destinos);
    defineDestino(ATUALIZACAO_BELQOR_INTERNET, destinos.servicoInternet, destinos);
}

QString ServicoSelic::retornaUltimoIndiceSELIC_INTRANET(const QString& ultimaDataSelic) const {
    return chama(::retornaUltimoIndiceSELIC_INTRANET, ultimaDataSelic);
}

QString ServicoSelic::retornaUltimoIndiceSELIC_INTERNET(const QString& ultimaDataSelic) const {
    return chama(::retornaUltimoIndiceSELIC_INTERNET, ultimaDataSelic);
}
