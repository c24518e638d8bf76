// A program that records into a history, for the tests of writers killed at any moment and
// of several writers at once:
//   escritor_historico ENDERECO QUANTIDADE NOME
// records QUANTIDADE statements of the taxpayer NOME into the history ENDERECO (as
// BELQOR_HISTORICO names one) and prints each record's number on its own line once its
// transaction has committed. A failure is printed on standard error, status 1.

#include "historico/ErroHistorico.h"
#include "historico/Historico.h"
#include "historico/RegistrosTeste.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication aplicacao(argc, argv);
    const QStringList argumentos = QCoreApplication::arguments();
    if (argumentos.size() != 4) {
        std::fputs("uso: escritor_historico ENDERECO QUANTIDADE NOME\n", stderr);
        return 2;
    }
    QTemporaryDir pasta;
    FabricaRegistros fabrica(pasta.path());
    RegistroHistorico registro = fabrica.demonstrativo(
        argumentos[3], QStringLiteral("11.222.333/0001-81"),
        {QStringLiteral("12/2019;10/01/2020;1000,00"), QStringLiteral("01/2020;10/02/2020;250,50")},
        QStringLiteral("10/04/2020"), momentoTeste(10, 12));
    try {
        Historico historico(DestinoHistorico::deTexto(argumentos[1], QString()));
        const int quantidade = argumentos[2].toInt();
        for (int i = 0; i < quantidade; ++i) {
            const qint64 id = historico.registra(registro);
            std::printf("%lld\n", static_cast<long long>(id));
            std::fflush(stdout);
        }
    } catch (const ErroHistorico& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
