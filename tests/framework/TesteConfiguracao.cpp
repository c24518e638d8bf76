#include "framework/NURFWUtils.h"

#include "valores/Erros.h"
#include "apoio/ArquivosTeste.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Stands for the configuration component: the accessors the identity operations read.
struct ComponenteDeTeste {
    QString fSigla, fNome, fVersao, fRelease;
    bool fVersaoTeste = false;
    QString SiglaSistema() const { return fSigla; }
    QString NomeSistema() const { return fNome; }
    QString Versao() const { return fVersao; }
    QString Release() const { return fRelease; }
    bool VersaoTeste() const { return fVersaoTeste; }
};

QString mensagemDoErro(const std::function<void()>& operacao) {
    try {
        operacao();
    } catch (const ErroBelqor& e) {
        return e.mensagem();
    }
    return QStringLiteral("(nenhum erro)");
}

} // namespace

class TesteConfiguracao : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    ComponenteDeTeste fComponente;
    // Unique per run: the file lies beside the executable, shared with other tests.
    const QString fSigla = QStringLiteral("TESTENURFW%1").arg(QCoreApplication::applicationPid());
    QString arquivoDoSistema() const {
        return QCoreApplication::applicationDirPath() + u'/' + fSigla + QStringLiteral(".ini");
    }

private slots:
    // Runs first: nothing is registered yet.
    void identidadeSemRegistroFalha() {
        QVERIFY_THROWS_EXCEPTION(ErroBelqor, TNURUtils::GetSiglaSistema());
        QVERIFY_THROWS_EXCEPTION(ErroBelqor, TNURUtils::PegaCaminhoBase());
    }

    void identidade_data() {
        QTest::addColumn<QString>("release");
        QTest::addColumn<bool>("versaoTeste");
        QTest::addColumn<QString>("versaoSistema");
        QTest::newRow("release vazio") << "" << false << "3.02.00";
        QTest::newRow("release b, versão de teste") << "b" << true << "3.02.00b";
    }
    void identidade() {
        QFETCH(QString, release);
        QFETCH(bool, versaoTeste);
        QFETCH(QString, versaoSistema);
        fComponente = {fSigla, QStringLiteral("Sistema de teste"), QStringLiteral("3.02.00"),
                       release, versaoTeste};
        TNURUtils::InicializaConfigApp(fComponente);
        QCOMPARE(TNURUtils::GetSiglaSistema(), fSigla);
        QCOMPARE(TNURUtils::GetNomeSistema(), QStringLiteral("Sistema de teste"));
        QCOMPARE(TNURUtils::GetVersaoSistema(), versaoSistema);
        QCOMPARE(TNURUtils::GetVersaoTeste(), versaoTeste);
    }

    // Only a reference is registered: later changes to the component are seen.
    void registroGuardaReferencia() {
        fComponente = {fSigla, QStringLiteral("Nome"), QStringLiteral("1.0"), {}, false};
        TNURUtils::InicializaConfigApp(fComponente);
        fComponente.fRelease = QStringLiteral("c");
        fComponente.fNome = QStringLiteral("Outro nome");
        QCOMPARE(TNURUtils::GetVersaoSistema(), QStringLiteral("1.0c"));
        QCOMPARE(TNURUtils::GetNomeSistema(), QStringLiteral("Outro nome"));
    }

    void pegaCaminhoBase() {
        fComponente = {fSigla, QStringLiteral("Nome"), QStringLiteral("1.0"), {}, false};
        TNURUtils::InicializaConfigApp(fComponente);
        QFile::remove(arquivoDoSistema());
        QCOMPARE(mensagemDoErro([] { TNURUtils::PegaCaminhoBase(); }),
                 QStringLiteral("Arquivo INI não encontrado!"));

        gravaArquivoTeste(arquivoDoSistema(),
                          QStringLiteral("[Outra]\r\nDatabase=errado\r\n[%1]\r\n"
                                         "database = \"/dados/base.fdb\"\r\n")
                              .arg(fSigla.toLower())
                              .toUtf8());
        const QString caminho = TNURUtils::PegaCaminhoBase();
        QFile::remove(arquivoDoSistema());
        QCOMPARE(caminho, QStringLiteral("/dados/base.fdb"));
    }

    void arquivoIniAusente() {
        const QString ausente = fPasta.filePath(QStringLiteral("ausente.ini"));
        const QString esperado = QStringLiteral("Arquivo INI não encontrado!");
        QCOMPARE(mensagemDoErro([&] {
                     TNURUtils::GetValoresIni(ausente, QStringLiteral("A"), QStringLiteral("k"));
                 }),
                 esperado);
        QCOMPARE(mensagemDoErro([&] {
                     TNURUtils::SetValoresIni(ausente, QStringLiteral("A"), QStringLiteral("k"),
                                              QStringLiteral("v"));
                 }),
                 esperado);
        QVERIFY(!QFile::exists(ausente));
        // A folder by that name is no INI file.
        QCOMPARE(mensagemDoErro([&] {
                     TNURUtils::GetValoresIni(fPasta.path(), QStringLiteral("A"),
                                              QStringLiteral("k"));
                 }),
                 esperado);
    }

    void getValoresIni_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("valor") << QByteArray("[A]\r\nk=valor\r\n") << "valor";
        QTest::newRow("seção ausente") << QByteArray("[B]\r\nk=valor\r\n") << "";
        QTest::newRow("chave ausente") << QByteArray("[A]\r\nj=valor\r\n") << "";
        QTest::newRow("2047 caracteres inteiros")
            << "[A]\r\nk=" + QByteArray(2047, 'x') << QString(2047, u'x');
        QTest::newRow("3000 caracteres cortados em 2047")
            << "[A]\r\nk=" + QByteArray(3000, 'y') << QString(2047, u'y');
    }
    void getValoresIni() {
        QFETCH(QByteArray, conteudo);
        QFETCH(QString, esperado);
        const QString arquivo = fPasta.filePath(QStringLiteral("valores.ini"));
        gravaArquivoTeste(arquivo, conteudo);
        QCOMPARE(TNURUtils::GetValoresIni(arquivo, QStringLiteral("a"), QStringLiteral("K")),
                 esperado);
    }

    void setValoresIni() {
        const QString arquivo = fPasta.filePath(QStringLiteral("gravar.ini"));
        gravaArquivoTeste(arquivo, "; configuração\r\n[A]\r\nk=1\r\n");
        TNURUtils::SetValoresIni(arquivo, QStringLiteral("A"), QStringLiteral("k"),
                                 QStringLiteral("2"));
        TNURUtils::SetValoresIni(arquivo, QStringLiteral("B"), QStringLiteral("Database"),
                                 QStringLiteral("/dados/base.fdb"));
        QCOMPARE(conteudoArquivo(arquivo),
                 QByteArray("; configuração\r\n[A]\r\nk=2\r\n[B]\r\nDatabase=/dados/base.fdb\r\n"));
        QCOMPARE(TNURUtils::GetValoresIni(arquivo, QStringLiteral("b"), QStringLiteral("database")),
                 QStringLiteral("/dados/base.fdb"));
    }

    // A file saved in the ANSI code page is read as such and written back in it.
    void setValoresIniEmArquivoAnsi() {
        const QString arquivo = fPasta.filePath(QStringLiteral("ansi.ini"));
        gravaArquivoTeste(arquivo, "[A]\r\nNome=Concei\xe7\xe3o\r\nk=1\r\n");
        TNURUtils::SetValoresIni(arquivo, QStringLiteral("A"), QStringLiteral("k"),
                                 QStringLiteral("Pará"));
        QCOMPARE(conteudoArquivo(arquivo),
                 QByteArray("[A]\r\nNome=Concei\xe7\xe3o\r\nk=Par\xe1\r\n"));
        QCOMPARE(TNURUtils::GetValoresIni(arquivo, QStringLiteral("A"), QStringLiteral("Nome")),
                 QStringLiteral("Conceição"));
        QCOMPARE(TNURUtils::GetValoresIni(arquivo, QStringLiteral("A"), QStringLiteral("k")),
                 QStringLiteral("Pará"));
    }
};

QTEST_GUILESS_MAIN(TesteConfiguracao)
#include "TesteConfiguracao.moc"
