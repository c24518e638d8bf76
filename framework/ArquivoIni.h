#pragma once

#include <QString>

// INI files read and written the way the desktop's profile routines do it: section and key
// names compared without regard to case, the first matching section and key winning,
// values trimmed and stripped of one pair of surrounding quotes. A write changes only the
// line it must; every other line stays byte for byte, line ends included. A file with a
// UTF-8 byte-order mark, or whose text is valid UTF-8, is UTF-8; any other is in the ANSI
// code page (Windows-1252), as the desktop's editors save it. A write keeps the encoding
// the file was read in.
namespace ArquivoIni {

// No configuration file comes near this; reading stops here and the file is refused.
constexpr qint64 TamanhoMaximo = 1024 * 1024;

// The key's value, or padrao when the file, the section or the key is missing. Throws
// ErroBelqor naming the file when it is larger than TamanhoMaximo or cannot be read.
QString leValor(const QString& arquivo, const QString& secao, const QString& chave,
                const QString& padrao = {});

// Replaces the key's line, adds the key after the last line of its section, or adds the
// section at the end; a missing file is created. The file is replaced whole, so a failed
// write leaves it as it was. Throws ErroBelqor naming the file when it cannot be written,
// for names or values holding a line break, which would forge other keys, and for text
// that an ANSI file's code page cannot hold.
void gravaValor(const QString& arquivo, const QString& secao, const QString& chave,
                const QString& valor);

} // namespace ArquivoIni
