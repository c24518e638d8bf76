#include "apoio/ArquivosTeste.h"
#include "valores/Erros.h"
#include "sistema/LocaisArquivos.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Variaveis = QMap<QString, QString>;

LocaisArquivos::Ambiente ambienteDe(const Variaveis& variaveis) {
    return [variaveis](const QString& nome) { return variaveis.value(nome); };
}

bool sempreGravavel(const QString&) {
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Variaveis)

// An installed tree under a temporary root (usr/bin, usr/share/belqor/BELQOR.cds) and a
// temporary home for the user's folders.
class TesteLocaisArquivos : public QObject {
    Q_OBJECT

    QTemporaryDir fRaiz;

    QString caminho(const QString& relativo) const { return fRaiz.filePath(relativo); }
    QString bin() const { return caminho(QStringLiteral("usr/bin")); }
    QString padrao() const { return caminho(QStringLiteral("usr/share/belqor/BELQOR.cds")); }

    LocaisArquivos instalado() const {
        return LocaisArquivos::decide(
            bin(),
            ambienteDe(
                {{QStringLiteral("HOME"), caminho(QStringLiteral("casa"))},
                 {QStringLiteral("XDG_DATA_HOME"), caminho(QStringLiteral("casa/dados"))},
                 {QStringLiteral("XDG_STATE_HOME"), caminho(QStringLiteral("casa/estado"))}}),
            sempreGravavel);
    }

private slots:
    void init() {
        QVERIFY(fRaiz.isValid());
        QDir(fRaiz.path()).removeRecursively();
        QVERIFY(QDir().mkpath(bin()));
        QVERIFY(QDir().mkpath(QFileInfo(padrao()).path()));
        gravaArquivoTeste(padrao(), "tabela instalada\n");
    }

    void decide_data() {
        QTest::addColumn<bool>("tabelaAoLado");
        QTest::addColumn<bool>("pastaGravavel");
        QTest::addColumn<Variaveis>("variaveis");
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<QString>("pastaLog");
        QTest::addColumn<QString>("historico");
        QTest::addColumn<bool>("portatil");

        const Variaveis xdg{{"HOME", "/home/ana"},
                            {"XDG_DATA_HOME", "/dados/ana"},
                            {"XDG_STATE_HOME", "/estado/ana/"}};
        QTest::newRow("cópia portátil") << true << true << xdg << "@/BELQOR.cds"
                                        << "@"
                                        << "@/historico.sqlite" << true;
        QTest::newRow("sem tabela ao lado")
            << false << true << xdg << "/dados/ana/belqor/BELQOR.cds"
            << "/estado/ana/belqor"
            << "/dados/ana/belqor/historico.sqlite" << false;
        QTest::newRow("pasta do executável só de leitura")
            << true << false << xdg << "/dados/ana/belqor/BELQOR.cds"
            << "/estado/ana/belqor"
            << "/dados/ana/belqor/historico.sqlite" << false;
        QTest::newRow("sem variáveis XDG")
            << false << true << Variaveis{{"HOME", "/home/ana"}}
            << "/home/ana/.local/share/belqor/BELQOR.cds"
            << "/home/ana/.local/state/belqor"
            << "/home/ana/.local/share/belqor/historico.sqlite" << false;
        QTest::newRow("variáveis XDG vazias ou relativas")
            << false << true
            << Variaveis{{"HOME", "/home/ana"}, {"XDG_DATA_HOME", "dados"}, {"XDG_STATE_HOME", ""}}
            << "/home/ana/.local/share/belqor/BELQOR.cds"
            << "/home/ana/.local/state/belqor"
            << "/home/ana/.local/share/belqor/historico.sqlite" << false;
    }
    void decide() {
        QFETCH(bool, tabelaAoLado);
        QFETCH(bool, pastaGravavel);
        QFETCH(Variaveis, variaveis);
        QFETCH(QString, tabela);
        QFETCH(QString, pastaLog);
        QFETCH(QString, historico);
        QFETCH(bool, portatil);
        if (tabelaAoLado)
            gravaArquivoTeste(bin() + QStringLiteral("/BELQOR.cds"), "tabela do usuário\n");
        QStringList perguntadas;
        const LocaisArquivos l =
            LocaisArquivos::decide(bin(), ambienteDe(variaveis), [&](const QString& pasta) {
                perguntadas << pasta;
                return pastaGravavel;
            });
        QCOMPARE(l.tabela, tabela.replace(QLatin1Char('@'), bin()));
        QCOMPARE(l.pastaLog, pastaLog.replace(QLatin1Char('@'), bin()));
        QCOMPARE(l.historico, historico.replace(QLatin1Char('@'), bin()));
        QCOMPARE(l.portatil, portatil);
        QCOMPARE(l.tabelaPadrao, portatil ? QString() : padrao());
        // Only a folder that holds a table is asked whether it can be written.
        QCOMPARE(perguntadas, tabelaAoLado ? QStringList{bin()} : QStringList());
    }

    void primeiraPartidaCriaATabelaDoPadrao() {
        const LocaisArquivos l = instalado();
        l.preparaTabela();
        l.preparaPastaLog();
        QCOMPARE(conteudoArquivo(l.tabela), QByteArray("tabela instalada\n"));
        QVERIFY(QFileInfo(l.tabela).isWritable());
        QVERIFY(QFileInfo(l.pastaLog).isDir());
    }

    void tabelaDoUsuarioNuncaESobrescrita() {
        const LocaisArquivos l = instalado();
        l.preparaTabela();
        gravaArquivoTeste(l.tabela, "meses do usuário\n");
        gravaArquivoTeste(padrao(), "tabela de uma versão nova\n");
        l.preparaTabela();
        QCOMPARE(conteudoArquivo(l.tabela), QByteArray("meses do usuário\n"));
    }

    void semTabelaPadraoNadaECriado() {
        QVERIFY(QFile::remove(padrao()));
        const LocaisArquivos l = instalado();
        try {
            l.preparaTabela();
            QFAIL("a preparação devia falhar");
        } catch (const ErroEntradaSaida& e) {
            QCOMPARE(e.mensagem(),
                     QStringLiteral("A tabela Selic padrão não foi encontrada em \"%1\".")
                         .arg(padrao()));
        }
        QVERIFY(!QFileInfo::exists(l.tabela));
    }

    // A regular file where a folder should be: no user, not even root, can create it.
    void pastaQueNaoPodeSerCriada_data() {
        QTest::addColumn<QString>("variavel");
        QTest::newRow("tabela") << "XDG_DATA_HOME";
        QTest::newRow("log") << "XDG_STATE_HOME";
    }
    void pastaQueNaoPodeSerCriada() {
        QFETCH(QString, variavel);
        gravaArquivoTeste(caminho(QStringLiteral("arquivo")), "não é uma pasta\n");
        const QString base = caminho(QStringLiteral("arquivo/sub"));
        const LocaisArquivos l = LocaisArquivos::decide(
            bin(),
            ambienteDe(
                {{QStringLiteral("HOME"), caminho(QStringLiteral("casa"))}, {variavel, base}}),
            sempreGravavel);
        const QString esperado =
            QStringLiteral("Não foi possível criar a pasta \"%1/belqor\".").arg(base);
        try {
            if (variavel == QLatin1String("XDG_DATA_HOME"))
                l.preparaTabela();
            else
                l.preparaPastaLog();
            QFAIL("a preparação devia falhar");
        } catch (const ErroEntradaSaida& e) {
            QCOMPARE(e.mensagem(), esperado);
        }
    }

    // The installed default completes the program's own table, whatever the name it is
    // reached by, and no other: not a table chosen elsewhere, not a portable copy's, not the
    // default itself, and nothing when no default is installed.
    void tabelaPadraoPara_data() {
        QTest::addColumn<QString>("dados");
        QTest::addColumn<QString>("emUso");
        QTest::addColumn<QString>("atalho");
        QTest::addColumn<bool>("aoLado");
        QTest::addColumn<bool>("instalada");
        QTest::addColumn<bool>("completa");
        const QString doPrograma = QStringLiteral("casa/dados/belqor/BELQOR.cds");
        QTest::newRow("a tabela do programa")
            << "casa/dados" << doPrograma << "" << false << true << true;
        QTest::newRow("a mesma, por um caminho com ..") << "casa/dados"
                                                        << "casa/dados/belqor/../belqor/BELQOR.cds"
                                                        << "" << false << true << true;
        QTest::newRow("a mesma, por um link") << "casa/dados"
                                              << "casa/atalho.cds"
                                              << "casa/atalho.cds" << false << true << true;
        QTest::newRow("outra tabela") << "casa/dados"
                                      << "casa/outra.cds"
                                      << "" << false << true << false;
        QTest::newRow("cópia portátil") << "casa/dados"
                                        << "usr/bin/BELQOR.cds"
                                        << "" << true << true << false;
        QTest::newRow("dados na pasta instalada") << "usr/share"
                                                  << "usr/share/belqor/BELQOR.cds"
                                                  << "" << false << true << false;
        QTest::newRow("sem padrão instalada")
            << "casa/dados" << doPrograma << "" << false << false << false;
    }
    void tabelaPadraoPara() {
        QFETCH(QString, dados);
        QFETCH(QString, emUso);
        QFETCH(QString, atalho);
        QFETCH(bool, aoLado);
        QFETCH(bool, instalada);
        QFETCH(bool, completa);
        if (aoLado)
            gravaArquivoTeste(bin() + QStringLiteral("/BELQOR.cds"), "tabela ao lado\n");
        const LocaisArquivos l = LocaisArquivos::decide(
            bin(),
            ambienteDe({{QStringLiteral("HOME"), caminho(QStringLiteral("casa"))},
                        {QStringLiteral("XDG_DATA_HOME"), caminho(dados)}}),
            sempreGravavel);
        l.preparaTabela();
        if (!atalho.isEmpty())
            QVERIFY(QFile::link(l.tabela, caminho(atalho)));
        if (!QFileInfo::exists(caminho(emUso)))
            gravaArquivoTeste(caminho(emUso), "outra tabela\n");
        if (!instalada)
            QVERIFY(QFile::remove(padrao()));
        QCOMPARE(l.tabelaPadraoPara(caminho(emUso)), completa ? padrao() : QString());
    }

    void copiaPortatilNaoCriaNada() {
        gravaArquivoTeste(bin() + QStringLiteral("/BELQOR.cds"), "tabela ao lado\n");
        const LocaisArquivos l = instalado();
        QVERIFY(l.portatil);
        l.preparaTabela();
        l.preparaPastaLog();
        QVERIFY(!QFileInfo::exists(caminho(QStringLiteral("casa"))));
        QCOMPARE(conteudoArquivo(l.tabela), QByteArray("tabela ao lado\n"));
    }
};

QTEST_GUILESS_MAIN(TesteLocaisArquivos)
#include "TesteLocaisArquivos.moc"
