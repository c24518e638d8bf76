#pragma once

#include <QString>

#include <cstdint>

// A failure inside the service library, with the status and the message that cross the
// C interface in its place.
struct FalhaServico {
    int32_t status;
    QString mensagem;
};
