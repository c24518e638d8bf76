#include "framework/ConfigApp.h"

#include "dialogos/Dialogos.h"
#include "apoio/DialogosRoteiro.h"
#include "valores/Erros.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

const QString MensagemNomeVazio =
    QStringLiteral("Não foi informado o nome do arquivo de Log de controle da aplicação!");

// Records what the component forwards to the viewer.
class CanalGravado : public CanalVisualizadorLog {
public:
    explicit CanalGravado(std::shared_ptr<QStringList> textos) : fTextos(std::move(textos)) {}
    void envia(const QString& texto) override { fTextos->append(texto); }

private:
    std::shared_ptr<QStringList> fTextos;
};

// A real viewer's listening part, on a thread of its own: the component waits for the
// viewer's answer, so the listener cannot share the test's thread.
class OuvinteEmSegundoPlano {
public:
    explicit OuvinteEmSegundoPlano(const QString& nomeCanal) {
        fOuvinte = new OuvinteVisualizadorLog();
        fOuvinte->moveToThread(&fLinha);
        QObject::connect(&fLinha, &QThread::finished, fOuvinte, &QObject::deleteLater);
        QObject::connect(
            fOuvinte, &OuvinteVisualizadorLog::registroRecebido, fOuvinte,
            [this](quint64 tipo, const QByteArray& bytes) {
                QMutexLocker trava(&fTrava);
                fRegistros.append({tipo, bytes});
            },
            Qt::DirectConnection);
        fLinha.start();
        QMetaObject::invokeMethod(
            fOuvinte, [this, nomeCanal] { fEscutando = fOuvinte->escuta(nomeCanal); },
            Qt::BlockingQueuedConnection);
    }
    ~OuvinteEmSegundoPlano() {
        fLinha.quit();
        fLinha.wait();
    }
    bool escutando() const { return fEscutando; }
    QList<QPair<quint64, QByteArray>> registros() {
        QMutexLocker trava(&fTrava);
        return fRegistros;
    }

private:
    QThread fLinha;
    OuvinteVisualizadorLog* fOuvinte;
    bool fEscutando = false;
    QMutex fTrava;
    QList<QPair<quint64, QByteArray>> fRegistros;
};

QByteArray utf16ComZero(const QString& texto) {
    QByteArray bytes;
    for (QChar c : texto) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes + QByteArray(2, '\0');
}

QByteArray linhasCrLf(const QStringList& linhas) {
    QByteArray bytes;
    for (const QString& l : linhas)
        bytes += l.toLatin1() + "\r\n";
    return bytes;
}

QStringList numeradas(const QString& prefixo, int de, int ate) {
    QStringList linhas;
    for (int i = de; i <= ate; ++i)
        linhas << prefixo + QString::number(i);
    return linhas;
}

} // namespace

class TesteConfigApp : public QObject {
    Q_OBJECT

private slots:
    void init() {
        fDir = std::make_unique<QTemporaryDir>();
        QVERIFY(fDir->isValid());
        fDialogos = std::make_unique<DialogosRoteiro>();
        fEnviados = std::make_shared<QStringList>();
        fConfig = std::make_unique<TConfigApp>(*fDialogos);
        fConfig->definePastaLog(fDir->path());
        fConfig->defineCanalVisualizador(std::make_unique<CanalGravado>(fEnviados));
    }

    void valoresDaAplicacao() {
        fConfig->carregaValores(valoresConfigAppBelqor());
        QCOMPARE(fConfig->objectName(), QStringLiteral("ConfigApp"));
        QCOMPARE(fConfig->Versao(), QStringLiteral("3.02.00"));
        QCOMPARE(fConfig->Release(), QString());
        QCOMPARE(fConfig->VersaoTeste(), false);
        QCOMPARE(fConfig->GeraLog(), true);
        QCOMPARE(fConfig->GetNomeArqLog(), QStringLiteral("logBELQOR.txt"));
        QCOMPARE(fConfig->MaxNumLinhas(), 0);
        QCOMPARE(fConfig->SiglaSistema(), QStringLiteral("BELQOR"));
        QCOMPARE(fConfig->NomeSistema(), QStringLiteral("BELQOR"));
        QCOMPARE(fConfig->caminhoArqLog(), fDir->path() + QStringLiteral("/logBELQOR.txt"));
        QCOMPARE(fConfig->property("NomeArqLog").toString(), QStringLiteral("logBELQOR.txt"));
    }

    void logFicaAoLadoDoExecutavel() {
        TConfigApp semDiretorio(*fDialogos);
        semDiretorio.SetNomeArqLog(QStringLiteral(" log.txt"));
        QCOMPARE(semDiretorio.caminhoArqLog(),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/ log.txt"));
    }

    void caption_data() {
        QTest::addColumn<bool>("teste");
        QTest::addColumn<QString>("release");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("aplicação") << false << QString() << "BELQOR - BELQOR - Versão 3.02.00";
        QTest::newRow("versão de teste com release b")
            << true << "b"
            << "BELQOR - BELQOR - Versão 3.02.00b  (VERSÃO TESTE)";
        QTest::newRow("release sem teste") << false << "b"
                                           << "BELQOR - BELQOR - Versão 3.02.00b";
    }
    void caption() {
        QFETCH(bool, teste);
        QFETCH(QString, release);
        QFETCH(QString, esperado);
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.VersaoTeste = teste;
        valores.Release = release;
        fConfig->carregaValores(valores);
        QCOMPARE(fConfig->RetornaCaptionFormPrincipal(), esperado);
    }

    void escreveEmAnsiComCrLfAcrescentandoEntreExecucoes() {
        escreveArquivo("logBELQOR.txt", "anterior\r\n");
        fConfig->carregaValores(valoresConfigAppBelqor());
        fConfig->WriteArqLog(QStringLiteral("15/05/2024 14:03:27 - Ação € inválida"));
        fConfig->EnviaArqLog(QStringLiteral("segunda"));

        TConfigApp outraExecucao(*fDialogos);
        outraExecucao.definePastaLog(fDir->path());
        outraExecucao.defineCanalVisualizador(std::make_unique<CanalGravado>(fEnviados));
        outraExecucao.carregaValores(valoresConfigAppBelqor());
        outraExecucao.WriteArqLog(QStringLiteral("terceira"));

        QCOMPARE(leArquivo("logBELQOR.txt"),
                 QByteArray("anterior\r\n15/05/2024 14:03:27 - A\xE7\xE3o \x80 inv\xE1lida\r\n"
                            "segunda\r\nterceira\r\n"));
        QCOMPARE(
            *fEnviados,
            QStringList({QStringLiteral("BELQOR - 15/05/2024 14:03:27 - Ação € inválida"),
                         QStringLiteral("BELQOR - segunda"), QStringLiteral("BELQOR - terceira")}));
        QCOMPARE(fDialogos->registros().size(), 0);
    }

    void arquivoAusenteECriado() {
        fConfig->carregaValores(valoresConfigAppBelqor());
        QVERIFY(!QFile::exists(fConfig->caminhoArqLog()));
        fConfig->WriteArqLog(QStringLiteral("primeira"));
        QCOMPARE(leArquivo("logBELQOR.txt"), QByteArray("primeira\r\n"));
    }

    void geraLogDesligadoNaoEscreveNemEnvia() {
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.GeraLog = false;
        fConfig->carregaValores(valores);
        fConfig->WriteArqLog(QStringLiteral("nada"));
        QVERIFY(!QFile::exists(fConfig->caminhoArqLog()));
        QCOMPARE(fEnviados->size(), 0);
    }

    void semLimiteNuncaApara() {
        escreveArquivo("logBELQOR.txt", linhasCrLf(numeradas("antiga ", 1, 10)));
        fConfig->carregaValores(valoresConfigAppBelqor());
        for (int i = 1; i <= 5; ++i)
            fConfig->WriteArqLog(QStringLiteral("nova %1").arg(i));
        QCOMPARE(leArquivo("logBELQOR.txt"),
                 linhasCrLf(numeradas("antiga ", 1, 10) + numeradas("nova ", 1, 5)));
    }

    void limiteTresComArquivoNovo() {
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.MaxNumLinhas = 3;
        fConfig->carregaValores(valores);
        for (int i = 1; i <= 6; ++i) {
            fConfig->WriteArqLog(QStringLiteral("linha %1").arg(i));
            QCOMPARE(leArquivo("logBELQOR.txt"),
                     linhasCrLf(numeradas("linha ", qMax(1, i - 2), i)));
        }
    }

    void limiteTresComArquivoExistenteDeDezLinhas() {
        escreveArquivo("logBELQOR.txt", linhasCrLf(numeradas("antiga ", 1, 10)));
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.MaxNumLinhas = 3;
        fConfig->carregaValores(valores);
        for (int i = 1; i <= 3; ++i)
            fConfig->WriteArqLog(QStringLiteral("nova %1").arg(i));
        QCOMPARE(leArquivo("logBELQOR.txt"),
                 linhasCrLf(numeradas("antiga ", 1, 10) + numeradas("nova ", 1, 3)));
        fConfig->WriteArqLog(QStringLiteral("nova 4"));
        QCOMPARE(leArquivo("logBELQOR.txt"), linhasCrLf(numeradas("nova ", 2, 4)));
    }

    void nomeDefinidoComLimiteContaAsLinhasDoArquivo() {
        escreveArquivo("outro.txt", linhasCrLf(numeradas("antiga ", 1, 10)));
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.MaxNumLinhas = 3;
        fConfig->carregaValores(valores);
        fConfig->SetNomeArqLog(QStringLiteral("outro.txt"));
        fConfig->WriteArqLog(QStringLiteral("nova 1"));
        QCOMPARE(leArquivo("outro.txt"), linhasCrLf({"antiga 9", "antiga 10", "nova 1"}));
    }

    void nomeEmBrancoAoEscrever_data() {
        QTest::addColumn<QString>("nome");
        QTest::newRow("vazio") << QString();
        QTest::newRow("brancos") << "   ";
        QTest::newRow("controles e brancos") << "\t\r\n \x01";
    }
    void nomeEmBrancoAoEscrever() {
        QFETCH(QString, nome);
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.NomeArqLog = nome;
        fConfig->carregaValores(valores);
        fConfig->WriteArqLog(QStringLiteral("primeira"));
        fConfig->WriteArqLog(QStringLiteral("segunda"));

        QCOMPARE(*fEnviados, QStringList{QStringLiteral("BELQOR - primeira")});
        QCOMPARE(fDialogos->textos(), QStringList{MensagemNomeVazio});
        QCOMPARE(fDialogos->registros()[0].tipo, DialogosRoteiro::Registro::Mensagem);
        QCOMPARE(fConfig->GeraLog(), false);
        QCOMPARE(QDir(fDir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void nomeEmBrancoComLimiteAoDefinir() {
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.MaxNumLinhas = 3;
        fConfig->carregaValores(valores);
        fConfig->SetNomeArqLog(QStringLiteral(" "));
        QCOMPARE(fDialogos->textos(), QStringList{MensagemNomeVazio});
        QCOMPARE(fConfig->GeraLog(), false);
        QCOMPARE(fConfig->GetNomeArqLog(), QStringLiteral(" "));
    }

    void brancosNoNomeFicamNoCaminho() {
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.NomeArqLog = QStringLiteral(" log.txt");
        fConfig->carregaValores(valores);
        fConfig->WriteArqLog(QStringLiteral("x"));
        QCOMPARE(leArquivo(" log.txt"), QByteArray("x\r\n"));
    }

    void arquivoQueNaoAbreDesligaOLogSemMensagem_data() {
        QTest::addColumn<QString>("diretorio");
        QTest::addColumn<QString>("nome");
        QTest::newRow("diretório inexistente") << "inexistente"
                                               << "log.txt";
        QTest::newRow("nome de uma pasta") << ""
                                           << "pasta";
        QTest::newRow("caminho com mais de 259 caracteres") << "" << QString(240, QLatin1Char('a'));
    }
    void arquivoQueNaoAbreDesligaOLogSemMensagem() {
        QFETCH(QString, diretorio);
        QFETCH(QString, nome);
        QVERIFY(QDir(fDir->path()).mkdir(QStringLiteral("pasta")));
        fConfig->definePastaLog(fDir->filePath(diretorio));
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.NomeArqLog = nome;
        fConfig->carregaValores(valores);
        QVERIFY(fConfig->caminhoArqLog().size() > 0);

        fConfig->WriteArqLog(QStringLiteral("perdida"));
        fConfig->WriteArqLog(QStringLiteral("não enviada"));

        QCOMPARE(fConfig->GeraLog(), false);
        QCOMPARE(fDialogos->registros().size(), 0);
        QCOMPARE(*fEnviados, QStringList{QStringLiteral("BELQOR - perdida")});
        QCOMPARE(QDir(fDir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("pasta")});
    }

    void linhaQueNaoGravaLevantaErro() {
        fConfig->definePastaLog(QStringLiteral("/dev"));
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.NomeArqLog = QStringLiteral("full");
        fConfig->carregaValores(valores);
        QVERIFY_THROWS_EXCEPTION(ErroEntradaSaida, fConfig->WriteArqLog(QStringLiteral("x")));
        QCOMPARE(fConfig->GeraLog(), true);
    }

    void contagemQueNaoLeDesligaOLog() {
        // Reading this file fails at its first byte, although it opens.
        fConfig->definePastaLog(QStringLiteral("/proc/self"));
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.MaxNumLinhas = 3;
        fConfig->carregaValores(valores);
        fConfig->SetNomeArqLog(QStringLiteral("mem"));
        QCOMPARE(fConfig->GeraLog(), false);
        QCOMPARE(fDialogos->registros().size(), 0);
    }

    void verificaTamanhoNaoTocaArquivoSemExcesso_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::newRow("menos linhas que o limite") << QByteArray("um\r\ndois\r\n");
        QTest::newRow("tantas linhas quanto o limite") << QByteArray("um\r\ndois\r\ntrês\r\n");
        QTest::newRow("quebras misturadas, sem a final") << QByteArray("um\rdois\ntr\xEAs");
        QTest::newRow("vazio") << QByteArray();
        QTest::newRow("UTF-8 com marca") << QByteArray("\xEF\xBB\xBFum\ndois\n");
    }
    void verificaTamanhoNaoTocaArquivoSemExcesso() {
        QFETCH(QByteArray, conteudo);
        escreveArquivo("log.txt", conteudo);
        const QString caminho = fDir->filePath(QStringLiteral("log.txt"));
        const QDateTime antiga = QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5));
        {
            QFile arquivo(caminho);
            QVERIFY(arquivo.open(QIODevice::ReadWrite));
            QVERIFY(arquivo.setFileTime(antiga, QFileDevice::FileModificationTime));
        }
        fConfig->SetMaxNumLinhas(3);
        fConfig->VerificaTamanho(caminho);
        QCOMPARE(leArquivo("log.txt"), conteudo);
        QCOMPARE(QFileInfo(caminho).lastModified(), antiga);
    }

    void verificaTamanhoSemLimiteNaoLe() {
        fConfig->SetMaxNumLinhas(0);
        fConfig->VerificaTamanho(fDir->filePath(QStringLiteral("ausente.txt")));
        QVERIFY(!QFile::exists(fDir->filePath(QStringLiteral("ausente.txt"))));
    }

    void aparaNaCodificacaoLida_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QByteArray>("esperado");
        QTest::newRow("ANSI com CR, LF e CR LF")
            << QByteArray("um\rdois\ntr\xEAs\r\nquatro") << QByteArray("tr\xEAs\r\nquatro\r\n");
        QTest::newRow("linhas vazias contam")
            << QByteArray("a\r\n\r\n\r\nb\r\n") << QByteArray("\r\nb\r\n");
        QTest::newRow("UTF-8 com marca") << QByteArray("\xEF\xBB\xBFum\ndois\ntrês\n")
                                         << QByteArray("\xEF\xBB\xBF"
                                                       "dois\r\ntrês\r\n");
        QTest::newRow("UTF-16 LE com marca") << QByteArray("\xFF\xFEu\0m\0\n\0d\0\n\0\xE9\0", 14)
                                             << QByteArray("\xFF\xFE"
                                                           "d\0\r\0\n\0\xE9\0\r\0\n\0",
                                                           14);
        QTest::newRow("UTF-16 BE com marca") << QByteArray("\xFE\xFF\0u\0m\0\n\0d\0\n\0\xE9", 14)
                                             << QByteArray("\xFE\xFF\0d\0\r\0\n\0\xE9\0\r\0\n", 14);
    }
    void aparaNaCodificacaoLida() {
        QFETCH(QByteArray, conteudo);
        QFETCH(QByteArray, esperado);
        escreveArquivo("log.txt", conteudo);
        fConfig->SetMaxNumLinhas(2);
        fConfig->VerificaTamanho(fDir->filePath(QStringLiteral("log.txt")));
        QCOMPARE(leArquivo("log.txt").toHex(' '), esperado.toHex(' '));
    }

    void verificaTamanhoQueNaoLeLevantaErro_data() {
        QTest::addColumn<QString>("caminho");
        QTest::newRow("arquivo ausente") << QStringLiteral("ausente.txt");
        QTest::newRow("leitura falha") << QStringLiteral("/proc/self/mem");
    }
    void verificaTamanhoQueNaoLeLevantaErro() {
        QFETCH(QString, caminho);
        fConfig->SetMaxNumLinhas(3);
        QVERIFY_THROWS_EXCEPTION(ErroEntradaSaida,
                                 fConfig->VerificaTamanho(QDir(fDir->path()).filePath(caminho)));
    }

    void limiteNegativoValeComoSemLimite() {
        escreveArquivo("logBELQOR.txt", linhasCrLf(numeradas("antiga ", 1, 5)));
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.MaxNumLinhas = -2;
        fConfig->carregaValores(valores);
        QCOMPARE(fConfig->MaxNumLinhas(), 0);
        fConfig->WriteArqLog(QStringLiteral("nova"));
        QCOMPARE(leArquivo("logBELQOR.txt"),
                 linhasCrLf(numeradas("antiga ", 1, 5) + QStringList{"nova"}));
    }

    void criaEFechaArqLog_data() {
        QTest::addColumn<bool>("cria");
        QTest::addColumn<bool>("geraLog");
        QTest::addColumn<int>("linhasAposCriar");
        QTest::addColumn<int>("linhasAposFechar");
        QTest::newRow("cria apara e fecha apara") << true << true << 3 << 3;
        QTest::newRow("fecha sem criar não apara") << false << true << 5 << 7;
        QTest::newRow("desligado cria nada e fecha apara") << true << false << 5 << 3;
    }
    void criaEFechaArqLog() {
        QFETCH(bool, cria);
        QFETCH(bool, geraLog);
        QFETCH(int, linhasAposCriar);
        QFETCH(int, linhasAposFechar);
        escreveArquivo("logBELQOR.txt", linhasCrLf(numeradas("antiga ", 1, 5)));
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.GeraLog = geraLog;
        valores.MaxNumLinhas = 3;
        fConfig->carregaValores(valores);
        if (cria)
            fConfig->CriaArqLog();
        QCOMPARE(contaLinhas("logBELQOR.txt"), linhasAposCriar);

        // Someone else appends while the log is kept open.
        acrescentaArquivo("logBELQOR.txt", "externa 1\r\nexterna 2\r\n");
        fConfig->FechaArqLog();
        QCOMPARE(contaLinhas("logBELQOR.txt"), linhasAposFechar);
        QCOMPARE(fConfig->GeraLog(), geraLog);
    }

    void criaArqLogCriaArquivoAusente() {
        fConfig->carregaValores(valoresConfigAppBelqor());
        fConfig->CriaArqLog();
        QVERIFY(QFile::exists(fConfig->caminhoArqLog()));
        QCOMPARE(leArquivo("logBELQOR.txt"), QByteArray());
        fConfig->FechaArqLog();
        QCOMPARE(fConfig->GeraLog(), true);
    }

    void criaArqLogComNomeEmBranco() {
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.NomeArqLog = QStringLiteral("  ");
        fConfig->carregaValores(valores);
        fConfig->CriaArqLog();
        fConfig->CriaArqLog();
        QCOMPARE(fDialogos->textos(), QStringList{MensagemNomeVazio});
        QCOMPARE(fConfig->GeraLog(), false);
    }

    void fechaArqLogEngoleFalhas() {
        ValoresConfigApp valores = valoresConfigAppBelqor();
        valores.GeraLog = false;
        valores.MaxNumLinhas = 3;
        fConfig->carregaValores(valores);
        // Trimming a missing file fails, and nobody hears of it.
        fConfig->FechaArqLog();
        QVERIFY(!QFile::exists(fConfig->caminhoArqLog()));
    }

    void visualizadorRealRecebeORegistroExato() {
        const QString canal = fDir->filePath(QStringLiteral("canal"));
        OuvinteEmSegundoPlano ouvinte(canal);
        QVERIFY(ouvinte.escutando());
        fConfig->defineCanalVisualizador(std::make_unique<EmissorVisualizadorLog>(canal));
        fConfig->carregaValores(valoresConfigAppBelqor());

        const QString linha = QStringLiteral("15/05/2024 14:03:27 - (00001000) [00401000] - Ação");
        fConfig->WriteArqLog(linha);
        fConfig->WriteArqLog(QStringLiteral("antes") + QChar(0) + QStringLiteral("depois"));

        // Forwarding is synchronous: the viewer has handled each line before the write returns.
        const auto registros = ouvinte.registros();
        QCOMPARE(registros.size(), 2);
        QCOMPARE(registros[0].first, quint64(1));
        QCOMPARE(registros[0].second, utf16ComZero(QStringLiteral("BELQOR - ") + linha));
        QCOMPARE(registros[0].second.size(), 2 * (9 + linha.size() + 1));
        QCOMPARE(registros[1].second, utf16ComZero(QStringLiteral("BELQOR - antes")));
        QCOMPARE(leArquivo("logBELQOR.txt"),
                 QByteArray("15/05/2024 14:03:27 - (00001000) [00401000] - A\xE7\xE3o\r\n") +
                     QByteArray("antes depois\r\n"));
    }

    // A message carrying line breaks from a document must not forge entries.
    void caracteresDeControleViramBrancos_data() {
        QTest::addColumn<QString>("linha");
        QTest::addColumn<QByteArray>("noArquivo");
        QTest::newRow("CR LF") << QStringLiteral("falha: 0.5\r\n15/05/2024 - forjada")
                               << QByteArray("falha: 0.5  15/05/2024 - forjada\r\n");
        QTest::newRow("LF só") << QStringLiteral("a\nb") << QByteArray("a b\r\n");
        QTest::newRow("CR só") << QStringLiteral("a\rb") << QByteArray("a b\r\n");
        QTest::newRow("tab, DEL e C1") << QStringLiteral("a\tb\x7F"
                                                         "c\u0085d")
                                       << QByteArray("a b c d\r\n");
        QTest::newRow("separadores Unicode")
            << QStringLiteral("a\u2028b\u2029c") << QByteArray("a b c\r\n");
    }
    void caracteresDeControleViramBrancos() {
        QFETCH(QString, linha);
        QFETCH(QByteArray, noArquivo);
        fConfig->carregaValores(valoresConfigAppBelqor());
        fConfig->WriteArqLog(linha);
        QCOMPARE(leArquivo("logBELQOR.txt"), noArquivo);
        QCOMPARE(*fEnviados, QStringList{QStringLiteral("BELQOR - ") +
                                         QString::fromLatin1(noArquivo.chopped(2))});
    }

    void semVisualizadorEscreveNormalmente() {
        fConfig->defineCanalVisualizador(
            std::make_unique<EmissorVisualizadorLog>(fDir->filePath(QStringLiteral("ninguem"))));
        fConfig->carregaValores(valoresConfigAppBelqor());
        fConfig->WriteArqLog(QStringLiteral("sozinha"));
        QCOMPARE(leArquivo("logBELQOR.txt"), QByteArray("sozinha\r\n"));
        QCOMPARE(fConfig->GeraLog(), true);
    }

private:
    void escreveArquivo(const QString& nome, const QByteArray& bytes) {
        QFile arquivo(fDir->filePath(nome));
        QVERIFY(arquivo.open(QIODevice::WriteOnly));
        QCOMPARE(arquivo.write(bytes), bytes.size());
    }
    void acrescentaArquivo(const QString& nome, const QByteArray& bytes) {
        QFile arquivo(fDir->filePath(nome));
        QVERIFY(arquivo.open(QIODevice::WriteOnly | QIODevice::Append));
        QCOMPARE(arquivo.write(bytes), bytes.size());
    }
    QByteArray leArquivo(const QString& nome) {
        QFile arquivo(fDir->filePath(nome));
        if (!arquivo.open(QIODevice::ReadOnly))
            return QByteArray("<ausente>");
        return arquivo.readAll();
    }
    int contaLinhas(const QString& nome) { return int(leArquivo(nome).count("\r\n")); }

    std::unique_ptr<QTemporaryDir> fDir;
    std::unique_ptr<DialogosRoteiro> fDialogos;
    std::shared_ptr<QStringList> fEnviados;
    std::unique_ptr<TConfigApp> fConfig;
};

QTEST_GUILESS_MAIN(TesteConfigApp)
#include "TesteConfigApp.moc"
