#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// What the program asks of the machine it runs on. Each query throws ErroBelqor with the
// system's reason when the system refuses it.
namespace Maquina {

// The host name the system reports.
QString nomeComputador();

// The IPv4 addresses a host name resolves to, in the resolver's order; empty when the
// name has no address.
QStringList enderecosIPv4(const QString& host);

// The serial number of the file system that holds caminho: the 32 low bits of its
// file-system identifier.
std::uint32_t numeroSerieVolume(const QString& caminho);

// Physical memory the system can hand out at once (free plus buffers), in bytes.
std::int64_t memoriaFisicaDisponivel();

} // namespace Maquina
