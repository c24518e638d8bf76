#pragma once

#include "sistema/CodificacaoTexto.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// A text file as a list of lines, the way the log is trimmed: read whole, the encoding chosen
// by a leading byte-order mark (Windows-1252 without one), CR, LF and CR LF each ending a
// line; written back whole, every line ended by CR LF, in the encoding it was read in.

struct ArquivoLinhas {
    QStringList linhas;
    CodificacaoTexto codificacao = CodificacaoTexto::Ansi;

    // Throws ErroEntradaSaida when the file cannot be read.
    static ArquivoLinhas le(const QString& caminho);
    // Replaces the file in one step, so a failure leaves the old one whole; throws
    // ErroEntradaSaida.
    void grava(const QString& caminho) const;
};

// A trailing line break ends the last line and opens no empty one after it.
QStringList divideLinhas(QStringView texto);
