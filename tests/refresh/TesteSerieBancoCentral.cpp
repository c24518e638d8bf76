#include "apoio/DialogosRoteiro.h"
#include "refresh/ImportacaoSerie.h"
#include "refresh/LeitorSerie.h"
#include "refresh/ResultadoSerie.h"
#include "apoio/ModuloTeste.h"
#include "refresh/TaxasDaTabela.h"
#include "valores/Formatacao.h"

#include "valores/Erros.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QString fixture(const QString& nome) {
    return QStringLiteral(BELQOR_FIXTURES "/bancocentral/") + nome;
}

QString textoSituacao(SituacaoMes s) {
    switch (s) {
    case SituacaoMes::Incluido:
        return QStringLiteral("incluído");
    case SituacaoMes::JaPresente:
        return QStringLiteral("presente");
    case SituacaoMes::OutraTaxa:
        return QStringLiteral("outra taxa");
    case SituacaoMes::NaoEncerrado:
        return QStringLiteral("não encerrado");
    case SituacaoMes::Recusado:
        return QStringLiteral("recusado");
    }
    return {};
}

// "mm/aaaa situação" for each month of the outcome, in its order.
QStringList desfechos(const ResultadoSerie& r) {
    QStringList lista;
    for (const DesfechoMes& m : r.Meses)
        lista << Formato::mesAno(m.Mes) + QLatin1Char(' ') + textoSituacao(m.Situacao);
    return lista;
}

// Today is 10/12/2024: December is not over, November is.
const MesesTeste MesesIniciais = {{QDate(2023, 12, 1), QStringLiteral("0.89")},
                                  {QDate(2024, 1, 1), QStringLiteral("0.97")},
                                  {QDate(2024, 2, 1), QStringLiteral("0.81")}};

const QStringList TabelaInicial = {"12/2023=0.89", "01/2024=0.97", "02/2024=0.81"};

const QStringList DesfechosDe2024 = {
    "01/2024 presente", "02/2024 outra taxa", "03/2024 incluído", "04/2024 incluído",
    "05/2024 incluído", "06/2024 incluído",   "07/2024 incluído", "08/2024 incluído",
    "09/2024 incluído", "10/2024 incluído",   "11/2024 incluído", "12/2024 não encerrado"};

const QStringList TabelaCom2024 =
    TabelaInicial + QStringList{"03/2024=0.83", "04/2024=0.89", "05/2024=0.83",
                                "06/2024=0.79", "07/2024=0.91", "08/2024=0.87",
                                "09/2024=0.84", "10/2024=0.93", "11/2024=0.79"};

} // namespace

class TesteSerieBancoCentral : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{Datas::codificaData(2024, 12, 10) + Datas::codificaHora(9, 30, 0)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

    // The table's rows, no row left pending, nothing shown; the file rewritten only when a
    // month was added.
    void confereTabela(const QStringList& esperado) {
        QCOMPARE(fDados->CDSSelic.estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(fDialogos.textos(), QStringList());
        QCOMPARE(fDados->meses(), esperado);
        QCOMPARE(fDados->fechaEGravaSeAlterada(), esperado != TabelaInicial);
        fDados->CDSSelic.abrir();
        QCOMPARE(fDados->meses(), esperado);
    }

private slots:
    void init() {
        fDialogos.limpa();
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(), MesesIniciais);
    }
    void cleanup() { fDados.reset(); }

    void formato_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<int>("formato");
        QTest::newRow("lista JSON") << QByteArray("[]") << int(FormatoDocumento::Json);
        QTest::newRow("objeto JSON") << QByteArray("{\"a\":1}") << int(FormatoDocumento::Json);
        QTest::newRow("JSON com marca e brancos")
            << QByteArray("\xEF\xBB\xBF \r\n\t[") << int(FormatoDocumento::Json);
        QTest::newRow("XML") << QByteArray("<?xml version=\"1.0\"?><list/>")
                             << int(FormatoDocumento::Xml);
        QTest::newRow("XML com marca")
            << QByteArray("\xEF\xBB\xBF\n<list/>") << int(FormatoDocumento::Xml);
        QTest::newRow("CSV com aspas")
            << QByteArray("\"data\";\"valor\"") << int(FormatoDocumento::Csv);
        QTest::newRow("CSV sem aspas")
            << QByteArray("01/01/2024;0,97") << int(FormatoDocumento::Csv);
    }
    void formato() {
        QFETCH(QByteArray, conteudo);
        QFETCH(int, formato);
        QCOMPARE(int(formatoDoConteudo(conteudo)), formato);
    }

    void arquivosDoSite_data() {
        QTest::addColumn<QString>("arquivo");
        QTest::newRow("CSV com marca, aspas e CR LF") << "selic-2024.csv";
        QTest::newRow("JSON") << "selic-2024.json";
    }
    void arquivosDoSite() {
        QFETCH(QString, arquivo);
        const ResultadoSerie r = importaArquivoTaxas(*fDados, fRelogio, fixture(arquivo));
        QCOMPARE(r.Falha, QString());
        QCOMPARE(desfechos(r), DesfechosDe2024);
        const DesfechoMes fevereiro = r.meses(SituacaoMes::OutraTaxa).value(0);
        QCOMPARE(fevereiro.NaTabela, 0.81);
        QCOMPARE(fevereiro.Publicada, 0.80);
        confereTabela(TabelaCom2024);
    }

    void segundaLeituraNadaInclui() {
        importaArquivoTaxas(*fDados, fRelogio, fixture(QStringLiteral("selic-2024.json")));
        fDados->CDSSelic.fechar();
        const QByteArray depoisDaPrimeira = conteudoArquivo(fDados->arquivo());
        fDados->CDSSelic.abrir();
        const ResultadoSerie r =
            importaArquivoTaxas(*fDados, fRelogio, fixture(QStringLiteral("selic-2024.csv")));
        QVERIFY(!r.incluiu());
        QCOMPARE(r.meses(SituacaoMes::JaPresente).size(), 10);
        fDados->CDSSelic.fechar();
        QCOMPARE(conteudoArquivo(fDados->arquivo()), depoisDaPrimeira);
    }

    void leitura_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QStringList>("esperado");
        QTest::addColumn<QStringList>("tabela");
        QTest::addColumn<QString>("falha");
        const QString mar = QStringLiteral("03/2024=0.83");
        const QString abr = QStringLiteral("04/2024=0.89");
        QTest::newRow("CSV: dia que não é o primeiro")
            << QByteArray("\"data\";\"valor\"\r\n\"01/03/2024\";\"0,83\"\r\n\"01/04/2024\";"
                          "\"0,89\"\r\n\"02/05/2024\";\"0,83\"\r\n\"01/06/2024\";\"0,79\"\r\n")
            << QStringList{"03/2024 incluído", "04/2024 incluído"}
            << TabelaInicial + QStringList{mar, abr}
            << "A leitura parou na linha 4: a data 02/05/2024 não é o primeiro dia de um mês.";
        QTest::newRow("CSV: valor que não é número")
            << QByteArray("\"data\";\"valor\"\n\"01/03/2024\";\"0,8x\"\n") << QStringList()
            << TabelaInicial << "A leitura parou na linha 2: o valor \"0,8x\" não é um número.";
        QTest::newRow("CSV: data impossível")
            << QByteArray("\"data\";\"valor\"\n\"01/13/2024\";\"0,83\"\n") << QStringList()
            << TabelaInicial
            << "A leitura parou na linha 2: \"01/13/2024\" não é uma data no formato dd/mm/aaaa.";
        QTest::newRow("CSV: um campo só")
            << QByteArray("\"data\";\"valor\"\n\"01/03/2024\"\n") << QStringList() << TabelaInicial
            << "A leitura parou na linha 2: são esperados dois campos separados por \";\", a "
               "data e o valor.";
        QTest::newRow("CSV sem cabeçalho nem aspas")
            << QByteArray("01/03/2024;0,83\n\n01/04/2024;0,89")
            << QStringList{"03/2024 incluído", "04/2024 incluído"}
            << TabelaInicial + QStringList{mar, abr} << "";
        QTest::newRow("CSV só com cabeçalho") << QByteArray("\xEF\xBB\xBF\"data\";\"valor\"\r\n")
                                              << QStringList() << TabelaInicial << "";
        QTest::newRow("JSON: valor agrupado no segundo item")
            << QByteArray("[{\"data\":\"01/03/2024\",\"valor\":\"0.83\"},"
                          "{\"data\":\"01/04/2024\",\"valor\":\"1,000.5\"}]")
            << QStringList{"03/2024 incluído"} << TabelaInicial + QStringList{mar}
            << "A leitura parou no item 2 da lista: o valor \"1,000.5\" não é um número.";
        QTest::newRow("JSON: falta o valor")
            << QByteArray("[{\"data\":\"01/03/2024\"}]") << QStringList() << TabelaInicial
            << "A leitura parou no item 1 da lista: falta o campo \"valor\".";
        QTest::newRow("JSON: item que não é objeto")
            << QByteArray("[{\"data\":\"01/03/2024\",\"valor\":\"0.83\"},7]")
            << QStringList{"03/2024 incluído"} << TabelaInicial + QStringList{mar}
            << "A leitura parou no item 2 da lista: o item não é um objeto com data e valor.";
        QTest::newRow("JSON malformado")
            << QByteArray("[{\"data\":\"01/03/2024\",\"valor\":\"0.83\"},") << QStringList()
            << TabelaInicial << "O documento JSON está malformado na posição 38.";
        QTest::newRow("JSON: objeto de erro")
            << QByteArray("{\"error\":\"Value(s) not found\",\"message\":\"Recurso não "
                          "encontrado\"}")
            << QStringList() << TabelaInicial
            << "O documento não traz a série de taxas, e sim a mensagem: Recurso não encontrado";
        QTest::newRow("JSON: lista vazia")
            << QByteArray(" [ ] ") << QStringList() << TabelaInicial << "";
        QTest::newRow("JSON: fora de ordem e repetido")
            << QByteArray("[{\"data\":\"01/04/2024\",\"valor\":\"0.89\"},"
                          "{\"data\":\"01/03/2024\",\"valor\":\"0.83\"},"
                          "{\"data\":\"01/04/2024\",\"valor\":\"0.89\"}]")
            << QStringList{"03/2024 incluído", "04/2024 incluído", "04/2024 presente"}
            << TabelaInicial + QStringList{mar, abr} << "";
        QTest::newRow("mês corrente e posteriores")
            << QByteArray("[{\"data\":\"01/01/2025\",\"valor\":\"1.01\"},"
                          "{\"data\":\"01/12/2024\",\"valor\":\"0.31\"}]")
            << QStringList{"12/2024 não encerrado", "01/2025 não encerrado"} << TabelaInicial << "";
        QTest::newRow("documento vazio")
            << QByteArray("\xEF\xBB\xBF \r\n") << QStringList() << TabelaInicial
            << "O documento está vazio: não traz a série de taxas.";
    }
    void leitura() {
        QFETCH(QByteArray, conteudo);
        QFETCH(QStringList, esperado);
        QFETCH(QStringList, tabela);
        QFETCH(QString, falha);
        const ResultadoSerie r = importaSerie(*fDados, fRelogio, conteudo);
        QCOMPARE(r.Falha, falha);
        QCOMPARE(desfechos(r), esperado);
        confereTabela(tabela);
    }

    // The rate service document goes through the start-up refresh's import.
    void documentoDoServico() {
        const ResultadoSerie r = importaArquivoTaxas(
            *fDados, fRelogio, QStringLiteral(BELQOR_FIXTURES "/importacao/tres-entradas.xml"));
        QCOMPARE(r.Falha, QString());
        QCOMPARE(desfechos(r),
                 (QStringList{"02/2024 outra taxa", "03/2024 incluído", "04/2024 incluído"}));
        confereTabela(TabelaInicial + QStringList{"03/2024=0.83", "04/2024=0.89"});
    }

    // A walk that stops is told from the import itself: with the log's name when the line
    // went there, with the failure's own message when the log could not be written.
    void documentoDoServicoQueParaNumaEntrada_data() {
        QTest::addColumn<bool>("logGravavel");
        QTest::addColumn<QString>("falha");
        QTest::newRow("log gravado")
            << true
            << "A leitura do documento parou na entrada 3 (registrada em @): Nó \"valorTaxaSelic\" "
               "não encontrado.";
        QTest::newRow("log que não pode ser gravado")
            << false
            << "A leitura do documento parou na entrada 3: Nó \"valorTaxaSelic\" não encontrado.";
    }
    void documentoDoServicoQueParaNumaEntrada() {
        QFETCH(bool, logGravavel);
        QFETCH(QString, falha);
        const QString log = fDados->ConfigApp.caminhoArqLog();
        if (!logGravavel)
            QVERIFY(QDir().mkpath(log));
        const ResultadoSerie r = importaArquivoTaxas(
            *fDados, fRelogio,
            QStringLiteral(BELQOR_FIXTURES "/importacao/terceira-sem-valor.xml"));
        const bool logGravado = QFileInfo(log).isFile();
        QDir(log).removeRecursively();
        QFile::remove(log);
        QCOMPARE(r.Falha, falha.replace(QLatin1Char('@'), log));
        QCOMPARE(logGravado, logGravavel);
    }

    // A rate document goes on past a refused month, as the refresh at start does, and the
    // import tells what became of each entry it read, in document order: present, present
    // with another rate, added, refused with the rule's message, not yet over (refused by
    // the rule for that, or later than today), and the entry where the reading stopped.
    void documentoDoServicoMesAMes_data() {
        QTest::addColumn<QByteArray>("documento");
        QTest::addColumn<QStringList>("esperado");
        QTest::addColumn<QStringList>("mensagens");
        QTest::addColumn<QStringList>("tabela");
        QTest::addColumn<QStringList>("linhas");
        const QString diaUm = QStringLiteral("Deve ser informada a Selic para dia 1 do mês!");
        const QString negativa = QStringLiteral("A Selic de 05/2024 não pode ser negativa: -0,1.");
        const QString dezembro = QStringLiteral(
            "A Selic de 12/2024 ainda não foi divulgada! A data de hoje é 10/12/2024");
        const QString falha = QStringLiteral("Falha ao inserir registro");
        QTest::newRow("todos os desfechos")
            << conteudoArquivo(QStringLiteral(BELQOR_FIXTURES "/importacao/todos-os-desfechos.xml"))
            << QStringList{"01/2024 presente",      "02/2024 outra taxa", "03/2024 incluído",
                           "04/2024 recusado",      "05/2024 recusado",   "12/2024 não encerrado",
                           "01/2025 não encerrado", "06/2024 incluído"}
            << QStringList{diaUm, falha, negativa, falha, dezembro, falha}
            << TabelaInicial + QStringList{"03/2024=0.83", "06/2024=0.79"}
            << QStringList{"Meses incluídos: 03/2024, 06/2024",
                           "Meses já presentes: 01/2024",
                           "Mês 02/2024 presente com outra taxa: na tabela 0,81, publicada 0,8 "
                           "(a da tabela foi mantida)",
                           "Meses ainda não encerrados (ignorados): 12/2024 a 01/2025",
                           "Mês 04/2024 recusado: " + diaUm,
                           "Mês 05/2024 recusado: " + negativa,
                           "A leitura do documento parou na entrada 9 (registrada em @): Nó "
                           "\"valorTaxaSelic\" não encontrado."};
        QTest::newRow("sem lista")
            << QByteArray("<resposta><list><i><dataSelic>2024-03-01</dataSelic><valorTaxaSelic>0.83"
                          "</valorTaxaSelic></i></list></resposta>")
            << QStringList() << QStringList() << TabelaInicial
            << QStringList{"Nenhum mês foi incluído na tabela.",
                           "A leitura do documento parou antes da primeira entrada (registrada "
                           "em @): Nó \"list\" não encontrado."};
        QTest::newRow("malformado")
            << QByteArray("<list><i><dataSelic>2024-03-01</dataSelic>") << QStringList()
            << QStringList() << TabelaInicial
            << QStringList{"Nenhum mês foi incluído na tabela.",
                           "O documento de taxas não pôde ser lido: Erro no documento XML: o "
                           "documento termina antes do fim (linha 2, coluna 0)"};
    }
    void documentoDoServicoMesAMes() {
        QFETCH(QByteArray, documento);
        QFETCH(QStringList, esperado);
        QFETCH(QStringList, mensagens);
        QFETCH(QStringList, tabela);
        QFETCH(QStringList, linhas);
        const QString log = fDados->ConfigApp.caminhoArqLog();
        const ResultadoSerie r = importaTaxas(*fDados, fRelogio, documento);
        QFile::remove(log);
        QCOMPARE(desfechos(r), esperado);
        QCOMPARE(linhasResultado(r), linhas.replaceInStrings(QStringLiteral("@"), log));
        QCOMPARE(fDialogos.textos(), mensagens);
        fDialogos.limpa();
        confereTabela(tabela);
    }

    void arquivoAusente() {
        const QString ausente = fPasta.filePath(QStringLiteral("nao-existe.csv"));
        QVERIFY_THROWS_EXCEPTION(ErroEntradaSaida, importaArquivoTaxas(*fDados, fRelogio, ausente));
        confereTabela(TabelaInicial);
    }

    void faltantes_data() {
        QTest::addColumn<QDate>("hoje");
        QTest::addColumn<QString>("faltam");
        QTest::newRow("fevereiro em curso") << QDate(2024, 2, 29) << "";
        QTest::newRow("março em curso") << QDate(2024, 3, 1) << "02/2024-02/2024";
        QTest::newRow("dezembro em curso") << QDate(2024, 12, 10) << "02/2024-11/2024";
    }
    void faltantes() {
        QFETCH(QDate, hoje);
        QFETCH(QString, faltam);
        // With February deleted the table ends at 01/2024.
        fDados->CDSSelic.ultimo();
        fDialogos.enfileira(Resposta::Sim);
        fDados->CDSSelic.excluir();
        QCOMPARE(ultimoMesDaTabela(*fDados).value_or(0), Datas::codificaData(2024, 1, 1));
        const std::optional<MesesFaltantes> m = mesesFaltantes(*fDados, Datas::deQDate(hoje));
        QCOMPARE(m ? Formato::mesAno(m->De) + QLatin1Char('-') + Formato::mesAno(m->Ate)
                   : QString(),
                 faltam);
    }

    void linhaNovaPendenteNaoContaComoGuardada() {
        fDados->CDSSelic.acrescentar();
        fDados->CDSSelicData->defineDataHora(Datas::codificaData(2024, 11, 1));
        QCOMPARE(ultimoMesDaTabela(*fDados).value_or(0), Datas::codificaData(2024, 2, 1));
        QCOMPARE(taxasDaTabela(*fDados).size(), 3);
        QCOMPARE(fDados->CDSSelic.estado(), TabelaMemoria::Estado::Inserindo);
    }

    void mensagemFinal() {
        ResultadoSerie r;
        const auto mes = [](int m, int a) { return Datas::codificaData(a, m, 1); };
        r.Meses = {{mes(3, 2024), SituacaoMes::Incluido, 0.83, 0, {}},
                   {mes(1, 2024), SituacaoMes::JaPresente, 0.97, 0.97, {}},
                   {mes(4, 2024), SituacaoMes::Incluido, 0.89, 0, {}},
                   {mes(6, 2024), SituacaoMes::Incluido, 0.79, 0, {}},
                   {mes(2, 2024), SituacaoMes::OutraTaxa, 0.8, 0.81, {}},
                   {mes(12, 2024), SituacaoMes::NaoEncerrado, 0.31, 0, {}}};
        r.Falha = QStringLiteral("A leitura parou na linha 9: o valor \"x\" não é um número.");
        QCOMPARE(linhasResultado(r),
                 (QStringList{"Meses incluídos: 03/2024 a 04/2024, 06/2024",
                              "Meses já presentes: 01/2024",
                              "Mês 02/2024 presente com outra taxa: na tabela 0,81, publicada 0,8 "
                              "(a da tabela foi mantida)",
                              "Meses ainda não encerrados (ignorados): 12/2024", r.Falha}));
        QCOMPARE(linhasResultado(ResultadoSerie()),
                 QStringList{"Nenhum mês foi incluído na tabela."});
    }
};

QTEST_GUILESS_MAIN(TesteSerieBancoCentral)
#include "TesteSerieBancoCentral.moc"
