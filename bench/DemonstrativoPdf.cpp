// Writes the PDF of a statement of generated debts, with their annexes, as the window and the
// command line write it: bench-demonstrativo-pdf TABELA DEBITOS SAIDA.pdf
// The debts are one a month from 01/2016 on, ten years of them over and over, each due on the
// first business day from the 10th of the month after and paid on 10/04/2026, so each annex
// sums from a few months to ten years of rates. Prints, on standard error, how many were
// calculated and the seconds the calculation and the PDF took.

#include "cli/DialogosConsole.h"
#include "demonstrativo/DocumentoDemonstrativo.h"
#include "ratetable/BQDataModule.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

Demonstrativo debitos(int quantos) {
    Demonstrativo d;
    d.Titular.Nome = QStringLiteral("Distribuidora de Tecidos Irmãos Souza Ltda");
    d.Titular.defineDocumento(QStringLiteral("11.222.333/0001-81"));
    d.Titular.InscricaoEstadual = QStringLiteral("123.456.789.110");
    d.DataPagamento = Datas::codificaData(2026, 4, 10);
    d.Debitos.reserve(quantos);
    for (int i = 0; i < quantos; ++i) {
        const DataHora referencia = Datas::incrementaMes(Datas::codificaData(2016, 1, 1), i % 120);
        DataHora vencimento = Datas::incrementaMes(referencia, 1) + 9;
        while (!EhDiaUtil(vencimento))
            vencimento += 1;
        d.Debitos.append(
            {Formato::mesAno(referencia),
             vencimento,
             QStringLiteral("%1,%2").arg(1000 + 37 * i).arg(i % 100, 2, 10, QLatin1Char('0')),
             {}});
    }
    return d;
}

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream erro(stderr);
    const QStringList argumentos = QCoreApplication::arguments();
    if (argumentos.size() != 4) {
        erro << "Uso: bench-demonstrativo-pdf TABELA DEBITOS SAIDA.pdf\n";
        return 2;
    }
    try {
        RelogioSistema relogio;
        DialogosConsole dialogos(erro);
        TBQDataModule dados(relogio, dialogos);
        dados.ArqDados = argumentos[1];
        dados.AbreTabela();
        Demonstrativo d = debitos(argumentos[2].toInt());

        QElapsedTimer tempo;
        tempo.start();
        d.calcula(dados);
        const double calculo = tempo.nsecsElapsed() / 1e9;
        tempo.restart();
        gravaPdfDemonstrativo(argumentos[3], documentoDemonstrativo(dados, d, relogio));
        const double pdf = tempo.nsecsElapsed() / 1e9;
        erro << d.totais().Quantidade << " de " << d.Debitos.size() << " débitos calculados em "
             << QString::number(calculo, 'f', 2) << " s; PDF em " << QString::number(pdf, 'f', 2)
             << " s\n";
        dados.FechaTabela();
    } catch (const ErroBelqor& e) {
        erro << e.mensagem() << '\n';
        return 1;
    }
    return 0;
}
