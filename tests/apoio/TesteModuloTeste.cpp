// The data module fixture the other tests stand on: the regional settings it leaves, the
// rows it reports and what its closing says about the file.

#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"

#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

ConfiguracaoRegional outraRegional() {
    ConfiguracaoRegional c;
    c.separadorData = QLatin1Char('-');
    c.separadorDecimal = QLatin1Char('.');
    c.separadorMilhar = QLatin1Char(',');
    c.padraoDataCurta = QStringLiteral("yyyy/mm/dd");
    return c;
}

} // namespace

class TesteModuloTeste : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2020, 3, 15)};
    DialogosRoteiro fDialogos;

private slots:
    // Built under other settings, it starts from the Brazilian ones; what the test changes
    // while it lives is undone when it goes.
    void regionalBrasileiraAoCriarEAoSair() {
        regional() = outraRegional();
        std::optional<ModuloTeste> modulo(std::in_place, fRelogio, fDialogos, fPasta.path());
        QVERIFY(regional() == ConfiguracaoRegional::brasileira());
        regional() = outraRegional();
        modulo.reset();
        QVERIFY(regional() == ConfiguracaoRegional::brasileira());
    }

    void tabelaDosMeses() {
        ModuloTeste modulo(fRelogio, fDialogos, fPasta.path(), mesesEmTornoDoLimite());
        QVERIFY(modulo.CDSSelic.ativa());
        QCOMPARE(modulo.ArqDados, fPasta.filePath(QStringLiteral("BELQOR.cds")));
        QCOMPARE(modulo.arquivo(), modulo.ArqDados);
        QCOMPARE(modulo.meses(),
                 QStringList({"11/2013=0.71", "12/2013=0.79", "01/2014=0.85", "01/2020=0.38"}));
        QCOMPARE(modulo.ConfigApp.caminhoArqLog(),
                 fPasta.filePath(QStringLiteral("logBELQOR.txt")));
    }

    // Closing writes the file when a row changed, and says whether its bytes changed.
    void fechaEGravaSeAlterada_data() {
        QTest::addColumn<bool>("inclui");
        QTest::newRow("nada mudou") << false;
        QTest::newRow("um mês incluído") << true;
    }
    void fechaEGravaSeAlterada() {
        QFETCH(bool, inclui);
        ModuloTeste modulo(fRelogio, fDialogos, fPasta.path(), mesesEmTornoDoLimite());
        const QByteArray antes = conteudoArquivo(modulo.arquivo());
        if (inclui)
            QVERIFY(modulo.InsereRegistro(Datas::codificaData(2020, 2, 1), 0.29));
        QCOMPARE(modulo.fechaEGravaSeAlterada(), inclui);
        QVERIFY(!modulo.CDSSelic.ativa());
        QCOMPARE(conteudoArquivo(modulo.arquivo()) != antes, inclui);
        QCOMPARE(conteudoArquivo(modulo.arquivo()).contains("Data=\"20200201\""), inclui);
    }

    // Another file in place of the open table: the one closed as it was, the other open.
    void abreArquivoNoLugar() {
        ModuloTeste modulo(fRelogio, fDialogos, fPasta.path(), mesesEmTornoDoLimite());
        const QByteArray antes = conteudoArquivo(modulo.arquivo());
        const QString outro = fPasta.filePath(QStringLiteral("outra.cds"));
        escreveTabelaTeste(outro, {{QDate(2019, 12, 1), QStringLiteral("0.37")}});
        modulo.abreArquivo(outro);
        QCOMPARE(modulo.ArqDados, outro);
        QCOMPARE(modulo.meses(), QStringList{"12/2019=0.37"});
        QCOMPARE(conteudoArquivo(fPasta.filePath(QStringLiteral("BELQOR.cds"))), antes);
        QVERIFY(!modulo.fechaEGravaSeAlterada());
    }
};

QTEST_GUILESS_MAIN(TesteModuloTeste)
#include "TesteModuloTeste.moc"
