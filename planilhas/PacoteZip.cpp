#include "planilhas/PacoteZip.h"

#include "planilhas/ErrosPlanilha.h"
#include "sistema/LeituraLimitada.h"
#include "valores/Formatacao.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

#include <algorithm>

namespace {

// The general purpose flag of a member encrypted by the zip format itself.
constexpr quint16 MembroCriptografado = 0x0001;

} // namespace

PacoteZip::PacoteZip(const QByteArray& bytes, QString nome, QString extensao)
    : fNome(std::move(nome)), fExtensao(std::move(extensao)), fBytes(bytes) {
    fZip = std::make_unique<QuaZip>(&fBytes);
    if (!fZip->open(QuaZip::mdUnzip))
        planilhaDanificada(fNome, QStringLiteral("o arquivo compactado está incompleto ou "
                                                 "corrompido"));
    if (fZip->getEntriesCount() > MaximoMembros)
        planilhaGrandeDemais(fNome, QStringLiteral("o arquivo compactado tem mais de %1 conteúdos")
                                        .arg(Formato::formataNumero(QStringLiteral("#,##0"),
                                                                    Estendido(MaximoMembros))));
}

PacoteZip::~PacoteZip() {
    if (fZip->isOpen())
        fZip->close();
}

bool PacoteZip::contem(const QString& membro) {
    return fZip->setCurrentFile(membro, QuaZip::csInsensitive);
}

QByteArray PacoteZip::le(const QString& membro) {
    if (!contem(membro))
        naoEPlanilha(fNome, fExtensao, QStringLiteral("falta o conteúdo %1").arg(membro));
    QuaZipFileInfo64 info;
    if (!fZip->getCurrentFileInfo(&info))
        danificado(membro, QStringLiteral("não pôde ser localizado"));
    if (info.flags & MembroCriptografado)
        planilhaProtegida(fNome);
    // What the header claims is checked first, so an honest large member is refused before
    // it is decompressed; the read itself stops at the cap whatever the header said.
    const qint64 limite = std::min(TamanhoMaximoMembro, TamanhoMaximoTotal - fDescompactados);
    if (info.uncompressedSize > quint64(limite))
        grandeDemais(membro, limite);
    QuaZipFile arquivo(fZip.get());
    if (!arquivo.open(QIODevice::ReadOnly))
        danificado(membro, QStringLiteral("não pôde ser aberto"));
    QByteArray conteudo;
    const ResultadoLeitura leitura = leAteOLimite(arquivo, limite, conteudo);
    arquivo.close();
    if (leitura == ResultadoLeitura::GrandeDemais)
        grandeDemais(membro, limite);
    if (leitura == ResultadoLeitura::Falhou)
        danificado(membro, QStringLiteral("não pôde ser descompactado"));
    // The CRC is compared when the member is closed after its last byte.
    if (arquivo.getZipError() != UNZ_OK)
        danificado(membro, QStringLiteral("não confere com a sua soma de verificação"));
    fDescompactados += conteudo.size();
    return conteudo;
}

void PacoteZip::danificado(const QString& membro, const QString& como) const {
    planilhaDanificada(fNome, QStringLiteral("o conteúdo %1 %2").arg(membro, como));
}

void PacoteZip::grandeDemais(const QString& membro, qint64 limite) const {
    planilhaGrandeDemais(
        fNome,
        QStringLiteral("o conteúdo %1 passa de %2 descompactado").arg(membro, textoLimite(limite)));
}
