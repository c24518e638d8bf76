#pragma once

// The size no file of the test's own process may pass while a LimiteTamanho lives, so a
// write fails as on a full quota. The signal the limit raises is ignored meanwhile, so the
// write fails instead of ending the test.

#include <csignal>

#include <sys/resource.h>

class LimiteTamanho {
public:
    explicit LimiteTamanho(rlim_t bytes) {
        fSinal = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &fAnterior);
        rlimit pequeno = fAnterior;
        pequeno.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &pequeno);
    }
    ~LimiteTamanho() {
        setrlimit(RLIMIT_FSIZE, &fAnterior);
        std::signal(SIGXFSZ, fSinal);
    }
    LimiteTamanho(const LimiteTamanho&) = delete;
    LimiteTamanho& operator=(const LimiteTamanho&) = delete;

private:
    rlimit fAnterior{};
    void (*fSinal)(int) = nullptr;
};
