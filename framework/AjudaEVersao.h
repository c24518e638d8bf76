#pragma once

// What a program of BELQOR answers before it starts its application object: --help (or -h)
// prints its short help and --version its name and version, on standard output, and the
// program ends. Nothing here needs a display, so both work where no window can open.

#include <QString>

#include <optional>

// The exit status when the command line asks for the help or the version, which were
// printed then: 0, or 1 when standard output could not take them. Nothing when neither was
// asked for: the program starts as usual. The help wins when both are given.
std::optional<int> respondeAjudaOuVersao(int argc, const char* const* argv, const char* programa,
                                         const QString& ajuda);
