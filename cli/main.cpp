#include "sistema/ArquivoSaida.h"
#include "cli/Cli.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

#include <unistd.h>

namespace {

// Only the PDF document needs fonts, which a GUI application brings; commands without
// it start as before, without any display.
bool pedeDocumento(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--pdf") == 0 || std::strncmp(argv[i], "--pdf=", 6) == 0)
            return true;
    return false;
}

QtMessageHandler gTratadorAnterior = nullptr;

// Qt's start looks for a display server in the runtime folder and warns when the session
// has none (a script, a job without a login); the document needs no display.
void semAvisoDePastaDeExecucao(QtMsgType tipo, const QMessageLogContext& contexto,
                               const QString& mensagem) {
    if (!mensagem.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        gTratadorAnterior(tipo, contexto, mensagem);
}

} // namespace

int main(int argc, char* argv[]) {
    std::unique_ptr<QCoreApplication> app;
    if (pedeDocumento(argc, argv)) {
        // Nothing is shown: the offscreen platform serves with or without a display.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        gTratadorAnterior = qInstallMessageHandler(semAvisoDePastaDeExecucao);
        app = std::make_unique<QGuiApplication>(argc, argv);
        qInstallMessageHandler(gTratadorAnterior);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Every write to the standard streams is checked: a full disk or a closed pipe is a
    // failure of the command, not a success that wrote nothing.
    ArquivoSaida saidaPadrao(STDOUT_FILENO, QStringLiteral("saída padrão"));
    ArquivoSaida erroPadrao(STDERR_FILENO, QStringLiteral("saída de erro"));
    QTextStream saida(&saidaPadrao);
    QTextStream erro(&erroPadrao);
    QStringList argumentos = QCoreApplication::arguments();
    argumentos.removeFirst();
    return executaCli(argumentos, saida, erro);
}
