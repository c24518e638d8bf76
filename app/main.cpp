#include "framework/AjudaEVersao.h"
#include "app/AplicacaoBelqor.h"
#include "refresh/AtualizacaoIndices.h"
#include "ratetable/BQDataModule.h"
#include "widgets/DialogosQt.h"
#include "framework/NURFWUtils.h"
#include "valores/Relogio.h"
#include "calc/TfrmCalcular.h"
#include "app/RegistroCalculos.h"
#include "app/TfrmPrincipal.h"
#include "demonstrativo/TfrmDemonstrativo.h"
#include "ratetable/TfrmTabSelic.h"
#include "app/UTraducao.h"

#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

const char* const Ajuda =
    "Uso: belqor [--help | --version]\n"
    "\n"
    "O programa de janelas do BELQOR: calcula a multa e os juros de mora do ICMS pago\n"
    "após o vencimento e mantém a tabela das taxas Selic mensais. Precisa de um\n"
    "ambiente gráfico; sem ele, use belqor-cli.\n"
    "\n"
    "Opções:\n"
    "  -h, --help  mostra esta ajuda\n"
    "  --version   mostra a versão\n";

const char* const SemTela = "BELQOR: não há tela disponível. O programa precisa de um ambiente "
                            "gráfico (defina DISPLAY ou inicie-o numa sessão gráfica).\n";

// While the application object starts, a fatal message means the display could not be
// reached: say so and end with an error instead of aborting.
void partidaSemTela(QtMsgType tipo, const QMessageLogContext&, const QString& mensagem) {
    std::fprintf(stderr, "%s\n", qPrintable(mensagem));
    if (tipo == QtFatalMsg) {
        std::fputs(SemTela, stderr);
        std::_Exit(1);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    // Answered before anything needs a display.
    if (const auto status = respondeAjudaOuVersao(argc, argv, "belqor", QString::fromUtf8(Ajuda)))
        return *status;
    inicializaTraducao();
    if (!AplicacaoBelqor::haTelaDisponivel()) {
        std::fputs(SemTela, stderr);
        return 1;
    }
    DialogosQt dialogos;
    const QtMessageHandler anterior = qInstallMessageHandler(partidaSemTela);
    AplicacaoBelqor aplicacao(argc, argv, dialogos);
    qInstallMessageHandler(anterior);
    RelogioSistema relogio;
    TfrmPrincipal frmPrincipal(relogio, dialogos);
    TBQDataModule BQDataModule(relogio, dialogos);
    // A second program on the same table would write over the first one's months: it says
    // so and ends before reading the table. A command-line import under way gets a moment.
    const QString arquivoTabela = TBQDataModule::arquivoPadrao();
    if (!BQDataModule.reservaTabela(arquivoTabela, 3000))
        return 1;
    frmPrincipal.defineModuloDados(BQDataModule, arquivoTabela);
    frmPrincipal.defineAtualizacaoInicial([&] {
        AtualizacaoIndices(BQDataModule, relogio, dialogos, DestinosAtualizacao::padrao(),
                           TNURUtils::MostraStatus, [] { QThread::msleep(1000); })
            .executa(BQDataModule.ArqDados);
    });
    frmPrincipal.defineJanelaTabelaSelic([&](QWidget* pai) -> std::unique_ptr<QDialog> {
        return std::make_unique<TfrmTabSelic>(BQDataModule, dialogos, pai);
    });
    // The history is opened at the first calculation, and said once when it cannot serve.
    RegistradorHistorico registrador(RegistradorHistorico::aberturaDoPrograma(),
                                     avisoDoHistorico(dialogos));
    frmPrincipal.defineJanelaCalcular([&](QWidget* pai) -> std::unique_ptr<QDialog> {
        auto janela = std::make_unique<TfrmCalcular>(BQDataModule, dialogos, relogio, pai);
        registraCalculosDaJanela(*janela, registrador, relogio, BQDataModule.ConfigApp.Versao());
        return janela;
    });
    frmPrincipal.defineJanelaDemonstrativo([&](QWidget* pai) -> std::unique_ptr<QDialog> {
        return std::make_unique<TfrmDemonstrativo>(BQDataModule, dialogos, relogio, pai);
    });
    frmPrincipal.show();
    return aplicacao.exec();
}
