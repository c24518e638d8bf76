#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringDecoder>

#include <optional>

class QIODevice;

// How the program tells the encoding of a text file it reads: a byte-order mark names it;
// text without one that is valid UTF-8 is UTF-8, and any other is in the ANSI code page,
// Windows-1252 (PaginaAnsi). Each reader takes what its format allows: the log file the
// marks alone (without one it is ANSI), an INI file the UTF-8 mark and then the check, a
// spreadsheet the check alone (its mark is valid UTF-8 like the rest).
enum class CodificacaoTexto { Ansi, Utf8, Utf16LE, Utf16BE };

// The byte-order mark of an encoding; empty for the ANSI code page, which has none.
QByteArrayView marcaDeOrdem(CodificacaoTexto codificacao);
// The encoding whose mark the bytes start with; nothing when they start with none.
std::optional<CodificacaoTexto> codificacaoDaMarca(QByteArrayView bytes);

// Whether bytes given in parts of any size are valid UTF-8: a sequence one part leaves
// unfinished is finished by the next.
class VerificacaoUtf8 {
public:
    void acrescenta(QByteArrayView parte);
    // Whether what was given can be the start of valid UTF-8: a sequence left unfinished at
    // its end is not held against it, as what follows may finish it.
    bool inicioValido() const { return !fDecodificador.hasError(); }
    // Whether what was given is valid UTF-8 as a whole text: a sequence cut off at its end
    // is not.
    bool inteiroValido() const { return inicioValido() && fPendente.isEmpty(); }

private:
    // Stateless, so a part it is given ends with it: the unfinished end waits here instead.
    QStringDecoder fDecodificador{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
    QByteArray fPendente;
};

// Utf8 when the whole text is valid UTF-8, Ansi otherwise.
CodificacaoTexto utf8OuAnsi(QByteArrayView texto);
// The same for the bytes a device holds from where it stands, where it is left: a file is
// checked whole, in blocks; a stream (standard input) on what it holds at first, which
// cannot be read back, so a sequence cut off at the end of that is not held against it.
CodificacaoTexto utf8OuAnsi(QIODevice& origem);
