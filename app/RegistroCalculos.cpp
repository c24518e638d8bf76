#include "app/RegistroCalculos.h"

#include "calc/TfrmCalcular.h"
#include "dialogos/Dialogos.h"
#include "valores/Relogio.h"

RegistradorHistorico::Aviso avisoDoHistorico(Dialogos& dialogos) {
    return [&dialogos](const QString& mensagem) {
        dialogos.dialogo(mensagem, TipoDialogo::Aviso, unsigned(Botao::Ok));
    };
}

void registraCalculosDaJanela(TfrmCalcular& janela, RegistradorHistorico& registrador,
                              const Relogio& relogio, const QString& versao) {
    janela.defineAoCalcular([&registrador, &relogio,
                             identidade = IdentidadeRegistro::doProcesso(versao)](
                                const ResultadoCalculo& resultado, const MemoriaCalculo& memoria) {
        registrador.registra(registroDeCalculo(resultado, memoria, relogio.agora(), identidade));
    });
}
