#include "apoio/AutoridadeTeste.h"
#include "apoio/ProgramaPortatil.h"
#include "apoio/RespondedorBancoCentral.h"
#include "apoio/ServidorHttpTeste.h"
#include "apoio/TabelaDistribuida.h"
#include "apoio/TabelaTeste.h"
#include "apoio/TextoPdf.h"
#include "apoio/TravaTeste.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <thread>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

struct Execucao {
    int status = -1;
    QByteArray bytesSaida;
    QString saida;
    QString erro;
    QStringList linhasSaida() const { return saida.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

const QString FaltamTaxas = QStringLiteral(
    "Nem todos os índices mensais da Selic foram cadastrados. Favor fornecer todos os índices "
    "para que o sistema efetue corretamente os cálculos!");
const QString ValorInvalido =
    QStringLiteral("Valor inválido! Digite o valor com as duas casas decimais.");

const MesesTeste MesesCalculo{
    {QDate(2003, 11, 1), QStringLiteral("1")},    {QDate(2003, 12, 1), QStringLiteral("1.2")},
    {QDate(2019, 12, 1), QStringLiteral("0.37")}, {QDate(2020, 1, 1), QStringLiteral("0.38")},
    {QDate(2020, 2, 1), QStringLiteral("0.29")},  {QDate(2020, 3, 1), QStringLiteral("0.34")}};

} // namespace

// Runs the real program, copied into a temporary directory so that its default table and
// its log sit there, beside it, as on a user's machine.
class TesteCli : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    QString fPrograma;
    AutoridadeTeste fAutoridade;
    // Where the program's standard output and error go instead of the test; the size no file
    // of the program may pass (0 for the system's own). Set by a test, reset for the next.
    QString fSaidaPara;
    QString fErroPara;
    rlim_t fLimiteArquivo = 0;

    void preparaSaidas(QProcess& p) const {
        if (!fSaidaPara.isEmpty())
            p.setStandardOutputFile(fSaidaPara);
        if (!fErroPara.isEmpty())
            p.setStandardErrorFile(fErroPara);
        if (fLimiteArquivo > 0)
            p.setChildProcessModifier([limite = fLimiteArquivo] {
                // A file that reaches the limit refuses the write instead of ending the program.
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit pequeno{limite, limite};
                setrlimit(RLIMIT_FSIZE, &pequeno);
            });
    }

    QString tabela() const { return fPasta.filePath(QStringLiteral("BELQOR.cds")); }
    QString log() const { return fPasta.filePath(QStringLiteral("logBELQOR.txt")); }

    QProcessEnvironment ambiente(const QString& hoje,
                                 const QProcessEnvironment& variaveis = QProcessEnvironment()) {
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(variaveis);
        ambiente.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        ambiente.insert(QStringLiteral("BELQOR_CERTIFICADOS"), fAutoridade.arquivoCertificado());
        for (const char* variavel : ServidorHttpTeste::variaveisProxy())
            ambiente.remove(QString::fromLatin1(variavel));
        if (hoje.isEmpty())
            ambiente.remove(QStringLiteral("BELQOR_HOJE"));
        else
            ambiente.insert(QStringLiteral("BELQOR_HOJE"), hoje);
        return ambiente;
    }

    // `programa` and `variaveis` run another copy of the program, in an environment of its own.
    Execucao roda(const QStringList& argumentos, const QString& hoje = QString(),
                  const QByteArray& entrada = QByteArray(), const QString& programa = QString(),
                  const QProcessEnvironment& variaveis = QProcessEnvironment()) {
        QProcess p;
        preparaSaidas(p);
        p.setProcessEnvironment(ambiente(hoje, variaveis));
        p.start(programa.isEmpty() ? fPrograma : programa, argumentos);
        p.write(entrada);
        p.closeWriteChannel();
        if (!p.waitForFinished(60000))
            qFatal("belqor-cli não terminou");
        Execucao e;
        e.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        e.bytesSaida = p.readAllStandardOutput();
        e.saida = QString::fromUtf8(e.bytesSaida);
        e.erro = QString::fromUtf8(p.readAllStandardError());
        return e;
    }

    QString fixture(const QString& nome) const {
        return QStringLiteral(BELQOR_FIXTURES "/") + nome;
    }

    // A batch of one row that calculates, in the test's folder.
    QString entradaDeUmaLinha() const {
        const QString entrada = fPasta.filePath(QStringLiteral("entrada.csv"));
        gravaArquivoTeste(entrada, "valor;vencimento;pagamento\n1000,00;10/03/2020;14/04/2020\n");
        return entrada;
    }
    // That row's calculation, its memory to pdf.
    static QStringList calculoComPdf(const QString& pdf) {
        return {QStringLiteral("calcular"),   QStringLiteral("1000,00"),
                QStringLiteral("10/03/2020"), QStringLiteral("14/04/2020"),
                QStringLiteral("--pdf"),      pdf};
    }

    // The latest month of the shipped table, as mm/yyyy.
    static QString ultimoMesPadrao() {
        const QString xml =
            QString::fromUtf8(conteudoArquivo(QStringLiteral(BELQOR_FONTE "/data/BELQOR.cds")));
        QString ultimo;
        const QRegularExpression data(QStringLiteral("Data=\"(\\d{8})\""));
        for (const QRegularExpressionMatch& m : data.globalMatch(xml))
            ultimo = qMax(ultimo, m.captured(1));
        return ultimo.mid(4, 2) + QLatin1Char('/') + ultimo.left(4);
    }

    // A copy of the table the program ships with.
    QString tabelaPadrao() const {
        const QString caminho = fPasta.filePath(QStringLiteral("padrao.cds"));
        QFile::remove(caminho);
        if (!QFile::copy(QStringLiteral(BELQOR_FONTE "/data/BELQOR.cds"), caminho))
            qFatal("não foi possível copiar a tabela padrão");
        QFile::setPermissions(caminho, QFile::ReadOwner | QFile::WriteOwner);
        return caminho;
    }

private slots:
    void initTestCase() {
        QVERIFY(fPasta.isValid());
        fPrograma = copiaProgramaPortatil(fPasta.path(), QStringLiteral(BELQOR_CLI),
                                          QStringLiteral(BELQOR_SERVICO));
        QVERIFY(!fPrograma.isEmpty());
    }
    void init() {
        fSaidaPara.clear();
        fErroPara.clear();
        fLimiteArquivo = 0;
        escreveTabelaTeste(tabela(), MesesCalculo);
        QFile::remove(log());
    }

    // Every whole calculation of the computation's examples, through the command.
    void calcular_data() {
        QTest::addColumn<QStringList>("entrada");
        QTest::addColumn<QStringList>("esperado");
        auto linha = [](const char* nome, const QStringList& entrada, const char* dias,
                        const char* taxa, const char* valor, const char* multa, const char* juros,
                        const char* total) {
            QTest::newRow(nome) << entrada
                                << QStringList{QStringLiteral("Número de dias: ") + dias,
                                               QStringLiteral("Taxa de Juros: ") + taxa + " %",
                                               QStringLiteral("Valor do ICMS: ") + valor,
                                               QStringLiteral("Multa de Mora: ") + multa,
                                               QStringLiteral("Juros de Mora: ") + juros,
                                               QStringLiteral("Total: ") + total};
        };
        linha("mesmo dia", {"1000,00", "10/03/2020", "10/03/2020"}, "0", "0,000000", "1.000,00",
              "0,00", "0,00", "1.000,00");
        linha("mesmo mês", {"1000,00", "02/03/2020", "31/03/2020"}, "29", "0,000000", "1.000,00",
              "43,50", "0,00", "1.043,50");
        linha("mês seguinte", {"1000,00", "10/03/2020", "14/04/2020"}, "35", "1,000000", "1.000,00",
              "90,00", "10,90", "1.100,90");
        linha("dezembro a janeiro", {"1000,00", "20/12/2019", "20/01/2020"}, "31", "1,000000",
              "1.000,00", "90,00", "10,90", "1.100,90");
        linha("dezembro a fevereiro", {"2500,00", "20/12/2019", "20/02/2020"}, "62", "1,380000",
              "2.500,00", "300,00", "38,64", "2.838,64");
        linha("dois meses entre", {"1000,00", "10/01/2020", "10/04/2020"}, "91", "1,630000",
              "1.000,00", "120,00", "18,26", "1.138,26");
        linha("virada, regras antigas", {"1000,00", "31/10/2003", "19/12/2003"}, "49", "2,000000",
              "1.000,00", "73,50", "21,47", "1.094,97");
        linha("virada, regras novas", {"1000,00", "03/11/2003", "19/12/2003"}, "46", "1,000000",
              "1.000,00", "90,00", "10,90", "1.100,90");
        linha("antigas, 79 dias", {"1000,00", "15/10/2003", "02/01/2004"}, "79", "3,200000",
              "1.000,00", "118,50", "35,79", "1.154,29");
        linha("antigas, 82 dias", {"1000,00", "15/10/2003", "05/01/2004"}, "82", "3,200000",
              "1.000,00", "120,00", "35,84", "1.155,84");
        linha("arredondamento em dois estágios", {"1,10", "10/03/2020", "13/03/2020"}, "3",
              "0,000000", "1,10", "0,01", "0,00", "1,11");
        linha("1.234,57 por 7 dias", {"1234,57", "10/01/2020", "17/01/2020"}, "7", "0,000000",
              "1.234,57", "12,96", "0,00", "1.247,53");
        linha("333,33 por 5 dias", {"333,33", "10/01/2020", "15/01/2020"}, "5", "0,000000",
              "333,33", "2,50", "0,00", "335,83");
        linha("valor zero", {"0,00", "10/01/2020", "10/04/2020"}, "91", "1,630000", "0,00", "0,00",
              "0,00", "0,00");
        linha("valor vazio vale 0,00", {"", "10/01/2020", "10/04/2020"}, "91", "1,630000", "0,00",
              "0,00", "0,00", "0,00");
        linha("agrupado no resultado", {"1234567,89", "10/03/2020", "10/03/2020"}, "0", "0,000000",
              "1.234.567,89", "0,00", "0,00", "1.234.567,89");
        // The amount and the dates as the batch reads them.
        linha("valor com milhar", {"1.000,00", "10/01/2020", "10/04/2020"}, "91", "1,630000",
              "1.000,00", "120,00", "18,26", "1.138,26");
        linha("valor com prefixo", {"R$ 1.000,00", "10/01/2020", "10/04/2020"}, "91", "1,630000",
              "1.000,00", "120,00", "18,26", "1.138,26");
        linha("valor em milhares sem casas", {"1.000", "10/01/2020", "10/04/2020"}, "91",
              "1,630000", "1.000,00", "120,00", "18,26", "1.138,26");
        linha("valor sem casas", {"12", "10/01/2020", "10/04/2020"}, "91", "1,630000", "12,00",
              "1,44", "0,22", "13,66");
        linha("valor com uma casa", {"12,5", "10/01/2020", "10/04/2020"}, "91", "1,630000", "12,50",
              "1,50", "0,23", "14,23");
        linha("datas aaaa-mm-dd", {"1.234,56", "2020-01-10", "2020-01-15"}, "5", "0,000000",
              "1.234,56", "9,26", "0,00", "1.243,82");
    }
    void calcular() {
        QFETCH(QStringList, entrada);
        QFETCH(QStringList, esperado);
        const QByteArray antes = conteudoArquivo(tabela());
        const Execucao e = roda(QStringList{QStringLiteral("calcular")} + entrada);
        QCOMPARE(e.erro, QString());
        QCOMPARE(e.status, 0);
        QCOMPARE(e.linhasSaida().mid(0, 6), esperado);
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    void detalhamento() {
        const Execucao e = roda({QStringLiteral("calcular"), QStringLiteral("1000,00"),
                                 QStringLiteral("15/10/2003"), QStringLiteral("02/01/2004")});
        QCOMPARE(e.status, 0);
        QCOMPARE(e.linhasSaida().mid(6),
                 (QStringList{"Multa: regras antigas (vencimento até 31/10/2003), 1 a 79 dias: "
                              "0,15 % ao dia × 79 dias",
                              "Selic 11/2003: 1,000000 %", "Selic 12/2003: 1,200000 %",
                              "Mês do pagamento 01/2004: 1,000000 %"}));
    }

    // Numbers a script reads without the Brazilian format, beside the texts as shown.
    void json() {
        const Execucao e = roda({QStringLiteral("calcular"), QStringLiteral("1000,00"),
                                 QStringLiteral("10/01/2020"), QStringLiteral("10/04/2020"),
                                 QStringLiteral("--json")});
        QCOMPARE(e.status, 0);
        QJsonParseError falha{};
        const QJsonObject o = QJsonDocument::fromJson(e.bytesSaida, &falha).object();
        QCOMPARE(falha.error, QJsonParseError::NoError);
        QVERIFY(o.value("numeroDias").isDouble());
        QCOMPARE(o.value("numeroDias").toInt(), 91);
        QCOMPARE(o.value("taxaJuros").toString(), QStringLiteral("1.630000"));
        QCOMPARE(o.value("valorICMS").toString(), QStringLiteral("1000.00"));
        QCOMPARE(o.value("multaMora").toString(), QStringLiteral("120.00"));
        QCOMPARE(o.value("jurosMora").toString(), QStringLiteral("18.26"));
        QCOMPARE(o.value("total").toString(), QStringLiteral("1138.26"));
        const QJsonObject textos = o.value("textos").toObject();
        QCOMPARE(textos.value("numeroDias").toString(), QStringLiteral("91"));
        QCOMPARE(textos.value("taxaJuros").toString(), QStringLiteral("1,630000 %"));
        QCOMPARE(textos.value("total").toString(), QStringLiteral("1.138,26"));
        const QJsonObject d = o.value("detalhamento").toObject();
        QCOMPARE(d.value("faixaMulta").toString(), QStringLiteral("61 dias ou mais: 12 %"));
        const QJsonArray selic = d.value("selic").toArray();
        QCOMPARE(selic.size(), 2);
        QCOMPARE(selic[0].toObject().value("mes").toString(), QStringLiteral("02/2020"));
        QCOMPARE(selic[1].toObject().value("taxa").toString(), QStringLiteral("0,340000 %"));
        QCOMPARE(d.value("mesPagamento").toObject().value("mes").toString(),
                 QStringLiteral("04/2020"));
    }

    // A failure under --json is an object on standard output; the status stays.
    void jsonDeFalha_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("erro");
        QTest::newRow("valor recusado")
            << QStringList{"calcular", "12,505", "10/01/2020", "10/04/2020", "--json"} << 1
            << ValorInvalido;
        QTest::newRow("faltam taxas")
            << QStringList{"calcular", "1000,00", "10/01/2020", "10/06/2020", "--json"} << 1
            << FaltamTaxas;
        QTest::newRow("faltam argumentos") << QStringList{"calcular", "--json", "1000,00"} << 2
                                           << "Faltam argumentos para o comando calcular.";
    }
    void jsonDeFalha() {
        QFETCH(QStringList, argumentos);
        QFETCH(int, status);
        QFETCH(QString, erro);
        const Execucao e = roda(argumentos);
        QCOMPARE(e.status, status);
        QJsonParseError falha{};
        const QJsonDocument doc = QJsonDocument::fromJson(e.bytesSaida, &falha);
        QCOMPARE(falha.error, QJsonParseError::NoError);
        QCOMPARE(doc.object().keys(), QStringList{QStringLiteral("erro")});
        QCOMPARE(doc.object().value("erro").toString(), erro);
    }

    // The calculation memory on the shipped table: every input, the six results, the
    // months and rates added, the payment month's 1 % and the penalty rule, read back
    // from the PDF.
    void memoriaEmPdf_data() {
        QTest::addColumn<QStringList>("entrada");
        QTest::addColumn<QList<QStringList>>("linhas");
        const QStringList novas{"Regra:", "regras novas (vencimento após 31/10/2003)"};
        QTest::newRow("dois meses entre")
            << QStringList{"1000,00", "10/01/2020", "10/04/2020"}
            << QList<QStringList>{{"Valor do ICMS", "1.000,00"},
                                  {"Data de Vencimento", "10/01/2020"},
                                  {"Data de Pagamento", "10/04/2020"},
                                  {"Número de dias", "91"},
                                  {"Taxa de Juros", "1,630000 %"},
                                  {"Multa de Mora", "120,00"},
                                  {"Juros de Mora", "18,26"},
                                  {"Total", "1.138,26"},
                                  novas,
                                  {"Faixa:", "61 dias ou mais: 12 %"},
                                  {"Selic 02/2020", "0,290000 %"},
                                  {"Selic 03/2020", "0,340000 %"},
                                  {"Mês do pagamento 04/2020", "1,000000 %"},
                                  {"Soma: taxa de juros aplicada", "1,630000 %"},
                                  {"Base dos juros (imposto + multa):", "1.120,0000"},
                                  {"Último mês da tabela Selic:", ultimoMesPadrao()}};
        QTest::newRow("regras antigas")
            << QStringList{"1000,00", "15/10/2003", "02/01/2004"}
            << QList<QStringList>{{"Valor do ICMS", "1.000,00"},
                                  {"Data de Vencimento", "15/10/2003"},
                                  {"Data de Pagamento", "02/01/2004"},
                                  {"Número de dias", "79"},
                                  {"Taxa de Juros", "3,710000 %"},
                                  {"Multa de Mora", "118,50"},
                                  {"Juros de Mora", "41,50"},
                                  {"Total", "1.160,00"},
                                  {"Regra:", "regras antigas (vencimento até 31/10/2003)"},
                                  {"Faixa:", "1 a 79 dias: 0,15 % ao dia × 79 dias"},
                                  {"Selic 11/2003", "1,340000 %"},
                                  {"Selic 12/2003", "1,370000 %"},
                                  {"Mês do pagamento 01/2004", "1,000000 %"},
                                  {"Base dos juros (imposto + multa):", "1.118,5000"}};
        QTest::newRow("pago no mês do vencimento")
            << QStringList{"1000,00", "02/03/2020", "31/03/2020"}
            << QList<QStringList>{{"Valor do ICMS", "1.000,00"},
                                  {"Data de Vencimento", "02/03/2020"},
                                  {"Data de Pagamento", "31/03/2020"},
                                  {"Número de dias", "29"},
                                  {"Taxa de Juros", "0,000000 %"},
                                  {"Multa de Mora", "43,50"},
                                  {"Juros de Mora", "0,00"},
                                  {"Total", "1.043,50"},
                                  novas,
                                  {"Faixa:", "1 a 30 dias: 0,15 % ao dia × 29 dias"},
                                  {"Pagamento no mês do vencimento: sem juros", "0,000000 %"}};
    }
    void memoriaEmPdf() {
        QFETCH(QStringList, entrada);
        QFETCH(QList<QStringList>, linhas);
        const QString pdf = fPasta.filePath(QStringLiteral("memória.pdf"));
        QFile::remove(pdf);
        const QStringList argumentos = QStringList{QStringLiteral("calcular")} + entrada +
                                       QStringList{QStringLiteral("--tabela"), tabelaPadrao()};
        const Execucao e = roda(argumentos + QStringList{QStringLiteral("--pdf"), pdf},
                                QStringLiteral("15/06/2020"));
        QCOMPARE(e.erro, QString());
        QCOMPARE(e.status, 0);
        // The text output is the same as without the document.
        QCOMPARE(e.saida, roda(argumentos).saida);
        QVERIFY(conteudoArquivo(pdf).startsWith("%PDF-"));

        const QStringList texto = textoPdf(pdf);
        QVERIFY2(!linhaCom(texto, {"Memória de Cálculo — ICMS pago em atraso"}).isEmpty(),
                 qPrintable(texto.join('\n')));
        QVERIFY(!linhaCom(texto, {"Emitido em 15/06/2020 às 00:00:00"}).isEmpty());
        for (const QStringList& pedacos : linhas)
            QVERIFY2(!linhaCom(texto, pedacos).isEmpty(),
                     qPrintable(pedacos.join(" … ") + "\n" + texto.join('\n')));
        QVERIFY(texto.join(' ').contains(
            "O imposto só vence em dia de expediente normal na Repartição Fazendária ou na "
            "Agência Arrecadadora onde deva ser efetuado o pagamento (Artigo 91 - RICMS/02)"));
        QVERIFY(!linhaCom(texto, {"BELQOR", "Versão 3.02.00"}).isEmpty());
    }

    // The document is text, not pictures, and reads in the order a person reads it: the
    // content stream gives title, inputs, results, the rule, the months, the notice and the
    // version in that order, each caption just before its figure; laid out, each caption
    // shares its line with its figure.
    void memoriaEmOrdemDeLeitura() {
        const QString pdf = fPasta.filePath(QStringLiteral("leitura.pdf"));
        QFile::remove(pdf);
        const Execucao e =
            roda({QStringLiteral("calcular"), QStringLiteral("1000,00"),
                  QStringLiteral("10/01/2020"), QStringLiteral("10/04/2020"),
                  QStringLiteral("--tabela"), tabelaPadrao(), QStringLiteral("--pdf"), pdf},
                 QStringLiteral("15/06/2020"));
        QCOMPARE(e.erro, QString());
        QCOMPARE(e.status, 0);

        const QStringList aviso{
            QStringLiteral("O imposto só vence em dia de expediente normal na Repartição "
                           "Fazendária ou na"),
            QStringLiteral("Agência Arrecadadora onde deva ser efetuado o pagamento (Artigo 91 "
                           "- RICMS/02)")};
        const QStringList versao{
            QStringLiteral("BELQOR - Atualização de ICMS vencido - Versão 3.02.00")};
        const QStringList fluxo = textoPdfEmFluxo(pdf);
        const QStringList esperadoFluxo =
            QStringList{"Memória de Cálculo — ICMS pago em atraso",
                        "Emitido em 15/06/2020 às 00:00:00",
                        "Dados do Tributo",
                        "Valor do ICMS",
                        "1.000,00",
                        "Data de Vencimento",
                        "10/01/2020",
                        "Data de Pagamento",
                        "10/04/2020",
                        "Resultado",
                        "Número de dias",
                        "91",
                        "Taxa de Juros",
                        "1,630000 %",
                        "Valor do ICMS",
                        "1.000,00",
                        "Multa de Mora",
                        "120,00",
                        "Juros de Mora",
                        "18,26",
                        "Total",
                        "1.138,26",
                        "Multa de Mora",
                        "Regra: regras novas (vencimento após 31/10/2003)",
                        "Faixa: 61 dias ou mais: 12 %",
                        "Juros de Mora",
                        "Selic 02/2020",
                        "0,290000 %",
                        "Selic 03/2020",
                        "0,340000 %",
                        "Mês do pagamento 04/2020",
                        "1,000000 %",
                        "Soma: taxa de juros aplicada",
                        "1,630000 %"} +
            aviso + versao;
        QString falta;
        QVERIFY2(emOrdem(fluxo, esperadoFluxo, falta),
                 qPrintable(falta + "\n---\n" + fluxo.join('\n')));

        const QStringList layout = textoPdf(pdf);
        const QStringList esperadoLayout =
            QStringList{"Memória de Cálculo — ICMS pago em atraso",
                        "Emitido em 15/06/2020 às 00:00:00",
                        "Dados do Tributo",
                        "Valor do ICMS 1.000,00",
                        "Data de Vencimento 10/01/2020",
                        "Data de Pagamento 10/04/2020",
                        "Resultado",
                        "Número de dias 91",
                        "Taxa de Juros 1,630000 %",
                        "Valor do ICMS 1.000,00",
                        "Multa de Mora 120,00",
                        "Juros de Mora 18,26",
                        "Total 1.138,26",
                        "Multa de Mora",
                        "Regra: regras novas (vencimento após 31/10/2003)",
                        "Faixa: 61 dias ou mais: 12 %",
                        "Arredondada aos centavos: 120,00",
                        "Juros de Mora",
                        "Mês Taxa",
                        "Selic 02/2020 0,290000 %",
                        "Selic 03/2020 0,340000 %",
                        "Mês do pagamento 04/2020 1,000000 %",
                        "Soma: taxa de juros aplicada 1,630000 %",
                        "Juros (base × taxa de juros): 18,2560",
                        "Arredondados aos centavos: 18,26"} +
            aviso + versao;
        QVERIFY2(emOrdem(layout, esperadoLayout, falta),
                 qPrintable(falta + "\n---\n" + layout.join('\n')));

        // Text in embedded fonts, and no picture at all: the document has no logo.
        const QStringList fontes = saidaPoppler("pdffonts", {pdf});
        QVERIFY2(fontes.size() > 2, qPrintable(fontes.join('\n')));
        for (const QString& fonte : fontes.mid(2))
            QVERIFY2(fonte.contains(QStringLiteral(" yes ")), qPrintable(fonte));
        const QStringList imagens = saidaPoppler("pdfimages", {QStringLiteral("-list"), pdf});
        QCOMPARE(imagens.size(), 2);
        QVERIFY(imagens.first().startsWith(QStringLiteral("page num type")));
    }

    // Every month from 02/1998 to 03/2020 in order, over as many pages as it takes, the
    // table's header again at the top of each page.
    void memoriaLongaEmVariasPaginas() {
        const QString pdf = fPasta.filePath(QStringLiteral("longa.pdf"));
        const Execucao e =
            roda({QStringLiteral("calcular"), QStringLiteral("1000,00"),
                  QStringLiteral("02/01/1998"), QStringLiteral("10/04/2020"),
                  QStringLiteral("--tabela"), tabelaPadrao(), QStringLiteral("--pdf"), pdf});
        QCOMPARE(e.status, 0);
        const QStringList texto = textoPdf(pdf);
        QStringList meses;
        int cabecalhos = 0;
        for (const QString& l : texto) {
            if (l.startsWith(QLatin1String("Selic ")))
                meses << l.mid(6, 7);
            if (l == QStringLiteral("Mês Taxa"))
                ++cabecalhos;
        }
        QStringList esperados;
        for (QDate m(1998, 2, 1); m <= QDate(2020, 3, 1); m = m.addMonths(1))
            esperados << m.toString(QStringLiteral("MM/yyyy"));
        QCOMPARE(meses, esperados);
        QVERIFY2(cabecalhos > 1, qPrintable(QString::number(cabecalhos)));
        QVERIFY(!linhaCom(texto, {"Soma: taxa de juros aplicada", "292,630000 %"}).isEmpty());
    }

    // No figure of the document is split over two lines, whatever its width: each result and
    // each rate the command prints stands whole beside its label, and no line of the PDF
    // ends inside a figure ("3.") or begins with the rest of one ("982.047…", "%").
    void memoriaSemFiguraPartida_data() {
        QTest::addColumn<QStringList>("entrada");
        QTest::addColumn<QString>("hoje");
        QTest::newRow("o maior valor da moeda")
            << QStringList{"922337203685477,58", "10/03/2020", "10/03/2020"} << "15/06/2020";
        QTest::newRow("28 anos de juros no maior valor que os comporta")
            << QStringList{"180000000000000,00", "02/01/1998", "10/09/2026"} << "15/09/2026";
        QTest::newRow("999.999.999.999,99 por 28 anos")
            << QStringList{"999999999999,99", "02/01/1998", "10/09/2026"} << "15/09/2026";
        QTest::newRow("centavos com multa por dia")
            << QStringList{"1,10", "10/03/2020", "13/03/2020"} << "15/06/2020";
    }
    void memoriaSemFiguraPartida() {
        QFETCH(QStringList, entrada);
        QFETCH(QString, hoje);
        const QString pdf = fPasta.filePath(QStringLiteral("figuras.pdf"));
        QFile::remove(pdf);
        const Execucao e = roda(QStringList{QStringLiteral("calcular")} + entrada +
                                    QStringList{QStringLiteral("--tabela"), tabelaPadrao(),
                                                QStringLiteral("--pdf"), pdf},
                                hoje);
        QCOMPARE(e.erro, QString());
        QCOMPARE(e.status, 0);
        const QStringList texto = textoPdf(pdf);
        QVERIFY(!texto.isEmpty());

        const QRegularExpression figura(QStringLiteral("^[0-9][0-9.,]*( %)?$"));
        int figuras = 0;
        for (const QString& linha : e.linhasSaida()) {
            const qsizetype dois = linha.indexOf(QStringLiteral(": "));
            const QString valor = linha.mid(dois + 2);
            if (dois < 0 || !figura.match(valor).hasMatch())
                continue;
            ++figuras;
            QVERIFY2(!linhaCom(texto, {linha.left(dois), valor}).isEmpty(),
                     qPrintable(linha + "\n" + texto.join('\n')));
        }
        QVERIFY2(figuras >= 6, qPrintable(e.saida));

        // The account's figures at four decimals, each whole at the end of its line.
        for (const char* rotulo : {"Multa calculada:", "Base dos juros (imposto + multa):",
                                   "Juros (base × taxa de juros):"})
            QVERIFY2(terminaEmQuatroCasas(texto, QString::fromUtf8(rotulo)),
                     qPrintable(QString::fromUtf8(rotulo) + "\n" + texto.join('\n')));

        QCOMPARE(linhaComFiguraPartida(texto), QString());
    }

    // A refused calculation writes no document; one that cannot be written is a failure
    // naming the file.
    void memoriaEmPdfRecusada() {
        const QString pdf = fPasta.filePath(QStringLiteral("recusada.pdf"));
        const Execucao e = roda({QStringLiteral("calcular"), QStringLiteral("1000,00"),
                                 QStringLiteral("11/01/2020"), QStringLiteral("10/04/2020"),
                                 QStringLiteral("--pdf"), pdf});
        QCOMPARE(e.status, 1);
        QCOMPARE(e.erro, QStringLiteral("A Data do Vencimento deve ser dia útil!\n"));
        QVERIFY(!QFile::exists(pdf));

        const QString semPasta = fPasta.filePath(QStringLiteral("não existe/memória.pdf"));
        const Execucao f = roda({QStringLiteral("calcular"), QStringLiteral("1000,00"),
                                 QStringLiteral("10/01/2020"), QStringLiteral("10/04/2020"),
                                 QStringLiteral("--pdf=") + semPasta});
        QCOMPARE(f.status, 1);
        QVERIFY2(f.erro.contains(semPasta), qPrintable(f.erro));
        QCOMPARE(f.saida, QString());
    }

    // One document per calculated row, named by the row's number; none for a failed row.
    void lotePdf() {
        QFile entrada(fPasta.filePath(QStringLiteral("tres.csv")));
        QVERIFY(entrada.open(QIODevice::WriteOnly));
        entrada.write("valor;vencimento;pagamento\n1000,00;10/01/2020;10/04/2020\n"
                      "12,505;10/01/2020;10/04/2020\n2500,00;20/12/2019;20/02/2020\n");
        entrada.close();
        const QString pasta = fPasta.filePath(QStringLiteral("memórias/lote"));
        const Execucao e = roda({QStringLiteral("lote"), entrada.fileName(),
                                 fPasta.filePath(QStringLiteral("tres-saida.csv")),
                                 QStringLiteral("--pdf"), pasta});
        QCOMPARE(e.status, 1);
        QCOMPARE(e.erro, QStringLiteral("Lote: 3 linhas, 2 calculadas, 1 com falha.\n"));
        QCOMPARE(QDir(pasta).entryList(QDir::Files), (QStringList{"linha-1.pdf", "linha-3.pdf"}));
        const QStringList primeira = textoPdf(QDir(pasta).filePath("linha-1.pdf"));
        QVERIFY(!linhaCom(primeira, {"Total", "1.138,26"}).isEmpty());
        const QStringList terceira = textoPdf(QDir(pasta).filePath("linha-3.pdf"));
        QVERIFY(!linhaCom(terceira, {"Data de Vencimento", "20/12/2019"}).isEmpty());
        QVERIFY(!linhaCom(terceira, {"Selic 01/2020", "0,380000 %"}).isEmpty());
        QVERIFY(!linhaCom(terceira, {"Total", "2.838,64"}).isEmpty());

        // A folder that cannot be made stops the batch before any row, naming it.
        const QString impossivel = tabela() + QStringLiteral("/memórias");
        const QString outraSaida = fPasta.filePath(QStringLiteral("nao-gravada.csv"));
        const Execucao f = roda({QStringLiteral("lote"), entrada.fileName(), outraSaida,
                                 QStringLiteral("--pdf"), impossivel});
        QCOMPARE(f.status, 1);
        QCOMPARE(f.erro,
                 QStringLiteral("Não foi possível criar a pasta \"%1\".\n").arg(impossivel));
        QVERIFY(!QFile::exists(outraSaida));
    }

    // Each refusal: its text alone on standard error, nothing on standard output, a
    // non-zero status and the table file untouched.
    void recusas_data() {
        QTest::addColumn<QStringList>("entrada");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("valor com três casas")
            << QStringList{"12,505", "10/03/2020", "10/03/2020"} << ValorInvalido;
        QTest::newRow("valor com ponto decimal")
            << QStringList{"1,000.00", "10/03/2020", "10/03/2020"} << ValorInvalido;
        QTest::newRow("valor em letras")
            << QStringList{"R$ mil", "10/03/2020", "10/03/2020"} << ValorInvalido;
        QTest::newRow("sem vencimento")
            << QStringList{"1000,00", "", "10/03/2020"} << "Digite a Data de Vencimento!";
        QTest::newRow("vencimento em 1997")
            << QStringList{"1000,00", "31/12/1997", "10/03/2020"}
            << "A Data de Vencimento deve ser maior do que 01/01/1998!";
        QTest::newRow("vencimento em 01/01/1998")
            << QStringList{"1000,00", "01/01/1998", "10/03/2020"}
            << "A Data do Vencimento deve ser dia útil!";
        QTest::newRow("vencimento num feriado")
            << QStringList{"1000,00", "15/11/2019", "10/03/2020"}
            << "A Data do Vencimento deve ser dia útil!";
        QTest::newRow("sem pagamento")
            << QStringList{"1000,00", "10/03/2020", ""} << "Digite a Data de Pagamento!";
        QTest::newRow("pagamento em 1997")
            << QStringList{"1000,00", "10/03/2020", "31/12/1997"}
            << "A Data de Pagamento deve ser maior do que 01/01/1998!";
        QTest::newRow("pagamento num sábado") << QStringList{"1000,00", "10/03/2020", "14/03/2020"}
                                              << "A Data do Pagamento deve ser dia útil!";
        QTest::newRow("pagamento antes do vencimento")
            << QStringList{"1000,00", "10/03/2020", "09/03/2020"}
            << "A Data do Pagamento deve ser maior ou igual a Data de Vencimento!";
        QTest::newRow("data impossível") << QStringList{"1000,00", "31/02/2020", "10/03/2020"}
                                         << "'31/02/2020' is not a valid date";
        QTest::newRow("faltam taxas")
            << QStringList{"1000,00", "10/01/2020", "10/06/2020"} << FaltamTaxas;
    }
    void recusas() {
        QFETCH(QStringList, entrada);
        QFETCH(QString, mensagem);
        const QByteArray antes = conteudoArquivo(tabela());
        const Execucao e = roda(QStringList{QStringLiteral("calcular")} + entrada);
        QCOMPARE(e.erro, mensagem + QLatin1Char('\n'));
        QCOMPARE(e.saida, QString());
        QCOMPARE(e.status, 1);
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    void tabelaAusente() {
        const Execucao e = roda({QStringLiteral("calcular"), QStringLiteral("1000,00"),
                                 QStringLiteral("10/03/2020"), QStringLiteral("10/03/2020"),
                                 QStringLiteral("--tabela"), fPasta.filePath("nenhuma.cds")});
        QCOMPARE(e.status, 1);
        QVERIFY2(e.erro.contains(fPasta.filePath("nenhuma.cds")), qPrintable(e.erro));
        QVERIFY(!QFile::exists(fPasta.filePath("nenhuma.cds")));
    }

    void lote() {
        const QString saida = fPasta.filePath(QStringLiteral("saida.csv"));
        const Execucao e =
            roda({QStringLiteral("lote"), fixture(QStringLiteral("cli/lote.csv")), saida});
        QCOMPARE(e.status, 1);
        QCOMPARE(e.erro, QStringLiteral("Lote: 7 linhas, 4 calculadas, 3 com falha.\n"));
        QCOMPARE(e.saida, QString());
        const QByteArray bytes = conteudoArquivo(saida);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
        QStringList linhas = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
        QCOMPARE(linhas.takeLast(), QString());
        QCOMPARE(linhas,
                 (QStringList{
                     "valor;vencimento;pagamento;referencia;dias;taxa;multa;juros;total;mensagem",
                     "1000,00;10/01/2020;10/04/2020;nota 1;91;1,630000;120,00;18,26;1.138,26;",
                     "12,5;10/01/2020;10/04/2020;nota 2;91;1,630000;1,50;0,23;14,23;",
                     "1000,00;11/01/2020;10/04/2020;nota 3;;;;;;A Data do Vencimento deve ser dia "
                     "útil!",
                     "1000,00;10/01/2020;10/06/2020;nota 4;;;;;;" + FaltamTaxas,
                     "333,33;10/01/2020;15/01/2020;\"nota; 5\";5;0,000000;2,50;0,00;335,83;",
                     "1.234,56;10/01/2020;15/01/2020;nota 6;5;0,000000;9,26;0,00;1.243,82;",
                     "1000,00;10/01/2020;;;;;;;;Linha com colunas a menos."}));
    }

    void loteNaSaidaPadrao() {
        QFile entrada(fPasta.filePath(QStringLiteral("um.csv")));
        QVERIFY(entrada.open(QIODevice::WriteOnly));
        entrada.write(
            "\xEF\xBB\xBFVencimento;Pagamento;Valor\r\n10/03/2020;14/04/2020;1000,00\r\n");
        entrada.close();
        const Execucao e = roda({QStringLiteral("lote"), entrada.fileName()});
        QCOMPARE(e.status, 0);
        QCOMPARE(e.linhasSaida(),
                 (QStringList{"Vencimento;Pagamento;Valor;dias;taxa;multa;juros;total;mensagem",
                              "10/03/2020;14/04/2020;1000,00;35;1,000000;90,00;10,90;1.100,90;"}));
    }

    // Present January, current May (refused by the table's rule: not yet published), future
    // June, new April. May and June are reported alike: months not yet over.
    void importar() {
        escreveTabelaTeste(tabela(), {{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        const Execucao e =
            roda({QStringLiteral("importar"), fixture(QStringLiteral("cli/meses-mistos.xml"))},
                 QStringLiteral("15/05/2024"));
        QCOMPARE(e.linhasSaida(),
                 (QStringList{"Meses incluídos: 04/2024", "Meses já presentes: 01/2024",
                              "Meses ainda não encerrados (ignorados): 05/2024 a 06/2024"}));
        QCOMPARE(e.erro, QStringLiteral("A Selic de 05/2024 ainda não foi divulgada! A data de "
                                        "hoje é 15/05/2024\nFalha ao inserir registro\n"));
        QCOMPARE(e.status, 0);
        QVERIFY(!QFile::exists(log()));

        const Execucao lista = roda({QStringLiteral("tabela")});
        QCOMPARE(lista.linhasSaida().mid(1, 2),
                 (QStringList{"01/2024\t0,970000", "04/2024\t0,890000"}));
    }

    // A month not yet over between two that are over, on 10/12/2026: October and November
    // are added, December is said not to be over (after the table's rule said so), nothing
    // is refused.
    void importarMesNaoEncerradoEntreOutros() {
        escreveTabelaTeste(tabela(), {{QDate(2026, 9, 1), QStringLiteral("1.08")}});
        const Execucao e = roda({QStringLiteral("importar"),
                                 fixture(QStringLiteral("importacao/nao-encerrado-no-meio.xml"))},
                                QStringLiteral("10/12/2026"));
        QCOMPARE(e.linhasSaida(), (QStringList{"Meses incluídos: 10/2026 a 11/2026",
                                               "Meses ainda não encerrados (ignorados): 12/2026"}));
        QCOMPARE(e.erro, QStringLiteral("A Selic de 12/2026 ainda não foi divulgada! A data de "
                                        "hoje é 10/12/2026\nFalha ao inserir registro\n"));
        QCOMPARE(e.status, 0);
        const Execucao lista = roda({QStringLiteral("tabela")});
        QCOMPARE(lista.linhasSaida().mid(1),
                 (QStringList{"09/2026\t1,080000", "10/2026\t1,280000", "11/2026\t1,050000",
                              "3 meses de 09/2026 a 11/2026. Nenhum mês ausente."}));
    }

    void importarSemMudancaNaoGrava() {
        escreveTabelaTeste(tabela(), {{QDate(2024, 2, 1), QStringLiteral("0.8")},
                                      {QDate(2024, 3, 1), QStringLiteral("0.83")},
                                      {QDate(2024, 4, 1), QStringLiteral("0.89")}});
        const QByteArray antes = conteudoArquivo(tabela());
        const Execucao e = roda(
            {QStringLiteral("importar"), fixture(QStringLiteral("importacao/tres-entradas.xml"))},
            QStringLiteral("15/05/2024"));
        QCOMPARE(e.status, 0);
        QCOMPARE(e.linhasSaida().first(), QStringLiteral("Nenhum mês foi incluído na tabela."));
        QCOMPARE(e.linhasSaida().at(1), QStringLiteral("Meses já presentes: 02/2024 a 04/2024"));
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    // "-" reads the document from standard input.
    void importarDaEntradaPadrao() {
        escreveTabelaTeste(tabela(), {{QDate(2024, 2, 1), QStringLiteral("0.8")}});
        const Execucao e =
            roda({QStringLiteral("importar"), QStringLiteral("-")}, QStringLiteral("15/05/2024"),
                 conteudoArquivo(fixture(QStringLiteral("importacao/tres-entradas.xml"))));
        QCOMPARE(e.status, 0);
        const Execucao lista = roda({QStringLiteral("tabela")});
        QCOMPARE(lista.linhasSaida().mid(1, 3),
                 (QStringList{"02/2024\t0,800000", "03/2024\t0,830000", "04/2024\t0,890000"}));
    }

    // A walk that stops is logged beside the program, as at start-up, and reported.
    void importarComFalhaNaLeitura() {
        escreveTabelaTeste(tabela(), {{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        const Execucao e = roda({QStringLiteral("importar"),
                                 fixture(QStringLiteral("importacao/terceira-sem-valor.xml"))},
                                QStringLiteral("15/05/2024"));
        QCOMPARE(e.status, 1);
        QCOMPARE(e.linhasSaida().first(), QStringLiteral("Meses incluídos: 02/2024 a 03/2024"));
        QVERIFY(QFile::exists(log()));
        QVERIFY2(e.erro.contains(QStringLiteral("valorTaxaSelic")), qPrintable(e.erro));
        QVERIFY(e.erro.contains(log()));
    }

    // A log that cannot be opened switches logging off without a word: the failure of the
    // walk is still said, once, from the import itself, and no log is claimed.
    void importarComFalhaELogQueNaoPodeSerGravado() {
        escreveTabelaTeste(tabela(), {{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        QVERIFY(QDir().mkpath(log()));
        const Execucao e = roda({QStringLiteral("importar"),
                                 fixture(QStringLiteral("importacao/terceira-sem-valor.xml"))},
                                QStringLiteral("15/05/2024"));
        QDir(log()).removeRecursively();
        QCOMPARE(e.status, 1);
        QCOMPARE(e.linhasSaida().first(), QStringLiteral("Meses incluídos: 02/2024 a 03/2024"));
        QCOMPARE(e.erro, QStringLiteral("A leitura do documento parou na entrada 3: Nó "
                                        "\"valorTaxaSelic\" não encontrado.\n"));
    }

    void importarDocumentoMalformado() {
        QFile doc(fPasta.filePath(QStringLiteral("ruim.xml")));
        QVERIFY(doc.open(QIODevice::WriteOnly));
        doc.write("<list><item>");
        doc.close();
        const QByteArray antes = conteudoArquivo(tabela());
        const Execucao e = roda({QStringLiteral("importar"), doc.fileName()});
        QCOMPARE(e.status, 1);
        QVERIFY2(e.erro.startsWith(QStringLiteral("O documento de taxas não pôde ser lido: ")),
                 qPrintable(e.erro));
        QCOMPARE(e.linhasSaida(), QStringList{"Nenhum mês foi incluído na tabela."});
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    // A device reports size 0 and never ends; the read stops at the limit, the table is
    // not touched.
    void importarDispositivoSemFim() {
        const QByteArray antes = conteudoArquivo(tabela());
        const Execucao e = roda({QStringLiteral("importar"), QStringLiteral("/dev/zero")});
        QCOMPARE(e.status, 1);
        QCOMPARE(e.erro, QStringLiteral("O arquivo \"/dev/zero\" é grande demais para um "
                                        "documento de taxas (mais de 16 MiB).\n"));
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    // Standard input is read as a file is: the read stops at the limit and says so, the
    // table is not touched.
    void importarEntradaPadraoGrandeDemais() {
        const QByteArray antes = conteudoArquivo(tabela());
        const Execucao e = roda({QStringLiteral("importar"), QStringLiteral("-")}, QString(),
                                QByteArray(16 * 1024 * 1024 + 1, ' '));
        QCOMPARE(e.status, 1);
        QCOMPARE(e.erro, QStringLiteral("A entrada padrão é grande demais para um documento de "
                                        "taxas (mais de 16 MiB).\n"));
        QCOMPARE(e.saida, QString());
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    void importarDocumentoAninhadoDemais() {
        const QString doc = fPasta.filePath(QStringLiteral("aninhado.xml"));
        gravaArquivoTeste(doc, "<list>" + QByteArray("<a>").repeated(200000));
        const QByteArray antes = conteudoArquivo(tabela());
        const Execucao e = roda({QStringLiteral("importar"), doc});
        QCOMPARE(e.status, 1);
        QVERIFY2(e.erro.contains(QStringLiteral("aninhados em mais de 32 níveis")),
                 qPrintable(e.erro));
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    // Another program holds the table: the import waits a few seconds, then says so and
    // leaves the table as it was.
    void importarComTabelaReservadaDesiste() {
        escreveTabelaTeste(tabela(), {{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        const QByteArray antes = conteudoArquivo(tabela());
        QLockFile outro(tabela() + QStringLiteral(".lock"));
        QVERIFY(outro.tryLock(0));
        const Execucao e = roda(
            {QStringLiteral("importar"), fixture(QStringLiteral("importacao/tres-entradas.xml"))},
            QStringLiteral("15/05/2024"));
        QCOMPARE(e.status, 1);
        QCOMPARE(e.saida, QString());
        QCOMPARE(e.erro, QStringLiteral("O BELQOR já está aberto com a tabela \"%1\". A tabela "
                                        "não pode ser usada por dois programas ao mesmo tempo.\n")
                             .arg(tabela()));
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    // A folder where the lock goes is no other program: said at once, naming the lock.
    void importarComTravaQueEhPasta() {
        escreveTabelaTeste(tabela(), {{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        const QByteArray antes = conteudoArquivo(tabela());
        const QString trava = tabela() + QStringLiteral(".lock");
        QVERIFY(QDir().mkpath(trava));
        const Execucao e = roda(
            {QStringLiteral("importar"), fixture(QStringLiteral("importacao/tres-entradas.xml"))},
            QStringLiteral("15/05/2024"));
        QDir(trava).removeRecursively();
        QCOMPARE(e.status, 1);
        QCOMPARE(e.saida, QString());
        QCOMPARE(e.erro, QStringLiteral("Não foi possível criar o arquivo de trava \"%1\" da "
                                        "tabela: o caminho é uma pasta.\n")
                             .arg(trava));
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    void importarAssumeTravaAbandonada() {
        escreveTabelaTeste(tabela(), {{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        escreveTravaAbandonada(tabela() + QStringLiteral(".lock"));
        const Execucao e = roda(
            {QStringLiteral("importar"), fixture(QStringLiteral("importacao/tres-entradas.xml"))},
            QStringLiteral("15/05/2024"));
        QCOMPARE(e.status, 0);
        QCOMPARE(e.linhasSaida().first(), QStringLiteral("Meses incluídos: 02/2024 a 04/2024"));
        QVERIFY(!QFile::exists(tabela() + QStringLiteral(".lock")));
    }

    // Two imports of different months into one table at the same time, 20 rounds: a month
    // reported as added is always in the file, and a run that did not add its month says so.
    void doisImportadoresAoMesmoTempo() {
        const QString fevereiro = fPasta.filePath(QStringLiteral("fevereiro.xml"));
        const QString marco = fPasta.filePath(QStringLiteral("marco.xml"));
        gravaArquivoTeste(fevereiro, "<list><i><dataSelic>2024-02-01</dataSelic>"
                                     "<valorTaxaSelic>0.80</valorTaxaSelic></i></list>\n");
        gravaArquivoTeste(marco, "<list><i><dataSelic>2024-03-01</dataSelic>"
                                 "<valorTaxaSelic>0.83</valorTaxaSelic></i></list>\n");
        const QStringList documentos{fevereiro, marco};
        const QList<QByteArray> meses{"Data=\"20240201\"", "Data=\"20240301\""};
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("BELQOR_HOJE"), QStringLiteral("15/05/2024"));
        for (int rodada = 0; rodada < 20; ++rodada) {
            escreveTabelaTeste(tabela(), {{QDate(2024, 1, 1), QStringLiteral("0.97")}});
            QProcess processos[2];
            for (int i = 0; i < 2; ++i) {
                processos[i].setProcessEnvironment(ambiente);
                processos[i].start(fPrograma, {QStringLiteral("importar"), documentos[i]});
            }
            int incluidos = 0;
            const QByteArray final = [&] {
                for (QProcess& p : processos)
                    if (!p.waitForFinished(60000))
                        qFatal("belqor-cli não terminou");
                return conteudoArquivo(tabela());
            }();
            QVERIFY2(final.contains("Data=\"20240101\""), qPrintable(QString::number(rodada)));
            for (int i = 0; i < 2; ++i) {
                const QString saida = QString::fromUtf8(processos[i].readAllStandardOutput());
                const QString erro = QString::fromUtf8(processos[i].readAllStandardError());
                const bool disseIncluido = saida.startsWith(QStringLiteral("Meses incluídos: "));
                const QString contexto = QStringLiteral("rodada %1, processo %2: %3 %4")
                                             .arg(rodada)
                                             .arg(i)
                                             .arg(saida, erro);
                if (disseIncluido) {
                    QVERIFY2(final.contains(meses[i]), qPrintable(contexto));
                    ++incluidos;
                } else {
                    QVERIFY2(processos[i].exitCode() != 0 && !erro.isEmpty(), qPrintable(contexto));
                }
            }
            // Whoever holds the lock first always gets its month in.
            QVERIFY2(incluidos >= 1, qPrintable(QString::number(rodada)));
        }
    }

    // The central bank's series saved from its site, and a month present with another rate.
    void importarSerieDoBancoCentral_data() {
        QTest::addColumn<QString>("arquivo");
        QTest::newRow("CSV") << "bancocentral/selic-2024.csv";
        QTest::newRow("JSON") << "bancocentral/selic-2024.json";
    }
    void importarSerieDoBancoCentral() {
        QFETCH(QString, arquivo);
        escreveTabelaTeste(tabela(), {{QDate(2024, 1, 1), QStringLiteral("0.97")},
                                      {QDate(2024, 2, 1), QStringLiteral("0.81")}});
        const Execucao e =
            roda({QStringLiteral("importar"), fixture(arquivo)}, QStringLiteral("10/12/2024"));
        QCOMPARE(e.linhasSaida(),
                 (QStringList{"Meses incluídos: 03/2024 a 11/2024", "Meses já presentes: 01/2024",
                              "Mês 02/2024 presente com outra taxa: na tabela 0,81, publicada 0,8 "
                              "(a da tabela foi mantida)",
                              "Meses ainda não encerrados (ignorados): 12/2024"}));
        QCOMPARE(e.erro, QString());
        QCOMPARE(e.status, 1);
        const Execucao lista = roda({QStringLiteral("tabela")});
        QCOMPARE(lista.linhasSaida().mid(1, 4),
                 (QStringList{"01/2024\t0,970000", "02/2024\t0,810000", "03/2024\t0,830000",
                              "04/2024\t0,890000"}));
        QCOMPARE(lista.linhasSaida().last(),
                 QStringLiteral("11 meses de 01/2024 a 11/2024. Nenhum mês ausente."));
    }

    // A negative rate is refused from every kind of file, with the table's message, and
    // never reaches the table.
    void importarTaxaNegativa_data() {
        QTest::addColumn<QByteArray>("documento");
        QTest::addColumn<QStringList>("saida");
        QTest::addColumn<QString>("erro");
        const QString mensagens = QStringLiteral(
            "A Selic de 02/2024 não pode ser negativa: -0,1.\nFalha ao inserir registro\n");
        // The series stops at a month the table refuses, as at a rate that is not a number.
        const QStringList serie{"Nenhum mês foi incluído na tabela.",
                                "Meses já presentes: 01/2024"};
        const QString paradaSerie =
            mensagens + QStringLiteral("A tabela recusou o mês 02/2024; a leitura parou nele.\n");
        QTest::newRow("CSV do Banco Central")
            << QByteArray("\"data\";\"valor\"\r\n\"01/01/2024\";\"0,97\"\r\n"
                          "\"01/02/2024\";\"-0,10\"\r\n\"01/03/2024\";\"0,83\"\r\n")
            << serie << paradaSerie;
        QTest::newRow("JSON do Banco Central")
            << QByteArray("[{\"data\":\"01/01/2024\",\"valor\":\"0.97\"},"
                          "{\"data\":\"01/02/2024\",\"valor\":\"-0.10\"},"
                          "{\"data\":\"01/03/2024\",\"valor\":\"0.83\"}]")
            << serie << paradaSerie;
        // The rate document goes on past a refused month, as the refresh at start does.
        QTest::newRow("documento de taxas")
            << QByteArray("<list><i><dataSelic>2024-02-01</dataSelic><valorTaxaSelic>-0.10"
                          "</valorTaxaSelic></i><i><dataSelic>2024-03-01</dataSelic>"
                          "<valorTaxaSelic>0.83</valorTaxaSelic></i><i><dataSelic>2024-01-01"
                          "</dataSelic><valorTaxaSelic>0.97</valorTaxaSelic></i></list>\n")
            << QStringList{"Meses incluídos: 03/2024", "Meses já presentes: 01/2024",
                           "Mês 02/2024 recusado: A Selic de 02/2024 não pode ser negativa: -0,1."}
            << mensagens;
    }
    void importarTaxaNegativa() {
        QFETCH(QByteArray, documento);
        QFETCH(QStringList, saida);
        QFETCH(QString, erro);
        escreveTabelaTeste(tabela(), {{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        const QString arquivo = fPasta.filePath(QStringLiteral("negativa"));
        gravaArquivoTeste(arquivo, documento);
        const Execucao e =
            roda({QStringLiteral("importar"), arquivo}, QStringLiteral("15/05/2024"));
        QCOMPARE(e.linhasSaida(), saida);
        QCOMPARE(e.erro, erro);
        QCOMPARE(e.status, 1);
        QVERIFY(!conteudoArquivo(tabela()).contains("Data=\"20240201\""));
    }

    // A rate's text that carries line breaks or other control characters reaches the
    // terminal as one line, with blanks where they stood, as the log writes it: it cannot
    // forge a line of the outcome.
    void importarTaxaComControlesNumaLinha_data() {
        QTest::addColumn<QByteArray>("documento");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("série JSON")
            << QByteArray(R"([{"data":"01/01/2024","valor":"0,5\r\nMeses incluídos: 12/2099"}])")
            << "A leitura parou no item 1 da lista: o valor \"0,5  Meses incluídos: 12/2099\" não "
               "é um número.";
        QTest::newRow("série CSV")
            << QByteArray("01/01/2024;0,5\rMeses incluídos: 12/2099\n")
            << "A leitura parou na linha 1: o valor \"0,5 Meses incluídos: 12/2099\" não é um "
               "número.";
        QTest::newRow("documento de taxas")
            << QByteArray("<list><item><dataSelic>2024-01-01</dataSelic><valorTaxaSelic>0,5&#13;"
                          "&#10;Meses incluídos: 99</valorTaxaSelic></item></list>")
            << "A leitura do documento parou na entrada 1 (registrada em LOG): '0,5  Meses "
               "incluídos: 99' is not a valid floating point value";
    }
    void importarTaxaComControlesNumaLinha() {
        QFETCH(QByteArray, documento);
        QFETCH(QString, mensagem);
        const Execucao e = roda({QStringLiteral("importar"), QStringLiteral("-")},
                                QStringLiteral("10/12/2024"), documento);
        QCOMPARE(e.status, 1);
        QCOMPARE(e.erro, mensagem.replace(QStringLiteral("LOG"), log()) + QLatin1Char('\n'));
    }

    void importarSerieComEntradaRuim() {
        escreveTabelaTeste(tabela(), {{QDate(2024, 1, 1), QStringLiteral("0.97")}});
        const QByteArray antes = conteudoArquivo(tabela());
        const QString arquivo = fPasta.filePath(QStringLiteral("ruim.csv"));
        gravaArquivoTeste(arquivo, "\"data\";\"valor\"\r\n\"15/02/2024\";\"0,80\"\r\n");
        const Execucao e =
            roda({QStringLiteral("importar"), arquivo}, QStringLiteral("10/12/2024"));
        QCOMPARE(e.status, 1);
        QCOMPARE(e.linhasSaida(), QStringList{"Nenhum mês foi incluído na tabela."});
        QCOMPARE(e.erro, QStringLiteral("A leitura parou na linha 2: a data 15/02/2024 não é o "
                                        "primeiro dia de um mês.\n"));
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    // The shipped table, today 10/12/2026, a loopback server with October and November.
    void atualizar() {
        QVERIFY2(fAutoridade.erro().isEmpty(), qPrintable(fAutoridade.erro()));
        QVERIFY(QFile::remove(tabela()));
        QVERIFY(QFile::rename(copiaTabelaDistribuida(fPasta.path()), tabela()));
        const QString hoje = QStringLiteral("10/12/2026");
        const QStringList calculo{QStringLiteral("calcular"), QStringLiteral("1000,00"),
                                  QStringLiteral("10/09/2026"), QStringLiteral("10/12/2026")};
        const Execucao antes = roda(calculo, hoje);
        QCOMPARE(antes.status, 1);
        QCOMPARE(antes.erro, FaltamTaxas + '\n');

        ServidorHttpTeste servidor(
            RespondedorBancoCentral({{QDate(2026, 10, 1), QStringLiteral("1.28")},
                                     {QDate(2026, 11, 1), QStringLiteral("1.05")},
                                     {QDate(2026, 12, 1), QStringLiteral("0.40")}}),
            fAutoridade.emite());
        const QString url = servidor.url(QStringLiteral("/dados/serie/bcdata.sgs.4390/dados"));
        const Execucao e = roda({QStringLiteral("atualizar"), QStringLiteral("--url"), url}, hoje);
        QCOMPARE(e.erro, QString());
        QCOMPARE(e.linhasSaida(), (QStringList{"Meses incluídos: 10/2026 a 11/2026",
                                               "Meses ainda não encerrados (ignorados): 12/2026"}));
        QCOMPARE(e.status, 0);
        QCOMPARE(RespondedorBancoCentral::janelasPedidas(servidor),
                 QStringList{"01/10/2026-10/12/2026"});

        const Execucao depois = roda(calculo, hoje);
        QCOMPARE(depois.erro, QString());
        QCOMPARE(depois.status, 0);
        QCOMPARE(depois.linhasSaida().mid(0, 6),
                 (QStringList{"Número de dias: 91", "Taxa de Juros: 3,330000 %",
                              "Valor do ICMS: 1.000,00", "Multa de Mora: 120,00",
                              "Juros de Mora: 37,30", "Total: 1.157,30"}));

        // Nothing new the second time: the file stays as it is.
        const QByteArray gravada = conteudoArquivo(tabela());
        const Execucao denovo = roda({QStringLiteral("atualizar"), "--url=" + url}, hoje);
        QCOMPARE(denovo.linhasSaida(),
                 (QStringList{"Nenhum mês foi incluído na tabela.",
                              "Meses ainda não encerrados (ignorados): 12/2026"}));
        QCOMPARE(denovo.status, 0);
        QCOMPARE(conteudoArquivo(tabela()), gravada);
    }

    // An installed program upgraded to a package whose default table holds two more months
    // than the user's: a command that writes the table brings them in, through the table's
    // rules, and says so on standard error, its output left to the command; a month held with
    // another rate keeps it. With nothing new it says nothing and leaves the file untouched.
    void comandoQueGravaTrazMesesDaPadrao_data() {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<bool>("novos");
        QTest::newRow("importar, dois meses a mais") << "importar" << true;
        QTest::newRow("atualizar, dois meses a mais") << "atualizar" << true;
        QTest::newRow("importar, nada novo") << "importar" << false;
        QTest::newRow("atualizar, nada novo") << "atualizar" << false;
    }
    void comandoQueGravaTrazMesesDaPadrao() {
        QFETCH(QString, comando);
        QFETCH(bool, novos);
        QDir raiz(fPasta.filePath(QStringLiteral("instalado")));
        raiz.removeRecursively();
        const QString bin = raiz.filePath(QStringLiteral("usr/bin"));
        const QString programa = bin + QStringLiteral("/belqor-cli");
        const QString padrao =
            QDir::cleanPath(bin + QStringLiteral("/" BELQOR_DADOS_RELATIVOS "/BELQOR.cds"));
        const QString doUsuario = raiz.filePath(QStringLiteral("casa/dados/belqor/BELQOR.cds"));
        QVERIFY(QDir().mkpath(bin));
        QVERIFY(QDir().mkpath(QFileInfo(padrao).path()));
        QVERIFY(QDir().mkpath(QFileInfo(doUsuario).path()));
        QVERIFY(QFile::copy(fPrograma, programa));
        const QString servico = QFileInfo(QStringLiteral(BELQOR_SERVICO)).fileName();
        QVERIFY(QFile::copy(fPasta.filePath(servico), bin + QLatin1Char('/') + servico));

        const MesesTeste usuario{{QDate(2020, 1, 1), QStringLiteral("0.38")},
                                 {QDate(2020, 2, 1), QStringLiteral("0.29")},
                                 {QDate(2020, 3, 1), QStringLiteral("0.3")}};
        escreveTabelaTeste(doUsuario, usuario);
        escreveTabelaTeste(padrao, novos ? MesesTeste{{QDate(2020, 1, 1), QStringLiteral("0.38")},
                                                      {QDate(2020, 2, 1), QStringLiteral("0.29")},
                                                      {QDate(2020, 3, 1), QStringLiteral("0.34")},
                                                      {QDate(2020, 4, 1), QStringLiteral("0.28")},
                                                      {QDate(2020, 5, 1), QStringLiteral("0.24")}}
                                         : usuario);
        const QDateTime alteracaoAntes = envelheceArquivo(doUsuario);
        const QByteArray bytesAntes = conteudoArquivo(doUsuario);

        QProcessEnvironment ambiente;
        ambiente.insert(QStringLiteral("HOME"), raiz.filePath(QStringLiteral("casa")));
        ambiente.insert(QStringLiteral("XDG_DATA_HOME"),
                        raiz.filePath(QStringLiteral("casa/dados")));
        ambiente.insert(QStringLiteral("XDG_STATE_HOME"),
                        raiz.filePath(QStringLiteral("casa/estado")));
        const QString serie = raiz.filePath(QStringLiteral("serie.csv"));
        gravaArquivoTeste(serie, "data;valor\n01/01/2020;0,38\n");
        const QStringList argumentos =
            comando == QLatin1String("importar")
                ? QStringList{comando, serie}
                : QStringList{comando, QStringLiteral("--url"),
                              QStringLiteral("https://127.0.0.1:%1/dados")
                                  .arg(ServidorHttpTeste::portaFechada())};
        const QString hoje = QStringLiteral("15/07/2020");
        const Execucao e = roda(argumentos, hoje, QByteArray(), programa, ambiente);

        const QString aviso =
            novos ? QStringLiteral("Tabela Selic instalada com o programa:\n"
                                   "Meses incluídos: 04/2020 a 05/2020\n"
                                   "Mês 03/2020 presente com outra taxa: na tabela 0,3, publicada "
                                   "0,34 (a da tabela foi mantida)\n")
                  : QString();
        if (comando == QLatin1String("importar")) {
            QCOMPARE(e.erro, aviso);
            QCOMPARE(e.linhasSaida(), (QStringList{"Nenhum mês foi incluído na tabela.",
                                                   "Meses já presentes: 01/2020"}));
            QCOMPARE(e.status, 0);
        } else {
            // The update fails, after the installed months were added.
            QVERIFY2(e.erro.startsWith(aviso + QStringLiteral("Não foi possível atualizar")),
                     qPrintable(e.erro));
            QCOMPARE(e.status, 1);
        }

        if (!novos) {
            QCOMPARE(conteudoArquivo(doUsuario), bytesAntes);
            QCOMPARE(QFileInfo(doUsuario).lastModified(), alteracaoAntes);
            return;
        }
        const Execucao lista =
            roda({QStringLiteral("tabela")}, hoje, QByteArray(), programa, ambiente);
        QCOMPARE(lista.linhasSaida().mid(1, 5),
                 (QStringList{"01/2020\t0,380000", "02/2020\t0,290000", "03/2020\t0,300000",
                              "04/2020\t0,280000", "05/2020\t0,240000"}));
    }

    void atualizarSemServidor() {
        const QByteArray antes = conteudoArquivo(tabela());
        const Execucao e = roda(
            {QStringLiteral("atualizar"), QStringLiteral("--url"),
             QStringLiteral("https://127.0.0.1:%1/dados").arg(ServidorHttpTeste::portaFechada())},
            QStringLiteral("10/04/2020"));
        QCOMPARE(e.status, 1);
        QVERIFY2(e.erro.startsWith(QStringLiteral("Não foi possível atualizar as taxas pelo "
                                                  "Banco Central: a conexão foi recusada")),
                 qPrintable(e.erro));
        QCOMPARE(e.linhasSaida(), QStringList{"Nenhum mês foi incluído na tabela."});
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    void tabelaComMesesAusentes_data() {
        QTest::addColumn<QStringList>("opcoes");
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("toda")
            << QStringList()
            << QStringList{
                   "Mês\tSelic (%)",
                   "11/2019\t0,380000",
                   "01/2020\t0,290000",
                   "04/2020\t0,200000",
                   "05/2020\t0,210000",
                   "4 meses de 11/2019 a 05/2020. Meses ausentes: 12/2019, 02/2020, 03/2020"};
        QTest::newRow("desde abril")
            << QStringList{"--desde", "04/2020"}
            << QStringList{"Mês\tSelic (%)", "04/2020\t0,200000", "05/2020\t0,210000",
                           "2 meses de 04/2020 a 05/2020. Nenhum mês ausente."};
        QTest::newRow("um mês") << QStringList{"--desde", "05/2020"}
                                << QStringList{"Mês\tSelic (%)", "05/2020\t0,210000",
                                               "1 mês de 05/2020 a 05/2020. Nenhum mês ausente."};
    }
    void tabelaComMesesAusentes() {
        QFETCH(QStringList, opcoes);
        QFETCH(QStringList, esperado);
        // Stored out of date order; the listing goes by date.
        escreveTabelaTeste(tabela(), {{QDate(2020, 4, 1), QStringLiteral("0.2")},
                                      {QDate(2019, 11, 1), QStringLiteral("0.38")},
                                      {QDate(2020, 1, 1), QStringLiteral("0.29")},
                                      {QDate(2020, 5, 1), QStringLiteral("0.21")}});
        const Execucao e = roda(QStringList{QStringLiteral("tabela")} + opcoes);
        QCOMPARE(e.status, 0);
        QCOMPARE(e.linhasSaida(), esperado);
    }

    // Months before 30/12/1899 have negative date values; they are listed all the same.
    void tabelaDesdeOPrimeiroMes() {
        escreveTabelaTeste(tabela(), {{QDate(2, 1, 1), QStringLiteral("0.5")},
                                      {QDate(1, 11, 1), QStringLiteral("0.4")},
                                      {QDate(1899, 12, 1), QStringLiteral("0.3")}});
        const Execucao e = roda({QStringLiteral("tabela")});
        QCOMPARE(e.status, 0);
        const QStringList linhas = e.linhasSaida();
        QCOMPARE(linhas.mid(0, 4), (QStringList{"Mês\tSelic (%)", "11/0001\t0,400000",
                                                "01/0002\t0,500000", "12/1899\t0,300000"}));
        QVERIFY2(linhas.last().startsWith(QStringLiteral("3 meses de 11/0001 a 12/1899. "
                                                         "Meses ausentes: 12/0001, 02/0002")),
                 qPrintable(linhas.last()));
    }

    void outraTabela() {
        const QString outra = fPasta.filePath(QStringLiteral("outra.cds"));
        escreveTabelaTeste(outra, {{QDate(2020, 2, 1), QStringLiteral("0.5")},
                                   {QDate(2020, 3, 1), QStringLiteral("0.5")}});
        const Execucao e = roda({QStringLiteral("calcular"), QStringLiteral("1000,00"),
                                 QStringLiteral("10/01/2020"), QStringLiteral("10/04/2020"),
                                 QStringLiteral("--tabela"), outra});
        QCOMPARE(e.status, 0);
        QCOMPARE(e.linhasSaida().at(1), QStringLiteral("Taxa de Juros: 2,000000 %"));
    }

    // What spreadsheets write, each form in a file made byte by byte; the output is UTF-8
    // with a byte-order mark and CR LF, every input field as it was read.
    void loteComoPlanilhas_data() {
        QTest::addColumn<QByteArray>("entrada");
        QTest::addColumn<QStringList>("esperado");
        QTest::addColumn<QString>("erro");
        const QString cabecalho =
            QStringLiteral("valor;vencimento;pagamento;obs;dias;taxa;multa;juros;total;mensagem");
        const QString calculado = QStringLiteral("91;1,630000;120,00;18,26;1.138,26;");
        const QString lote1 = QStringLiteral("Lote: 1 linha, 1 calculada, 0 com falha.\n");
        QTest::newRow("windows-1252 com acentos")
            << QByteArray("valor;vencimento;pagamento;obs\r\n"
                          "1000,00;10/01/2020;10/04/2020;S\xE3o Jo\xE3o \x80\r\n")
            << QStringList{cabecalho, "1000,00;10/01/2020;10/04/2020;São João €;" + calculado}
            << "\"ENTRADA\" não é UTF-8: lido como Windows-1252.\n" + lote1;
        // A sequence cut off by the end of the file is no UTF-8: the last bytes are read
        // as Windows-1252, not dropped.
        QTest::newRow("utf-8 cortado no fim do arquivo")
            << QByteArray("valor;vencimento;pagamento;obs\r\n"
                          "1000,00;10/01/2020;10/04/2020;a\xC3\xA7\xC3\xA3o \xE2\x82")
            << QStringList{cabecalho, QStringLiteral("1000,00;10/01/2020;10/04/2020;"
                                                     "a\u00C3\u00A7\u00C3\u00A3o \u00E2\u201A;") +
                                          calculado}
            << "\"ENTRADA\" não é UTF-8: lido como Windows-1252.\n" + lote1;
        QTest::newRow("utf-8 com só o primeiro byte no fim")
            << QByteArray("valor;vencimento;pagamento;obs\n"
                          "1000,00;10/01/2020;10/04/2020;S\xC3")
            << QStringList{cabecalho,
                           QStringLiteral("1000,00;10/01/2020;10/04/2020;S\u00C3;") + calculado}
            << "\"ENTRADA\" não é UTF-8: lido como Windows-1252.\n" + lote1;
        {
            // The file is checked in blocks of 64 KiB: a sequence across a block's end is
            // whole UTF-8 all the same.
            QByteArray linha = "1000,00;10/01/2020;10/04/2020;";
            const QByteArray cabecalhoEntrada = "valor;vencimento;pagamento;obs\n";
            const qsizetype antes = 64 * 1024 - 1 - cabecalhoEntrada.size() - linha.size();
            linha += QByteArray(antes, 'x') + "\xC3\xA7\n";
            QTest::newRow("utf-8 entre dois blocos")
                << cabecalhoEntrada + linha
                << QStringList{cabecalho, QStringLiteral("1000,00;10/01/2020;10/04/2020;") +
                                              QString(antes, QLatin1Char('x')) +
                                              QStringLiteral("\u00E7;") + calculado}
                << lote1;
        }
        QTest::newRow("utf-8 com marca e CR LF")
            << QByteArray("\xEF\xBB\xBFvalor;vencimento;pagamento;obs\r\n"
                          "1000,00;10/01/2020;10/04/2020;a\xC3\xA7\xC3\xA3o\r\n")
            << QStringList{cabecalho, "1000,00;10/01/2020;10/04/2020;ação;" + calculado} << lote1;
        QTest::newRow("quebra de linha entre aspas")
            << QByteArray("valor;vencimento;pagamento;obs\n"
                          "\"1000,00\";10/01/2020;10/04/2020;\"linha 1\r\nlinha \"\"2\"\";\"\n")
            << QStringList{cabecalho, "\"1000,00\";10/01/2020;10/04/2020;\"linha 1\r\nlinha "
                                      "\"\"2\"\";\";" +
                                          calculado}
            << lote1;
        QTest::newRow("linhas vazias e só separadores")
            << QByteArray("valor;vencimento;pagamento;obs\n\n;;;\r\n"
                          "1000,00;10/01/2020;10/04/2020;x\n\r\n;;\n")
            << QStringList{cabecalho, "1000,00;10/01/2020;10/04/2020;x;" + calculado} << lote1;
        QTest::newRow("valores e datas de planilha")
            << QByteArray("valor;vencimento;pagamento;obs\n"
                          "R$ 1.000,00;2020-01-10;2020-04-10;prefixo\n"
                          "1.000;10/01/2020;10/04/2020;milhar\n"
                          "1000;10/01/2020;10/04/2020;inteiro\n"
                          "\"R$ 1.000,0\";10/01/2020;10/04/2020;uma casa\n"
                          "1000,005;10/01/2020;10/04/2020;tres casas\n"
                          "1,000.00;10/01/2020;10/04/2020;ponto decimal\n"
                          "R$ mil;10/01/2020;10/04/2020;letras\n")
            << QStringList{cabecalho,
                           "R$ 1.000,00;2020-01-10;2020-04-10;prefixo;" + calculado,
                           "1.000;10/01/2020;10/04/2020;milhar;" + calculado,
                           "1000;10/01/2020;10/04/2020;inteiro;" + calculado,
                           "\"R$ 1.000,0\";10/01/2020;10/04/2020;uma casa;" + calculado,
                           "1000,005;10/01/2020;10/04/2020;tres casas;;;;;;" + ValorInvalido,
                           "1,000.00;10/01/2020;10/04/2020;ponto decimal;;;;;;" + ValorInvalido,
                           "R$ mil;10/01/2020;10/04/2020;letras;;;;;;" + ValorInvalido}
            << "Lote: 7 linhas, 4 calculadas, 3 com falha.\n";
        QTest::newRow("colunas a mais e a menos")
            << QByteArray("valor;vencimento;pagamento;obs\n"
                          "1000,00;10/01/2020;10/04/2020\n"
                          "1000,00;10/01/2020;10/04/2020;x;sobra;\"e mais\"\n")
            << QStringList{cabecalho, "1000,00;10/01/2020;10/04/2020;;" + calculado,
                           "1000,00;10/01/2020;10/04/2020;x;" + calculado + ";sobra;\"e mais\""}
            << "Lote: 2 linhas, 2 calculadas, 0 com falha.\n";
    }
    void loteComoPlanilhas() {
        QFETCH(QByteArray, entrada);
        QFETCH(QStringList, esperado);
        QFETCH(QString, erro);
        const QString arquivoEntrada = fPasta.filePath(QStringLiteral("planilha.csv"));
        const QString saida = fPasta.filePath(QStringLiteral("resultado.csv"));
        gravaArquivoTeste(arquivoEntrada, entrada);
        const Execucao e = roda({QStringLiteral("lote"), arquivoEntrada, saida});
        QCOMPARE(e.erro, QString(erro).replace(QStringLiteral("ENTRADA"), arquivoEntrada));
        QCOMPARE(e.status, erro.contains(QStringLiteral(" 0 com falha")) ? 0 : 1);
        const QByteArray esperadoBytes = "\xEF\xBB\xBF" + esperado.join("\r\n").toUtf8() + "\r\n";
        QCOMPARE(conteudoArquivo(saida), esperadoBytes);
    }

    // "-" is standard input and standard output; there the lines end with LF alone and
    // carry no byte-order mark.
    void loteEntradaESaidaPadrao() {
        const Execucao e =
            roda({QStringLiteral("lote"), QStringLiteral("-"), QStringLiteral("-")}, QString(),
                 "valor;vencimento;pagamento\r\n1000,00;10/03/2020;14/04/2020\r\n");
        QCOMPARE(e.status, 0);
        QCOMPARE(e.bytesSaida, QByteArray("valor;vencimento;pagamento;dias;taxa;multa;juros;"
                                          "total;mensagem\n"
                                          "1000,00;10/03/2020;14/04/2020;35;1,000000;90,00;10,90;"
                                          "1.100,90;\n"));
        QCOMPARE(e.erro, QStringLiteral("Lote: 1 linha, 1 calculada, 0 com falha.\n"));
    }

    // The output is never the rate table nor the input, whatever name reaches them; both
    // stay as they were and nothing is written.
    void loteRecusaSaidaQueEhTabelaOuEntrada_data() {
        QTest::addColumn<QString>("alvo");
        QTest::newRow("a tabela") << "tabela";
        QTest::newRow("a tabela por um link") << "link-tabela";
        QTest::newRow("a tabela por outro caminho") << "caminho-tabela";
        QTest::newRow("a entrada por um link físico") << "link-entrada";
    }
    void loteRecusaSaidaQueEhTabelaOuEntrada() {
        QFETCH(QString, alvo);
        const QString entrada = fPasta.filePath(QStringLiteral("entrada.csv"));
        gravaArquivoTeste(entrada, "valor;vencimento;pagamento\n1000,00;10/03/2020;14/04/2020\n");
        QFile::remove(fPasta.filePath(QStringLiteral("link-tabela")));
        QFile::remove(fPasta.filePath(QStringLiteral("link-entrada")));
        QVERIFY(QFile::link(tabela(), fPasta.filePath(QStringLiteral("link-tabela"))));
        QVERIFY(::link(QFile::encodeName(entrada).constData(),
                       QFile::encodeName(fPasta.filePath(QStringLiteral("link-entrada")))
                           .constData()) == 0);
        const QMap<QString, QString> caminhos{
            {"tabela", tabela()},
            {"link-tabela", fPasta.filePath(QStringLiteral("link-tabela"))},
            {"caminho-tabela", fPasta.path() + QStringLiteral("/./BELQOR.cds")},
            {"link-entrada", fPasta.filePath(QStringLiteral("link-entrada"))}};
        const QByteArray tabelaAntes = conteudoArquivo(tabela());
        const QByteArray entradaAntes = conteudoArquivo(entrada);
        const QStringList arquivosAntes = QDir(fPasta.path()).entryList(QDir::Files);
        const Execucao e = roda({QStringLiteral("lote"), entrada, caminhos.value(alvo),
                                 QStringLiteral("--tabela"), tabela()});
        QCOMPARE(e.status, 2);
        QVERIFY2(e.erro.startsWith(QStringLiteral("O arquivo de saída")), qPrintable(e.erro));
        QCOMPARE(e.saida, QString());
        QCOMPARE(conteudoArquivo(tabela()), tabelaAntes);
        QCOMPARE(conteudoArquivo(entrada), entradaAntes);
        QCOMPARE(QDir(fPasta.path()).entryList(QDir::Files), arquivosAntes);
    }

    // A quote that never closes fails its own row, named by the line the quote opened on;
    // the lines after that one are read again as rows, and the field goes out quoted so the
    // output keeps its columns.
    void loteAspaAberta_data() {
        QTest::addColumn<QByteArray>("entrada");
        QTest::addColumn<QByteArray>("saida");
        QTest::addColumn<QString>("erro");
        const QByteArray cabecalho = "valor;vencimento;pagamento;referencia\n";
        const QByteArray cabecalhoSaida =
            "valor;vencimento;pagamento;referencia;dias;taxa;multa;juros;total;mensagem\n";
        const QByteArray nota2 = "1000,00;10/01/2020;10/04/2020;nota 2\n";
        const QByteArray nota2Saida =
            "1000,00;10/01/2020;10/04/2020;nota 2;91;1,630000;120,00;18,26;1.138,26;\n";
        const QByteArray nota3 = "2500,00;20/12/2019;20/02/2020;nota 3\n";
        const QByteArray nota3Saida =
            "2500,00;20/12/2019;20/02/2020;nota 3;62;1,380000;300,00;38,64;2.838,64;\n";
        const QString umaFalha = QStringLiteral("Lote: 3 linhas, 2 calculadas, 1 com falha.\n");
        QTest::newRow("na última coluna")
            << cabecalho + "1000,00;10/01/2020;10/04/2020;\"abc\n" + nota2 + nota3
            << cabecalhoSaida +
                   "1000,00;10/01/2020;10/04/2020;\"\"\"abc\";;;;;;A aspa aberta na linha 2 "
                   "não foi fechada.\n" +
                   nota2Saida + nota3Saida
            << umaFalha;
        QTest::newRow("no meio da linha, com CR LF")
            << cabecalho + nota2 + "1000,00;\"10/01/2020;10/04/2020;x\r\n" + nota3
            << cabecalhoSaida + nota2Saida +
                   "1000,00;\"\"\"10/01/2020;10/04/2020;x\";;;;;;;;A aspa aberta na linha 3 não "
                   "foi fechada.\n" +
                   nota3Saida
            << umaFalha;
        QTest::newRow("depois de um campo de duas linhas")
            << cabecalho + "1000,00;10/01/2020;10/04/2020;\"a\nb\";\"abc\n" + nota2 + nota3
            << cabecalhoSaida +
                   "1000,00;10/01/2020;10/04/2020;\"a\nb\";;;;;;A aspa aberta na linha 3 não foi "
                   "fechada.;\"\"\"abc\"\n" +
                   nota2Saida + nota3Saida
            << umaFalha;
        QTest::newRow("na última linha, sem quebra")
            << cabecalho + nota2 + nota3 + "1000,00;10/01/2020;10/04/2020;\"abc"
            << cabecalhoSaida + nota2Saida + nota3Saida +
                   "1000,00;10/01/2020;10/04/2020;\"\"\"abc\";;;;;;A aspa aberta na linha 4 "
                   "não foi fechada.\n"
            << umaFalha;
        QTest::newRow("no cabeçalho")
            << "valor;vencimento;pagamento;\"referencia\n" + nota2 << QByteArray()
            << "O cabeçalho de \"ENTRADA\" está incompleto: A aspa aberta na linha 1 não foi "
               "fechada.\n";
    }
    void loteAspaAberta() {
        QFETCH(QByteArray, entrada);
        QFETCH(QByteArray, saida);
        QFETCH(QString, erro);
        const QString arquivo = fPasta.filePath(QStringLiteral("aspa.csv"));
        gravaArquivoTeste(arquivo, entrada);
        const Execucao e = roda({QStringLiteral("lote"), arquivo, QStringLiteral("-")});
        QCOMPARE(e.erro, QString(erro).replace(QStringLiteral("ENTRADA"), arquivo));
        QCOMPARE(e.bytesSaida, saida);
        QCOMPARE(e.status, 1);
    }

    // A quote still open past the longest row allowed fails its row alone: the rows after
    // its line are all calculated, none is taken into it.
    void loteAspaAbertaAlemDoLimite() {
        const QString arquivo = fPasta.filePath(QStringLiteral("aspa-longa.csv"));
        QByteArray entrada = "valor;vencimento;pagamento;referencia\n"
                             "1,00;10/03/2020;10/03/2020;\"abc\n";
        const QByteArray referencia(1000, 'x');
        const int linhas = 1100; // over 1 MiB after the open quote
        for (int i = 0; i < linhas; ++i)
            entrada += "1,00;10/03/2020;10/03/2020;" + referencia + "\n";
        gravaArquivoTeste(arquivo, entrada);
        const Execucao e = roda({QStringLiteral("lote"), arquivo, QStringLiteral("-")});
        QCOMPARE(e.erro, QStringLiteral("Lote: %1 linhas, %2 calculadas, 1 com falha.\n")
                             .arg(linhas + 1)
                             .arg(linhas));
        QCOMPARE(e.status, 1);
        const QList<QByteArray> saida = e.bytesSaida.split('\n');
        QCOMPARE(saida.size(), linhas + 3);
        QCOMPARE(saida[1], QByteArray("1,00;10/03/2020;10/03/2020;\"\"\"abc\";;;;;;A aspa aberta "
                                      "na linha 2 não foi fechada."));
        QCOMPARE(saida[linhas + 1],
                 "1,00;10/03/2020;10/03/2020;" + referencia + ";0;0,000000;0,00;0,00;1,00;");
    }

    // On a terminal the bar follows the rows done: each redraw shows the share of the file
    // that the rows counted beside it took, and it is full only with the last row.
    void loteProgressoSegueAsLinhas_data() {
        QTest::addColumn<QByteArray>("marca");
        QTest::addColumn<QByteArray>("nota");
        QTest::newRow("ascii") << QByteArray() << QByteArray("nota");
        // Bytes, not characters: two, three and four bytes each in UTF-8.
        QTest::newRow("utf-8 com marca")
            << QByteArray("\xEF\xBB\xBF")
            << QByteArray("a\xC3\xA7\xC3\xA3o \xE2\x82\xAC \xF0\x9D\x84\x9E");
        QTest::newRow("windows-1252") << QByteArray() << QByteArray("a\xE7\xE3o \x80");
    }
    void loteProgressoSegueAsLinhas() {
        QFETCH(QByteArray, marca);
        QFETCH(QByteArray, nota);
        const QByteArray cabecalho = marca + "valor;vencimento;pagamento;referencia\n";
        const int linhas = 5001;
        QByteArray entrada = cabecalho;
        for (int i = 1; i <= linhas; ++i)
            entrada += "1000,00;10/01/2020;10/04/2020;" + nota +
                       QByteArray::number(i).rightJustified(5, '0') + "\n";
        const qint64 tamanhoLinha = (entrada.size() - cabecalho.size()) / linhas;
        QCOMPARE(cabecalho.size() + linhas * tamanhoLinha, qint64(entrada.size()));
        const QString arquivo = fPasta.filePath(QStringLiteral("progresso.csv"));
        gravaArquivoTeste(arquivo, entrada);

        // Standard error is a terminal of its own, read while the batch runs.
        const int mestre = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(mestre >= 0 && grantpt(mestre) == 0 && unlockpt(mestre) == 0);
        const int escravo = ::open(ptsname(mestre), O_RDWR | O_NOCTTY);
        QVERIFY(escravo >= 0);
        fcntl(mestre, F_SETFL, fcntl(mestre, F_GETFL) | O_NONBLOCK);
        QProcess p;
        p.setProcessEnvironment(ambiente(QString()));
        p.setChildProcessModifier([escravo] { ::dup2(escravo, STDERR_FILENO); });
        p.start(fPrograma, {QStringLiteral("lote"), arquivo,
                            fPasta.filePath(QStringLiteral("progresso-saida.csv"))});
        QByteArray terminal;
        const auto le = [&] {
            char bloco[4096];
            for (ssize_t n; (n = ::read(mestre, bloco, sizeof bloco)) > 0;)
                terminal.append(bloco, n);
        };
        while (!p.waitForFinished(20))
            le();
        ::close(escravo);
        le();
        ::close(mestre);
        QCOMPARE(p.exitCode(), 0);

        const QRegularExpression desenho(
            QStringLiteral("\\[([# ]{20})\\] (\\d+) % \\((\\d+) linhas?\\)"));
        const QString texto = QString::fromUtf8(terminal);
        int desenhos = 0;
        qint64 anterior = 0;
        for (const QRegularExpressionMatch& m : desenho.globalMatch(texto)) {
            const qint64 feitas = m.captured(3).toLongLong();
            const qint64 consumidos = cabecalho.size() + feitas * tamanhoLinha;
            const QString esperado =
                QStringLiteral("%1 % (%2)").arg(consumidos * 100 / entrada.size()).arg(feitas);
            QCOMPARE(m.captured(2) + QStringLiteral(" % (") + m.captured(3) + QLatin1Char(')'),
                     esperado);
            QCOMPARE(m.captured(1).count(QLatin1Char('#')), m.captured(2).toInt() / 5);
            QVERIFY(feitas > anterior);
            anterior = feitas;
            ++desenhos;
        }
        QVERIFY2(desenhos >= 100, qPrintable(texto.right(400)));
        QVERIFY2(texto.contains(QStringLiteral("] 100 % (5001 linhas)\r\n")) ||
                     texto.contains(QStringLiteral("] 100 % (5001 linhas)\n")),
                 qPrintable(texto.right(400)));
        QVERIFY(texto.contains(QStringLiteral("Lote: 5001 linhas, 5001 calculadas, 0 com falha.")));
    }

    // A batch that stops leaves the previous output as it was and no half file beside it.
    void loteQueParaNaoDeixaMeioArquivo() {
        const QString entrada = fPasta.filePath(QStringLiteral("longa.csv"));
        const QString saida = fPasta.filePath(QStringLiteral("anterior.csv"));
        gravaArquivoTeste(entrada, "valor;vencimento;pagamento\n1000,00;10/03/2020;14/04/2020\n" +
                                       QByteArray(2 * 1024 * 1024, 'x') + "\n");
        gravaArquivoTeste(saida, "anterior\n");
        const QStringList arquivosAntes = QDir(fPasta.path()).entryList(QDir::Files);
        const Execucao e = roda({QStringLiteral("lote"), entrada, saida});
        QCOMPARE(e.status, 1);
        QVERIFY2(e.erro.contains(QStringLiteral("A linha 3 de")), qPrintable(e.erro));
        QCOMPARE(conteudoArquivo(saida), QByteArray("anterior\n"));
        QCOMPARE(QDir(fPasta.path()).entryList(QDir::Files), arquivosAntes);
    }

    // A path that is not a regular file is written in place, never replaced by one: a
    // character device stays a device, the reader of a named pipe gets the rows or the
    // document, /dev/stdout reaches the pipe the program writes to. The batch's output and
    // the calculation memory alike.
    void saidaQueNaoEhArquivoComum_data() {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<bool>("pdf");
        for (const char* tipo : {"dispositivo", "pipe", "stdout"}) {
            QTest::newRow(qPrintable(QStringLiteral("lote, %1").arg(tipo))) << tipo << false;
            QTest::newRow(qPrintable(QStringLiteral("pdf, %1").arg(tipo))) << tipo << true;
        }
    }
    void saidaQueNaoEhArquivoComum() {
        QFETCH(QString, tipo);
        QFETCH(bool, pdf);
        const QString entrada = entradaDeUmaLinha();
        const QString alvo = tipo == QLatin1String("stdout")
                                 ? QStringLiteral("/dev/stdout")
                                 : fPasta.filePath(QStringLiteral("alvo"));
        if (tipo != QLatin1String("stdout"))
            QFile::remove(alvo);
        const QByteArray caminhoAlvo = QFile::encodeName(alvo);
        int leitura = -1, guarda = -1;
        QByteArray lidos;
        std::thread leitor;
        if (tipo == QLatin1String("dispositivo")) {
            // The numbers of /dev/null, on a node of the test's own.
            if (::mknod(caminhoAlvo.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
                QSKIP("criar um dispositivo exige privilégio (mknod)");
        } else if (tipo == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(caminhoAlvo.constData(), 0600), 0);
            // The test holds the pipe open for writing as well, so its reader never waits
            // for a writer that may not come, and sees the end when the test lets go.
            leitura = ::open(caminhoAlvo.constData(), O_RDONLY | O_NONBLOCK);
            QVERIFY(leitura >= 0);
            guarda = ::open(caminhoAlvo.constData(), O_WRONLY);
            QVERIFY(guarda >= 0);
            ::fcntl(leitura, F_SETFL, 0);
            leitor = std::thread([&] {
                char bloco[4096];
                ssize_t n = 0;
                while ((n = ::read(leitura, bloco, sizeof bloco)) > 0)
                    lidos.append(bloco, n);
            });
        }
        const Execucao e =
            pdf ? roda(calculoComPdf(alvo)) : roda({QStringLiteral("lote"), entrada, alvo});
        if (leitor.joinable()) {
            ::close(guarda);
            leitor.join();
            ::close(leitura);
        }
        QVERIFY2(e.status == 0, qPrintable(e.erro));
        struct stat depois {};
        if (tipo != QLatin1String("stdout")) {
            QCOMPARE(::lstat(caminhoAlvo.constData(), &depois), 0);
            QCOMPARE(depois.st_mode & S_IFMT,
                     mode_t(tipo == QLatin1String("dispositivo") ? S_IFCHR : S_IFIFO));
        }
        const QByteArray recebidos = tipo == QLatin1String("pipe") ? lidos : e.bytesSaida;
        if (tipo == QLatin1String("dispositivo")) {
            QCOMPARE(depois.st_rdev, makedev(1, 3));
        } else if (pdf) {
            QVERIFY(recebidos.startsWith("%PDF-"));
            QVERIFY(recebidos.contains("%%EOF"));
        } else {
            QCOMPARE(recebidos, QByteArray("\xEF\xBB\xBFvalor;vencimento;pagamento;dias;taxa;multa;"
                                           "juros;total;mensagem\r\n"
                                           "1000,00;10/03/2020;14/04/2020;35;1,000000;90,00;10,90;"
                                           "1.100,90;\r\n"));
        }
    }

    // Why a file could not be read or written is said in Portuguese, as the rest of the
    // message: the system's reasons, Qt's own and the XML reader's.
    void motivosEmPortugues_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("documento que é uma pasta")
            << "pasta"
            << "Não foi possível ler o arquivo \"ALVO\": o caminho é uma pasta\n";
        QTest::newRow("entrada ausente")
            << "ausente"
            << "Não foi possível ler o arquivo \"ALVO\": arquivo ou pasta inexistente\n";
        QTest::newRow("tabela truncada")
            << "tabela truncada"
            << "O arquivo de dados \"ALVO\" está danificado ou não é uma tabela: o documento "
               "termina antes do fim (linha ";
        QTest::newRow("documento de taxas truncado")
            << "documento truncado"
            << "O documento de taxas não pôde ser lido: Erro no documento XML: o documento "
               "termina antes do fim (linha ";
        QTest::newRow("saída do lote grande demais")
            << "lote grande"
            << "Não foi possível gravar o arquivo \"ALVO\": arquivo grande demais\n";
        QTest::newRow("memória grande demais")
            << "pdf grande"
            << "Não foi possível gravar o arquivo \"ALVO\": arquivo grande demais\n";
    }
    void motivosEmPortugues() {
        QFETCH(QString, caso);
        QFETCH(QString, mensagem);
        const QString entrada = entradaDeUmaLinha();
        QString alvo = fPasta.filePath(QStringLiteral("alvo"));
        QFile::remove(alvo);
        QDir(alvo).removeRecursively();
        QStringList argumentos;
        if (caso == QLatin1String("pasta")) {
            QVERIFY(QDir().mkpath(alvo));
            argumentos = QStringList{QStringLiteral("importar"), alvo};
        } else if (caso == QLatin1String("ausente")) {
            argumentos = QStringList{QStringLiteral("lote"), alvo};
        } else if (caso == QLatin1String("tabela truncada")) {
            const QByteArray inteira = conteudoArquivo(tabela());
            gravaArquivoTeste(alvo, inteira.left(inteira.size() / 2));
            argumentos = QStringList{QStringLiteral("tabela"), QStringLiteral("--tabela"), alvo};
        } else if (caso == QLatin1String("documento truncado")) {
            gravaArquivoTeste(alvo, "<list><item><dataSelic>2024-01-01</dataSelic>");
            argumentos = QStringList{QStringLiteral("importar"), alvo};
        } else {
            // Room for the first bytes only: the write of the rest is refused.
            fLimiteArquivo = 64;
            argumentos = caso == QLatin1String("lote grande")
                             ? QStringList{QStringLiteral("lote"), entrada, alvo}
                             : calculoComPdf(alvo);
        }
        const Execucao e = roda(argumentos);
        QCOMPARE(e.status, 1);
        mensagem.replace(QStringLiteral("ALVO"), alvo);
        if (mensagem.endsWith(QLatin1Char('\n')))
            QCOMPARE(e.erro, mensagem);
        else
            QVERIFY2(e.erro.startsWith(mensagem), qPrintable(e.erro));
        if (fLimiteArquivo > 0)
            QVERIFY(!QFile::exists(alvo));
    }

    // A folder is no file to write: a command typed wrong, the folder left as it was.
    void saidaQueEhPasta_data() {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("lote") << false;
        QTest::newRow("pdf") << true;
    }
    void saidaQueEhPasta() {
        QFETCH(bool, pdf);
        const QString entrada = entradaDeUmaLinha();
        const QString pasta = fPasta.filePath(QStringLiteral("uma pasta"));
        QVERIFY(QDir().mkpath(pasta));
        const Execucao e =
            pdf ? roda(calculoComPdf(pasta)) : roda({QStringLiteral("lote"), entrada, pasta});
        QCOMPARE(e.status, 2);
        QCOMPARE(e.erro,
                 QStringLiteral("Não foi possível gravar o arquivo \"%1\": o caminho é uma pasta\n")
                     .arg(pasta));
        QCOMPARE(e.saida, QString());
        QVERIFY(QFileInfo(pasta).isDir());
        QCOMPARE(QDir(pasta).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    // A standard output that takes nothing (a full device) fails every command: status 1
    // and the reason on standard error, never a success that wrote nothing.
    void saidaPadraoQueFalha_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::newRow("lote") << QStringList{"lote", "ENTRADA", "-"};
        QTest::newRow("calcular") << QStringList{"calcular", "1000,00", "10/03/2020", "14/04/2020"};
        QTest::newRow("calcular --json")
            << QStringList{"calcular", "1000,00", "10/03/2020", "14/04/2020", "--json"};
        QTest::newRow("tabela") << QStringList{"tabela"};
        QTest::newRow("--help") << QStringList{"--help"};
        QTest::newRow("--version") << QStringList{"--version"};
    }
    void saidaPadraoQueFalha() {
        QFETCH(QStringList, argumentos);
        const QString entrada = entradaDeUmaLinha();
        argumentos.replaceInStrings(QStringLiteral("ENTRADA"), entrada);
        const QByteArray antes = conteudoArquivo(tabela());
        fSaidaPara = QStringLiteral("/dev/full");
        const Execucao e = roda(argumentos);
        QCOMPARE(e.status, 1);
        QCOMPARE(e.erro, QStringLiteral("Erro de gravação na saída padrão: não há espaço livre no "
                                        "dispositivo\n"));
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    // A standard error that takes nothing cannot say why, but the status says it failed.
    void saidaDeErroQueFalha() {
        const QString entrada = entradaDeUmaLinha();
        const QString saida = fPasta.filePath(QStringLiteral("saida.csv"));
        fErroPara = QStringLiteral("/dev/full");
        const Execucao e = roda({QStringLiteral("lote"), entrada, saida});
        QCOMPARE(e.status, 1);
        QVERIFY(conteudoArquivo(saida).contains("1.100,90"));
    }

    // The command line's conventions: "--" ends the options, an option of another command
    // is refused, 2 for a command typed wrong, 0 and 1 for the work done or failed.
    void convencoes_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("inicioErro");
        QTest::newRow("-- antes de um valor negativo")
            << QStringList{"calcular", "--", "-5,55", "10/03/2020", "10/03/2020"} << 1
            << ValorInvalido;
        QTest::newRow("valor negativo sem --")
            << QStringList{"calcular", "-5,55", "10/03/2020", "10/03/2020"} << 2
            << "Opção desconhecida: -5.";
        QTest::newRow("opção desconhecida")
            << QStringList{"calcular", "1000,00", "10/03/2020", "10/03/2020", "--xml"} << 2
            << "Opção desconhecida: --xml.";
        QTest::newRow("opção de outro comando")
            << QStringList{"calcular", "1000,00", "10/03/2020", "10/03/2020", "--desde", "01/2020"}
            << 2 << "A opção --desde não se aplica ao comando calcular.";
        QTest::newRow("json no lote") << QStringList{"lote", "a.csv", "--json"} << 2
                                      << "A opção --json não se aplica ao comando lote.";
        QTest::newRow("falta o valor da opção")
            << QStringList{"tabela", "--tabela"} << 2 << "Falta o valor da opção --tabela.";
        QTest::newRow("argumentos a mais") << QStringList{"lote", "a.csv", "b.csv", "c.csv"} << 2
                                           << "Argumentos a mais para o comando lote.";
        QTest::newRow("url fora do atualizar")
            << QStringList{"tabela", "--url", "https://127.0.0.1:1/dados"} << 2
            << "A opção --url não se aplica ao comando tabela.";
        QTest::newRow("argumento no atualizar") << QStringList{"atualizar", "agora"} << 2
                                                << "Argumentos a mais para o comando atualizar.";
        QTest::newRow("comando desconhecido")
            << QStringList{"somar"} << 2 << "Comando desconhecido: somar.";
        QTest::newRow("sem comando")
            << QStringList{"--tabela", "TABELA"} << 2 << "Falta o comando.";
        QTest::newRow("versão com argumento")
            << QStringList{"--version", "extra"} << 2
            << "A opção --version não leva comando nem outras opções.";
        QTest::newRow("versão com comando")
            << QStringList{"tabela", "--version"} << 2
            << "A opção --version não leva comando nem outras opções.";
        QTest::newRow("mês inválido em --desde")
            << QStringList{"tabela", "--desde", "13/2020"} << 2
            << "'13/2020' não é um mês válido: use MM/AAAA, por exemplo 02/2020.";
        QTest::newRow("mês sem ano em --desde")
            << QStringList{"tabela", "--desde=02"} << 2
            << "'02' não é um mês válido: use MM/AAAA, por exemplo 02/2020.";
        QTest::newRow("cálculo recusado")
            << QStringList{"calcular", "1000,00", "11/01/2020", "10/04/2020"} << 1
            << "A Data do Vencimento deve ser dia útil!";
        QTest::newRow("opção antes do comando")
            << QStringList{"--tabela", "TABELA", "calcular", "1000,00", "10/03/2020", "10/03/2020"}
            << 0 << "";
    }
    void convencoes() {
        QFETCH(QStringList, argumentos);
        QFETCH(int, status);
        QFETCH(QString, inicioErro);
        argumentos.replaceInStrings(QStringLiteral("TABELA"), tabela());
        const QByteArray antes = conteudoArquivo(tabela());
        const Execucao e = roda(argumentos);
        QCOMPARE(e.status, status);
        QVERIFY2(inicioErro.isEmpty() ? e.erro.isEmpty() : e.erro.startsWith(inicioErro),
                 qPrintable(e.erro));
        // A command typed wrong is said in one line that points at the help, not the help.
        if (status == 2)
            QCOMPARE(e.erro, inicioErro + QStringLiteral(" Use belqor-cli --help.\n"));
        if (status == 2 && !argumentos.contains(QStringLiteral("--json")))
            QCOMPARE(e.saida, QString());
        QCOMPARE(conteudoArquivo(tabela()), antes);
    }

    void versao() {
        const Execucao e = roda({QStringLiteral("--version")});
        QCOMPARE(e.status, 0);
        QCOMPARE(e.saida, QStringLiteral("belqor-cli 3.02.00\n"));
        QCOMPARE(e.erro, QString());
    }

    void ajuda() {
        const Execucao e = roda({QStringLiteral("--help")});
        QCOMPARE(e.status, 0);
        QCOMPARE(roda({QStringLiteral("-h")}).saida, e.saida);
        QCOMPARE(roda({QStringLiteral("lote"), QStringLiteral("-h")}).saida, e.saida);
        QVERIFY(e.saida.startsWith(QStringLiteral("Uso: belqor-cli COMANDO")));
        for (const char* comando :
             {"calcular", "lote", "importar", "atualizar", "--url", "tabela", "--tabela", "--pdf"})
            QVERIFY2(e.saida.contains(QLatin1String(comando)), comando);
        // The table used without --tabela, as LocaisArquivos decides it: beside the program
        // only when that folder holds a table and can be written.
        QVERIFY2(e.saida.simplified().contains(QStringLiteral(
                     "a tabela é o BELQOR.cds ao lado do programa, quando essa pasta tem um "
                     "BELQOR.cds e pode ser gravada; senão $XDG_DATA_HOME/belqor/BELQOR.cds")),
                 qPrintable(e.saida));
        const Execucao semComando = roda({});
        QCOMPARE(semComando.status, 2);
        QCOMPARE(semComando.erro, QStringLiteral("Falta o comando. Use belqor-cli --help.\n"));
        QCOMPARE(semComando.saida, QString());
    }
};

QTEST_GUILESS_MAIN(TesteCli)
#include "TesteCli.moc"
