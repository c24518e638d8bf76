#include "AplicacaoBelqor.h"
#include "BQDataModule.h"
#include "DialogosQt.h"
#include "Relogio.h"
#include "TfrmPrincipal.h"
#include "UTraducao.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    inicializaTraducao();
    if (!AplicacaoBelqor::haTelaDisponivel()) {
        std::fputs("BELQOR: não há tela disponível. O programa precisa de um ambiente gráfico "
                   "(defina DISPLAY ou inicie-o numa sessão gráfica).\n",
                   stderr);
        return 1;
    }
    DialogosQt dialogos;
    AplicacaoBelqor aplicacao(argc, argv, dialogos);
    RelogioSistema relogio;
    TfrmPrincipal frmPrincipal(relogio, dialogos);
    TBQDataModule BQDataModule(relogio, dialogos);
    frmPrincipal.defineModuloDados(BQDataModule);
    frmPrincipal.show();
    return aplicacao.exec();
}
