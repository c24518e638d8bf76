#include "valores/Erros.h"

#include <utility>

ErroBelqor::ErroBelqor(QString mensagem)
    : fMensagem(std::move(mensagem)), fUtf8(fMensagem.toUtf8()) {}

void aborta() {
    throw AbortoSilencioso();
}

QString mensagemDe(const std::exception& e) {
    if (auto* erro = dynamic_cast<const ErroBelqor*>(&e))
        return erro->mensagem();
    return QString::fromUtf8(e.what());
}
