#include "apoio/ModuloTeste.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "apoio/OutroUsuario.h"
#include "apoio/TravaTeste.h"
#include "apoio/DialogosRoteiro.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

namespace {

const QString NaoPermitido = QStringLiteral(
    "Não é permitido excluir registros da Tabela de Selic com data anterior a 01/12/2013!");
const QString Excluir = QStringLiteral("Deseja excluir este registro?");
const QString DiaUm = QStringLiteral("Deve ser informada a Selic para dia 1 do mês!");
const QString Falha = QStringLiteral("Falha ao inserir registro");
const QString MarcoNaoDivulgado =
    QStringLiteral("A Selic de 03/2020 ainda não foi divulgada! A data de hoje é 15/03/2020");

DataHora dia(int d, int m, int a) {
    return Datas::codificaData(a, m, d);
}

// Whatever Qt's message functions print while one lives.
class MensagensQt {
public:
    MensagensQt() { fAnterior = qInstallMessageHandler(&MensagensQt::guarda); }
    ~MensagensQt() { qInstallMessageHandler(fAnterior); }
    static QStringList& impressas() {
        static QStringList lista;
        return lista;
    }

private:
    static void guarda(QtMsgType, const QMessageLogContext&, const QString& texto) {
        impressas() << texto;
    }
    QtMessageHandler fAnterior = nullptr;
};

} // namespace

class TesteBQDataModule : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    QString fCaminho;
    RelogioFixo fRelogio{dia(15, 3, 2020)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

    TabelaMemoria& tabela() { return fDados->CDSSelic; }

    // Moves to the row of the given month.
    void vaiPara(DataHora data) {
        for (tabela().primeiro(); !tabela().fimDaTabela(); tabela().proximo())
            if (fDados->CDSSelicData->comoDataHora() == data)
                return;
        QFAIL("mês não encontrado");
    }

    QList<DataHora> datas() {
        QList<DataHora> r;
        for (tabela().primeiro(); !tabela().fimDaTabela(); tabela().proximo())
            r << fDados->CDSSelicData->comoDataHora();
        return r;
    }

private slots:
    void init() {
        fDialogos.limpa();
        fRelogio.define(dia(15, 3, 2020));
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(),
                                               mesesEmTornoDoLimite());
        fCaminho = fDados->arquivo();
    }
    void cleanup() { fDados.reset(); }

    // A second program on a table that another one holds says so and does not read it.
    void tabelaReservadaPorOutroNaoEhLida() {
        QLockFile outro(fCaminho + QStringLiteral(".lock"));
        QVERIFY(outro.tryLock(0));
        const QByteArray antes = conteudoArquivo(fCaminho);
        fDados.reset();
        auto segundo = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        QVERIFY(!segundo->reservaTabela(fCaminho, 0));
        QCOMPARE(fDialogos.textos(),
                 QStringList{QStringLiteral("O BELQOR já está aberto com a tabela \"%1\". A "
                                            "tabela não pode ser usada por dois programas ao "
                                            "mesmo tempo.")
                                 .arg(fCaminho)});
        QVERIFY(!segundo->CDSSelic.ativa());
        segundo.reset();
        QCOMPARE(conteudoArquivo(fCaminho), antes);
        QVERIFY(outro.isLocked());
    }

    // The lock is held until the module is gone, after the table was written at close.
    void reservaDuraAteOFimDoModulo() {
        const QString caminhoTrava = fCaminho + QStringLiteral(".lock");
        QVERIFY(fDados->reservaTabela(fCaminho, 0));
        tabela().abrir();
        QVERIFY(fDados->InsereRegistro(dia(1, 2, 2020), 0.29));
        ModuloTeste segundo(fRelogio, fDialogos, fPasta.path());
        QVERIFY(!segundo.reservaTabela(fCaminho, 0));
        fDados.reset();
        QVERIFY(!QFile::exists(caminhoTrava));
        QVERIFY(conteudoArquivo(fCaminho).contains("Data=\"20200201\""));
        fDialogos.limpa();
        QVERIFY(segundo.reservaTabela(fCaminho, 0));
        QCOMPARE(fDialogos.textos(), QStringList());
    }

    void travaDeProcessoEncerradoEhAssumida() {
        escreveTravaAbandonada(fCaminho + QStringLiteral(".lock"));
        QVERIFY(fDados->reservaTabela(fCaminho, 0));
        QCOMPARE(fDialogos.textos(), QStringList());
        ModuloTeste segundo(fRelogio, fDialogos, fPasta.path());
        QVERIFY(!segundo.reservaTabela(fCaminho, 0));
    }

    // A lock that is unusable is no other program: a folder in its place is said at once,
    // naming the lock and why; the table is not read.
    void travaQueEhPasta() {
        const QString caminhoTrava = fCaminho + QStringLiteral(".lock");
        QVERIFY(QDir().mkpath(caminhoTrava));
        fDados.reset();
        ModuloTeste segundo(fRelogio, fDialogos, fPasta.path());
        const bool reservou = segundo.reservaTabela(fCaminho, 0);
        QDir(caminhoTrava).removeRecursively();
        QVERIFY(!reservou);
        QCOMPARE(fDialogos.textos(),
                 QStringList{QStringLiteral("Não foi possível criar o arquivo de trava \"%1\" da "
                                            "tabela: o caminho é uma pasta.")
                                 .arg(caminhoTrava)});
        QVERIFY(!segundo.CDSSelic.ativa());
    }

    // A lock left by a process that has ended, in a folder this program may not write: it
    // cannot be taken over, and the message says so, naming it and why.
    void travaAbandonadaQueNaoPodeSerRemovida() {
        const QString pasta = fPasta.filePath(QStringLiteral("protegida"));
        QVERIFY(QDir().mkpath(pasta));
        const QString tabela = pasta + QStringLiteral("/BELQOR.cds");
        const QString caminhoTrava = tabela + QStringLiteral(".lock");
        escreveTabelaTeste(tabela, mesesEmTornoDoLimite());
        escreveTravaAbandonada(caminhoTrava);
        const QByteArray travaAntes = conteudoArquivo(caminhoTrava);
        // Readable and searchable by anyone, written by no one; as the system's
        // administrator the test acts as another user, whom nothing lets write there.
        const QFile::Permissions lerEPercorrer = QFile::ReadOwner | QFile::ExeOwner |
                                                 QFile::ReadGroup | QFile::ExeGroup |
                                                 QFile::ReadOther | QFile::ExeOther;
        QFile::setPermissions(fPasta.path(), lerEPercorrer | QFile::WriteOwner);
        QFile::setPermissions(pasta, lerEPercorrer);
        bool reservou = true;
        {
            ComoOutroUsuario outro;
            ModuloTeste segundo(fRelogio, fDialogos, fPasta.path());
            reservou = segundo.reservaTabela(tabela, 0);
        }
        QFile::setPermissions(pasta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!reservou);
        QCOMPARE(fDialogos.textos(),
                 QStringList{QStringLiteral("Não foi possível remover o arquivo de trava \"%1\", "
                                            "deixado por um programa que já terminou: permissão "
                                            "negada.")
                                 .arg(caminhoTrava)});
        QCOMPARE(conteudoArquivo(caminhoTrava), travaAntes);
    }

    void novaLinhaPadrao_data() {
        QTest::addColumn<DataHora>("hoje");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("15/03/2020") << dia(15, 3, 2020) << "01/02/2020";
        QTest::newRow("31/03/2020") << dia(31, 3, 2020) << "01/02/2020";
        QTest::newRow("10/01/2021") << dia(10, 1, 2021) << "01/12/2020";
    }
    void novaLinhaPadrao() {
        QFETCH(DataHora, hoje);
        QFETCH(QString, esperado);
        fRelogio.define(hoje + 0.5);
        tabela().inserir();
        QCOMPARE(fDados->CDSSelicData->comoTexto(), esperado);
        QVERIFY(fDados->CDSSelicValor->ehNulo());
        QVERIFY(!tabela().modificado());
        // Moving away without typing drops the row silently.
        tabela().primeiro();
        QCOMPARE(tabela().quantidade(), 4);
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void gravacaoRecusada_data() {
        QTest::addColumn<DataHora>("dataLinha");
        QTest::addColumn<DataHora>("hoje");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("dia 2") << dia(2, 5, 2020) << dia(1, 6, 2020) << DiaUm;
        QTest::newRow("mês corrente")
            << dia(1, 5, 2020) << dia(20, 5, 2020)
            << "A Selic de 05/2020 ainda não foi divulgada! A data de hoje é 20/05/2020";
        QTest::newRow("mês futuro")
            << dia(1, 4, 2020) << dia(15, 3, 2020)
            << "A Selic de 04/2020 ainda não foi divulgada! A data de hoje é 15/03/2020";
    }
    void gravacaoRecusada() {
        QFETCH(DataHora, dataLinha);
        QFETCH(DataHora, hoje);
        QFETCH(QString, mensagem);
        fRelogio.define(hoje);
        tabela().inserir();
        fDados->CDSSelicData->defineDataHora(dataLinha);
        fDados->CDSSelicValor->defineFloat(0.5);
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, tabela().gravar());
        QCOMPARE(fDialogos.textos(), QStringList{mensagem});
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Inserindo);
        QVERIFY(tabela().modificado());
        // The next settling meets the same refusal.
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, tabela().ultimo());
        QCOMPARE(fDialogos.textos().size(), 2);
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Inserindo);
    }

    void mesEncerradoEhGravado() {
        fRelogio.define(dia(1, 6, 2020));
        tabela().inserir();
        fDados->CDSSelicData->defineDataHora(dia(1, 5, 2020));
        fDados->CDSSelicValor->defineFloat(0.24);
        tabela().gravar();
        QCOMPARE(tabela().quantidade(), 5);
        // A month long before the protected date is accepted too, then locked.
        tabela().acrescentar();
        fDados->CDSSelicData->defineDataHora(dia(1, 6, 2010));
        fDados->CDSSelicValor->defineFloat(0.79);
        tabela().gravar();
        QVERIFY(fDialogos.registros().isEmpty());
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, tabela().editar());
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        fDialogos.enfileira(Resposta::Sim);
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, tabela().excluir());
        QCOMPARE(fDialogos.textos(), QStringList{NaoPermitido});
        QCOMPARE(tabela().quantidade(), 6);
    }

    void semValorNaoGrava() {
        fRelogio.define(dia(1, 6, 2020));
        tabela().inserir();
        fDados->CDSSelicData->defineDataHora(dia(1, 5, 2020));
        QVERIFY_THROWS_EXCEPTION(ErroTabela, tabela().gravar());
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Inserindo);
    }

    void edicaoProtegidaMarcaData() {
        vaiPara(dia(1, 12, 2013));
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, tabela().editar());
        QVERIFY(fDialogos.registros().isEmpty());
        QVERIFY(fDados->CDSSelicData->somenteLeitura());
        // A later row: its value can be edited, not its date.
        vaiPara(dia(1, 1, 2014));
        tabela().editar();
        QVERIFY_THROWS_EXCEPTION(ErroTabela, fDados->CDSSelicData->defineDataHora(dia(1, 2, 2014)));
        fDados->CDSSelicValor->defineFloat(0.86);
        tabela().gravar();
        QCOMPARE(fDados->CDSSelicValor->comoFloat(), 0.86);
        QCOMPARE(fDados->CDSSelicData->comoDataHora(), dia(1, 1, 2014));
        QVERIFY(fDados->CDSSelicData->somenteLeitura());
        // Only a new row clears the mark.
        tabela().inserir();
        QVERIFY(!fDados->CDSSelicData->somenteLeitura());
        fDados->CDSSelicData->defineDataHora(dia(1, 1, 2020));
    }

    void exclusao() {
        vaiPara(dia(1, 12, 2013));
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, tabela().excluir());
        QCOMPARE(fDialogos.textos(), QStringList{NaoPermitido});
        fDialogos.limpa();
        vaiPara(dia(1, 1, 2014));
        fDialogos.enfileira(Resposta::Nao);
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, tabela().excluir());
        QCOMPARE(fDialogos.registros().size(), 1);
        QCOMPARE(fDialogos.registros()[0].texto, Excluir);
        QCOMPARE(fDialogos.registros()[0].tipoDialogo, TipoDialogo::Confirmacao);
        QCOMPARE(fDialogos.registros()[0].botoes, Botao::Sim | Botao::Nao);
        QCOMPARE(tabela().quantidade(), 4);
        fDialogos.enfileira(Resposta::Nenhuma);
        tabela().excluir();
        QCOMPARE(tabela().quantidade(), 3);
        QVERIFY(!datas().contains(dia(1, 1, 2014)));
    }

    void excluirLinhaNovaPendenteSemPerguntar() {
        tabela().inserir();
        fDados->CDSSelicValor->defineFloat(0.2);
        tabela().excluir();
        QVERIFY(fDialogos.registros().isEmpty());
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(tabela().quantidade(), 4);
    }

    // A month already in the table is refused, whether a new row or an edited one brings
    // it; the row stays pending and the next settling meets the refusal again.
    void mesJaCadastradoRecusado_data() {
        QTest::addColumn<bool>("edicao");
        QTest::addColumn<DataHora>("data");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("linha nova, mês recente")
            << false << dia(1, 1, 2020) << "A Selic de 01/2020 já está cadastrada!";
        QTest::newRow("linha nova, mês protegido digitado de novo")
            << false << dia(1, 11, 2013) << "A Selic de 11/2013 já está cadastrada!";
        QTest::newRow("edição leva a data a outro mês presente")
            << true << dia(1, 1, 2020) << "A Selic de 01/2020 já está cadastrada!";
    }
    void mesJaCadastradoRecusado() {
        QFETCH(bool, edicao);
        QFETCH(DataHora, data);
        QFETCH(QString, mensagem);
        const QList<DataHora> antes = datas();
        if (edicao) {
            vaiPara(dia(1, 1, 2014));
            tabela().editar();
        } else {
            tabela().inserir();
        }
        fDados->CDSSelicData->defineDataHora(data);
        fDados->CDSSelicValor->defineFloat(0.5);
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, tabela().gravar());
        QCOMPARE(fDialogos.textos(), QStringList{mensagem});
        const auto pendente =
            edicao ? TabelaMemoria::Estado::Editando : TabelaMemoria::Estado::Inserindo;
        QCOMPARE(tabela().estado(), pendente);
        QVERIFY(tabela().modificado());
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, tabela().ultimo());
        QCOMPARE(fDialogos.textos(), (QStringList{mensagem, mensagem}));
        QCOMPARE(tabela().estado(), pendente);
        tabela().cancelar();
        QCOMPARE(datas(), antes);
    }

    // A row keeps its own month when it is edited, and a new month is stored once.
    void mesProprioENovoSaoGravados() {
        vaiPara(dia(1, 1, 2020));
        tabela().editar();
        fDados->CDSSelicValor->defineFloat(0.4);
        tabela().gravar();
        tabela().inserir();
        fDados->CDSSelicData->defineDataHora(dia(1, 6, 2010));
        fDados->CDSSelicValor->defineFloat(0.79);
        tabela().gravar();
        QVERIFY(fDialogos.registros().isEmpty());
        QCOMPARE(tabela().quantidade(), 5);
        vaiPara(dia(1, 1, 2020));
        QCOMPARE(fDados->CDSSelicValor->comoFloat(), 0.4);
    }

    // A month that the file holds twice is refused on either row until one of them goes.
    void mesRepetidoNoArquivoRecusado() {
        tabela().fechaSemGravar();
        MesesTeste meses = mesesEmTornoDoLimite();
        meses << qMakePair(QDate(2020, 1, 1), QStringLiteral("0.4"));
        escreveTabelaTeste(fCaminho, meses);
        tabela().abrir();
        const QString mensagem = QStringLiteral("A Selic de 01/2020 já está cadastrada!");
        tabela().ultimo();
        tabela().editar();
        fDados->CDSSelicValor->defineFloat(0.5);
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, tabela().gravar());
        QCOMPARE(fDialogos.textos(), QStringList{mensagem});
        tabela().cancelar();
        tabela().anterior();
        QCOMPARE(fDados->CDSSelicValor->comoFloat(), 0.38);
        fDialogos.enfileira(Resposta::Sim);
        tabela().excluir();
        tabela().ultimo();
        tabela().editar();
        fDados->CDSSelicValor->defineFloat(0.5);
        tabela().gravar();
        QCOMPARE(fDialogos.textos(), (QStringList{mensagem, Excluir}));
        QCOMPARE(datas(), (QList<DataHora>{dia(1, 11, 2013), dia(1, 12, 2013), dia(1, 1, 2014),
                                           dia(1, 1, 2020)}));
        QCOMPARE(fDados->CDSSelicValor->comoFloat(), 0.5);
    }

    void insereRegistro_data() {
        QTest::addColumn<DataHora>("dt");
        QTest::addColumn<double>("vlr");
        QTest::addColumn<bool>("resultado");
        QTest::addColumn<int>("linhas");
        QTest::addColumn<QStringList>("mensagens");
        QTest::newRow("novo mês") << dia(1, 2, 2020) << 0.29 << true << 5 << QStringList();
        QTest::newRow("mês presente, valor diferente")
            << dia(1, 1, 2020) << 9.99 << true << 4 << QStringList();
        QTest::newRow("data futura") << dia(1, 4, 2020) << 0.3 << true << 4 << QStringList();
        QTest::newRow("taxa zero") << dia(1, 2, 2020) << 0.0 << true << 5 << QStringList();
        QTest::newRow("taxa negativa")
            << dia(1, 2, 2020) << -0.1 << false << 4
            << QStringList{QStringLiteral("A Selic de 02/2020 não pode ser negativa: -0,1."),
                           Falha};
        QTest::newRow("taxa negativa mínima")
            << dia(1, 2, 2020) << -std::numeric_limits<double>::denorm_min() << false << 4
            << QStringList{QStringLiteral(
                               "A Selic de 02/2020 não pode ser negativa: -4,94065645841247e-324."),
                           Falha};
        QTest::newRow("mês corrente")
            << dia(1, 3, 2020) << 0.3 << false << 4
            << QStringList{
                   QStringLiteral(
                       "A Selic de 03/2020 ainda não foi divulgada! A data de hoje é 15/03/2020"),
                   Falha};
    }
    void insereRegistro() {
        QFETCH(DataHora, dt);
        QFETCH(double, vlr);
        QFETCH(bool, resultado);
        QFETCH(int, linhas);
        QFETCH(QStringList, mensagens);
        tabela().fechar();
        QCOMPARE(fDados->InsereRegistro(dt, vlr), resultado);
        QVERIFY(tabela().ativa());
        QVERIFY(!tabela().filtrado());
        QCOMPARE(fDialogos.textos(), mensagens);
        // A refused row is not left pending.
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(tabela().quantidade(), linhas);
        vaiPara(dia(1, 1, 2020));
        QCOMPARE(fDados->CDSSelicValor->comoFloat(), 0.38);
        if (linhas == 5) {
            QCOMPARE(datas().last(), dt);
            tabela().ultimo();
            QCOMPARE(fDados->CDSSelicValor->comoFloat(), vlr);
        }
    }

    // A negative rate leaves nothing pending: the next month of an import is stored.
    void taxaNegativaNaoBloqueiaAsSeguintes() {
        QVERIFY(!fDados->InsereRegistro(dia(1, 2, 2020), -0.29));
        QVERIFY(fDados->InsereRegistro(dia(1, 12, 2019), 0.37));
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(datas().last(), dia(1, 12, 2019));
        QCOMPARE(tabela().quantidade(), 5);
    }

    // The rules of the table, which the rate table window edits through, do not look at the
    // rate: one typed by hand is stored whatever its sign.
    void taxaNegativaDigitadaEhGravada() {
        tabela().inserir();
        fDados->CDSSelicData->defineDataHora(dia(1, 2, 2020));
        fDados->CDSSelicValor->defineFloat(-0.1);
        tabela().gravar();
        QVERIFY(fDialogos.registros().isEmpty());
        QCOMPARE(tabela().quantidade(), 5);
        QCOMPARE(fDados->CDSSelicValor->comoFloat(), -0.1);
    }

    // The row InsereRegistro began and the rule refused is dropped: the next months of an
    // import are stored.
    void insereRegistroRecusadoNaoBloqueiaOsSeguintes() {
        QVERIFY(!fDados->InsereRegistro(dia(1, 3, 2020), 0.3));
        QVERIFY(fDados->InsereRegistro(dia(1, 2, 2020), 0.29));
        QCOMPARE(fDialogos.textos(), (QStringList{MarcoNaoDivulgado, Falha}));
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
        QCOMPARE(datas().last(), dia(1, 2, 2020));
        QCOMPARE(tabela().quantidade(), 5);
    }

    // The insertion tells what it did, the refusing rule's own message among it, with the
    // same messages shown as InsereRegistro shows.
    void insercaoDizOQueFez_data() {
        QTest::addColumn<DataHora>("dt");
        QTest::addColumn<double>("vlr");
        QTest::addColumn<int>("situacao");
        QTest::addColumn<double>("naTabela");
        QTest::addColumn<QString>("motivo");
        QTest::addColumn<QStringList>("mensagens");
        using Tipo = DesfechoInsercao::Tipo;
        QTest::newRow("gravado") << dia(1, 2, 2020) << 0.29 << int(Tipo::Gravado) << 0.0
                                 << QString() << QStringList();
        QTest::newRow("presente, mesma taxa")
            << dia(1, 1, 2020) << 0.38 << int(Tipo::Presente) << 0.38 << QString() << QStringList();
        QTest::newRow("presente, outra taxa, com hora")
            << dia(1, 1, 2020) + 0.5 << 9.99 << int(Tipo::Presente) << 0.38 << QString()
            << QStringList();
        QTest::newRow("futuro") << dia(1, 4, 2020) << 0.3 << int(Tipo::Futuro) << 0.0 << QString()
                                << QStringList();
        QTest::newRow("mês corrente") << dia(1, 3, 2020) << 0.3 << int(Tipo::Recusado) << 0.0
                                      << MarcoNaoDivulgado << QStringList{MarcoNaoDivulgado, Falha};
        QTest::newRow("dia que não é o primeiro") << dia(10, 2, 2020) << 0.29 << int(Tipo::Recusado)
                                                  << 0.0 << DiaUm << QStringList{DiaUm, Falha};
        const QString negativa = QStringLiteral("A Selic de 02/2020 não pode ser negativa: -0,1.");
        QTest::newRow("taxa negativa") << dia(1, 2, 2020) << -0.1 << int(Tipo::Recusado) << 0.0
                                       << negativa << QStringList{negativa, Falha};
    }
    void insercaoDizOQueFez() {
        QFETCH(DataHora, dt);
        QFETCH(double, vlr);
        QFETCH(int, situacao);
        QFETCH(double, naTabela);
        QFETCH(QString, motivo);
        QFETCH(QStringList, mensagens);
        const DesfechoInsercao d = fDados->insereRegistroComDesfecho(dt, vlr);
        QCOMPARE(int(d.Situacao), situacao);
        QCOMPARE(d.NaTabela, naTabela);
        QCOMPARE(d.Motivo, motivo);
        QCOMPARE(fDialogos.textos(), mensagens);
        QCOMPARE(tabela().quantidade(), situacao == int(DesfechoInsercao::Tipo::Gravado) ? 5 : 4);
        QCOMPARE(tabela().estado(), TabelaMemoria::Estado::Navegando);
    }

    // A refusal is told by the insertion that met it only: the next one starts clean.
    void recusaNaoPassaParaAProximaInsercao() {
        QCOMPARE(int(fDados->insereRegistroComDesfecho(dia(1, 3, 2020), 0.3).Situacao),
                 int(DesfechoInsercao::Tipo::Recusado));
        const DesfechoInsercao d = fDados->insereRegistroComDesfecho(dia(1, 2, 2020), 0.29);
        QCOMPARE(int(d.Situacao), int(DesfechoInsercao::Tipo::Gravado));
        QCOMPARE(d.Motivo, QString());
    }

    // A refused row someone else left stays pending: each insertion meets its refusal once,
    // then "Falha ao inserir registro", and leaves the table unfiltered.
    void insereRegistroComPendenteRecusado_data() {
        QTest::addColumn<bool>("filtrada");
        QTest::addColumn<bool>("edicao");
        QTest::newRow("linha nova, sem filtro") << false << false;
        QTest::newRow("linha nova, com filtro") << true << false;
        QTest::newRow("edição, sem filtro") << false << true;
        QTest::newRow("edição, com filtro") << true << true;
    }
    void insereRegistroComPendenteRecusado() {
        QFETCH(bool, filtrada);
        QFETCH(bool, edicao);
        const QList<DataHora> antes = datas();
        if (filtrada) {
            tabela().defineFiltro(QStringLiteral("DATA = '01/01/2020'"));
            tabela().defineFiltrado(true);
        } else {
            vaiPara(dia(1, 1, 2020));
        }
        if (edicao)
            tabela().editar();
        else
            tabela().inserir();
        fDados->CDSSelicData->defineDataHora(dia(1, 3, 2020));
        fDados->CDSSelicValor->defineFloat(0.3);
        QVERIFY_THROWS_EXCEPTION(AbortoSilencioso, tabela().gravar());
        fDialogos.limpa();
        const auto pendente =
            edicao ? TabelaMemoria::Estado::Editando : TabelaMemoria::Estado::Inserindo;

        QVERIFY(!fDados->InsereRegistro(dia(1, 2, 2020), 0.29));
        QCOMPARE(fDialogos.textos(), (QStringList{MarcoNaoDivulgado, Falha}));
        QVERIFY(!tabela().filtrado());
        QCOMPARE(tabela().estado(), pendente);
        QVERIFY(tabela().modificado());
        // Still the same pending row, shown where it was begun, now among every row: a new
        // one before January 2020, an edit on January 2020 itself.
        QCOMPARE(tabela().quantidade(), 4);
        const int linha = tabela().linhaAtualExibida();
        QCOMPARE(tabela().valorExibido(linha, *fDados->CDSSelicData), QVariant(dia(1, 3, 2020)));
        if (!edicao)
            QCOMPARE(tabela().valorExibido(linha + 1, *fDados->CDSSelicData),
                     QVariant(dia(1, 1, 2020)));

        // Once the user drops it, insertions go on.
        tabela().cancelar();
        QCOMPARE(tabela().indiceAtual(), 3);
        QCOMPARE(fDados->CDSSelicData->comoDataHora(), dia(1, 1, 2020));
        QCOMPARE(datas(), antes);
        QVERIFY(fDados->InsereRegistro(dia(1, 2, 2020), 0.29));
        QCOMPARE(tabela().quantidade(), 5);
    }

    void insereRegistroComHoraNoFiltro() {
        fRelogio.define(dia(15, 3, 2020) + 0.75);
        QVERIFY(fDados->InsereRegistro(dia(1, 2, 2020) + 0.5, 0.29));
        QCOMPARE(tabela().filtro(), QStringLiteral("DATA = '01/02/2020'"));
        // A date later than now, on the same day, stores nothing.
        QVERIFY(fDados->InsereRegistro(dia(15, 3, 2020) + 0.8, 0.29));
        QCOMPARE(tabela().quantidade(), 5);
    }

    // The time given with a date is dropped: the month is stored on its day and found
    // again by any later insertion of that day, with a time or without.
    void insereRegistroComHoraGuardaODia() {
        QVERIFY(fDados->InsereRegistro(dia(1, 2, 2020) + 0.4375, 0.28));
        tabela().ultimo();
        QCOMPARE(fDados->CDSSelicData->comoDataHora(), dia(1, 2, 2020));
        QVERIFY(fDados->InsereRegistro(dia(1, 2, 2020), 0.5));
        QVERIFY(fDados->InsereRegistro(dia(1, 2, 2020) + 0.25, 0.7));
        QCOMPARE(tabela().quantidade(), 5);
        QVERIFY(fDialogos.registros().isEmpty());
        tabela().ultimo();
        QCOMPARE(fDados->CDSSelicValor->comoFloat(), 0.28);
        tabela().fechar();
        QCOMPARE(conteudoArquivo(fCaminho).count("<ROW Data=\"20200201\""), qsizetype(1));
    }

    void arquivoSoEhReescritoQuandoMuda() {
        const QByteArray antes = conteudoArquivo(fCaminho);
        vaiPara(dia(1, 1, 2014));
        tabela().editar();
        tabela().ultimo();
        fDados->InsereRegistro(dia(1, 1, 2020), 1.0);
        tabela().fechar();
        QCOMPARE(conteudoArquivo(fCaminho), antes);

        tabela().abrir();
        QVERIFY(fDados->InsereRegistro(dia(1, 2, 2020), 0.29));
        tabela().fechar();
        const QByteArray depois = conteudoArquivo(fCaminho);
        QVERIFY(depois != antes);
        QVERIFY(depois.contains("<ROW Data=\"20200201\" Valor=\"0.29\"/>"));

        tabela().abrir();
        QCOMPARE(tabela().quantidade(), 5);
        tabela().ultimo();
        QCOMPARE(fDados->CDSSelicValor->comoFloat(), 0.29);
    }

    void arquivoApagadoEhRegravado() {
        QVERIFY(QFile::remove(fCaminho));
        tabela().fechar();
        QVERIFY(QFile::exists(fCaminho));
        tabela().abrir();
        QCOMPARE(tabela().quantidade(), 4);
    }

    void fechaDescartaPendente() {
        tabela().inserir();
        fDados->CDSSelicValor->defineFloat(0.1);
        tabela().fechar();
        tabela().abrir();
        QCOMPARE(tabela().quantidade(), 4);
    }

    // The program's own table, in the user's data folder: created from the installed default
    // on the first opening, and the log's folder with it.
    void abreTabelaDoProgramaCriaAPartirDoPadrao() {
        const QString padrao = fPasta.filePath(QStringLiteral("instalada/BELQOR.cds"));
        QVERIFY(QDir().mkpath(QFileInfo(padrao).path()));
        QVERIFY(QFile::copy(fCaminho, padrao));
        LocaisArquivos locais;
        locais.tabela = fPasta.filePath(QStringLiteral("dados/belqor/BELQOR.cds"));
        locais.pastaLog = fPasta.filePath(QStringLiteral("estado/belqor"));
        locais.tabelaPadrao = padrao;
        ModuloTeste dados(fRelogio, fDialogos, locais);
        QCOMPARE(dados.ConfigApp.caminhoArqLog(),
                 locais.pastaLog + QStringLiteral("/logBELQOR.txt"));
        dados.ArqDados = locais.tabela;
        dados.AbreTabela();
        QCOMPARE(dados.CDSSelic.quantidade(), 4);
        QCOMPARE(conteudoArquivo(locais.tabela), conteudoArquivo(padrao));
        QVERIFY(QFileInfo(locais.pastaLog).isDir());
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // The table's file in a folder that vanishes while the table is open, so that the write
    // at close fails for any user.
    std::unique_ptr<ModuloTeste> moduloComGravacaoQueFalha(QString& arquivo) {
        const QString pasta = fPasta.filePath(QStringLiteral("some"));
        arquivo = pasta + QStringLiteral("/BELQOR.cds");
        QDir().mkpath(pasta);
        escreveTabelaTeste(arquivo, mesesEmTornoDoLimite());
        auto dados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        dados->ArqDados = arquivo;
        dados->AbreTabela();
        dados->InsereRegistro(dia(1, 2, 2020), 0.29);
        QDir(pasta).removeRecursively();
        return dados;
    }

    void gravacaoQueFalhaAoFecharEhDitaUmaVez() {
        QString arquivo;
        auto dados = moduloComGravacaoQueFalha(arquivo);
        MensagensQt mensagens;
        MensagensQt::impressas().clear();
        try {
            dados->FechaTabela();
            QFAIL("a gravação devia falhar");
        } catch (const ErroTabela& e) {
            QVERIFY2(e.mensagem().contains(arquivo), qPrintable(e.mensagem()));
        }
        // Neither a second close nor the destructor tries again or says anything more.
        dados->FechaTabela();
        dados.reset();
        QVERIFY(fDialogos.registros().isEmpty());
        QCOMPARE(MensagensQt::impressas(), QStringList());
        QVERIFY(!QFileInfo::exists(arquivo));
    }

    void destrutorDizFalhaDeGravacaoUmaVez() {
        QString arquivo;
        auto dados = moduloComGravacaoQueFalha(arquivo);
        MensagensQt mensagens;
        MensagensQt::impressas().clear();
        dados.reset();
        QCOMPARE(fDialogos.registros().size(), 1);
        QCOMPARE(fDialogos.registros()[0].tipoDialogo, TipoDialogo::Erro);
        QVERIFY2(fDialogos.registros()[0].texto.contains(arquivo),
                 qPrintable(fDialogos.registros()[0].texto));
        QCOMPARE(MensagensQt::impressas(), QStringList());
    }

    void destrutorGravaTabelaAindaAberta() {
        QVERIFY(fDados->InsereRegistro(dia(1, 2, 2020), 0.29));
        fDados.reset();
        QVERIFY(conteudoArquivo(fCaminho).contains("<ROW Data=\"20200201\" Valor=\"0.29\"/>"));
        QVERIFY(fDialogos.registros().isEmpty());
    }

    void arquivoAusente() {
        tabela().fechar();
        QVERIFY(QFile::remove(fCaminho));
        QVERIFY_THROWS_EXCEPTION(ErroTabela, tabela().abrir());
        QVERIFY(!tabela().ativa());
        QVERIFY_THROWS_EXCEPTION(ErroTabela, tabela().primeiro());
        QVERIFY_THROWS_EXCEPTION(ErroTabela, tabela().quantidade());
        // On a closed table the filter settings are only recorded.
        tabela().defineFiltro(QStringLiteral("Data = '01/01/2020'"));
        tabela().defineFiltrado(true);
        QVERIFY(tabela().filtrado());
        QVERIFY(!QFile::exists(fCaminho));
    }
};

QTEST_GUILESS_MAIN(TesteBQDataModule)
#include "TesteBQDataModule.moc"
