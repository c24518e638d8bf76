#include "framework/NURFWUtils.h"

#include "dialogos/Dialogos.h"
#include "valores/Erros.h"
#include "framework/Maquina.h"

#include <exception>

namespace {

QString mensagemComMotivo(const char* texto, const std::exception& e) {
    return QString::fromUtf8(texto) + QStringLiteral("\r\n") + mensagemDe(e);
}

} // namespace

QString TNURUtils::GetLocalIP(Dialogos& dialogos) {
    try {
        const QStringList enderecos = Maquina::enderecosIPv4(Maquina::nomeComputador());
        return enderecos.isEmpty() ? QString() : enderecos.last();
    } catch (const std::exception& e) {
        dialogos.mensagemComTitulo(mensagemComMotivo("Não foi possível captura IP.", e),
                                   QStringLiteral("Recuperação de IP"));
        return {};
    }
}

QString TNURUtils::GetComputerName(Dialogos& dialogos) {
    try {
        return Maquina::nomeComputador();
    } catch (const std::exception&) {
        dialogos.mensagemComTitulo(QStringLiteral("Erro ao ler registro do Windows"),
                                   QStringLiteral("Registro"));
        return {};
    }
}

QString TNURUtils::GetHDVolume(const QString& FDrive, Dialogos& dialogos) {
    try {
        if (FDrive.isEmpty())
            throw ErroBelqor(QStringLiteral("Unidade não informada."));
        return QStringLiteral("%1")
            .arg(Maquina::numeroSerieVolume(FDrive), 8, 16, QLatin1Char('0'))
            .toUpper();
    } catch (const std::exception& e) {
        dialogos.mensagemComTitulo(mensagemComMotivo("Não foi possível capturar HD ID", e),
                                   QStringLiteral("Número HD"));
        return {};
    }
}

qint64 TNURUtils::TotalMemoriaRAMDisp() {
    try {
        return Maquina::memoriaFisicaDisponivel();
    } catch (const std::exception&) {
        return 0;
    }
}
