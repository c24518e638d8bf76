#include "framework/Maquina.h"

#include "valores/Erros.h"
#include "sistema/MotivosFalha.h"

#include <QFile>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/statfs.h>
#include <sys/sysinfo.h>
#include <unistd.h>

namespace {

[[noreturn]] void falhaDoSistema(int erro) {
    throw ErroBelqor(motivoDoSistema(erro));
}

} // namespace

namespace Maquina {

QString nomeComputador() {
    char nome[256] = {};
    if (gethostname(nome, sizeof nome - 1) != 0)
        falhaDoSistema(errno);
    return QString::fromLocal8Bit(nome);
}

QStringList enderecosIPv4(const QString& host) {
    addrinfo dica{};
    dica.ai_family = AF_INET;
    dica.ai_socktype = SOCK_STREAM;
    addrinfo* lista = nullptr;
    const int codigo = getaddrinfo(host.toLocal8Bit().constData(), nullptr, &dica, &lista);
    if (codigo == EAI_NONAME || codigo == EAI_NODATA)
        return {};
    if (codigo == EAI_SYSTEM)
        falhaDoSistema(errno);
    if (codigo == EAI_MEMORY)
        falhaDoSistema(ENOMEM);
    if (codigo != 0)
        throw ErroBelqor(
            codigo == EAI_AGAIN
                ? QStringLiteral("falha temporária na resolução do nome")
                : QStringLiteral("falha na resolução do nome (código %1)").arg(codigo));
    QStringList enderecos;
    for (const addrinfo* a = lista; a; a = a->ai_next) {
        char texto[INET_ADDRSTRLEN] = {};
        const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
        if (inet_ntop(AF_INET, &ipv4->sin_addr, texto, sizeof texto))
            enderecos << QString::fromLatin1(texto);
    }
    freeaddrinfo(lista);
    return enderecos;
}

std::uint32_t numeroSerieVolume(const QString& caminho) {
    struct statfs info {};
    if (statfs(QFile::encodeName(caminho).constData(), &info) != 0)
        falhaDoSistema(errno);
    std::uint32_t serie = 0;
    static_assert(sizeof info.f_fsid >= sizeof serie);
    std::memcpy(&serie, &info.f_fsid, sizeof serie);
    return serie;
}

std::int64_t memoriaFisicaDisponivel() {
    struct sysinfo info {};
    if (sysinfo(&info) != 0)
        falhaDoSistema(errno);
    return (static_cast<std::int64_t>(info.freeram) + static_cast<std::int64_t>(info.bufferram)) *
           static_cast<std::int64_t>(info.mem_unit);
}

} // namespace Maquina
