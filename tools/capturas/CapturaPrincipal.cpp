// Starts the main window as the program does, with the table beside the executable, and
// saves a picture of it: captura_principal ARQUIVO.png. Used by tools/screenshot.
#include "app/AplicacaoBelqor.h"
#include "ratetable/BQDataModule.h"
#include "widgets/DialogosQt.h"
#include "valores/Relogio.h"
#include "app/TfrmPrincipal.h"
#include "app/UTraducao.h"

#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("uso: captura_principal ARQUIVO.png\n", stderr);
        return 2;
    }
    const QString destino = QString::fromLocal8Bit(argv[1]);
    inicializaTraducao();
    DialogosQt dialogos;
    AplicacaoBelqor aplicacao(argc, argv, dialogos);
    RelogioSistema relogio;
    TfrmPrincipal frmPrincipal(relogio, dialogos);
    TBQDataModule BQDataModule(relogio, dialogos);
    frmPrincipal.defineModuloDados(BQDataModule);
    frmPrincipal.show();
    // After the first clock tick; leaves without the exit question, the table unchanged.
    int resultado = 1;
    QTimer::singleShot(1500, &frmPrincipal, [&] {
        resultado = frmPrincipal.grab().save(destino, "PNG") ? 0 : 1;
        QCoreApplication::exit();
    });
    aplicacao.exec();
    if (resultado != 0)
        std::fprintf(stderr, "não foi possível gravar %s\n", argv[1]);
    return resultado;
}
