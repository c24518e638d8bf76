#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Programs started by the program: one run without a shell and waited for, and the
// desktop's "open this" for files, folders and addresses.
namespace Processos {

// Runs a program with its arguments, each handed over as it is: no command line is built
// and no shell reads one, so blanks and quotes inside a value stay in it. The program
// inherits no standard channels (they go to the null device), and the wait has no time
// limit. Returns the exit code; throws ErroBelqor when the program cannot be started or
// does not end normally.
int executaEAguarda(const QString& programa, const QStringList& argumentos,
                    const QString& pastaTrabalho);

// Result codes in the desktop shell's convention: above 32 is success.
constexpr quintptr ShellSucesso = 33;
constexpr quintptr ShellArquivoNaoEncontrado = 2;
constexpr quintptr ShellCaminhoNaoEncontrado = 3;
constexpr quintptr ShellSemAssociacao = 31;

// Opens arquivo with the desktop's default action (xdg-open), or starts it with its
// parametros when it is an executable file; a relative name is taken from pasta, which is
// also the working folder. Does not wait for what it started.
quintptr abreComShell(const QString& arquivo, const QString& parametros, const QString& pasta);

} // namespace Processos
