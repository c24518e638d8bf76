#include "framework/NURFWUtils.h"

#include "valores/ConfiguracaoRegional.h"
#include "dialogos/Dialogos.h"
#include "apoio/DialogosRoteiro.h"
#include "valores/Erros.h"
#include "tabela/TabelaMemoria.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Expected digests were computed apart from this program, with another SHA-1
// implementation over the Windows-1252 bytes of the texts in the comments.
namespace {

const QString Vazio = QStringLiteral("DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"); // ""

DefinicaoCampo campo(const char* nome, TipoCampo tipo,
                     TipoDeCampo tipoDeCampo = TipoDeCampo::Dados) {
    DefinicaoCampo d;
    d.nome = QString::fromUtf8(nome);
    d.tipo = tipo;
    d.tipoDeCampo = tipoDeCampo;
    return d;
}

} // namespace

class TesteHash : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    int fNumero = 0;

    // A table with those fields and rows, stored in a file of its own and open.
    std::unique_ptr<TabelaMemoria> tabela(const QList<DefinicaoCampo>& campos,
                                          const QList<QVariantList>& linhas) {
        auto t = std::make_unique<TabelaMemoria>(QStringLiteral("Tabela%1").arg(++fNumero));
        for (const auto& c : campos)
            t->adicionaCampo(c);
        t->defineNomeArquivo(fPasta.filePath(QStringLiteral("t%1.cds").arg(fNumero)));
        t->criaVazia();
        for (const auto& valores : linhas) {
            t->acrescentar();
            int i = 0;
            for (const auto& c : t->campos())
                if (c->ehDados())
                    c->defineValor(valores.value(i++));
            t->gravar();
        }
        t->fechar();
        t->abrir();
        return t;
    }

private slots:
    void init() { regional() = ConfiguracaoRegional::brasileira(); }

    void vetorPublicado() {
        auto t = tabela({campo("Texto", TipoCampo::Texto)}, {{QStringLiteral("abc")}});
        QCOMPARE(TNURUtils::RetornaHashLinha(*t),
                 QStringLiteral("A9993E364706816ABA3E25717850C26C9CD0D89D"));
    }

    void tabelaSemLinhas() {
        auto t = tabela({campo("Texto", TipoCampo::Texto)}, {});
        QCOMPARE(TNURUtils::RetornaHashDataset(*t), Vazio);
        QVERIFY(!t->ativa());
    }

    void soNurcrc() {
        auto t = tabela({campo("NURCRC", TipoCampo::Texto)}, {{QStringLiteral("qualquer")}});
        QCOMPARE(TNURUtils::RetornaHashLinha(*t), Vazio);
    }

    // Data 01/02/2020, Nome "Ação", Valor 0,29: sorted by name, "01022020Ação029".
    void linhaCalculadaAMao() {
        auto t = tabela({campo("Valor", TipoCampo::Flutuante), campo("nome", TipoCampo::Texto),
                         campo("Data", TipoCampo::Data), campo("NURCRC", TipoCampo::Texto)},
                        {{0.29, QStringLiteral("  Ação\t"), Datas::codificaData(2020, 2, 1),
                          QStringLiteral("7941FC3EA01727E1791DDEC2C097302934B31615")}});
        QCOMPARE(TNURUtils::RetornaHashLinha(*t),
                 QStringLiteral("7941FC3EA01727E1791DDEC2C097302934B31615"));
        DialogosRoteiro dialogos;
        QVERIFY(TNURUtils::ValidaHashLinha(*t, QStringLiteral("ignorado"), dialogos));
        QVERIFY(dialogos.registros().isEmpty());
    }

    // Two rows of Data and Valor, the second negative: "01022020\r\n01022020029\r\n
    // 01032020\r\n01032020-050\r\n".
    void tabelaCalculadaAMao() {
        auto t =
            tabela({campo("Data", TipoCampo::Data), campo("NURCRC", TipoCampo::Texto),
                    campo("Valor", TipoCampo::Flutuante), campo("Foto", TipoCampo::Grafico)},
                   {{Datas::codificaData(2020, 2, 1), QStringLiteral("a"), 0.29, QByteArray("x")},
                    {Datas::codificaData(2020, 3, 1), QStringLiteral("b"), -0.5, QByteArray("y")}});
        QCOMPARE(TNURUtils::RetornaHashDataset(*t),
                 QStringLiteral("A55CF40FCAD74685D088626514CFFBE8BFD21937"));
        QVERIFY(!t->ativa());
        QVERIFY(TNURUtils::ValidaHashDataset(
            *t, QStringLiteral("A55CF40FCAD74685D088626514CFFBE8BFD21937")));
        QVERIFY(!TNURUtils::ValidaHashDataset(
            *t, QStringLiteral("a55cf40fcad74685d088626514cffbe8bfd21937")));
        QVERIFY(!t->ativa());
    }

    // Empty values read as the type's zero, and an empty text adds nothing:
    // "30121899\r\n30121899000\r\n30121899000\r\n".
    void valoresVazios() {
        auto t = tabela({campo("Data", TipoCampo::Data), campo("Valor", TipoCampo::Moeda),
                         campo("Nome", TipoCampo::Texto)},
                        {{QVariant(), QVariant(), QVariant()}});
        QCOMPARE(TNURUtils::RetornaHashDataset(*t),
                 QStringLiteral("CF686DFDB43A0064C4603FD156734BCDCA9641C3"));
    }

    void contribuicaoDeMoeda_data() {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("10 dá 1000") << 10.0 << "E3CBBA8883FE746C6E35783C9404B4BC0C7EE9EB";
        QTest::newRow("1,00 dá 100") << 1.0 << "310B86E0B62B828562FC91C7BE5380A992B2786A";
        QTest::newRow("0,001 dá 000") << 0.001 << "8AEFB06C426E07A0A671A1E2488B4858D694A730";
        QTest::newRow("0 dá 000") << 0.0 << "8AEFB06C426E07A0A671A1E2488B4858D694A730";
    }
    void contribuicaoDeMoeda() {
        QFETCH(double, valor);
        QFETCH(QString, esperado);
        auto t = tabela({campo("Valor", TipoCampo::Moeda)}, {{valor}});
        QCOMPARE(TNURUtils::RetornaHashLinha(*t), esperado);
    }

    // A calculated field before the stored ones adds an empty line: "\r\nx\r\nxy\r\n".
    void campoCalculadoAbreComLinhaVazia() {
        auto t = tabela({campo("Calc", TipoCampo::Texto, TipoDeCampo::Calculado),
                         campo("A", TipoCampo::Texto), campo("B", TipoCampo::Texto)},
                        {{QStringLiteral("x"), QStringLiteral("y")}});
        QCOMPARE(TNURUtils::RetornaHashDataset(*t),
                 QStringLiteral("66B6AE687513B046BD374CA55144F185D9FB38E5"));
    }

    // "x\r\nxy\r\n" against "y\r\nyx\r\n": the defined order counts for the table, not
    // for the row.
    void ordemDosCampos() {
        auto ab = tabela({campo("A", TipoCampo::Texto), campo("B", TipoCampo::Texto)},
                         {{QStringLiteral("x"), QStringLiteral("y")}});
        auto ba = tabela({campo("B", TipoCampo::Texto), campo("A", TipoCampo::Texto)},
                         {{QStringLiteral("y"), QStringLiteral("x")}});
        QCOMPARE(TNURUtils::RetornaHashLinha(*ab), TNURUtils::RetornaHashLinha(*ba));
        QCOMPARE(TNURUtils::RetornaHashDataset(*ab),
                 QStringLiteral("F2557117E70AFAC4F5C5F8AA7C0C4C95A9CF56B7"));
        QCOMPARE(TNURUtils::RetornaHashDataset(*ba),
                 QStringLiteral("1D7CAE26E725329BC1745DB0C50202DB670F9B2A"));
    }

    void nurcrcNaoMudaNada() {
        auto um = tabela({campo("A", TipoCampo::Texto), campo("NURCRC", TipoCampo::Texto)},
                         {{QStringLiteral("x"), QStringLiteral("1")}});
        auto outro = tabela({campo("A", TipoCampo::Texto), campo("NURCRC", TipoCampo::Texto)},
                            {{QStringLiteral("x"), QStringLiteral("2")}});
        QCOMPARE(TNURUtils::RetornaHashLinha(*um), TNURUtils::RetornaHashLinha(*outro));
        QCOMPARE(TNURUtils::RetornaHashDataset(*um), TNURUtils::RetornaHashDataset(*outro));
    }

    void validaLinhaSemNurcrcOuFechada() {
        auto t = tabela({campo("A", TipoCampo::Texto)}, {{QStringLiteral("x")}});
        DialogosRoteiro dialogos;
        QVERIFY_THROWS_EXCEPTION(ErroTabela, TNURUtils::ValidaHashLinha(*t, QString(), dialogos));
        t->fechar();
        QVERIFY(!TNURUtils::ValidaHashLinha(*t, QString(), dialogos));
        QCOMPARE(dialogos.registros().size(), 1);
        QCOMPARE(dialogos.registros()[0].texto,
                 QStringLiteral("Dataset %1 fechado.").arg(t->nome()));
        QCOMPARE(dialogos.registros()[0].tipoDialogo, TipoDialogo::Erro);
        QCOMPARE(dialogos.registros()[0].botoes, Botoes(Botao::Ok));
    }

    // The file lies in a folder that does not exist, so the first close cannot write it.
    void falhaAoFecharAindaFechaERepassa() {
        auto t = std::make_unique<TabelaMemoria>(QStringLiteral("SemPasta"));
        t->adicionaCampo(campo("A", TipoCampo::Texto));
        t->defineNomeArquivo(fPasta.filePath(QStringLiteral("nao-existe/t.cds")));
        t->criaVazia();
        QVERIFY_THROWS_EXCEPTION(ErroBelqor, TNURUtils::RetornaHashDataset(*t));
        QVERIFY(!t->ativa());
        QVERIFY_THROWS_EXCEPTION(ErroBelqor, TNURUtils::ValidaHashDataset(*t, Vazio));
        QVERIFY(!t->ativa());
    }

    void falhaAoReabrirFechaERepassa() {
        auto t = tabela({campo("A", TipoCampo::Texto)}, {{QStringLiteral("x")}});
        t->fechar();
        QVERIFY(QFile::remove(t->nomeArquivo()));
        QVERIFY_THROWS_EXCEPTION(ErroTabela, TNURUtils::RetornaHashDataset(*t));
        QVERIFY(!t->ativa());
    }
};

QTEST_GUILESS_MAIN(TesteHash)
#include "TesteHash.moc"
