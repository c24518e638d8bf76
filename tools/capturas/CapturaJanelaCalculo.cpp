// Renders the calculation window, after one example calculation, to a PNG file:
// captura_janela_calculo ARQUIVO.png

#include "ratetable/BQDataModule.h"
#include "valores/ConfiguracaoRegional.h"
#include "dialogos/Dialogos.h"
#include "apoio/DialogosRoteiro.h"
#include "valores/Relogio.h"
#include "apoio/TabelaTeste.h"
#include "calc/TfrmCalcular.h"

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s ARQUIVO.png\n", argv[0]);
        return 2;
    }
    regional() = ConfiguracaoRegional::brasileira();

    QTemporaryDir pasta;
    const QString tabela = pasta.filePath(QStringLiteral("BELQOR.cds"));
    escreveTabelaTeste(tabela, {{QDate(2020, 2, 1), QStringLiteral("0.29")},
                                {QDate(2020, 3, 1), QStringLiteral("0.34")}});
    RelogioFixo relogio(Datas::codificaData(2020, 4, 10));
    DialogosRoteiro dialogos;
    TBQDataModule dados(relogio, dialogos);
    dados.ArqDados = tabela;
    dados.CDSSelic.defineNomeArquivo(tabela);
    dados.CDSSelic.abrir();

    TfrmCalcular janela(dados, dialogos, relogio);
    janela.show();
    janela.findChild<QLineEdit*>(QStringLiteral("MaskEditValor"))
        ->setText(QStringLiteral("1000,00"));
    janela.findChild<QDateEdit*>(QStringLiteral("DTPickerDataVencimento"))
        ->setDate(QDate(2020, 1, 10));
    janela.actCalcularExecute();
    QApplication::processEvents();

    if (!janela.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "não foi possível gravar %s\n", argv[1]);
        return 1;
    }
    for (const QString& texto : dialogos.textos())
        std::fprintf(stderr, "diálogo: %s\n", qPrintable(texto));
    return 0;
}
