#include "frmVerLog.h"

#include "TraducoesQt.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TraducoesQt traducoes;
    traducoes.instala(app);
    TfrmVisualiadorAvancadoLog_NURTO janela;
    janela.escuta();
    janela.show();
    return app.exec();
}
