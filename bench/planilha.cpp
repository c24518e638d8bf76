// Opening an .xlsx of many debts as the statement opens it (leDebitos), timed on the wall
// clock and on the processor. The workbook is the statement's own export of that many
// debts, calculated with the table given, so it has every column a real one has.
// Use: bench_planilha TABELA PASTA [LINHAS] [VEZES]

#include "calc/Calculo.h"
#include "cli/DialogosConsole.h"
#include "demonstrativo/ExportacaoDemonstrativo.h"
#include "demonstrativo/LeituraDebitos.h"
#include "planilhas/LeituraPlanilha.h"
#include "ratetable/BQDataModule.h"
#include "valores/ConfiguracaoRegional.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>

#include <sys/resource.h>

namespace {

double segundosDeProcessador() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return double(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) +
           double(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
}

struct Medida {
    double relogio = 0;
    double processador = 0;
};

Medida mede(const std::function<void()>& tarefa) {
    QElapsedTimer relogio;
    const double inicio = segundosDeProcessador();
    relogio.start();
    tarefa();
    return {double(relogio.nsecsElapsed()) / 1e9, segundosDeProcessador() - inicio};
}

// Business-day due dates on the 10th or after, from 01/1998 on, month after month (again
// from 1998 after 2025); amounts from 0,01 to about 100.000,00.
QList<Debito> debitos(int quantos) {
    QList<Debito> r;
    r.reserve(quantos);
    unsigned semente = 42;
    for (int i = 0; i < quantos; ++i) {
        const int mes = i % (28 * 12);
        DataHora vencimento = Datas::codificaData(1998 + mes / 12, mes % 12 + 1, 10);
        while (!EhDiaUtil(vencimento))
            vencimento += 1;
        semente = semente * 1103515245u + 12345u;
        const unsigned centavos = semente % 10000000u + 1;
        r.append({Formato::mesAno(Datas::incrementaMes(vencimento, -1)), vencimento,
                  QStringLiteral("%1,%2")
                      .arg(centavos / 100)
                      .arg(centavos % 100, 2, 10, QLatin1Char('0')),
                  QStringLiteral("Débito %1").arg(i + 1)});
    }
    return r;
}

QString texto(double segundos) {
    return QString::number(segundos, 'f', 3).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication aplicacao(argc, argv);
    const QStringList args = aplicacao.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "uso: bench_planilha TABELA PASTA [LINHAS] [VEZES]\n");
        return 2;
    }
    const int quantos = args.size() > 3 ? args[3].toInt() : 10000;
    const int vezes = args.size() > 4 ? args[4].toInt() : 5;
    regional() = ConfiguracaoRegional::brasileira();
    QTextStream erro(stderr);
    try {
        RelogioSistema relogio;
        DialogosConsole dialogos(erro);
        TBQDataModule dados(relogio, dialogos);
        dados.ArqDados = args[1];
        dados.AbreTabela();

        Demonstrativo d;
        d.Titular.Nome = QStringLiteral("Comércio Exemplo Ltda.");
        d.DataPagamento = Datas::codificaData(2026, 6, 10);
        d.Debitos = debitos(quantos);
        const Medida calculo = mede([&] { d.calcula(dados); });
        const QString arquivo = QDir(args[2]).filePath(QStringLiteral("demonstrativo.xlsx"));
        const Medida exportacao = mede([&] { exportaDemonstrativo(d, arquivo); });

        QList<Medida> leituras;
        qsizetype lidos = 0;
        for (int i = 0; i < vezes; ++i)
            leituras.append(mede([&] { lidos = leDebitos(arquivo).Debitos.size(); }));
        std::sort(leituras.begin(), leituras.end(),
                  [](const Medida& a, const Medida& b) { return a.relogio < b.relogio; });
        const Medida& mediana = leituras[leituras.size() / 2];

        QTextStream saida(stdout);
        saida << "calcular " << quantos << " débitos: " << texto(calculo.relogio) << " s ("
              << texto(calculo.processador) << " s de processador), " << d.totais().Quantidade
              << " calculados\n";
        saida << "exportar .xlsx: " << texto(exportacao.relogio) << " s ("
              << texto(exportacao.processador) << " s de processador), "
              << QFileInfo(arquivo).size() / 1024 << " KiB\n";
        saida << "abrir .xlsx de " << lidos << " débitos: mediana de " << vezes << " vezes "
              << texto(mediana.relogio) << " s (" << texto(mediana.processador)
              << " s de processador), melhor " << texto(leituras.first().relogio) << " s\n";
        dados.FechaTabela();
    } catch (const ErroBelqor& e) {
        erro << e.mensagem() << Qt::endl;
        return 1;
    }
    return 0;
}
