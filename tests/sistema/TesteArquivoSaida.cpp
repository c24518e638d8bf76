#include "sistema/ArquivoSaida.h"
#include "apoio/ArquivosTeste.h"
#include "apoio/LimiteTamanho.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

struct stat estado(const QString& caminho) {
    struct stat info {};
    if (::lstat(QFile::encodeName(caminho).constData(), &info) != 0)
        info.st_mode = 0;
    return info;
}

// What a writer leaves: bytes through the device, then the end.
void grava(ArquivoSaida& saida, const QByteArray& bytes) {
    saida.abre();
    QCOMPARE(saida.write(bytes), bytes.size());
    saida.conclui();
}

// A device node like the system's /dev/null (1, 3) or /dev/full (1, 7), made in a folder of
// the test's own: the system's own nodes are never the target. Making one takes privilege.
bool criaDispositivo(const QString& caminho, unsigned menor) {
    return ::mknod(QFile::encodeName(caminho).constData(), S_IFCHR | 0666, makedev(1, menor)) == 0;
}

} // namespace

class TesteArquivoSaida : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;

    QString caminho(const QString& nome) const { return fPasta.filePath(nome); }

private slots:
    void init() {
        QVERIFY(fPasta.isValid());
        for (const QString& nome :
             QDir(fPasta.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
            QVERIFY(QFile::remove(caminho(nome)) || QDir(caminho(nome)).removeRecursively());
    }

    // A regular file gets the new content whole; a new path is created.
    void arquivoComumEhSubstituido_data() {
        QTest::addColumn<bool>("existe");
        QTest::newRow("existente") << true;
        QTest::newRow("novo") << false;
    }
    void arquivoComumEhSubstituido() {
        QFETCH(bool, existe);
        const QString alvo = caminho(QStringLiteral("saida.csv"));
        if (existe)
            gravaArquivoTeste(alvo, "conteúdo antigo, mais longo que o novo\n");
        ArquivoSaida saida(alvo);
        grava(saida, "novo\n");
        QCOMPARE(conteudoArquivo(alvo), QByteArray("novo\n"));
        QVERIFY(S_ISREG(estado(alvo).st_mode));
        QCOMPARE(QDir(fPasta.path()).entryList(QDir::Files), QStringList{"saida.csv"});
    }

    // Until the end the target keeps what it held: a writer that stops leaves no half file.
    void arquivoComumSoMudaNoFim() {
        const QString alvo = caminho(QStringLiteral("saida.csv"));
        gravaArquivoTeste(alvo, "antigo\n");
        {
            ArquivoSaida saida(alvo);
            saida.abre();
            QCOMPARE(saida.write("metade"), 6);
            QCOMPARE(conteudoArquivo(alvo), QByteArray("antigo\n"));
        }
        QCOMPARE(conteudoArquivo(alvo), QByteArray("antigo\n"));
        QCOMPARE(QDir(fPasta.path()).entryList(QDir::Files), QStringList{"saida.csv"});
    }

    // A character device is written in place: the node stays a device, with its numbers.
    void dispositivoEhGravadoNoLugar() {
        const QString alvo = caminho(QStringLiteral("nulo"));
        if (!criaDispositivo(alvo, 3))
            QSKIP("criar um dispositivo exige privilégio (mknod)");
        ArquivoSaida saida(alvo);
        grava(saida, "linha\n");
        const struct stat depois = estado(alvo);
        QVERIFY(S_ISCHR(depois.st_mode));
        QCOMPARE(major(depois.st_rdev), 1u);
        QCOMPARE(minor(depois.st_rdev), 3u);
    }

    // A named pipe stays a pipe and its reader gets every byte.
    void pipeEhGravadoNoLugar() {
        const QString alvo = caminho(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(alvo).constData(), 0600), 0);
        QByteArray lido;
        std::thread leitor([&] {
            const int fd = ::open(QFile::encodeName(alvo).constData(), O_RDONLY);
            char bloco[4096];
            ssize_t n = 0;
            while (fd >= 0 && (n = ::read(fd, bloco, sizeof bloco)) > 0)
                lido.append(bloco, n);
            if (fd >= 0)
                ::close(fd);
        });
        const QByteArray bytes = QByteArray("valor;total\r\n").repeated(10000);
        ArquivoSaida saida(alvo);
        grava(saida, bytes);
        leitor.join();
        QCOMPARE(lido.size(), bytes.size());
        QCOMPARE(lido, bytes);
        QVERIFY(S_ISFIFO(estado(alvo).st_mode));
    }

    // A socket file is connected to; whoever listens there gets the bytes.
    void soqueteRecebeOsBytes() {
        const QString alvo = caminho(QStringLiteral("soquete"));
        QLocalServer servidor;
        servidor.setSocketOptions(QLocalServer::UserAccessOption);
        QVERIFY(servidor.listen(alvo));
        ArquivoSaida saida(alvo);
        grava(saida, "pelo soquete\n");
        QVERIFY(servidor.waitForNewConnection(10000));
        QLocalSocket* conexao = servidor.nextPendingConnection();
        QVERIFY(conexao);
        QByteArray lido;
        while (conexao->state() == QLocalSocket::ConnectedState && conexao->waitForReadyRead(10000))
            lido += conexao->readAll();
        lido += conexao->readAll();
        QCOMPARE(lido, QByteArray("pelo soquete\n"));
        QVERIFY(S_ISSOCK(estado(alvo).st_mode));
    }

    void pastaEhRecusada() {
        const QString alvo = caminho(QStringLiteral("pasta"));
        QVERIFY(QDir().mkpath(alvo));
        ArquivoSaida saida(alvo);
        try {
            saida.abre();
            QFAIL("abriu uma pasta");
        } catch (const ErroSaidaEmPasta& e) {
            QCOMPARE(e.mensagem(),
                     QStringLiteral("Não foi possível gravar o arquivo \"%1\": o caminho é uma "
                                    "pasta")
                         .arg(alvo));
        }
        QVERIFY(S_ISDIR(estado(alvo).st_mode));
    }

    // The first refused write is kept with its reason, the end reports it, and for a regular
    // file the target is left as it was.
    void gravacaoRecusadaEhInformada() {
        const QString alvo = caminho(QStringLiteral("saida.csv"));
        gravaArquivoTeste(alvo, "antigo\n");
        ArquivoSaida saida(alvo);
        saida.abre();
        {
            LimiteTamanho limite(16);
            QCOMPARE(saida.write(QByteArray(64, 'x')), -1);
        }
        QVERIFY(saida.falhou());
        QCOMPARE(saida.write("depois"), -1);
        QVERIFY_THROWS_EXCEPTION(ErroEntradaSaida, saida.conclui());
        QCOMPARE(saida.erro().mensagem(),
                 QStringLiteral("Não foi possível gravar o arquivo \"%1\": arquivo grande demais")
                     .arg(alvo));
        QCOMPARE(conteudoArquivo(alvo), QByteArray("antigo\n"));
        QCOMPARE(QDir(fPasta.path()).entryList(QDir::Files), QStringList{"saida.csv"});
    }

    // A document that could not be made fails as a refused write: said with its reason,
    // later writes refused, the target as it was; a write that failed before keeps its own.
    void falhaDoConteudo() {
        const QString alvo = caminho(QStringLiteral("saida.xlsx"));
        gravaArquivoTeste(alvo, "antigo\n");
        ArquivoSaida saida(alvo);
        saida.abre();
        QCOMPARE(saida.write("metade"), 6);
        const QString esperada =
            QStringLiteral("Não foi possível gravar o arquivo \"%1\": memória insuficiente")
                .arg(alvo);
        QCOMPARE(saida.falha(QStringLiteral("memória insuficiente")).mensagem(), esperada);
        QCOMPARE(saida.falha(QStringLiteral("outro motivo")).mensagem(), esperada);
        QCOMPARE(saida.write("depois"), -1);
        try {
            saida.conclui();
            QFAIL("concluída");
        } catch (const ErroEntradaSaida& e) {
            QCOMPARE(e.mensagem(), esperada);
        }
        QCOMPARE(conteudoArquivo(alvo), QByteArray("antigo\n"));
        QCOMPARE(QDir(fPasta.path()).entryList(QDir::Files), QStringList{"saida.xlsx"});
    }

    // A full device, written in place, as a descriptor already open and by its path.
    void dispositivoCheio() {
        const QString alvo = caminho(QStringLiteral("cheio"));
        if (!criaDispositivo(alvo, 7))
            QSKIP("criar um dispositivo exige privilégio (mknod)");
        ArquivoSaida porCaminho(alvo);
        porCaminho.abre();
        QCOMPARE(porCaminho.write("x"), -1);
        try {
            porCaminho.conclui();
            QFAIL("a gravação num dispositivo cheio foi aceita");
        } catch (const ErroEntradaSaida& e) {
            QCOMPARE(e.mensagem(),
                     QStringLiteral("Não foi possível gravar o arquivo \"%1\": não há espaço "
                                    "livre no dispositivo")
                         .arg(alvo));
        }
        QVERIFY(S_ISCHR(estado(alvo).st_mode));

        const int fd = ::open(QFile::encodeName(alvo).constData(), O_WRONLY);
        QVERIFY(fd >= 0);
        {
            ArquivoSaida padrao(fd, QStringLiteral("saída padrão"));
            QCOMPARE(padrao.write("x"), -1);
            QCOMPARE(padrao.erro().mensagem(),
                     QStringLiteral("Erro de gravação na saída padrão: não há espaço livre no "
                                    "dispositivo"));
        }
        // The descriptor was the caller's and is still open.
        QCOMPARE(::close(fd), 0);
    }

    void arquivoEmPastaAusente() {
        const QString alvo = caminho(QStringLiteral("nao/existe/saida.csv"));
        ArquivoSaida saida(alvo);
        try {
            saida.abre();
            QFAIL("abriu numa pasta ausente");
        } catch (const ErroEntradaSaida& e) {
            QCOMPARE(e.mensagem(),
                     QStringLiteral("Não foi possível gravar o arquivo \"%1\": arquivo ou pasta "
                                    "inexistente")
                         .arg(alvo));
        }
    }
};

QTEST_GUILESS_MAIN(TesteArquivoSaida)
#include "TesteArquivoSaida.moc"
