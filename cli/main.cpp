#include "Cli.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream saida(stdout);
    QTextStream erro(stderr);
    QStringList argumentos = QCoreApplication::arguments();
    argumentos.removeFirst();
    return executaCli(argumentos, saida, erro);
}
