#pragma once

#include <QString>

// INI files read and written the way the desktop's profile routines do it: section and key
// names compared without regard to case, the first matching section and key winning,
// values trimmed and stripped of one pair of surrounding quotes. A write changes only the
// line it must; comments, blank lines and any other text stay as they were. Files are
// UTF-8 (a leading byte-order mark is kept) and keep the line ends they already use.
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
// and for names or values holding a line break, which would forge other keys.
void gravaValor(const QString& arquivo, const QString& secao, const QString& chave,
                const QString& valor);

} // namespace ArquivoIni
