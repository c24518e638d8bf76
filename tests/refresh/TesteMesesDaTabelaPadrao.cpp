#include "refresh/MesesDaTabelaPadrao.h"
#include "apoio/ModuloTeste.h"
#include "apoio/DialogosRoteiro.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(MesesTeste)

namespace {

// The user's table, made from an older package: four months, March kept at a rate the
// user typed.
const MesesTeste MesesDoUsuario = {{QDate(2020, 1, 1), QStringLiteral("0.38")},
                                   {QDate(2020, 2, 1), QStringLiteral("0.29")},
                                   {QDate(2020, 3, 1), QStringLiteral("0.3")},
                                   {QDate(2020, 4, 1), QStringLiteral("0.28")}};

// The default of the newer package: the same months, March at the official rate, and two
// more.
const MesesTeste MesesDaNovaPadrao = {
    {QDate(2020, 1, 1), QStringLiteral("0.38")}, {QDate(2020, 2, 1), QStringLiteral("0.29")},
    {QDate(2020, 3, 1), QStringLiteral("0.34")}, {QDate(2020, 4, 1), QStringLiteral("0.28")},
    {QDate(2020, 5, 1), QStringLiteral("0.24")}, {QDate(2020, 6, 1), QStringLiteral("0.21")}};

const QString Cabecalho = QStringLiteral("Tabela Selic instalada com o programa:");

} // namespace

// An installed program: the user's table in the data folder, the default of a newer package
// in the installed share folder.
class TesteMesesDaTabelaPadrao : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2020, 7, 15) + Datas::codificaHora(9, 0, 0)};
    DialogosRoteiro fDialogos;
    LocaisArquivos fLocais;
    std::unique_ptr<ModuloTeste> fDados;

    // Opens `emUso` as the installed program opens its own table.
    void abre(const QString& emUso) {
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fLocais);
        fDados->ArqDados = emUso;
        fDados->AbreTabela();
    }

private slots:
    void init() {
        fDialogos.limpa();
        QDir(fPasta.path()).removeRecursively();
        fLocais = LocaisArquivos();
        fLocais.tabela = fPasta.filePath(QStringLiteral("dados/belqor/BELQOR.cds"));
        fLocais.pastaLog = fPasta.filePath(QStringLiteral("estado/belqor"));
        fLocais.tabelaPadrao = fPasta.filePath(QStringLiteral("share/belqor/BELQOR.cds"));
        QVERIFY(QDir().mkpath(QFileInfo(fLocais.tabela).path()));
        QVERIFY(QDir().mkpath(QFileInfo(fLocais.tabelaPadrao).path()));
    }
    void cleanup() { fDados.reset(); }

    // The months the default holds and the table lacks are added through the table's rules;
    // a month held is never replaced, and one held with another rate is said. When nothing
    // is added nothing is said, and the file keeps its bytes and its time.
    void completaComAPadrao_data() {
        QTest::addColumn<MesesTeste>("padrao");
        QTest::addColumn<QStringList>("linhas");
        QTest::addColumn<QStringList>("tabela");
        const QStringList doUsuario{"01/2020=0.38", "02/2020=0.29", "03/2020=0.3", "04/2020=0.28"};
        QTest::newRow("dois meses a mais, um com outra taxa")
            << MesesDaNovaPadrao
            << QStringList{Cabecalho, "Meses incluídos: 05/2020 a 06/2020",
                           "Mês 03/2020 presente com outra taxa: na tabela 0,3, publicada 0,34 "
                           "(a da tabela foi mantida)"}
            << doUsuario + QStringList{"05/2020=0.24", "06/2020=0.21"};
        QTest::newRow("os mesmos meses") << MesesDoUsuario << QStringList() << doUsuario;
        QTest::newRow("só a outra taxa")
            << MesesDaNovaPadrao.mid(0, 4) << QStringList() << doUsuario;
        QTest::newRow("uma padrão mais antiga")
            << MesesDaNovaPadrao.mid(0, 2) << QStringList() << doUsuario;
        QTest::newRow("um mês ainda não encerrado")
            << MesesDaNovaPadrao + MesesTeste{{QDate(2020, 7, 1), QStringLiteral("0.19")}}
            << QStringList{Cabecalho, "Meses incluídos: 05/2020 a 06/2020",
                           "Mês 03/2020 presente com outra taxa: na tabela 0,3, publicada 0,34 "
                           "(a da tabela foi mantida)",
                           "Meses ainda não encerrados (ignorados): 07/2020"}
            << doUsuario + QStringList{"05/2020=0.24", "06/2020=0.21"};
    }
    void completaComAPadrao() {
        QFETCH(MesesTeste, padrao);
        QFETCH(QStringList, linhas);
        QFETCH(QStringList, tabela);
        escreveTabelaTeste(fLocais.tabela, MesesDoUsuario);
        escreveTabelaTeste(fLocais.tabelaPadrao, padrao);
        const QDateTime alteracao = envelheceArquivo(fLocais.tabela);
        const QByteArray antes = conteudoArquivo(fLocais.tabela);

        abre(fLocais.tabela);
        const ResultadoSerie r = incluiMesesDaTabelaPadrao(*fDados, fRelogio);
        QCOMPARE(linhasTabelaPadrao(r), linhas);
        QVERIFY(r.meses(SituacaoMes::JaPresente).isEmpty());
        QCOMPARE(fDialogos.textos(), QStringList());
        QCOMPARE(fDados->CDSSelic.estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(fDados->meses(), tabela);

        fDados->FechaTabela();
        const bool incluiu = !linhas.isEmpty();
        QCOMPARE(conteudoArquivo(fLocais.tabela) == antes, !incluiu);
        QCOMPARE(QFileInfo(fLocais.tabela).lastModified() == alteracao, !incluiu);
        fDados->AbreTabela();
        QCOMPARE(fDados->meses(), tabela);
    }

    // Only the program's own table is completed: not a table the user chose elsewhere, not a
    // portable copy, not the installed default itself.
    void soATabelaDoPrograma_data() {
        QTest::addColumn<QString>("emUso");
        QTest::addColumn<bool>("portatil");
        QTest::newRow("outra tabela") << "outra/BELQOR.cds" << false;
        QTest::newRow("cópia portátil") << "dados/belqor/BELQOR.cds" << true;
        QTest::newRow("a própria padrão") << "share/belqor/BELQOR.cds" << false;
    }
    void soATabelaDoPrograma() {
        QFETCH(QString, emUso);
        QFETCH(bool, portatil);
        const QString arquivo = fPasta.filePath(emUso);
        QVERIFY(QDir().mkpath(QFileInfo(arquivo).path()));
        escreveTabelaTeste(fLocais.tabelaPadrao, MesesDaNovaPadrao);
        if (arquivo != fLocais.tabelaPadrao)
            escreveTabelaTeste(arquivo, MesesDoUsuario);
        if (portatil) {
            fLocais.portatil = true;
            fLocais.tabelaPadrao.clear();
        }
        // XDG_DATA_HOME naming the installed share folder: the program's table is the default.
        if (arquivo == fLocais.tabelaPadrao)
            fLocais.tabela = arquivo;
        const QByteArray antes = conteudoArquivo(arquivo);

        abre(arquivo);
        const ResultadoSerie r = incluiMesesDaTabelaPadrao(*fDados, fRelogio);
        QVERIFY(r.Meses.isEmpty());
        QCOMPARE(r.Falha, QString());
        fDados->FechaTabela();
        QCOMPARE(conteudoArquivo(arquivo), antes);
    }

    // A default that cannot be read is said, naming it; the table stays as it was.
    void padraoDanificada() {
        escreveTabelaTeste(fLocais.tabela, MesesDoUsuario);
        gravaArquivoTeste(fLocais.tabelaPadrao, "<DATAPACKET><METADATA>");
        const QByteArray antes = conteudoArquivo(fLocais.tabela);

        abre(fLocais.tabela);
        const QStringList linhas = linhasTabelaPadrao(incluiMesesDaTabelaPadrao(*fDados, fRelogio));
        QCOMPARE(linhas.size(), 3);
        QCOMPARE(linhas[0], Cabecalho);
        QCOMPARE(linhas[1], QStringLiteral("Nenhum mês foi incluído na tabela."));
        QVERIFY2(
            linhas[2].startsWith(QStringLiteral(
                "Os meses da tabela Selic instalada com o programa não puderam ser lidos: ")) &&
                linhas[2].contains(fLocais.tabelaPadrao),
            qPrintable(linhas[2]));
        fDados->FechaTabela();
        QCOMPARE(conteudoArquivo(fLocais.tabela), antes);
    }
};

QTEST_GUILESS_MAIN(TesteMesesDaTabelaPadrao)
#include "TesteMesesDaTabelaPadrao.moc"
