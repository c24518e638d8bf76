#pragma once

#include "valores/Datas.h"

// The local clock. Production reads the system clock; tests pass a fixed one.
class Relogio {
public:
    virtual ~Relogio() = default;
    // Current local date and time.
    virtual DataHora agora() const = 0;
    // Today's date, without the time of day.
    DataHora hoje() const;
};

class RelogioSistema : public Relogio {
public:
    DataHora agora() const override;
};

class RelogioFixo : public Relogio {
public:
    explicit RelogioFixo(DataHora momento = 0) : fMomento(momento) {}
    DataHora agora() const override { return fMomento; }
    void define(DataHora momento) { fMomento = momento; }

private:
    DataHora fMomento;
};
