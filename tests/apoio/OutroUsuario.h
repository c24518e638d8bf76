#pragma once

// The system's administrator passes every permission check. While a ComoOutroUsuario lives,
// the process acts as the unprivileged user "nobody" instead, so that what may not be read
// or written refuses it as it refuses any user; for any other user nothing changes.

#include <QtGlobal>

#include <unistd.h>

class ComoOutroUsuario {
public:
    ComoOutroUsuario() : fAdministrador(::geteuid() == 0) {
        // Real and effective alike, as some checks ask the one and some the other; the saved
        // identity keeps the way back.
        if (fAdministrador && ::setresuid(65534, 65534, 0) != 0)
            qFatal("setresuid falhou");
    }
    ~ComoOutroUsuario() {
        if (fAdministrador && ::setresuid(0, 0, 0) != 0)
            qFatal("setresuid falhou");
    }
    ComoOutroUsuario(const ComoOutroUsuario&) = delete;
    ComoOutroUsuario& operator=(const ComoOutroUsuario&) = delete;

private:
    bool fAdministrador;
};
