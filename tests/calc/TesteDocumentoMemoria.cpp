#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "apoio/TabelaDistribuida.h"
#include "apoio/TextoPdf.h"
#include "calc/DocumentoMemoria.h"
#include "calc/FormataResultado.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

DataHora data(int ano, int mes, int dia) {
    return Datas::codificaData(ano, mes, dia);
}

} // namespace

// The calculation memory as each device gets it: the PDF file the command line writes, and a
// printer at the resolution the print preview and the printing use (here printing to a PDF
// file, which pdftotext reads).
class TesteDocumentoMemoria : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{data(2026, 9, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

private slots:
    void init() {
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        fDados->abreArquivo(copiaTabelaDistribuida(fPasta.path()));
    }
    void cleanup() { fDados.reset(); }

    // The largest amounts the currency holds: each figure whole on its caption's line, none
    // split over two ("3." | "982.047.999.999,96").
    void maioresValoresSemQuebra_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<DataHora>("vencimento");
        QTest::addColumn<DataHora>("pagamento");
        QTest::addColumn<bool>("impressora");
        const struct {
            const char* nome;
            const char* valor;
            DataHora vencimento, pagamento;
        } casos[] = {
            {"juros de 3.982.047.999.999,96", "999999999999,99", data(1998, 1, 2),
             data(2026, 9, 10)},
            {"total de 922.297.216.960.000,00", "180770000000000,00", data(1998, 1, 2),
             data(2026, 9, 10)},
            {"o maior valor da moeda", "922337203685477,58", data(2020, 3, 10), data(2020, 3, 10)},
        };
        for (const auto& c : casos) {
            QTest::addRow("%s, pdf", c.nome) << c.valor << c.vencimento << c.pagamento << false;
            QTest::addRow("%s, impressora", c.nome)
                << c.valor << c.vencimento << c.pagamento << true;
        }
    }
    void maioresValoresSemQuebra() {
        QFETCH(QString, valor);
        QFETCH(DataHora, vencimento);
        QFETCH(DataHora, pagamento);
        QFETCH(bool, impressora);
        MemoriaCalculo memoria;
        const auto resultado = CalculaValores(*fDados, Formato::textoParaMoeda(valor), vencimento,
                                              pagamento, &memoria);
        QVERIFY(resultado);
        const DocumentoMemoria documento{*resultado, memoria, fRelogio.agora(),
                                         fDados->ConfigApp.Versao()};
        const QString pdf = fPasta.filePath(QStringLiteral("memória.pdf"));
        QFile::remove(pdf);
        if (impressora) {
            QPrinter destino(QPrinter::HighResolution);
            destino.setOutputFormat(QPrinter::PdfFormat);
            destino.setOutputFileName(pdf);
            preparaPaginaA4(destino);
            desenhaMemoria(destino, documento);
        } else {
            gravaPdfMemoria(pdf, documento);
        }
        const QStringList texto = textoPdf(pdf);
        const QString tudo = texto.join('\n');
        QVERIFY(!texto.isEmpty());

        const ResultadoFormatado f = formataResultado(*resultado);
        const QList<QStringList> linhas{{QStringLiteral("Valor do ICMS"), f.Valor},
                                        {QStringLiteral("Número de dias"), f.Dias},
                                        {QStringLiteral("Taxa de Juros"), f.Taxa},
                                        {QStringLiteral("Multa de Mora"), f.Multa},
                                        {QStringLiteral("Juros de Mora"), f.Juros},
                                        {QStringLiteral("Total"), f.Total},
                                        {QStringLiteral("Arredondada aos centavos:"), f.Multa},
                                        {QStringLiteral("Arredondados aos centavos:"), f.Juros},
                                        {QStringLiteral("Soma: taxa de juros aplicada"), f.Taxa}};
        for (const QStringList& pedacos : linhas)
            QVERIFY2(!linhaCom(texto, pedacos).isEmpty(),
                     qPrintable(pedacos.join(" … ") + "\n" + tudo));

        // The account's figures at four decimals, each whole at the end of its line.
        for (const char* rotulo : {"Multa calculada:", "Base dos juros (imposto + multa):",
                                   "Juros (base × taxa de juros):"})
            QVERIFY2(terminaEmQuatroCasas(texto, QString::fromUtf8(rotulo)),
                     qPrintable(QString::fromUtf8(rotulo) + "\n" + tudo));

        QCOMPARE(linhaComFiguraPartida(texto), QString());
    }
};

QTEST_MAIN(TesteDocumentoMemoria)
#include "TesteDocumentoMemoria.moc"
