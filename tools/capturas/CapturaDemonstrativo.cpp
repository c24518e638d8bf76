// The README's pictures of the statement of debts, from the real window over a rate table:
// the window with a taxpayer and three debts, one of them due on a Saturday, drawn into a
// PNG file, and the printed statement of the same debts written as the PDF its print
// preview prints (tools/screenshot-demonstrativo turns its first page into a picture).
//   captura_demonstrativo TABELA.cds JANELA.png DEMONSTRATIVO.pdf
// The table is read from a copy, so the file given is never written.

#include "apoio/DialogosRoteiro.h"
#include "demonstrativo/DocumentoDemonstrativo.h"
#include "demonstrativo/TfrmDemonstrativo.h"
#include "ratetable/BQDataModule.h"
#include "valores/ConfiguracaoRegional.h"
#include "valores/Erros.h"
#include "valores/Relogio.h"

#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "uso: %s TABELA.cds JANELA.png DEMONSTRATIVO.pdf\n", argv[0]);
        return 2;
    }
    regional() = ConfiguracaoRegional::brasileira();
    QTemporaryDir pasta;
    const QString copia = pasta.filePath(QStringLiteral("BELQOR.cds"));
    if (!pasta.isValid() || !QFile::copy(QString::fromLocal8Bit(argv[1]), copia)) {
        std::fprintf(stderr, "não foi possível copiar %s\n", argv[1]);
        return 1;
    }

    // Issued at a fixed moment, so the pictures change only when the program does.
    RelogioFixo relogio(Datas::codificaData(2026, 10, 15) + 14.5 / 24);
    DialogosRoteiro dialogos;
    TBQDataModule dados(relogio, dialogos);
    dados.ArqDados = copia;
    dados.CDSSelic.defineNomeArquivo(copia);
    try {
        dados.CDSSelic.abrir();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", qPrintable(mensagemDe(e)));
        return 1;
    }

    TfrmDemonstrativo janela(dados, dialogos, relogio);
    // Wide enough for every column, the failed debt's message included, as on a desktop
    // screen.
    janela.resize(1340, 560);
    janela.show();
    janela.findChild<QLineEdit*>(QStringLiteral("edtNome"))
        ->setText(QStringLiteral("Comércio Exemplo Ltda."));
    janela.findChild<QLineEdit*>(QStringLiteral("edtDocumento"))
        ->setText(QStringLiteral("12.ABC.345/01DE-35"));
    janela.edtDocumentoExit();
    janela.findChild<QLineEdit*>(QStringLiteral("edtInscricaoEstadual"))
        ->setText(QStringLiteral("123.456.789.110"));
    janela.findChild<QDateEdit*>(QStringLiteral("DTPickerDataPagamento"))
        ->setDate(QDate(2026, 10, 15));
    const auto data = [](int ano, int mes, int dia) { return Datas::codificaData(ano, mes, dia); };
    janela.incluiDebitos({
        {QStringLiteral("03/2026"), data(2026, 4, 20), QStringLiteral("12345,67"),
         QStringLiteral("ICMS próprio")},
        {QStringLiteral("04/2026"), data(2026, 5, 20), QStringLiteral("8910,11"),
         QStringLiteral("ICMS próprio")},
        // 20/06/2026 is a Saturday: the debt keeps its message and stays out of the totals.
        {QStringLiteral("05/2026"), data(2026, 6, 20), QStringLiteral("4321,00"),
         QStringLiteral("Substituição tributária")},
    });
    QApplication::processEvents();

    int status = 0;
    if (!janela.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "não foi possível gravar %s\n", argv[2]);
        status = 1;
    }
    try {
        gravaPdfDemonstrativo(QString::fromLocal8Bit(argv[3]),
                              documentoDemonstrativo(dados, janela.demonstrativo(), relogio));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", qPrintable(mensagemDe(e)));
        status = 1;
    }
    for (const QString& texto : dialogos.textos())
        std::fprintf(stderr, "diálogo: %s\n", qPrintable(texto));
    // Nothing exported or printed here: let the window go without its question.
    janela.marcaEntregue();
    return status;
}
