#pragma once

#include <QByteArray>

// Where one entry point sends its request, resolved: every field holds a value.
struct DestinoServico {
    QByteArray endereco;
    QByteArray espacoNomes;
    QByteArray arquivoCertificados; // empty: the system's trust store
    long tempoConexaoMs = 10000;
    long tempoTotalMs = 60000;
};
