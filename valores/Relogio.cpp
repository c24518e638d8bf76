#include "valores/Relogio.h"

#include <cmath>

DataHora Relogio::hoje() const {
    return std::trunc(agora());
}

DataHora RelogioSistema::agora() const {
    return Datas::deQDateTime(QDateTime::currentDateTime());
}
