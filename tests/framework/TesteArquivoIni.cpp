#include "framework/ArquivoIni.h"

#include "valores/Erros.h"
#include "apoio/ArquivosTeste.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TesteArquivoIni : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    QString arquivo() const { return fPasta.filePath(QStringLiteral("config.ini")); }

private slots:
    void init() { QFile::remove(arquivo()); }

    void leValor_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QString>("secao");
        QTest::addColumn<QString>("chave");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("simples") << QByteArray("[BELQOR]\r\nDatabase=C:\\dados\\base.fdb\r\n")
                                 << "BELQOR"
                                 << "Database"
                                 << "C:\\dados\\base.fdb";
        QTest::newRow("sem caixa") << QByteArray("[geral]\ndatabase=x\n") << "GERAL"
                                   << "DataBase"
                                   << "x";
        QTest::newRow("aparado") << QByteArray("[A]\n  k  =   valor com espaço   \n") << "A"
                                 << "k"
                                 << "valor com espaço";
        QTest::newRow("aspas duplas") << QByteArray("[A]\nk=\"  entre aspas  \"\n") << "A"
                                      << "k"
                                      << "  entre aspas  ";
        QTest::newRow("aspas simples") << QByteArray("[A]\nk='x'\n") << "A"
                                       << "k"
                                       << "x";
        QTest::newRow("aspas desiguais ficam") << QByteArray("[A]\nk=\"x'\n") << "A"
                                               << "k"
                                               << "\"x'";
        QTest::newRow("aspa sozinha fica") << QByteArray("[A]\nk=\"\n") << "A"
                                           << "k"
                                           << "\"";
        QTest::newRow("igual no valor") << QByteArray("[A]\nk=a=b\n") << "A"
                                        << "k"
                                        << "a=b";
        QTest::newRow("valor vazio") << QByteArray("[A]\nk=\nj=1\n") << "A"
                                     << "k"
                                     << "";
        QTest::newRow("seção com brancos") << QByteArray("[ A ]\nk=1\n") << "A"
                                           << "k"
                                           << "1";
        QTest::newRow("primeira seção vence") << QByteArray("[A]\nk=1\n[a]\nk=2\n") << "A"
                                              << "k"
                                              << "1";
        QTest::newRow("primeira chave vence") << QByteArray("[A]\nk=1\nK=2\n") << "A"
                                              << "k"
                                              << "1";
        QTest::newRow("chave em outra seção") << QByteArray("[A]\nj=1\n[B]\nk=2\n") << "A"
                                              << "k"
                                              << "";
        QTest::newRow("comentário não é chave") << QByteArray("[A]\n;k=9\n") << "A"
                                                << "k"
                                                << "";
        QTest::newRow("chave antes de seção") << QByteArray("k=0\n[A]\nj=1\n") << "A"
                                              << "k"
                                              << "";
        QTest::newRow("seção ausente") << QByteArray("[A]\nk=1\n") << "B"
                                       << "k"
                                       << "";
        QTest::newRow("marca UTF-8 e acentos")
            << QByteArray("\xEF\xBB\xBF[Seção]\nNome=João\n") << "seção"
            << "nome"
            << "João";
        QTest::newRow("última linha sem quebra") << QByteArray("[A]\r\nk=fim") << "A"
                                                 << "k"
                                                 << "fim";
        QTest::newRow("sem marca e não UTF-8: ANSI")
            << QByteArray("[A]\r\nNome=Concei\xe7\xe3o\r\n") << "A"
            << "Nome"
            << "Conceição";
        QTest::newRow("sequência UTF-8 cortada no fim: ANSI")
            << QByteArray("[A]\r\nNome=Jos\xc3") << "A"
            << "Nome"
            << "JosÃ";
        QTest::newRow("sem marca, UTF-8 válido")
            << QByteArray("[A]\r\nNome=Concei\xc3\xa7\xc3\xa3o\r\n") << "A"
            << "Nome"
            << "Conceição";
    }
    void leValor() {
        QFETCH(QByteArray, conteudo);
        QFETCH(QString, secao);
        QFETCH(QString, chave);
        QFETCH(QString, esperado);
        gravaArquivoTeste(arquivo(), conteudo);
        QCOMPARE(ArquivoIni::leValor(arquivo(), secao, chave), esperado);
    }

    void padraoQuandoFalta() {
        gravaArquivoTeste(arquivo(), "[A]\nk=1\n");
        QCOMPARE(ArquivoIni::leValor(arquivo(), QStringLiteral("B"), QStringLiteral("k"),
                                     QStringLiteral("padrão")),
                 QStringLiteral("padrão"));
        QCOMPARE(ArquivoIni::leValor(fPasta.filePath(QStringLiteral("nao-existe.ini")),
                                     QStringLiteral("A"), QStringLiteral("k"),
                                     QStringLiteral("padrão")),
                 QStringLiteral("padrão"));
    }

    void gravaValor_data() {
        QTest::addColumn<QByteArray>("antes");
        QTest::addColumn<QString>("secao");
        QTest::addColumn<QString>("chave");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QByteArray>("depois");
        QTest::newRow("troca a linha da chave") << QByteArray("[A]\r\nk=1\r\nj=2\r\n") << "a"
                                                << "K"
                                                << "9" << QByteArray("[A]\r\nK=9\r\nj=2\r\n");
        QTest::newRow("chave nova no fim da seção")
            << QByteArray("[A]\r\nk=1\r\n\r\n[B]\r\nx=1\r\n") << "A"
            << "novo"
            << "v" << QByteArray("[A]\r\nk=1\r\nnovo=v\r\n\r\n[B]\r\nx=1\r\n");
        QTest::newRow("seção nova no fim") << QByteArray("[A]\r\nk=1\r\n") << "B"
                                           << "x"
                                           << "2" << QByteArray("[A]\r\nk=1\r\n[B]\r\nx=2\r\n");
        QTest::newRow("mantém quebras LF") << QByteArray("; c\n[A]\nk=1\n") << "A"
                                           << "k"
                                           << "2" << QByteArray("; c\n[A]\nk=2\n");
        QTest::newRow("mantém comentários e linhas soltas")
            << QByteArray("; topo\r\nlixo sem igual\r\n[A]\r\n;k=0\r\nk=1\r\n") << "A"
            << "k"
            << "5" << QByteArray("; topo\r\nlixo sem igual\r\n[A]\r\n;k=0\r\nk=5\r\n");
        QTest::newRow("arquivo vazio") << QByteArray() << "A"
                                       << "k"
                                       << "v" << QByteArray("[A]\r\nk=v\r\n");
        QTest::newRow("sem quebra no fim") << QByteArray("[A]\r\nk=1") << "A"
                                           << "j"
                                           << "2" << QByteArray("[A]\r\nk=1\r\nj=2");
        QTest::newRow("CR sozinho no fim ganha o LF")
            << QByteArray("[A]\r\nk=1\r\n; fim\r") << "B"
            << "x"
            << "2" << QByteArray("[A]\r\nk=1\r\n; fim\r\n[B]\r\nx=2\r\n");
        QTest::newRow("mantém a marca UTF-8")
            << QByteArray("\xEF\xBB\xBF[A]\r\nk=1\r\n") << "A"
            << "k"
            << "ç" << QByteArray("\xEF\xBB\xBF[A]\r\nk=\xC3\xA7\r\n");
        QTest::newRow("UTF-8 sem marca fica UTF-8")
            << QByteArray("[A]\nNome=Jo\xC3\xA3o\n") << "A"
            << "k"
            << "ç" << QByteArray("[A]\nNome=Jo\xC3\xA3o\nk=\xC3\xA7\n");
        QTest::newRow("ANSI: troca a linha, as outras ficam")
            << QByteArray("; Configura\xe7\xe3o\r\n[A]\r\nNome=Concei\xe7\xe3o\r\nk=1\r\n") << "A"
            << "k"
            << "São €5"
            << QByteArray("; Configura\xe7\xe3o\r\n[A]\r\nNome=Concei\xe7\xe3o\r\nk=S\xe3o \x80"
                          "5\r\n");
        QTest::newRow("ANSI: seção nova")
            << QByteArray("[A]\r\nNome=Concei\xe7\xe3o\r\n") << "Seção"
            << "Cidade"
            << "Itaúna"
            << QByteArray("[A]\r\nNome=Concei\xe7\xe3o\r\n[Se\xe7\xe3o]"
                          "\r\nCidade=Ita\xfana\r\n");
        QTest::newRow("quebras misturadas ficam como estão")
            << QByteArray("[A]\r\nk=1\nj=2\r\n; fim\n") << "A"
            << "j"
            << "3" << QByteArray("[A]\r\nk=1\nj=3\r\n; fim\n");
    }
    void gravaValor() {
        QFETCH(QByteArray, antes);
        QFETCH(QString, secao);
        QFETCH(QString, chave);
        QFETCH(QString, valor);
        QFETCH(QByteArray, depois);
        gravaArquivoTeste(arquivo(), antes);
        ArquivoIni::gravaValor(arquivo(), secao, chave, valor);
        QCOMPARE(conteudoArquivo(arquivo()), depois);
        QCOMPARE(ArquivoIni::leValor(arquivo(), secao, chave), valor);
    }

    // What the ANSI code page cannot hold would be lost: the write is refused, the file kept.
    void ansiRecusaCaractereForaDaPagina() {
        const QByteArray antes("[A]\r\nNome=Concei\xe7\xe3o\r\n");
        gravaArquivoTeste(arquivo(), antes);
        try {
            ArquivoIni::gravaValor(arquivo(), QStringLiteral("A"), QStringLiteral("k"),
                                   QStringLiteral("東京"));
            QFAIL("gravou um caractere que a página de código não tem");
        } catch (const ErroBelqor& e) {
            QVERIFY2(e.mensagem().contains(arquivo()), qPrintable(e.mensagem()));
        }
        QCOMPARE(conteudoArquivo(arquivo()), antes);
    }

    void gravaCriaArquivoAusente() {
        ArquivoIni::gravaValor(arquivo(), QStringLiteral("A"), QStringLiteral("k"),
                               QStringLiteral("v"));
        QCOMPARE(conteudoArquivo(arquivo()), QByteArray("[A]\r\nk=v\r\n"));
    }

    void recusaQuebraDeLinha_data() {
        QTest::addColumn<QString>("secao");
        QTest::addColumn<QString>("chave");
        QTest::addColumn<QString>("valor");
        QTest::newRow("no valor") << "A"
                                  << "k"
                                  << "1\r\n[B]\r\nx=2";
        QTest::newRow("na chave") << "A"
                                  << "k\nj"
                                  << "1";
        QTest::newRow("na seção") << "A]\r[B"
                                  << "k"
                                  << "1";
    }
    void recusaQuebraDeLinha() {
        QFETCH(QString, secao);
        QFETCH(QString, chave);
        QFETCH(QString, valor);
        const QByteArray antes("[A]\r\nk=0\r\n");
        gravaArquivoTeste(arquivo(), antes);
        QVERIFY_THROWS_EXCEPTION(ErroBelqor,
                                 ArquivoIni::gravaValor(arquivo(), secao, chave, valor));
        QCOMPARE(conteudoArquivo(arquivo()), antes);
    }

    // A device reports size 0 and never ends: the read stops at the limit and says so.
    void arquivoSemFimEhRecusado() {
        try {
            ArquivoIni::leValor(QStringLiteral("/dev/zero"), QStringLiteral("S"),
                                QStringLiteral("K"), QStringLiteral("padrão"));
            QFAIL("leu /dev/zero");
        } catch (const ErroBelqor& e) {
            QCOMPARE(
                e.mensagem(),
                QStringLiteral("O arquivo INI \"/dev/zero\" é grande demais (mais de 1 MiB)."));
        }
    }

    // The cap counts bytes actually read: exactly the cap is read, one byte more refused.
    void limiteExato_data() {
        QTest::addColumn<qint64>("tamanho");
        QTest::addColumn<bool>("lido");
        QTest::newRow("no limite") << ArquivoIni::TamanhoMaximo << true;
        QTest::newRow("um byte além") << ArquivoIni::TamanhoMaximo + 1 << false;
    }
    void limiteExato() {
        QFETCH(qint64, tamanho);
        QFETCH(bool, lido);
        QByteArray conteudo("[S]\nK=v\n;");
        conteudo += QByteArray(tamanho - conteudo.size(), 'x');
        gravaArquivoTeste(arquivo(), conteudo);
        if (lido) {
            QCOMPARE(ArquivoIni::leValor(arquivo(), QStringLiteral("S"), QStringLiteral("K")),
                     QStringLiteral("v"));
        } else {
            QVERIFY_THROWS_EXCEPTION(ErroBelqor, ArquivoIni::leValor(arquivo(), QStringLiteral("S"),
                                                                     QStringLiteral("K")));
        }
        QCOMPARE(conteudoArquivo(arquivo()).size(), tamanho);
    }

    void falhaDeGravacaoNomeiaOArquivo() {
        const QString caminho = fPasta.filePath(QStringLiteral("nao-existe/config.ini"));
        try {
            ArquivoIni::gravaValor(caminho, QStringLiteral("A"), QStringLiteral("k"),
                                   QStringLiteral("v"));
            QFAIL("gravou numa pasta que não existe");
        } catch (const ErroBelqor& e) {
            QVERIFY2(e.mensagem().contains(caminho), qPrintable(e.mensagem()));
        }
    }
};

QTEST_GUILESS_MAIN(TesteArquivoIni)
#include "TesteArquivoIni.moc"
