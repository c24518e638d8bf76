#include "apoio/ArquivosTeste.h"
#include "apoio/DebitosTeste.h"
#include "apoio/DialogosRoteiro.h"
#include "apoio/LimiteTamanho.h"
#include "apoio/ModuloTeste.h"
#include "apoio/TabelaDistribuida.h"
#include "calc/FormataResultado.h"
#include "demonstrativo/ExportacaoDemonstrativo.h"
#include "demonstrativo/LeituraDebitos.h"
#include "planilhas/LeituraPlanilha.h"
#include "sistema/ArquivoSaida.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTextStream>

#include <quazip.h>
#include <quazipfile.h>

#include <memory>

#include <unistd.h>

namespace {

DataHora data(int ano, int mes, int dia) {
    return Datas::codificaData(ano, mes, dia);
}

// An amount as a cell holds it, back in the currency's exact cents.
Moeda moedaDaCelula(const CelulaPlanilha& c) {
    return Moeda::deEstendido(Estendido(c.numero) * Moeda::Escala);
}

const CelulaPlanilha& celula(const LinhaPlanilha& linha, qsizetype coluna) {
    static const CelulaPlanilha vazia;
    return coluna < linha.celulas.size() ? linha.celulas[coluna] : vazia;
}

QString texto(const LinhaPlanilha& linha, qsizetype coluna) {
    const CelulaPlanilha& c = celula(linha, coluna);
    return c.tipo == CelulaPlanilha::Tipo::Texto ? c.texto : QStringLiteral("(não é texto)");
}

// The texts of the cells from `de` up to `ate`, not included.
QStringList textos(const LinhaPlanilha& linha, qsizetype de, qsizetype ate) {
    QStringList lista;
    for (qsizetype c = de; c < ate; ++c)
        lista << texto(linha, c);
    return lista;
}

// A member of the container, as the spreadsheet program reads it.
QByteArray membro(const QString& arquivo, const QString& nome) {
    QuaZip zip(arquivo);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(nome))
        return {};
    QuaZipFile f(&zip);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The workbook's sheet `nome` as the first sheet of a copy, read as the program reads a
// spreadsheet: the other sheets are taken out of the workbook's list.
QList<LinhaPlanilha> leFolha(const QString& arquivo, const QString& nome, const QString& copia) {
    QuaZip origem(arquivo);
    QuaZip destino(copia);
    if (!origem.open(QuaZip::mdUnzip) || !destino.open(QuaZip::mdCreate))
        return {};
    for (bool ha = origem.goToFirstFile(); ha; ha = origem.goToNextFile()) {
        const QString membro = origem.getCurrentFileName();
        QuaZipFile entrada(&origem);
        if (!entrada.open(QIODevice::ReadOnly))
            return {};
        QByteArray bytes = entrada.readAll();
        if (membro == QLatin1String("xl/workbook.xml")) {
            const QString xml = QString::fromUtf8(bytes).replace(
                QRegularExpression(QStringLiteral("<sheet name=\"(?!%1\")[^>]*/>")
                                       .arg(QRegularExpression::escape(nome))),
                QString());
            bytes = xml.toUtf8();
        }
        QuaZipFile saida(&destino);
        if (!saida.open(QIODevice::WriteOnly, QuaZipNewInfo(membro)))
            return {};
        saida.write(bytes);
    }
    destino.close();
    return lePrimeiraFolha(copia, FormatoPlanilha::Xlsx);
}

// Standard error caught into a file while it lives: what the user would have read there.
class ErroPadraoCapturado {
public:
    ErroPadraoCapturado() {
        fArquivo.open();
        std::fflush(stderr);
        fCopia = dup(STDERR_FILENO);
        dup2(fArquivo.handle(), STDERR_FILENO);
    }
    ~ErroPadraoCapturado() { devolve(); }
    QByteArray devolve() {
        if (fCopia >= 0) {
            std::fflush(stderr);
            dup2(fCopia, STDERR_FILENO);
            close(fCopia);
            fCopia = -1;
        }
        return conteudoArquivo(fArquivo.fileName());
    }

private:
    QTemporaryFile fArquivo;
    int fCopia = -1;
};

} // namespace

class TesteExportacaoDemonstrativo : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{data(2024, 6, 15)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

    QString fTabela;

    // Three debts that calculate and one due on a Saturday, of a company with an
    // alphanumeric CNPJ.
    Demonstrativo exemplo() {
        Demonstrativo d;
        d.Titular.Nome = QStringLiteral("Comércio Exemplo Ltda.");
        if (d.Titular.defineDocumento(QStringLiteral("12ABC34501DE35")))
            qFatal("CNPJ de exemplo recusado");
        d.Titular.InscricaoEstadual = QStringLiteral("123.456.789.110");
        d.DataPagamento = data(2020, 4, 10);
        d.Debitos = {
            {QStringLiteral("12/2019"), data(2020, 1, 10), QStringLiteral("1000,00"), {}},
            {QStringLiteral("01/2020"), data(2020, 2, 10), QStringLiteral("2500,50"),
             QStringLiteral("ICMS próprio")},
            {QStringLiteral("02/2020"), data(2020, 3, 7), QStringLiteral("700,00"),
             QStringLiteral("Substituição; \"tributária\"")},
            {QStringLiteral("02/2020"), data(2020, 3, 10), QStringLiteral("3982047999999,96"), {}},
        };
        d.calcula(*fDados);
        return d;
    }

    // The worked example of a partial payment (1.000,00 due 10/01/2020, 500,00 paid on
    // 10/03/2020, balance on 10/06/2020), a debt overpaid and one without payments.
    Demonstrativo comPagamentos() {
        Demonstrativo d;
        d.Titular.Nome = QStringLiteral("Comércio Exemplo Ltda.");
        d.DataPagamento = data(2020, 6, 10);
        d.Debitos = comPagamentosParciais();
        d.calcula(*fDados);
        return d;
    }

    // The forecast's example on the shipped table: 1.000,00 due 10/09/2026, paid on
    // 10/02/2027 with the months after 09/2026 estimated.
    Demonstrativo comPrevisao() {
        fRelogio.define(data(2026, 12, 11));
        Demonstrativo d;
        d.Titular.Nome = QStringLiteral("Comércio Exemplo Ltda.");
        d.DataPagamento = data(2027, 2, 10);
        d.PreverMesesSemTaxa = true;
        d.Debitos = {{QStringLiteral("08/2026"), data(2026, 9, 10), QStringLiteral("1000,00"), {}}};
        d.calcula(*fDados);
        return d;
    }

    struct Execucao {
        int status = -1;
        QByteArray saida;
    };
    Execucao lote(const QStringList& argumentos) {
        QProcess p;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        p.setProcessEnvironment(ambiente);
        p.start(QStringLiteral(BELQOR_CLI), QStringList{QStringLiteral("lote")} + argumentos +
                                                QStringList{QStringLiteral("--tabela"), fTabela});
        if (!p.waitForFinished(60000))
            qFatal("belqor-cli não terminou");
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                p.readAllStandardOutput()};
    }

private slots:
    void init() {
        fDialogos.limpa();
        fRelogio.define(data(2024, 6, 15));
        fTabela = copiaTabelaDistribuida(fPasta.path());
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        fDados->abreArquivo(fTabela);
    }
    void cleanup() { fDados.reset(); }

    // What a spreadsheet program finds in the exported workbook: the taxpayer and the
    // payment date above the table, amounts as numbers to the cent, dates as dates, the
    // failed debt with its message and no results, the totals of the others below.
    void xlsxLidoComoPlanilha() {
        const Demonstrativo d = exemplo();
        const QString arquivo = fPasta.filePath(QStringLiteral("demonstrativo.xlsx"));
        exportaDemonstrativo(d, arquivo);
        const QList<LinhaPlanilha> linhas = lePrimeiraFolha(arquivo, FormatoPlanilha::Xlsx);
        QCOMPARE(linhas.size(), 11);

        QCOMPARE(texto(linhas[0], 0), QStringLiteral("Demonstrativo de Débitos"));
        QCOMPARE(texto(linhas[1], 0), QStringLiteral("Contribuinte"));
        QCOMPARE(texto(linhas[1], 1), QStringLiteral("Comércio Exemplo Ltda."));
        QCOMPARE(texto(linhas[2], 0), QStringLiteral("CNPJ"));
        QCOMPARE(texto(linhas[2], 1), QStringLiteral("12.ABC.345/01DE-35"));
        QCOMPARE(texto(linhas[3], 0), QStringLiteral("Inscrição estadual"));
        QCOMPARE(texto(linhas[3], 1), QStringLiteral("123.456.789.110"));
        QCOMPARE(texto(linhas[4], 0), QStringLiteral("Data de pagamento"));
        QCOMPARE(celula(linhas[4], 1).tipo, CelulaPlanilha::Tipo::Data);
        QCOMPARE(celula(linhas[4], 1).numero, data(2020, 4, 10));

        QCOMPARE(linhas[5].numero, 7);
        QCOMPARE(
            textos(linhas[5], 0, 10),
            (QStringList{"Referência", "Vencimento", "Valor do ICMS", "Descrição", "Dias",
                         "Taxa de Juros", "Multa de Mora", "Juros de Mora", "Total", "Mensagem"}));

        for (qsizetype i = 0; i < d.Debitos.size(); ++i) {
            const LinhaPlanilha& linha = linhas[6 + i];
            const Debito& debito = d.Debitos[i];
            const ResultadoDebito& r = d.resultados()[i];
            QCOMPARE(linha.numero, 8 + i);
            QCOMPARE(texto(linha, 0), debito.Referencia);
            QCOMPARE(celula(linha, 1).tipo, CelulaPlanilha::Tipo::Data);
            QCOMPARE(celula(linha, 1).numero, debito.Vencimento);
            QCOMPARE(celula(linha, 2).tipo, CelulaPlanilha::Tipo::Numero);
            QCOMPARE(formataReais(moedaDaCelula(celula(linha, 2))),
                     formataReais(Formato::textoParaMoeda(debito.Valor)));
            if (debito.Descricao.isEmpty())
                QVERIFY(celula(linha, 3).vazia());
            else
                QCOMPARE(texto(linha, 3), debito.Descricao);
            if (!r.Resultado) {
                for (qsizetype c = 4; c < 9; ++c)
                    QVERIFY(celula(linha, c).vazia());
                QCOMPARE(texto(linha, 9), r.Mensagem);
                continue;
            }
            const ResultadoCalculo& res = *r.Resultado;
            for (qsizetype c = 4; c < 9; ++c)
                QCOMPARE(celula(linha, c).tipo, CelulaPlanilha::Tipo::Numero);
            QCOMPARE(celula(linha, 4).numero, double(res.Dias));
            QCOMPARE(formataTaxa(Estendido(celula(linha, 5).numero) * 100),
                     formataTaxa(res.TaxaJuros * 100));
            QCOMPARE(formataReais(moedaDaCelula(celula(linha, 6))), formataReais(res.MultaMora));
            QCOMPARE(formataReais(moedaDaCelula(celula(linha, 7))), formataReais(res.JurosMora));
            QCOMPARE(formataReais(moedaDaCelula(celula(linha, 8))), formataReais(res.Total));
            QVERIFY(celula(linha, 9).vazia());
        }
        QCOMPARE(d.resultados()[2].Mensagem,
                 QStringLiteral("A Data do Vencimento deve ser dia útil!"));

        const LinhaPlanilha& totais = linhas[10];
        const TotaisDemonstrativo& t = d.totais();
        QCOMPARE(texto(totais, 0), QStringLiteral("Totais"));
        QCOMPARE(texto(totais, 3), QStringLiteral("3 débitos calculados"));
        QCOMPARE(formataReais(moedaDaCelula(celula(totais, 2))), formataReais(t.Valor));
        QCOMPARE(formataReais(moedaDaCelula(celula(totais, 6))), formataReais(t.Multa));
        QCOMPARE(formataReais(moedaDaCelula(celula(totais, 7))), formataReais(t.Juros));
        QCOMPARE(formataReais(moedaDaCelula(celula(totais, 8))), formataReais(t.Total));
        // 1.000,00 + 2.500,50 + 3.982.047.999.999,96: the largest amounts keep their cents.
        QCOMPARE(formataReais(t.Valor), QStringLiteral("3.982.048.003.500,46"));

        // The formats a spreadsheet program shows them with, in its user's settings.
        const QByteArray estilos = membro(arquivo, QStringLiteral("xl/styles.xml"));
        QVERIFY(estilos.contains("formatCode=\"#,##0.00\""));
        QVERIFY(estilos.contains("formatCode=\"dd/mm/yyyy\""));
        QVERIFY(estilos.contains("formatCode=\"0.000000\\ %\""));
    }

    // Opened again as a statement, the workbook gives back its debts, and calculated again
    // the same figures.
    void xlsxAbertoDeNovo() {
        const Demonstrativo d = exemplo();
        const QString arquivo = fPasta.filePath(QStringLiteral("de-novo.xlsx"));
        exportaDemonstrativo(d, arquivo);
        const DebitosLidos lidos = leDebitos(arquivo);
        QVERIFY(lidos.Recusadas.isEmpty());
        QCOMPARE(lidos.Linhas, (QList<qint64>{8, 9, 10, 11}));
        QCOMPARE(lidos.Debitos.size(), d.Debitos.size());
        for (qsizetype i = 0; i < d.Debitos.size(); ++i) {
            QCOMPARE(lidos.Debitos[i].Referencia, d.Debitos[i].Referencia);
            QCOMPARE(lidos.Debitos[i].Vencimento, d.Debitos[i].Vencimento);
            QCOMPARE(lidos.Debitos[i].Valor, d.Debitos[i].Valor);
            QCOMPARE(lidos.Debitos[i].Descricao, d.Debitos[i].Descricao);
        }
        Demonstrativo deNovo;
        deNovo.DataPagamento = d.DataPagamento;
        deNovo.Debitos = lidos.Debitos;
        deNovo.calcula(*fDados);
        QCOMPARE(deNovo.totais().Quantidade, 3);
        QCOMPARE(formataReais(deNovo.totais().Total), formataReais(d.totais().Total));
        QCOMPARE(formataReais(deNovo.totais().Juros), formataReais(d.totais().Juros));
    }

    // The CSV is what the batch writes for the same rows, to a file and to standard output.
    void csvComoOLote() {
        Demonstrativo d = exemplo();
        d.Debitos.append({QStringLiteral("03/2020"), Datas::Vazia, QStringLiteral("333,33"),
                          QStringLiteral("sem vencimento")});
        d.Debitos.append({QStringLiteral("04/2020"), data(2020, 3, 10), QStringLiteral("abc"),
                          QStringLiteral("valor ruim")});
        d.calcula(*fDados);
        const QString entrada = fPasta.filePath(QStringLiteral("entrada.csv"));
        gravaArquivoTeste(entrada, "referencia;vencimento;valor;descricao;pagamento\n"
                                   "12/2019;10/01/2020;1000,00;;10/04/2020\n"
                                   "01/2020;10/02/2020;2500,50;ICMS próprio;10/04/2020\n"
                                   "02/2020;07/03/2020;700,00;\"Substituição; \"\"tributária\"\"\";"
                                   "10/04/2020\n"
                                   "02/2020;10/03/2020;3982047999999,96;;10/04/2020\n"
                                   "03/2020;;333,33;sem vencimento;10/04/2020\n"
                                   "04/2020;10/03/2020;abc;valor ruim;10/04/2020\n");

        const QString saidaLote = fPasta.filePath(QStringLiteral("lote.csv"));
        QCOMPARE(lote({entrada, saidaLote}).status, 1);
        const QString exportado = fPasta.filePath(QStringLiteral("exportado.csv"));
        exportaDemonstrativo(d, exportado);
        const QByteArray bytes = conteudoArquivo(exportado);
        QCOMPARE(bytes, conteudoArquivo(saidaLote));
        QVERIFY(bytes.contains(";A Data do Vencimento deve ser dia útil!\r\n"));

        QString texto;
        QTextStream saida(&texto);
        exportaCsv(d, saida);
        QCOMPARE(texto.toUtf8(), lote({entrada}).saida);
    }

    // An extension of neither kind is refused before anything is written; a folder is
    // refused as for every output.
    void destinosRecusados() {
        const Demonstrativo d = exemplo();
        const QString pdf = fPasta.filePath(QStringLiteral("demonstrativo.pdf"));
        try {
            exportaDemonstrativo(d, pdf);
            QFAIL("exportado");
        } catch (const ErroBelqor& e) {
            QCOMPARE(e.mensagem(), QStringLiteral("O demonstrativo é exportado em .xlsx ou .csv: "
                                                  "\"%1\" não tem nenhuma dessas extensões.")
                                       .arg(pdf));
        }
        QVERIFY(!QFile::exists(pdf));
        const QString pasta = fPasta.filePath(QStringLiteral("pasta.xlsx"));
        QVERIFY(QDir().mkpath(pasta));
        QVERIFY_THROWS_EXCEPTION(ErroSaidaEmPasta, exportaDemonstrativo(d, pasta));
    }

    // When the workbook cannot be made the target keeps what it held, the reason is said in
    // Portuguese and nothing of the library's own English reaches standard error.
    void xlsxQueNaoPodeSerMontado_data() {
        QTest::addColumn<int>("caso");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("texto grande demais para uma célula")
            << 0 << "um texto passa de 32.767 caracteres, o máximo de uma célula";
        QTest::newRow("arquivos temporários recusados")
            << 1 << "a planilha não pôde ser montada na pasta temporária: arquivo grande demais";
    }
    void xlsxQueNaoPodeSerMontado() {
        QFETCH(int, caso);
        QFETCH(QString, motivo);
        Demonstrativo d = exemplo();
        if (caso == 0)
            d.Debitos[0].Descricao = QString(40000, u'x');
        const QString arquivo = fPasta.filePath(QStringLiteral("existente.xlsx"));
        gravaArquivoTeste(arquivo, "antigo\n");
        ErroPadraoCapturado erroPadrao;
        try {
            std::unique_ptr<LimiteTamanho> limite;
            if (caso == 1)
                limite = std::make_unique<LimiteTamanho>(512);
            exportaDemonstrativo(d, arquivo);
            QFAIL("exportado");
        } catch (const ErroEntradaSaida& e) {
            QCOMPARE(e.mensagem(), QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                                       .arg(arquivo, motivo));
        }
        QCOMPARE(erroPadrao.devolve(), QByteArray());
        QCOMPARE(conteudoArquivo(arquivo), QByteArray("antigo\n"));
    }

    // Partial payments in the workbook: what each debt paid and the principal left, the
    // typed amount under Valor do ICMS, no mark; a sheet "Pagamentos" with each payment's
    // cost that day and its parts.
    void xlsxComPagamentos() {
        const Demonstrativo d = comPagamentos();
        QCOMPARE(d.totais().Quantidade, 3);
        const QString arquivo = fPasta.filePath(QStringLiteral("pagamentos.xlsx"));
        exportaDemonstrativo(d, arquivo);
        const QList<LinhaPlanilha> linhas = lePrimeiraFolha(arquivo, FormatoPlanilha::Xlsx);
        QCOMPARE(linhas.size(), 10);
        QCOMPARE(textos(linhas[5], 10, 13),
                 (QStringList{"Previsão", "Pago", "Principal em Aberto"}));
        const LinhaPlanilha& exemplo = linhas[6];
        QCOMPARE(formataReais(moedaDaCelula(celula(exemplo, 2))), QStringLiteral("1.000,00"));
        QVERIFY(celula(exemplo, 10).vazia());
        QCOMPARE(formataReais(moedaDaCelula(celula(exemplo, 11))), QStringLiteral("500,00"));
        QCOMPARE(formataReais(moedaDaCelula(celula(exemplo, 12))), QStringLiteral("547,13"));
        QCOMPARE(formataReais(moedaDaCelula(celula(exemplo, 8))), QStringLiteral("625,96"));
        const LinhaPlanilha& semPagamento = linhas[8];
        QCOMPARE(formataReais(moedaDaCelula(celula(semPagamento, 11))), QStringLiteral("0,00"));
        QCOMPARE(formataReais(moedaDaCelula(celula(semPagamento, 12))), QStringLiteral("300,00"));
        const LinhaPlanilha& totais = linhas[9];
        QCOMPARE(texto(totais, 0), QStringLiteral("Totais"));
        QCOMPARE(formataReais(moedaDaCelula(celula(totais, 11))), QStringLiteral("2.500,00"));
        QCOMPARE(formataReais(moedaDaCelula(celula(totais, 12))), formataReais(d.totais().Valor));
        QVERIFY(celula(totais, 10).vazia());

        const QList<LinhaPlanilha> pagamentos = leFolha(
            arquivo, QStringLiteral("Pagamentos"), fPasta.filePath(QStringLiteral("folha2.xlsx")));
        QCOMPARE(pagamentos.size(), 3);
        QCOMPARE(textos(pagamentos[0], 0, 8),
                 (QStringList{"Referência", "Data", "Valor", "Total na Data", "Principal", "Multa",
                              "Juros", "Pago a Maior"}));
        const auto valores = [&](const LinhaPlanilha& linha) {
            QStringList v;
            for (qsizetype c = 2; c < 8; ++c)
                v << formataReais(moedaDaCelula(celula(linha, c)));
            return v;
        };
        QCOMPARE(texto(pagamentos[1], 0), QStringLiteral("12/2019"));
        QCOMPARE(celula(pagamentos[1], 1).tipo, CelulaPlanilha::Tipo::Data);
        QCOMPARE(celula(pagamentos[1], 1).numero, data(2020, 3, 10));
        QCOMPARE(valores(pagamentos[1]),
                 (QStringList{"500,00", "1.104,06", "452,87", "40,76", "6,37", "0,00"}));
        const ParcelaImputada& quita = d.resultados()[1].Pagamentos.Parcelas.constFirst();
        QVERIFY(quita.Quita);
        QCOMPARE(texto(pagamentos[2], 0), QStringLiteral("01/2020"));
        QCOMPARE(
            valores(pagamentos[2]),
            (QStringList{"2.000,00", formataReais(quita.NaData.Total), QStringLiteral("1.000,00"),
                         formataReais(quita.NaData.MultaMora), formataReais(quita.NaData.JurosMora),
                         formataReais(Formato::textoParaMoeda(QStringLiteral("2000,00")) -
                                      quita.NaData.Total)}));
    }

    // A forecast marks the debt and the totals; no payment, no sheet of payments. A plain
    // statement has neither the columns nor the sheet.
    void xlsxComPrevisao() {
        const Demonstrativo d = comPrevisao();
        QVERIFY2(d.resultados()[0].Resultado, qPrintable(d.resultados()[0].Mensagem));
        const QString arquivo = fPasta.filePath(QStringLiteral("previsão.xlsx"));
        exportaDemonstrativo(d, arquivo);
        const QList<LinhaPlanilha> linhas = lePrimeiraFolha(arquivo, FormatoPlanilha::Xlsx);
        QCOMPARE(linhas.size(), 8);
        QCOMPARE(texto(linhas[5], 10), QStringLiteral("Previsão"));
        QCOMPARE(texto(linhas[6], 10), QStringLiteral("PREVISÃO"));
        QCOMPARE(formataReais(moedaDaCelula(celula(linhas[6], 8))), QStringLiteral("1.179,58"));
        QCOMPARE(formataReais(moedaDaCelula(celula(linhas[6], 11))), QStringLiteral("0,00"));
        QCOMPARE(texto(linhas[7], 10), QStringLiteral("PREVISÃO"));
        QVERIFY(!membro(arquivo, QStringLiteral("xl/workbook.xml")).contains("Pagamentos"));

        const QString simples = fPasta.filePath(QStringLiteral("simples.xlsx"));
        exportaDemonstrativo(exemplo(), simples);
        QVERIFY(celula(lePrimeiraFolha(simples, FormatoPlanilha::Xlsx)[5], 10).vazia());
        QVERIFY(!membro(simples, QStringLiteral("xl/workbook.xml")).contains("Pagamentos"));
    }

    // The CSV adds the mark, what was paid and the principal left at the end of every row,
    // only when a debt had payments or a forecast.
    void csvComColunasExtras_data() {
        QTest::addColumn<bool>("previsao");
        QTest::addColumn<QStringList>("primeira");
        QTest::newRow("pagamentos") << false << QStringList{"625,96", "", "", "500,00", "547,13"};
        QTest::newRow("previsão") << true
                                  << QStringList{"1.179,58", "", "PREVISÃO", "0,00", "1.000,00"};
    }
    void csvComColunasExtras() {
        QFETCH(bool, previsao);
        QFETCH(QStringList, primeira);
        const Demonstrativo d = previsao ? comPrevisao() : comPagamentos();
        QVERIFY2(d.resultados()[0].Resultado, qPrintable(d.resultados()[0].Mensagem));
        const QString arquivo = fPasta.filePath(QStringLiteral("extras.csv"));
        exportaDemonstrativo(d, arquivo);
        QString texto;
        QTextStream saida(&texto);
        exportaCsv(d, saida);
        const QStringList linhas = texto.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(linhas.size(), d.Debitos.size() + 1);
        QCOMPARE(linhas[0], QStringLiteral("referencia;vencimento;valor;descricao;pagamento;dias;"
                                           "taxa;multa;juros;total;mensagem;previsao;pago;"
                                           "principalEmAberto"));
        QVERIFY2(linhas[1].endsWith(primeira.join(u';')), qPrintable(linhas[1]));
        QVERIFY2(linhas[1].startsWith(QStringLiteral("%1;%2;1000,00;")
                                          .arg(d.Debitos[0].Referencia,
                                               Formato::dataParaTexto(d.Debitos[0].Vencimento))),
                 qPrintable(linhas[1]));
        // The file holds the same rows, with the batch's byte-order mark and line ends.
        QCOMPARE(conteudoArquivo(arquivo),
                 QByteArray("\xEF\xBB\xBF") +
                     (linhas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    }
};

QTEST_GUILESS_MAIN(TesteExportacaoDemonstrativo)
#include "TesteExportacaoDemonstrativo.moc"
