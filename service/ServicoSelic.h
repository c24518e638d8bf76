#pragma once

#include "service/DestinosAtualizacao.h"
#include "valores/Erros.h"

#include <QString>

#include <cstdint>

// A failure the rate service library reported, with its status (StatusAtualizacaoBelqor).
class ErroServicoAtualizacao : public ErroBelqor {
public:
    ErroServicoAtualizacao(int32_t status, QString mensagem);
    int32_t status() const noexcept { return fStatus; }

private:
    int32_t fStatus;
};

// The program's side of the rate service library: the last date held goes in as the
// library expects it (null for empty text), the document comes back as a QString (empty
// when the library returned none) and the library's text is released here.
class ServicoSelic {
public:
    // Points the library's two entry points at these destinations for the rest of the
    // process. Throws ErroServicoAtualizacao when the library refuses them.
    explicit ServicoSelic(const DestinosAtualizacao& destinos);

    // The rate document through the intranet or the internet. A failure of the library
    // throws ErroServicoAtualizacao with its message.
    QString retornaUltimoIndiceSELIC_INTRANET(const QString& ultimaDataSelic) const;
    QString retornaUltimoIndiceSELIC_INTERNET(const QString& ultimaDataSelic) const;
};
