#pragma once

#include "service/DestinoServico.h"

#include <QByteArray>

struct RespostaHttp {
    long status = 0;
    QByteArray corpo;
};

// Posts a SOAP 1.1 request (text/xml in UTF-8, empty SOAP action) and returns the answer,
// whatever its status. A transport failure throws FalhaServico (SEM_CONEXAO), with the
// reason in Portuguese.
RespostaHttp postaSoap(const DestinoServico& destino, const QByteArray& pedido);
