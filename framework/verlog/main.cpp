#include "frmVerLog.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TfrmVisualiadorAvancadoLog_NURTO janela;
    janela.escuta();
    janela.show();
    return app.exec();
}
