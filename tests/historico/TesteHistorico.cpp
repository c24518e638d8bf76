// The history's database, the same tests against SQLite and against a PostgreSQL server
// the tests start themselves:
//   teste_historico              SQLite files
//   teste_historico postgresql   a PostgreSQL server (fails when it cannot be started)
// Recording and reading back, the chain and what it shows of records edited, removed,
// moved or added from outside, the search and its pages, the migrations, a database of
// another program, writers killed at any moment and several writers at once.

#include "historico/BaseTeste.h"
#include "historico/ErroHistorico.h"
#include "historico/RegistradorHistorico.h"
#include "historico/RegistrosTeste.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QThread>

#include <memory>

Q_DECLARE_METATYPE(ResultadoVerificacao::Falha)

namespace {

// The numbers a writer printed, one a line.
QList<qint64> numerosImpressos(const QByteArray& saida) {
    QList<qint64> numeros;
    for (const QByteArray& linha : saida.split('\n'))
        if (!linha.isEmpty())
            numeros << linha.toLongLong();
    return numeros;
}

} // namespace

class TesteHistorico : public QObject {
    Q_OBJECT

public:
    explicit TesteHistorico(BaseTeste& base) : fBase(base) {}

private:
    BaseTeste& fBase;
    QTemporaryDir fPasta;
    std::unique_ptr<FabricaRegistros> fFabrica;

    // Five records, over five days: two calculations and three statements.
    QList<RegistroHistorico> cincoRegistros() {
        return {
            fFabrica->calculo(QStringLiteral("1000,00"), QStringLiteral("10/01/2020"),
                              QStringLiteral("10/04/2020"), momentoTeste(1, 9)),
            fFabrica->demonstrativo(QStringLiteral("João da Silva"),
                                    QStringLiteral("123.456.789-09"),
                                    {QStringLiteral("12/2019;10/01/2020;1000,00"),
                                     QStringLiteral("01/2020;10/02/2020;250,50")},
                                    QStringLiteral("10/04/2020"), momentoTeste(2, 10)),
            fFabrica->demonstrativo(QStringLiteral("Padaria Pão de Açúcar Ltda."),
                                    QStringLiteral("11.222.333/0001-81"),
                                    {QStringLiteral("03/2024;10/04/2024;5432,10")},
                                    QStringLiteral("10/06/2024"), momentoTeste(3, 11)),
            fFabrica->calculo(QStringLiteral("250,50"), QStringLiteral("10/03/2020"),
                              QStringLiteral("10/06/2020"), momentoTeste(3, 15)),
            fFabrica->demonstrativo(QStringLiteral("Maria Silveira"),
                                    QStringLiteral("987.654.321-00"),
                                    {QStringLiteral("01/2020;10/02/2020;777,77")},
                                    QStringLiteral("10/04/2020"), momentoTeste(5, 8)),
        };
    }

    QList<qint64> ids(const PaginaHistorico& pagina) {
        QList<qint64> lista;
        for (const ResumoRegistro& r : pagina.Registros)
            lista << r.Id;
        return lista;
    }

    // Starts a writer of `quantidade` records into this test's history.
    std::unique_ptr<QProcess> escritor(int quantidade, const QString& nome) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(BELQOR_ESCRITOR),
                 {fBase.endereco(), QString::number(quantidade), nome});
        return p;
    }

    // The history verifies whole, and holds every record a writer reported as written.
    void confereGravados(const QList<qint64>& gravados) {
        const auto h = fBase.abre();
        const ResultadoVerificacao v = h->verifica();
        QVERIFY2(v.integro(), qPrintable(v.mensagem(fBase.destino().descricao())));
        for (const qint64 id : gravados)
            QCOMPARE(h->le(id).Id, id);
        QVERIFY(v.verificados >= gravados.size());
        // No record without its search terms: each one was written whole or not at all.
        QCOMPARE(fBase
                     .consulta(QStringLiteral("SELECT count(*) FROM registros WHERE id NOT IN "
                                              "(SELECT registro FROM termos)"))
                     .toLongLong(),
                 0);
    }

private slots:
    void initTestCase() {
        const QString erro = fBase.prepara();
        QVERIFY2(erro.isEmpty(), qPrintable(erro));
        fFabrica = std::make_unique<FabricaRegistros>(fPasta.path());
    }
    void cleanupTestCase() { fFabrica.reset(); }
    void init() { QVERIFY2(!fBase.nova().isEmpty(), qPrintable(fBase.erroDoServidor())); }

    void registraELeDeVolta() {
        QList<RegistroHistorico> registros = cincoRegistros();
        const auto h = fBase.abre();
        QList<qint64> numeros;
        for (const RegistroHistorico& r : registros)
            numeros << h->registra(r);
        QCOMPARE(numeros, (QList<qint64>{1, 2, 3, 4, 5}));
        for (qsizetype i = 0; i < registros.size(); ++i) {
            registros[i].Id = numeros[i];
            QCOMPARE(h->le(numeros[i]), registros[i]);
        }
        // Opened again by another program, the history is the same.
        const auto outro = fBase.abre();
        QCOMPARE(outro->le(2), registros[1]);
        QVERIFY_THROWS_EXCEPTION(ErroHistorico, outro->le(6));
    }

    void vazioEIntegro() {
        const ResultadoVerificacao v = fBase.abre()->verifica();
        QVERIFY(v.integro());
        QCOMPARE(v.verificados, 0);
    }

    void adulteracao_data() {
        QTest::addColumn<QStringList>("comandos");
        QTest::addColumn<ResultadoVerificacao::Falha>("falha");
        QTest::addColumn<qint64>("registro");
        using F = ResultadoVerificacao::Falha;
        QTest::newRow("intocado") << QStringList{} << F::Nenhuma << qint64(0);
        QTest::newRow("conteúdo alterado")
            << QStringList{"UPDATE registros SET conteudo = replace(conteudo, 'ICMS', 'ICMZ') "
                           "WHERE id = 3"}
            << F::Conteudo << qint64(3);
        QTest::newRow("nome alterado")
            << QStringList{"UPDATE registros SET nome = 'Outra Padaria' WHERE id = 3"}
            << F::Conteudo << qint64(3);
        QTest::newRow("valor alterado")
            << QStringList{"UPDATE registros SET total = total + 1 WHERE id = 4"} << F::Conteudo
            << qint64(4);
        QTest::newRow("registro do meio removido")
            << QStringList{"DELETE FROM registros WHERE id = 3"} << F::Ligacao << qint64(4);
        QTest::newRow("primeiro removido")
            << QStringList{"DELETE FROM registros WHERE id = 1"} << F::Ligacao << qint64(2);
        QTest::newRow("dois trocados de lugar")
            << QStringList{"UPDATE registros SET id = -2 WHERE id = 2",
                           "UPDATE registros SET id = 2 WHERE id = 4",
                           "UPDATE registros SET id = 4 WHERE id = -2"}
            << F::Conteudo << qint64(2);
        QTest::newRow("conteúdos de dois trocados")
            << QStringList{"CREATE TEMP TABLE troca AS SELECT id, conteudo FROM registros "
                           "WHERE id IN (2, 4)",
                           "UPDATE registros SET conteudo = (SELECT conteudo FROM troca WHERE "
                           "troca.id = 6 - registros.id) WHERE id IN (2, 4)"}
            << F::Conteudo << qint64(2);
        QTest::newRow("último removido")
            << QStringList{"DELETE FROM registros WHERE id = 5"} << F::Removidos << qint64(5);
        QTest::newRow("registro além da cauda")
            << QStringList{"UPDATE cauda SET ultimo = 4, hash = (SELECT hash FROM registros "
                           "WHERE id = 4)"}
            << F::Acrescentados << qint64(5);
        QTest::newRow("cauda de outro registro")
            << QStringList{"UPDATE cauda SET hash = (SELECT hash FROM registros WHERE id = 4)"}
            << F::Substituido << qint64(5);
    }
    void adulteracao() {
        QFETCH(QStringList, comandos);
        QFETCH(ResultadoVerificacao::Falha, falha);
        QFETCH(qint64, registro);
        fBase.abre()->registra(cincoRegistros());
        const QString erro = fBase.altera(comandos);
        QVERIFY2(erro.isEmpty(), qPrintable(erro));
        const ResultadoVerificacao v = fBase.abre()->verifica();
        const QString mensagem = v.mensagem(fBase.destino().descricao());
        QCOMPARE(v.falha, falha);
        QCOMPARE(v.registro, registro);
        if (falha == ResultadoVerificacao::Falha::Nenhuma)
            QCOMPARE(v.verificados, 5);
        else
            QVERIFY2(mensagem.contains(QStringLiteral("registro %1").arg(registro)) ||
                         mensagem.contains(QStringLiteral("foi o %1").arg(registro)),
                     qPrintable(mensagem));
        QVERIFY2(mensagem.contains(fBase.destino().descricao()), qPrintable(mensagem));
    }

    // A record edited outside the program is never read back as if it were the original.
    void registroAlteradoNaoELido() {
        fBase.abre()->registra(cincoRegistros());
        QVERIFY(fBase
                    .altera({QStringLiteral("UPDATE registros SET conteudo = replace(conteudo, "
                                            "'Silva', 'Souza') WHERE id = 2")})
                    .isEmpty());
        try {
            fBase.abre()->le(2);
            QFAIL("o registro alterado foi lido");
        } catch (const ErroHistorico& e) {
            QVERIFY2(e.mensagem().contains(QStringLiteral("registro 2")), qPrintable(e.mensagem()));
        }
    }

    void busca_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("documento");
        QTest::addColumn<QString>("referencia");
        QTest::addColumn<QString>("de");
        QTest::addColumn<QString>("ate");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QList<qint64>>("esperados");
        using L = QList<qint64>;
        QTest::newRow("tudo") << ""
                              << ""
                              << ""
                              << ""
                              << ""
                              << "" << -1 << L{5, 4, 3, 2, 1};
        QTest::newRow("início de palavra") << "silv"
                                           << ""
                                           << ""
                                           << ""
                                           << ""
                                           << "" << -1 << L{5, 2};
        QTest::newRow("palavra inteira") << "SILVA"
                                         << ""
                                         << ""
                                         << ""
                                         << ""
                                         << "" << -1 << L{2};
        QTest::newRow("duas palavras, acentos") << "pão açucar"
                                                << ""
                                                << ""
                                                << ""
                                                << ""
                                                << "" << -1 << L{3};
        QTest::newRow("palavra curta") << "da silva"
                                       << ""
                                       << ""
                                       << ""
                                       << ""
                                       << "" << -1 << L{2};
        QTest::newRow("só o início curto") << "pa"
                                           << ""
                                           << ""
                                           << ""
                                           << ""
                                           << "" << -1 << L{3};
        QTest::newRow("início igual, palavra outra") << "silvestre"
                                                     << ""
                                                     << ""
                                                     << ""
                                                     << ""
                                                     << "" << -1 << L{};
        QTest::newRow("nome e CPF") << "silva"
                                    << "123.456.789-09"
                                    << ""
                                    << ""
                                    << ""
                                    << "" << -1 << L{2};
        QTest::newRow("nome e valor") << "maria"
                                      << ""
                                      << ""
                                      << ""
                                      << ""
                                      << "777,77" << -1 << L{5};
        QTest::newRow("mês, valor e dia") << ""
                                          << ""
                                          << "01/2020"
                                          << "02/12/2026"
                                          << "02/12/2026"
                                          << "250,50" << -1 << L{2};
        QTest::newRow("palavras de nomes diferentes") << "joão silveira"
                                                      << ""
                                                      << ""
                                                      << ""
                                                      << ""
                                                      << "" << -1 << L{};
        QTest::newRow("CPF com pontuação") << ""
                                           << "123.456.789-09"
                                           << ""
                                           << ""
                                           << ""
                                           << "" << -1 << L{2};
        QTest::newRow("CNPJ sem pontuação") << ""
                                            << "11222333000181"
                                            << ""
                                            << ""
                                            << ""
                                            << "" << -1 << L{3};
        QTest::newRow("mês de referência") << ""
                                           << ""
                                           << "01/2020"
                                           << ""
                                           << ""
                                           << "" << -1 << L{5, 2};
        QTest::newRow("um dia") << ""
                                << ""
                                << ""
                                << "03/12/2026"
                                << "03/12/2026"
                                << "" << -1 << L{4, 3};
        QTest::newRow("desde um dia") << ""
                                      << ""
                                      << ""
                                      << "02/12/2026"
                                      << ""
                                      << "" << -1 << L{5, 4, 3, 2};
        QTest::newRow("até um dia") << ""
                                    << ""
                                    << ""
                                    << ""
                                    << "02/12/2026"
                                    << "" << -1 << L{2, 1};
        QTest::newRow("valor de um débito") << ""
                                            << ""
                                            << ""
                                            << ""
                                            << ""
                                            << "1000,00" << -1 << L{2, 1};
        QTest::newRow("total") << ""
                               << ""
                               << ""
                               << ""
                               << ""
                               << "1138,26" << -1 << L{2, 1};
        QTest::newRow("cálculos") << ""
                                  << ""
                                  << ""
                                  << ""
                                  << ""
                                  << "" << int(TipoRegistro::Calculo) << L{4, 1};
        QTest::newRow("tudo junto") << "silv"
                                    << ""
                                    << "01/2020"
                                    << ""
                                    << "04/12/2026"
                                    << "" << -1 << L{2};
        QTest::newRow("nada") << "inexistente"
                              << ""
                              << ""
                              << ""
                              << ""
                              << "" << -1 << L{};
    }
    void busca() {
        QFETCH(QString, nome);
        QFETCH(QString, documento);
        QFETCH(QString, referencia);
        QFETCH(QString, de);
        QFETCH(QString, ate);
        QFETCH(QString, valor);
        QFETCH(int, tipo);
        QFETCH(QList<qint64>, esperados);
        const auto h = fBase.abre();
        h->registra(cincoRegistros());
        FiltroHistorico f;
        f.Nome = nome;
        f.Documento = documento;
        if (!referencia.isEmpty())
            f.MesReferencia = Formato::textoParaData(QStringLiteral("01/") + referencia);
        if (!de.isEmpty())
            f.EmitidoDe = Formato::textoParaData(de);
        if (!ate.isEmpty())
            f.EmitidoAte = Formato::textoParaData(ate);
        if (!valor.isEmpty())
            f.Valor = Formato::textoParaMoeda(valor);
        if (tipo >= 0)
            f.Tipo = TipoRegistro(tipo);
        const PaginaHistorico pagina = h->busca(f);
        QCOMPARE(ids(pagina), esperados);
        QVERIFY(!pagina.Seguinte);
    }

    void resumoMostraORegistro() {
        const auto h = fBase.abre();
        h->registra(cincoRegistros());
        FiltroHistorico f;
        f.Documento = QStringLiteral("11.222.333/0001-81");
        const ResumoRegistro r = h->busca(f).Registros.value(0);
        QCOMPARE(r.Id, 3);
        QCOMPARE(r.Tipo, TipoRegistro::Demonstrativo);
        QCOMPARE(r.Emissao, momentoTeste(3, 11));
        QCOMPARE(r.Nome, QStringLiteral("Padaria Pão de Açúcar Ltda."));
        QCOMPARE(r.Documento, QStringLiteral("11222333000181"));
        QCOMPARE(r.Usuario, QStringLiteral("ana"));
        QCOMPARE(r.Maquina, QStringLiteral("estacao-1"));
        QCOMPARE(r.Valor, Moeda::deContagem(54321000));
        QVERIFY(r.Total > r.Valor);
    }

    // Page after page, newest first, each record once, also when several share a moment
    // and when a record is recorded between two pages.
    // Each way a query may lead: a term's index, the CPF's, the moment's.
    void paginasSeguidas_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("documento");
        QTest::newRow("pelo nome") << "silva"
                                   << "";
        QTest::newRow("pelo CPF") << ""
                                  << "123.456.789-09";
        QTest::newRow("pelo momento") << ""
                                      << "";
    }
    void paginasSeguidas() {
        QFETCH(QString, nome);
        QFETCH(QString, documento);
        const auto h = fBase.abre();
        RegistroHistorico modelo = cincoRegistros().value(1);
        QList<RegistroHistorico> registros;
        for (int i = 0; i < 23; ++i) {
            modelo.Emissao = momentoTeste(4, 8, i / 3); // three at each moment
            registros << modelo;
        }
        h->registra(registros);
        FiltroHistorico f;
        f.Nome = nome;
        f.Documento = documento;
        QList<qint64> vistos;
        std::optional<PosicaoHistorico> posicao;
        int paginas = 0;
        do {
            const PaginaHistorico pagina = h->busca(f, posicao, 5);
            QVERIFY(pagina.Registros.size() == 5 || !pagina.Seguinte);
            vistos << ids(pagina);
            posicao = pagina.Seguinte;
            if (++paginas == 1) {
                modelo.Emissao = momentoTeste(9, 8);
                QCOMPARE(h->registra(modelo), 24);
            }
        } while (posicao && paginas < 10);
        QCOMPARE(paginas, 5);
        QList<qint64> esperados;
        for (qint64 id = 23; id >= 1; --id)
            esperados << id;
        QCOMPARE(vistos, esperados);
    }

    void reabertoNaoMigraDeNovo() {
        fBase.abre()->registra(cincoRegistros());
        const auto h = fBase.abre();
        QCOMPARE(fBase.consulta(QStringLiteral("SELECT versao FROM esquema")).toInt(),
                 versaoEsquema());
        QCOMPARE(fBase.consulta(QStringLiteral("SELECT count(*) FROM esquema")).toInt(), 1);
        QCOMPARE(h->verifica().verificados, 5);
    }

    void esquemaMaisNovoERecusado() {
        fBase.abre()->registra(cincoRegistros());
        QVERIFY(fBase.altera({QStringLiteral("UPDATE esquema SET versao = 99")}).isEmpty());
        try {
            fBase.abre();
            QFAIL("aberto");
        } catch (const ErroHistorico& e) {
            QCOMPARE(e.tipo(), ErroHistorico::Tipo::VersaoNova);
            QCOMPARE(e.mensagem(),
                     QStringLiteral("O histórico %1 foi criado por uma versão mais nova do BELQOR "
                                    "(esquema 99; esta versão conhece até o %2) e não pode ser "
                                    "usado por esta.")
                         .arg(fBase.destino().descricao())
                         .arg(versaoEsquema()));
        }
        QCOMPARE(fBase.consulta(QStringLiteral("SELECT count(*) FROM registros")).toInt(), 5);
    }

    void bancoDeOutroProgramaERecusado() {
        QVERIFY(fBase
                    .altera({QStringLiteral("CREATE TABLE clientes (nome TEXT)"),
                             QStringLiteral("INSERT INTO clientes VALUES ('Ana')")})
                    .isEmpty());
        try {
            fBase.abre();
            QFAIL("aberto");
        } catch (const ErroHistorico& e) {
            QCOMPARE(e.tipo(), ErroHistorico::Tipo::ArquivoInvalido);
            QVERIFY2(e.mensagem().contains(fBase.destino().descricao()), qPrintable(e.mensagem()));
            QVERIFY2(e.mensagem().contains(QStringLiteral("não é um histórico do BELQOR")),
                     qPrintable(e.mensagem()));
        }
        // Nothing of the history was made in it.
        QVERIFY(fBase.consulta(QStringLiteral("SELECT count(*) FROM esquema")).isNull());
        QCOMPARE(fBase.consulta(QStringLiteral("SELECT count(*) FROM clientes")).toInt(), 1);
    }

    // kill -9 at any moment of a writer: the history opens, verifies whole and holds every
    // record reported as written; the next writer goes on from there.
    void escritoresMortosAQualquerMomento() {
        QRandomGenerator sorte(20261210);
        QList<qint64> gravados;
        for (int vez = 0; vez < 12; ++vez) {
            const auto p = escritor(100000, QStringLiteral("Escritor %1").arg(vez));
            QVERIFY(p->waitForStarted());
            // A few records in, then a moment more, at a different point each time.
            const int antes = int(sorte.bounded(1, 8));
            QByteArray saida;
            while (numerosImpressos(saida).size() < antes && p->state() == QProcess::Running) {
                p->waitForReadyRead(10000);
                saida += p->readAllStandardOutput();
            }
            QThread::usleep(sorte.bounded(0, 4000));
            p->kill();
            QVERIFY(p->waitForFinished(10000));
            QCOMPARE(p->exitStatus(), QProcess::CrashExit);
            saida += p->readAllStandardOutput();
            const QList<qint64> numeros = numerosImpressos(saida);
            QVERIFY2(numeros.size() >= antes, p->readAllStandardError().constData());
            gravados << numeros;
            confereGravados(gravados);
            if (QTest::currentTestFailed())
                return;
        }
        QCOMPARE(QSet<qint64>(gravados.begin(), gravados.end()).size(), gravados.size());
    }

    // Several programs recording at once: none of their records lost, one chain.
    void escritoresAoMesmoTempo() {
        constexpr int Escritores = 4;
        constexpr int Cada = 25;
        std::vector<std::unique_ptr<QProcess>> processos;
        for (int i = 0; i < Escritores; ++i)
            processos.push_back(escritor(Cada, QStringLiteral("Escritor %1").arg(i)));
        QList<qint64> gravados;
        for (const auto& p : processos) {
            QVERIFY(p->waitForFinished(120000));
            QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                     p->readAllStandardError().constData());
            const QList<qint64> numeros = numerosImpressos(p->readAllStandardOutput());
            QCOMPARE(numeros.size(), Cada);
            gravados << numeros;
        }
        std::sort(gravados.begin(), gravados.end());
        QList<qint64> todos;
        for (qint64 id = 1; id <= Escritores * Cada; ++id)
            todos << id;
        QCOMPARE(gravados, todos);
        confereGravados(gravados);
        QCOMPARE(fBase.abre()->verifica().verificados, Escritores * Cada);
    }

    // The recorder records while the history serves.
    void registradorRegistra() {
        QStringList avisos;
        RegistradorHistorico registrador(RegistradorHistorico::aberturaDe(fBase.destino()),
                                         [&](const QString& m) { avisos << m; });
        const QList<RegistroHistorico> registros = cincoRegistros();
        QCOMPARE(registrador.registra(registros[0]), std::optional<qint64>(1));
        QCOMPARE(registrador.registra(registros[1]), std::optional<qint64>(2));
        QCOMPARE(avisos, QStringList());
        QVERIFY(registrador.falha().isEmpty());
        QCOMPARE(fBase.abre()->verifica().verificados, 2);
    }
};

// What only a server can do: be down, refuse the login, lack the database.
class TesteServidorHistorico : public QObject {
    Q_OBJECT

public:
    explicit TesteServidorHistorico(BaseTeste& base) : fBase(base) {}

private:
    BaseTeste& fBase;

    QString mensagemAoAbrir(const QString& endereco) {
        try {
            Historico h(DestinoHistorico::deTexto(endereco, QString()));
            return QString();
        } catch (const ErroHistorico& e) {
            return e.mensagem();
        }
    }
    QString enderecoNaPorta(int porta, const QString& banco) {
        return QStringLiteral("postgresql://belqor@127.0.0.1:%1/%2").arg(porta).arg(banco);
    }

private slots:
    void initTestCase() {
        const QString erro = fBase.prepara();
        QVERIFY2(erro.isEmpty(), qPrintable(erro));
    }

    void servidorForaDoAr() {
        const int porta = ServidorPostgresTeste::portaLivre();
        QCOMPARE(mensagemAoAbrir(enderecoNaPorta(porta, QStringLiteral("belqor"))),
                 QStringLiteral("Não foi possível conectar ao histórico no servidor PostgreSQL "
                                "belqor@127.0.0.1:%1/belqor: o servidor recusou a conexão (não "
                                "está no ar ou não atende nessa porta).")
                     .arg(porta));
    }

    // The password comes from the password file alone: PGPASSWORD, which libpq would read
    // too, is not it.
    void loginRecusado_data() {
        QTest::addColumn<QByteArray>("senhas");
        QTest::addColumn<QByteArray>("variavel");
        QTest::newRow("senha errada") << QByteArray("*:*:*:belqor:outra-senha\n") << QByteArray();
        QTest::newRow("sem senha para o usuário")
            << QByteArray("*:*:*:outro:senha-de-teste\n") << QByteArray();
        QTest::newRow("senha certa só em PGPASSWORD")
            << QByteArray("*:*:*:belqor:outra-senha\n") << QByteArray("senha-de-teste");
    }
    void loginRecusado() {
        QFETCH(QByteArray, senhas);
        QFETCH(QByteArray, variavel);
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath(QStringLiteral("pgpass"));
        {
            QFile f(arquivo);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(senhas) == senhas.size());
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        }
        const QByteArray antes = qgetenv("PGPASSFILE");
        qputenv("PGPASSFILE", arquivo.toLocal8Bit());
        if (!variavel.isEmpty())
            qputenv("PGPASSWORD", variavel);
        const QString mensagem =
            mensagemAoAbrir(enderecoNaPorta(fBase.servidor()->porta(), QStringLiteral("postgres")));
        qputenv("PGPASSFILE", antes);
        qunsetenv("PGPASSWORD");
        QCOMPARE(mensagem,
                 QStringLiteral("Não foi possível conectar ao histórico no servidor PostgreSQL "
                                "belqor@127.0.0.1:%1/postgres: o servidor recusou o usuário ou a "
                                "senha (a senha vem do arquivo de senhas do PostgreSQL, ~/.pgpass, "
                                "ou do arquivo que PGPASSFILE indica).")
                     .arg(fBase.servidor()->porta()));
    }

    void bancoInexistente() {
        QCOMPARE(
            mensagemAoAbrir(enderecoNaPorta(fBase.servidor()->porta(), QStringLiteral("nenhum"))),
            QStringLiteral("Não foi possível conectar ao histórico no servidor PostgreSQL "
                           "belqor@127.0.0.1:%1/nenhum: o banco não existe no servidor.")
                .arg(fBase.servidor()->porta()));
    }

    // A server that cannot be reached is said once, and nothing goes elsewhere instead.
    void nadaRegistradoEmOutroLugar() {
        QTemporaryDir pasta;
        const QString arquivoPadrao = pasta.filePath(QStringLiteral("historico.sqlite"));
        const DestinoHistorico destino = DestinoHistorico::deTexto(
            enderecoNaPorta(ServidorPostgresTeste::portaLivre(), QStringLiteral("belqor")),
            arquivoPadrao);
        QStringList avisos;
        RegistradorHistorico registrador(RegistradorHistorico::aberturaDe(destino),
                                         [&](const QString& m) { avisos << m; });
        FabricaRegistros fabrica(pasta.path());
        const RegistroHistorico r =
            fabrica.calculo(QStringLiteral("1000,00"), QStringLiteral("10/01/2020"),
                            QStringLiteral("10/04/2020"), momentoTeste(10, 9));
        QCOMPARE(registrador.registra(r), std::nullopt);
        QCOMPARE(registrador.registra(r), std::nullopt);
        QCOMPARE(avisos.size(), 1);
        QVERIFY2(avisos.first().startsWith(QStringLiteral("Não foi possível conectar ao histórico "
                                                          "no servidor PostgreSQL")),
                 qPrintable(avisos.first()));
        QVERIFY(avisos.first().endsWith(
            QStringLiteral("\n\rOs cálculos continuam, mas não são registrados no histórico.")));
        QVERIFY(registrador.arquivoInvalido().isEmpty());
        QVERIFY(!QFileInfo::exists(arquivoPadrao));
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication aplicacao(argc, argv);
    QStringList argumentos = QCoreApplication::arguments();
    const bool postgresql = argumentos.size() > 1 && argumentos[1] == QLatin1String("postgresql");
    if (postgresql)
        argumentos.removeAt(1);
    BaseTeste base(postgresql);
    TesteHistorico teste(base);
    int status = QTest::qExec(&teste, argumentos);
    if (postgresql) {
        TesteServidorHistorico servidor(base);
        status |= QTest::qExec(&servidor, argumentos);
    }
    return status;
}

#include "TesteHistorico.moc"
