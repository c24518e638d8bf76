#pragma once

// The zip container of an .xlsx or .ods file, read from memory through QuaZip. Each member
// is decompressed through leAteOLimite, so what it really expands to is bounded whatever
// its header claims: a member of a few kilobytes that would expand to gigabytes (a zip
// bomb) stops at the cap. QuaZip's and zlib's codes never reach a message.

#include "planilhas/MemoriaLeitura.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QuaZip;

class PacoteZip {
public:
    // One member, decompressed: far beyond the XML of any sheet a person keeps.
    static constexpr qint64 TamanhoMaximoMembro = qint64(64) << 20;
    // Every member read from one container, together.
    static constexpr qint64 TamanhoMaximoTotal = qint64(128) << 20;
    // A workbook holds a few dozen members; each search for one walks the directory.
    static constexpr int MaximoMembros = 10000;

    // nome words the file in the messages, extensao (".xlsx") the kind it should be.
    // Throws ErroPlanilha when the bytes are no zip container that can be read, or one of
    // more than MaximoMembros members.
    PacoteZip(const QByteArray& bytes, QString nome, QString extensao);
    ~PacoteZip();

    // Whether the container holds that member (names compared without regard to case, as
    // the part names of both formats are).
    bool contem(const QString& membro);
    // The member's bytes, decompressed and checked against their CRC. Throws ErroPlanilha
    // when it is missing, encrypted, damaged or larger than the caps.
    QByteArray le(const QString& membro);

    const QString& nome() const { return fNome; }
    const QString& extensao() const { return fExtensao; }

private:
    [[noreturn]] void danificado(const QString& membro, const QString& como) const;
    [[noreturn]] void grandeDemais(const QString& membro, qint64 limite) const;

    QString fNome;
    QString fExtensao;
    MemoriaLeitura fBytes;
    std::unique_ptr<QuaZip> fZip;
    qint64 fDescompactados = 0;
};
