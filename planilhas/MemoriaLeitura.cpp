#include "planilhas/MemoriaLeitura.h"

#include <algorithm>
#include <cstring>

bool MemoriaLeitura::open(OpenMode modo) {
    if (modo & QIODevice::WriteOnly)
        return false;
    return QIODevice::open(modo | QIODevice::Unbuffered);
}

bool MemoriaLeitura::seek(qint64 posicao) {
    if (posicao < 0 || posicao > fBytes.size())
        return false;
    return QIODevice::seek(posicao);
}

qint64 MemoriaLeitura::readData(char* dados, qint64 maximo) {
    const qint64 n = std::clamp<qint64>(fBytes.size() - pos(), 0, maximo);
    std::memcpy(dados, fBytes.constData() + pos(), std::size_t(n));
    return n;
}
