#include "app/TfrmPrincipal.h"
#include "apoio/ArquivosTeste.h"
#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What the user is told by one import, and the table it leaves.
struct Relato {
    // The table's messages shown while the months went in, one per dialog or line.
    QStringList avisos;
    // The report, line by line, its failure (when the reading stopped) last.
    QStringList relatorio;
    bool falhou = false;
    bool registrouNoLog = false;
    QByteArray tabela;
};

const MesesTeste Meses2024 = {{QDate(2023, 12, 1), QStringLiteral("0.89")},
                              {QDate(2024, 1, 1), QStringLiteral("0.97")},
                              {QDate(2024, 2, 1), QStringLiteral("0.81")}};

QStringList linhasSemVazias(const QByteArray& bytes) {
    return QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

// The same rate files, of the three kinds, imported through the main window's command
// (its dialogs scripted, its clock fixed) and through `belqor-cli importar` (BELQOR_HOJE),
// each on its own copy of the same table: the window's dialogs and the command's lines say
// the same, and the two tables are written alike.
class TesteImportarComoJanela : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;

    // A folder of its own for each side, emptied for each row.
    QString pastaLimpa(const QString& nome) {
        QDir pasta(fPasta.filePath(nome));
        pasta.removeRecursively();
        if (!QDir().mkpath(pasta.path()))
            qFatal("não foi possível criar %s", qPrintable(pasta.path()));
        return pasta.path();
    }

    // The window on `hoje` at midnight, as BELQOR_HOJE gives the command line: its table
    // opened when first shown, the file chosen in the import command's dialog.
    Relato pelaJanela(const QDate& hoje, const MesesTeste& meses, const QByteArray& documento) {
        const QDir pasta(pastaLimpa(QStringLiteral("janela")));
        const QString arquivo = pasta.filePath(QStringLiteral("documento"));
        gravaArquivoTeste(arquivo, documento);

        RelogioFixo relogio(Datas::deQDate(hoje));
        DialogosRoteiro dialogos;
        ModuloTeste modulo(relogio, dialogos, pasta.path());
        modulo.escreveTabela(meses);
        TfrmPrincipal janela(relogio, dialogos);
        janela.defineModuloDados(modulo, modulo.arquivo());
        janela.defineEscolhaArquivo([&](QWidget*) { return arquivo; });
        janela.FormShow();
        if (!dialogos.registros().isEmpty())
            qFatal("a janela falou antes da importação: %s", qPrintable(dialogos.textos()[0]));
        janela.findChild<QAction*>(QStringLiteral("actImportarTaxas"))->trigger();
        modulo.FechaTabela();

        Relato r;
        QStringList textos = dialogos.textos();
        if (textos.isEmpty())
            qFatal("a janela não deu o relatório da importação");
        r.relatorio = textos.takeLast().split(QStringLiteral("\n\r"));
        r.avisos = textos;
        r.falhou = dialogos.registros().last().tipoDialogo == TipoDialogo::Erro;
        const QString log = modulo.ConfigApp.caminhoArqLog();
        r.registrouNoLog = QFileInfo::exists(log);
        r.relatorio.replaceInStrings(log, QStringLiteral("LOG"));
        r.tabela = conteudoArquivo(modulo.arquivo());
        return r;
    }

    // A portable copy of the program with the table beside it, where its log goes too.
    // Standard error holds the table's messages and, when the reading stopped, the report's
    // failure last.
    Relato pelaLinhaDeComando(const QDate& hoje, const MesesTeste& meses,
                              const QByteArray& documento, bool falhou, int& status) {
        const QDir pasta(pastaLimpa(QStringLiteral("linha-de-comando")));
        const QString programa = pasta.filePath(QStringLiteral("belqor-cli"));
        if (!QFile::copy(QStringLiteral(BELQOR_CLI), programa))
            qFatal("não foi possível copiar belqor-cli");
        const QString servico = QStringLiteral(BELQOR_SERVICO);
        if (!QFile::copy(servico, pasta.filePath(QFileInfo(servico).fileName())))
            qFatal("não foi possível copiar a biblioteca do serviço");
        const QString tabela = pasta.filePath(QStringLiteral("BELQOR.cds"));
        escreveTabelaTeste(tabela, meses);
        const QString arquivo = pasta.filePath(QStringLiteral("documento"));
        gravaArquivoTeste(arquivo, documento);

        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        ambiente.insert(QStringLiteral("BELQOR_HOJE"), hoje.toString(QStringLiteral("dd/MM/yyyy")));
        QProcess p;
        p.setProcessEnvironment(ambiente);
        p.start(programa, {QStringLiteral("importar"), arquivo});
        if (!p.waitForFinished(60000))
            qFatal("belqor-cli não terminou");
        status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;

        Relato r;
        r.relatorio = linhasSemVazias(p.readAllStandardOutput());
        r.avisos = linhasSemVazias(p.readAllStandardError());
        if (falhou && !r.avisos.isEmpty())
            r.relatorio << r.avisos.takeLast();
        r.falhou = falhou;
        const QString log = pasta.filePath(QStringLiteral("logBELQOR.txt"));
        r.registrouNoLog = QFileInfo::exists(log);
        r.relatorio.replaceInStrings(log, QStringLiteral("LOG"));
        r.tabela = conteudoArquivo(tabela);
        return r;
    }

private slots:
    void initTestCase() { QVERIFY(fPasta.isValid()); }

    void mesmoRelatorio_data() {
        QTest::addColumn<QDate>("hoje");
        QTest::addColumn<MesesTeste>("meses");
        QTest::addColumn<QByteArray>("documento");
        QTest::addColumn<QStringList>("relatorio");
        QTest::addColumn<int>("status");

        const QDate dezembro2024(2024, 12, 10);
        const QString outraTaxa = QStringLiteral("Mês 02/2024 presente com outra taxa: na tabela "
                                                 "0,81, publicada 0,8 (a da tabela foi mantida)");
        QTest::newRow("documento de taxas")
            << dezembro2024 << Meses2024
            << conteudoArquivo(QStringLiteral(BELQOR_FIXTURES "/importacao/todos-os-desfechos.xml"))
            << QStringList{"Meses incluídos: 03/2024, 06/2024",
                           "Meses já presentes: 01/2024",
                           outraTaxa,
                           "Meses ainda não encerrados (ignorados): 12/2024 a 01/2025",
                           "Mês 04/2024 recusado: Deve ser informada a Selic para dia 1 do mês!",
                           "Mês 05/2024 recusado: A Selic de 05/2024 não pode ser negativa: -0,1.",
                           "A leitura do documento parou na entrada 9 (registrada em LOG): Nó "
                           "\"valorTaxaSelic\" não encontrado."}
            << 1;
        QTest::newRow("documento de taxas que não se lê")
            << dezembro2024 << Meses2024 << QByteArray("<list><i><dataSelic>2024-03-01</dataSelic>")
            << QStringList{"Nenhum mês foi incluído na tabela.",
                           "O documento de taxas não pôde ser lido: Erro no documento XML: o "
                           "documento termina antes do fim (linha 2, coluna 0)"}
            << 1;
        QTest::newRow("mês não encerrado entre outros")
            << QDate(2026, 12, 10) << MesesTeste{{QDate(2026, 9, 1), QStringLiteral("1.08")}}
            << conteudoArquivo(
                   QStringLiteral(BELQOR_FIXTURES "/importacao/nao-encerrado-no-meio.xml"))
            << QStringList{"Meses incluídos: 10/2026 a 11/2026",
                           "Meses ainda não encerrados (ignorados): 12/2026"}
            << 0;
        QTest::newRow("série CSV")
            << dezembro2024 << Meses2024
            << QByteArray("\xEF\xBB\xBF\"data\";\"valor\"\r\n\"01/01/2024\";\"0,97\"\r\n"
                          "\"01/02/2024\";\"0,80\"\r\n\"01/03/2024\";\"0,83\"\r\n"
                          "\"01/12/2024\";\"0,31\"\r\n\"01/01/2025\";\"1,01\"\r\n")
            << QStringList{"Meses incluídos: 03/2024", "Meses já presentes: 01/2024", outraTaxa,
                           "Meses ainda não encerrados (ignorados): 12/2024 a 01/2025"}
            << 1;
        // The series stops at a month the table refuses.
        QTest::newRow("série CSV com mês recusado")
            << dezembro2024 << Meses2024
            << QByteArray("01/03/2024;0,83\n01/04/2024;-0,10\n01/05/2024;0,83\n")
            << QStringList{"Meses incluídos: 03/2024",
                           "A tabela recusou o mês 04/2024; a leitura parou nele."}
            << 1;
        QTest::newRow("série CSV que para numa linha")
            << dezembro2024 << Meses2024 << QByteArray("01/03/2024;0,83\n15/04/2024;0,89\n")
            << QStringList{"Meses incluídos: 03/2024",
                           "A leitura parou na linha 2: a data 15/04/2024 não é o primeiro dia "
                           "de um mês."}
            << 1;
        QTest::newRow("série JSON com mês recusado")
            << dezembro2024 << Meses2024
            << QByteArray("[{\"data\":\"01/01/2024\",\"valor\":\"0.97\"},"
                          "{\"data\":\"01/02/2024\",\"valor\":\"0.80\"},"
                          "{\"data\":\"01/03/2024\",\"valor\":\"0.83\"},"
                          "{\"data\":\"01/04/2024\",\"valor\":\"-0.10\"},"
                          "{\"data\":\"01/05/2024\",\"valor\":\"0.83\"}]")
            << QStringList{"Meses incluídos: 03/2024", "Meses já presentes: 01/2024", outraTaxa,
                           "A tabela recusou o mês 04/2024; a leitura parou nele."}
            << 1;
        QTest::newRow("série JSON que para num item")
            << dezembro2024 << Meses2024
            << QByteArray("[{\"data\":\"01/03/2024\",\"valor\":\"0.83\"},"
                          "{\"data\":\"01/12/2024\",\"valor\":\"0.31\"},{\"data\":\"01/04/2024\"}]")
            << QStringList{"Meses incluídos: 03/2024",
                           "Meses ainda não encerrados (ignorados): 12/2024",
                           "A leitura parou no item 3 da lista: falta o campo \"valor\"."}
            << 1;
    }
    void mesmoRelatorio() {
        QFETCH(QDate, hoje);
        QFETCH(MesesTeste, meses);
        QFETCH(QByteArray, documento);
        QFETCH(QStringList, relatorio);
        QFETCH(int, status);
        const Relato janela = pelaJanela(hoje, meses, documento);
        int statusCli = -1;
        const Relato cli = pelaLinhaDeComando(hoje, meses, documento, janela.falhou, statusCli);
        QCOMPARE(janela.relatorio, relatorio);
        QCOMPARE(cli.relatorio, janela.relatorio);
        QCOMPARE(cli.avisos, janela.avisos);
        QCOMPARE(cli.registrouNoLog, janela.registrouNoLog);
        QCOMPARE(cli.tabela, janela.tabela);
        QCOMPARE(statusCli, status);
    }
};

QTEST_MAIN(TesteImportarComoJanela)
#include "TesteImportarComoJanela.moc"
