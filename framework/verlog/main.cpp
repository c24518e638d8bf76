#include "framework/verlog/frmVerLog.h"

#include "framework/AjudaEVersao.h"
#include "sistema/TraducoesQt.h"

#include <QApplication>

namespace {

const char* const Ajuda =
    "Uso: verlog [--help | --version]\n"
    "\n"
    "Mostra numa janela, à medida que são gravadas, as linhas que o belqor e o\n"
    "belqor-cli escrevem no seu log. Precisa de um ambiente gráfico.\n"
    "\n"
    "Opções:\n"
    "  -h, --help  mostra esta ajuda\n"
    "  --version   mostra a versão\n";

} // namespace

int main(int argc, char* argv[]) {
    // Answered before the application object, which needs a display.
    if (const auto status = respondeAjudaOuVersao(argc, argv, "verlog", QString::fromUtf8(Ajuda)))
        return *status;
    QApplication app(argc, argv);
    TraducoesQt traducoes;
    traducoes.instala(app);
    TfrmVisualiadorAvancadoLog_NURTO janela;
    janela.escuta();
    janela.show();
    return app.exec();
}
