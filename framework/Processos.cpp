#include "framework/Processos.h"

#include "valores/Erros.h"
#include "sistema/MotivosFalha.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace Processos {

int executaEAguarda(const QString& programa, const QStringList& argumentos,
                    const QString& pastaTrabalho) {
    QProcess processo;
    processo.setProgram(programa);
    processo.setArguments(argumentos);
    processo.setWorkingDirectory(pastaTrabalho);
    processo.setStandardInputFile(QProcess::nullDevice());
    processo.setStandardOutputFile(QProcess::nullDevice());
    processo.setStandardErrorFile(QProcess::nullDevice());
    processo.start();
    if (!processo.waitForStarted(-1))
        throw ErroBelqor(QStringLiteral("Não foi possível executar \"%1\": %2")
                             .arg(programa, motivoDoProcesso(processo)));
    processo.waitForFinished(-1);
    if (processo.exitStatus() != QProcess::NormalExit)
        throw ErroBelqor(QStringLiteral("\"%1\" terminou de forma anormal.").arg(programa));
    return processo.exitCode();
}

quintptr abreComShell(const QString& arquivo, const QString& parametros, const QString& pasta) {
    const QUrl endereco(arquivo, QUrl::StrictMode);
    const bool ehEndereco = endereco.isValid() && endereco.scheme().size() > 1;
    QString alvo = arquivo;
    if (!ehEndereco) {
        const QFileInfo info(QDir(pasta), arquivo);
        if (!info.exists())
            return info.dir().exists() ? ShellArquivoNaoEncontrado : ShellCaminhoNaoEncontrado;
        alvo = info.absoluteFilePath();
        if (info.isFile() && info.isExecutable())
            return QProcess::startDetached(alvo, QProcess::splitCommand(parametros), pasta)
                       ? ShellSucesso
                       : ShellSemAssociacao;
    }
    return QProcess::startDetached(QStringLiteral("xdg-open"), {alvo}, pasta) ? ShellSucesso
                                                                              : ShellSemAssociacao;
}

} // namespace Processos
