#include "apoio/ArquivosTeste.h"
#include "apoio/AutoridadeTeste.h"
#include "apoio/RespondedorBancoCentral.h"
#include "apoio/ServidorHttpTeste.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// One "$ " line of the README and the lines printed under it.
struct Exemplo {
    QString comando;
    QStringList esperado;
};

} // namespace

Q_DECLARE_METATYPE(QList<Exemplo>)

namespace {

// The examples of each code block that shows commands, with the line where it starts.
QList<QPair<int, QList<Exemplo>>> blocosDeExemplos(const QString& readme) {
    QList<QPair<int, QList<Exemplo>>> blocos;
    const QStringList linhas = readme.split(QLatin1Char('\n'));
    bool dentro = false;
    for (int i = 0; i < linhas.size(); ++i) {
        const QString& linha = linhas[i];
        if (linha.startsWith(QLatin1String("```"))) {
            dentro = !dentro;
            if (dentro)
                blocos.append(qMakePair(i + 2, QList<Exemplo>()));
            else if (blocos.last().second.isEmpty())
                blocos.removeLast();
            continue;
        }
        if (!dentro)
            continue;
        QList<Exemplo>& exemplos = blocos.last().second;
        if (linha.startsWith(QLatin1String("$ ")))
            exemplos.append({linha.mid(2), {}});
        else if (!exemplos.isEmpty())
            exemplos.last().esperado << linha;
    }
    return blocos;
}

QStringList semLinhasVaziasNoFim(QStringList linhas) {
    while (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    return linhas;
}

} // namespace

// The command-line examples of the README, run as printed. Each block of "$ " lines runs
// in a folder of its own: the real program with a copy of the shipped table beside it and
// the files of tests/fixtures/readme/, on 10/12/2026; the update from the central bank asks
// a loopback server that answers as the bank's. What a command prints, on standard output
// and standard error as a terminal shows them, must be the lines under it, "…" standing
// for any text.
class TesteReadme : public QObject {
    Q_OBJECT

    AutoridadeTeste fAutoridade;

    void roda(const QList<Exemplo>& exemplos) {
        QTemporaryDir pasta;
        QVERIFY(pasta.isValid());
        const QString programa = pasta.filePath(QStringLiteral("belqor-cli"));
        QVERIFY(QFile::copy(QStringLiteral(BELQOR_CLI), programa));
        const QString servico = QStringLiteral(BELQOR_SERVICO);
        QVERIFY(QFile::copy(servico, pasta.filePath(QFileInfo(servico).fileName())));
        const QString tabela = pasta.filePath(QStringLiteral("BELQOR.cds"));
        QVERIFY(QFile::copy(QStringLiteral(BELQOR_FONTE "/data/BELQOR.cds"), tabela));
        QFile::setPermissions(tabela, QFile::ReadOwner | QFile::WriteOwner);
        const QDir fixtures(QStringLiteral(BELQOR_FIXTURES "/readme"));
        for (const QString& nome : fixtures.entryList(QDir::Files))
            QVERIFY(QFile::copy(fixtures.filePath(nome), pasta.filePath(nome)));

        ServidorHttpTeste bancoCentral(
            RespondedorBancoCentral({{QDate(2026, 10, 1), QStringLiteral("1.28")},
                                     {QDate(2026, 11, 1), QStringLiteral("1.05")},
                                     {QDate(2026, 12, 1), QStringLiteral("0.40")}}),
            fAutoridade.emite());
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        ambiente.insert(QStringLiteral("BELQOR_HOJE"), QStringLiteral("10/12/2026"));
        ambiente.insert(QStringLiteral("BELQOR_CERTIFICADOS"), fAutoridade.arquivoCertificado());
        for (const char* variavel : ServidorHttpTeste::variaveisProxy())
            ambiente.remove(QString::fromLatin1(variavel));
        // The history beside the copy's table, whatever the test's own environment names.
        ambiente.remove(QStringLiteral("BELQOR_HISTORICO"));

        for (const Exemplo& exemplo : exemplos) {
            // Words as a shell splits them, "quoted words" kept whole.
            QStringList argumentos = QProcess::splitCommand(exemplo.comando);
            const QString comando = argumentos.takeFirst();
            QString impresso;
            if (comando == QLatin1String("cat")) {
                // A terminal shows neither the byte-order mark nor the carriage returns.
                impresso = QString::fromUtf8(conteudoArquivo(pasta.filePath(argumentos.value(0))));
                impresso.remove(QChar(0xFEFF)).remove(QLatin1Char('\r'));
            } else if (comando == QLatin1String("belqor-cli")) {
                if (argumentos.value(0) == QLatin1String("atualizar"))
                    argumentos << QStringLiteral("--url")
                               << bancoCentral.url(
                                      QStringLiteral("/dados/serie/bcdata.sgs.4390/dados"));
                QProcess p;
                p.setProcessEnvironment(ambiente);
                p.setWorkingDirectory(pasta.path());
                // "> ARQUIVO" sends standard output there, as the shell does; the terminal
                // shows standard error alone.
                const qsizetype redirecao = argumentos.indexOf(QStringLiteral(">"));
                if (redirecao >= 0) {
                    p.setStandardOutputFile(argumentos.value(redirecao + 1));
                    argumentos.remove(redirecao, argumentos.size() - redirecao);
                    p.setReadChannel(QProcess::StandardError);
                } else {
                    p.setProcessChannelMode(QProcess::MergedChannels);
                }
                p.start(programa, argumentos);
                QVERIFY2(p.waitForFinished(60000), qPrintable(exemplo.comando));
                impresso = QString::fromUtf8(p.readAll());
            } else {
                QFAIL(qPrintable(QStringLiteral("exemplo sem equivalente no teste: ") +
                                 exemplo.comando));
            }
            const QStringList linhas = semLinhasVaziasNoFim(impresso.split(QLatin1Char('\n')));
            const QStringList esperado = semLinhasVaziasNoFim(exemplo.esperado);
            const QString contexto = exemplo.comando + QStringLiteral("\n") + impresso;
            QVERIFY2(linhas.size() == esperado.size(), qPrintable(contexto));
            for (qsizetype i = 0; i < linhas.size(); ++i) {
                if (!esperado[i].contains(QChar(0x2026))) {
                    QCOMPARE(linhas[i], esperado[i]);
                    continue;
                }
                QStringList pedacos = esperado[i].split(QChar(0x2026));
                for (QString& pedaco : pedacos)
                    pedaco = QRegularExpression::escape(pedaco);
                const QRegularExpression padrao(
                    QRegularExpression::anchoredPattern(pedacos.join(QStringLiteral(".*"))));
                QVERIFY2(padrao.match(linhas[i]).hasMatch(),
                         qPrintable(linhas[i] + QStringLiteral("\n") + esperado[i]));
            }
        }
    }

private slots:
    void initTestCase() { QVERIFY2(fAutoridade.erro().isEmpty(), qPrintable(fAutoridade.erro())); }

    void exemplos_data() {
        QTest::addColumn<QList<Exemplo>>("exemplos");
        const auto blocos = blocosDeExemplos(
            QString::fromUtf8(conteudoArquivo(QStringLiteral(BELQOR_FONTE "/README.md"))));
        // Every command the README shows is here: the test cannot pass on an empty page.
        QStringList comandos;
        for (const auto& [linha, exemplos] : blocos) {
            QTest::addRow("README.md:%d %s", linha, qPrintable(exemplos.first().comando))
                << exemplos;
            for (const Exemplo& e : exemplos)
                comandos << e.comando.section(QLatin1Char(' '), 0, 1);
        }
        for (const char* comando :
             {"belqor-cli calcular", "belqor-cli lote", "belqor-cli atualizar",
              "belqor-cli importar", "belqor-cli tabela", "belqor-cli historico",
              "cat pagamentos.csv"})
            QVERIFY2(comandos.contains(QLatin1String(comando)), comando);
    }
    void exemplos() {
        QFETCH(QList<Exemplo>, exemplos);
        roda(exemplos);
    }
};

QTEST_GUILESS_MAIN(TesteReadme)
#include "TesteReadme.moc"
