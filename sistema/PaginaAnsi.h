#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The ANSI code page the log file is written in: Windows-1252. It differs from Latin-1
// in 0x80-0x9F, where it holds typographic signs; its five unassigned bytes there (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number, so every
// byte reads and writes back unchanged. A character outside the page is written as "?",
// one per character (a surrogate pair is one character).
namespace PaginaAnsi {

QByteArray codifica(QStringView texto);
QString decodifica(QByteArrayView bytes);

} // namespace PaginaAnsi
