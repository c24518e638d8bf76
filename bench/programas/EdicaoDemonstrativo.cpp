// Times the statement window at ten thousand debts: the debts added at once, then single
// edits of one cell, each from the Return that puts the text in until the row's results and
// the totals are on screen. With "prever", the statement is paid on 10/02/2027 with the
// forecast on: every debt takes estimated months, which the window lists after each edit.
// Run by bench/edicao-demonstrativo on a Release build.
// Use: edicao-demonstrativo TABELA [DEBITOS] [EDICOES] [prever]

#include "dialogos/Dialogos.h"
#include "demonstrativo/GradeDemonstrativo.h"
#include "demonstrativo/ModeloDemonstrativo.h"
#include "demonstrativo/TfrmDemonstrativo.h"
#include "ratetable/BQDataModule.h"
#include "sistema/LocaisArquivos.h"
#include "valores/ConfiguracaoRegional.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// Every dialog counted and answered No: none is expected.
class DialogosContados : public Dialogos {
public:
    int vezes = 0;
    void mensagem(const QString&) override { ++vezes; }
    void mensagemComTitulo(const QString&, const QString&) override { ++vezes; }
    Resposta dialogo(const QString&, TipoDialogo, Botoes) override {
        ++vezes;
        return Resposta::Nao;
    }
    void relatorioErro(const QString&) override { ++vezes; }
};

double processador() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Business-day due dates from 1998 to August 2026, amounts up to 100.000,00, a seed of its
// own so every run types the same debts.
QList<Debito> debitos(int quantos) {
    QRandomGenerator sorteio(42);
    QList<Debito> lista;
    const DataHora inicio = Datas::codificaData(1998, 1, 5);
    const DataHora fim = Datas::codificaData(2026, 8, 31);
    while (lista.size() < quantos) {
        const DataHora venc = inicio + double(sorteio.bounded(int(fim - inicio)));
        if (!EhDiaUtil(venc))
            continue;
        Debito d;
        d.Referencia = Formato::mesAno(Datas::incrementaMes(venc, -1));
        d.Vencimento = venc;
        d.Valor = QStringLiteral("%1,%2")
                      .arg(sorteio.bounded(100000))
                      .arg(sorteio.bounded(100), 2, 10, QLatin1Char('0'));
        lista.append(d);
    }
    return lista;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacao(argc, argv);
    if (argc < 2) {
        std::fputs("Uso: edicao-demonstrativo TABELA [DEBITOS] [EDICOES] [prever]\n", stderr);
        return 2;
    }
    const int quantos = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int edicoes = argc > 3 ? std::atoi(argv[3]) : 200;
    regional() = ConfiguracaoRegional::brasileira();

    // A copy of the table: nothing here writes the one given.
    QTemporaryDir pasta;
    LocaisArquivos locais;
    locais.tabela = QDir(pasta.path()).filePath(QStringLiteral("BELQOR.cds"));
    locais.pastaLog = pasta.path();
    locais.portatil = true;
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), locais.tabela)) {
        std::fprintf(stderr, "Não foi possível copiar a tabela %s\n", argv[1]);
        return 1;
    }
    QFile(locais.tabela).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    RelogioFixo relogio(Datas::codificaData(2026, 10, 13));
    DialogosContados dialogos;
    TBQDataModule dados(relogio, dialogos, nullptr, locais);
    dados.ArqDados = locais.tabela;
    dados.AbreTabela();

    TfrmDemonstrativo janela(dados, dialogos, relogio);
    janela.resize(1280, 800);
    janela.show();
    QApplication::processEvents();

    const bool prever = argc > 4 && qstrcmp(argv[4], "prever") == 0;
    if (prever) {
        janela.findChild<QDateEdit*>(QStringLiteral("DTPickerDataPagamento"))
            ->setDate(QDate(2027, 2, 10));
        janela.findChild<QCheckBox*>(QStringLiteral("chkPreverMeses"))->setChecked(true);
    }
    const QList<Debito> lista = debitos(quantos);
    QElapsedTimer relogioParede;
    double cpu = processador();
    relogioParede.start();
    janela.incluiDebitos(lista);
    QApplication::processEvents();
    const double inclusaoParede = double(relogioParede.nsecsElapsed()) / 1e9;
    const double inclusaoCpu = processador() - cpu;

    auto* grade = janela.findChild<GradeDemonstrativo*>(QStringLiteral("grdDebitos"));
    auto* total = janela.findChild<QLabel*>(QStringLiteral("lblTotTotal"));
    QAbstractItemModel* modelo = grade->model();
    QRandomGenerator sorteio(7);
    QList<double> parede, processo;
    int semMudanca = 0;
    for (int i = 0; i < edicoes; ++i) {
        const int linha = sorteio.bounded(quantos);
        const QModelIndex celula = modelo->index(linha, ModeloDemonstrativo::Valor);
        grade->setFocus();
        grade->setCurrentIndex(celula);
        grade->scrollTo(celula);
        grade->edit(celula);
        auto* editor = qobject_cast<QLineEdit*>(grade->indexWidget(celula));
        if (!editor) {
            std::fputs("o editor da célula não abriu\n", stderr);
            return 1;
        }
        editor->setText(QStringLiteral("%1,00").arg(1000 + i));
        QApplication::processEvents();
        const QString antes = total->text();

        cpu = processador();
        relogioParede.restart();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(editor, &enter);
        // The grid puts the text in once the key is over; the row and the totals are then
        // drawn.
        while (grade->indexWidget(celula))
            QApplication::processEvents();
        QApplication::processEvents();
        parede << double(relogioParede.nsecsElapsed()) / 1e6;
        processo << (processador() - cpu) * 1e3;
        if (total->text() == antes)
            ++semMudanca;
    }
    std::sort(parede.begin(), parede.end());
    std::sort(processo.begin(), processo.end());
    const auto quantil = [](const QList<double>& v, double q) {
        return v[std::min<qsizetype>(v.size() - 1, qsizetype(q * double(v.size())))];
    };
    std::printf("%d débitos incluídos de uma vez: %.3f s (processador %.3f s); %d calculados, "
                "%d com previsão\n",
                quantos, inclusaoParede, inclusaoCpu,
                janela.modelo().demonstrativo().totais().Quantidade,
                janela.modelo().demonstrativo().totais().Previstos);
    std::printf("uma edição do valor, até resultados e totais na tela (%d edições): "
                "mediana %.2f ms, p95 %.2f ms, máximo %.2f ms; processador: mediana %.2f ms, "
                "máximo %.2f ms\n",
                edicoes, quantil(parede, 0.5), quantil(parede, 0.95), parede.last(),
                quantil(processo, 0.5), processo.last());
    if (semMudanca > 0 || dialogos.vezes > 0) {
        std::fprintf(stderr, "%d edições não mudaram o total; %d diálogos\n", semMudanca,
                     dialogos.vezes);
        return 1;
    }
    janela.marcaEntregue();
    return 0;
}
