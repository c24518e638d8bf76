// Times the history on an SQLite file of many records (bench/historico runs it):
//   bench_historico PASTA [REGISTROS]
// fills PASTA/historico.sqlite with REGISTROS statements (default 1 000 000; a file already
// holding them is used as it is), then times, each over many tries, the append of one
// record (its own transaction, synchronous=FULL), the first page of a search by CPF/CNPJ,
// by an issue date range, by a word of the name, by reference month and by amount, and the
// verification of the whole chain; and gives the file's size per record.
//
// The statements are real ones, calculated on the shipped table: a pool of a few hundred,
// each recorded under many taxpayers (names and CPFs of their own) and moments, 37 s apart.

#include "cli/DialogosConsole.h"
#include "demonstrativo/Demonstrativo.h"
#include "historico/Historico.h"
#include "ratetable/BQDataModule.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr int Pagina = 50;

// The n-th CPF: nine digits from n, then its two check digits.
QString cpf(qint64 n) {
    QString d = QStringLiteral("%1").arg(100000000 + n % 800000000, 9, 10, QLatin1Char('0'));
    for (int digito = 0; digito < 2; ++digito) {
        int soma = 0;
        for (int i = 0; i < d.size(); ++i)
            soma += d[i].digitValue() * (d.size() + 1 - i);
        const int resto = soma % 11;
        d += QChar(u'0' + (resto < 2 ? 0 : 11 - resto));
    }
    return d;
}

const QStringList Nomes = {"Silva",   "Santos",   "Oliveira", "Souza", "Rodrigues", "Ferreira",
                           "Alves",   "Pereira",  "Lima",     "Gomes", "Costa",     "Ribeiro",
                           "Martins", "Carvalho", "Almeida",  "Lopes", "Soares",    "Fernandes"};
const QStringList Ramos = {"Padaria", "Mercado",   "Comercial", "Distribuidora", "Farmácia",
                           "Açougue", "Papelaria", "Materiais", "Confecções",    "Auto Peças"};

QString nome(qint64 n) {
    return QStringLiteral("%1 %2 %3 %4 Ltda.")
        .arg(Ramos[n % Ramos.size()], Nomes[(n / 7) % Nomes.size()],
             Nomes[(n / 131) % Nomes.size()])
        .arg(n % 9973);
}

const DataHora Inicio = Datas::codificaData(2020, 1, 2);
constexpr double Intervalo = 37.0 / 86400; // days between two records

// Working days of 2019–2023, due dates and payments of the pool.
QList<DataHora> diasUteis() {
    QList<DataHora> dias;
    for (DataHora d = Datas::codificaData(2019, 1, 2); d < Datas::codificaData(2024, 1, 1); ++d)
        if (EhDiaUtil(d))
            dias << d;
    return dias;
}

QList<RegistroHistorico> poolDeDemonstrativos(TBQDataModule& dados) {
    QRandomGenerator sorte(1998);
    const QList<DataHora> dias = diasUteis();
    QList<RegistroHistorico> pool;
    const IdentidadeRegistro identidade{QStringLiteral("ana"), QStringLiteral("estacao-1"),
                                        QStringLiteral("3.02.00")};
    while (pool.size() < 300) {
        Demonstrativo d;
        const qint64 p = sorte.bounded(qint64(200), qint64(dias.size()));
        d.DataPagamento = dias[p];
        const int debitos = int(sorte.bounded(1, 4));
        for (int i = 0; i < debitos; ++i) {
            const DataHora vencimento = dias[sorte.bounded(p - 200, p)];
            const DataHora referencia = Datas::incrementaMes(vencimento, -1);
            d.Debitos.append({Formato::formataData(QStringLiteral("mm/yyyy"), referencia),
                              vencimento,
                              QStringLiteral("%1,%2")
                                  .arg(sorte.bounded(1, 100000))
                                  .arg(sorte.bounded(0, 100), 2, 10, QLatin1Char('0')),
                              QStringLiteral("ICMS")});
        }
        d.calcula(dados);
        pool << registroDeDemonstrativo(d, Inicio, identidade);
    }
    return pool;
}

RegistroHistorico registroNumero(const QList<RegistroHistorico>& pool, qint64 n) {
    RegistroHistorico r = pool[n % pool.size()];
    r.Titular.Nome = nome(n);
    r.Titular.defineDocumento(cpf(n));
    r.Emissao = Inicio + n * Intervalo;
    return r;
}

struct Medidas {
    QList<double> ms;
    void mede(const std::function<void()>& f) {
        QElapsedTimer t;
        t.start();
        f();
        ms << t.nsecsElapsed() / 1e6;
    }
    QString texto() {
        std::sort(ms.begin(), ms.end());
        const auto q = [&](double p) { return ms[qsizetype(p * (ms.size() - 1))]; };
        return QStringLiteral("mediana %1 ms, p95 %2 ms, máximo %3 ms (%4 vezes)")
            .arg(q(0.5), 0, 'f', 2)
            .arg(q(0.95), 0, 'f', 2)
            .arg(ms.last(), 0, 'f', 2)
            .arg(ms.size());
    }
};

void diz(const QString& linha) {
    std::printf("%s\n", qPrintable(linha));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication aplicacao(argc, argv);
    const QStringList argumentos = QCoreApplication::arguments();
    if (argumentos.size() < 2) {
        std::fputs("uso: bench_historico PASTA [REGISTROS]\n", stderr);
        return 2;
    }
    regional() = ConfiguracaoRegional::brasileira();
    const qint64 total = argumentos.value(2, QStringLiteral("1000000")).toLongLong();
    const QString arquivo = QDir(argumentos[1]).filePath(QStringLiteral("historico.sqlite"));

    QTextStream erro(stderr);
    DialogosConsole dialogos(erro);
    RelogioSistema relogio;
    QTemporaryDir pastaLog;
    LocaisArquivos locais = LocaisArquivos::doPrograma();
    locais.pastaLog = pastaLog.path();
    TBQDataModule dados(relogio, dialogos, nullptr, locais);
    dados.ArqDados = QStringLiteral(BELQOR_FONTE "/data/BELQOR.cds");
    dados.CDSSelic.defineNomeArquivo(dados.ArqDados);
    dados.CDSSelic.abrir();
    const QList<RegistroHistorico> pool = poolDeDemonstrativos(dados);

    try {
        qint64 existentes = 0;
        {
            Historico h(DestinoHistorico::sqlite(arquivo));
            FiltroHistorico todos;
            const PaginaHistorico ultima = h.busca(todos, std::nullopt, 1);
            existentes = ultima.Registros.isEmpty() ? 0 : ultima.Registros.first().Id;
            if (existentes < total) {
                QElapsedTimer t;
                t.start();
                constexpr qint64 Lote = 10000;
                for (qint64 n = existentes; n < total; n += Lote) {
                    QList<RegistroHistorico> lote;
                    for (qint64 i = n; i < std::min(total, n + Lote); ++i)
                        lote << registroNumero(pool, i);
                    h.registra(lote);
                    if ((n / Lote) % 10 == 9)
                        diz(QStringLiteral("  %1 registros…").arg(n + Lote));
                }
                diz(QStringLiteral("Preenchimento: %1 registros em %2 s, em transações de %3.")
                        .arg(total - existentes)
                        .arg(t.elapsed() / 1000.0, 0, 'f', 1)
                        .arg(Lote));
            }
        }
        // Closed, the write-ahead log is back in the file.
        diz(QStringLiteral("Tamanho: %1 MiB, %2 bytes por registro (%3 registros).")
                .arg(QFileInfo(arquivo).size() / 1048576.0, 0, 'f', 1)
                .arg(QFileInfo(arquivo).size() / std::max<qint64>(total, 1))
                .arg(total));

        Historico h(DestinoHistorico::sqlite(arquivo));
        QRandomGenerator sorte(2026);
        Medidas acrescimo;
        for (int i = 0; i < 200; ++i) {
            const RegistroHistorico r = registroNumero(pool, total + i);
            acrescimo.mede([&] { h.registra(r); });
        }
        diz(QStringLiteral("Registrar um (synchronous=FULL): ") + acrescimo.texto());

        const auto buscas = [&](const QString& nomeBusca,
                                const std::function<FiltroHistorico()>& filtro) {
            Medidas m;
            qint64 achados = 0;
            for (int i = 0; i < 200; ++i) {
                const FiltroHistorico f = filtro();
                m.mede([&] { achados += h.busca(f, std::nullopt, Pagina).Registros.size(); });
            }
            diz(QStringLiteral("%1, primeira página de %2: %3; %4 achados em média")
                    .arg(nomeBusca)
                    .arg(Pagina)
                    .arg(m.texto())
                    .arg(achados / 200.0, 0, 'f', 1));
        };
        buscas(QStringLiteral("Busca por CPF/CNPJ"), [&] {
            FiltroHistorico f;
            f.Documento = formataDocumento(cpf(sorte.bounded(total)));
            return f;
        });
        buscas(QStringLiteral("Busca por período de emissão (1 a 30 dias)"), [&] {
            FiltroHistorico f;
            f.EmitidoDe = std::trunc(Inicio + sorte.bounded(total) * Intervalo);
            f.EmitidoAte = f.EmitidoDe + sorte.bounded(0, 30);
            return f;
        });
        buscas(QStringLiteral("Busca por uma palavra do nome"), [&] {
            FiltroHistorico f;
            f.Nome = Nomes[sorte.bounded(Nomes.size())].left(5);
            return f;
        });
        buscas(QStringLiteral("Busca por nome e número (dois termos)"), [&] {
            FiltroHistorico f;
            f.Nome = nome(sorte.bounded(total)).section(u' ', 0, 0) + u' ' +
                     QString::number(sorte.bounded(9973));
            return f;
        });
        buscas(QStringLiteral("Busca por mês de referência"), [&] {
            FiltroHistorico f;
            f.MesReferencia =
                Datas::incrementaMes(Datas::codificaData(2018, 7, 1), int(sorte.bounded(0, 60)));
            return f;
        });
        buscas(QStringLiteral("Busca por valor"), [&] {
            const RegistroHistorico& r = pool[sorte.bounded(pool.size())];
            FiltroHistorico f;
            f.Valor = r.Totais.Total;
            return f;
        });

        QElapsedTimer t;
        t.start();
        const ResultadoVerificacao v = h.verifica();
        diz(QStringLiteral("Verificação da cadeia inteira: %1 s; %2")
                .arg(t.elapsed() / 1000.0, 0, 'f', 1)
                .arg(v.mensagem(QStringLiteral("\"%1\"").arg(arquivo))));
        return v.integro() ? 0 : 1;
    } catch (const ErroBelqor& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
