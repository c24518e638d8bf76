#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "tabela/PacoteDados.h"
#include "tabela/TabelaMemoria.h"
#include "apoio/TabelaTeste.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

DataHora dia(int d, int m, int a) {
    return Datas::codificaData(a, m, d);
}

DefinicaoCampo campo(const char* nome, TipoCampo tipo, bool obrigatorio = false) {
    DefinicaoCampo d;
    d.nome = QString::fromLatin1(nome);
    d.tipo = tipo;
    d.obrigatorio = obrigatorio;
    return d;
}

void defineTaxas(TabelaMemoria& t) {
    t.adicionaCampo(campo("Data", TipoCampo::Data, true));
    t.adicionaCampo(campo("Valor", TipoCampo::Flutuante, true));
}

QList<double> valores(TabelaMemoria& t) {
    QList<double> r;
    for (t.primeiro(); !t.fimDaTabela(); t.proximo())
        r << t.campo(QStringLiteral("Valor"))->comoFloat();
    return r;
}

} // namespace

class TesteTabelaMemoria : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;

    QString tabelaTres() {
        const QString caminho = fPasta.filePath(QStringLiteral("tres.cds"));
        escreveTabelaTeste(caminho, {{QDate(2020, 1, 1), QStringLiteral("1")},
                                     {QDate(2020, 2, 1), QStringLiteral("2")},
                                     {QDate(2020, 3, 1), QStringLiteral("3")}});
        return caminho;
    }

    // The table of tabelaTres(), open.
    void abreTres(TabelaMemoria& t) {
        defineTaxas(t);
        t.defineNomeArquivo(tabelaTres());
        t.abrir();
    }

private slots:
    void init() { regional() = ConfiguracaoRegional::brasileira(); }

    void tabelaPadraoRegravadaFicaIgual() {
        const QString original = QStringLiteral(BELQOR_FONTE "/data/BELQOR.cds");
        const QString copia = fPasta.filePath(QStringLiteral("copia.cds"));
        TabelaMemoria t;
        t.defineNomeArquivo(original);
        t.abrir();
        QCOMPARE(t.quantidade(), 345);
        t.defineNomeArquivo(copia);
        t.fechar(); // the file is missing, so it is written
        QCOMPARE(conteudoArquivo(copia), conteudoArquivo(original));
    }

    // Writing belongs to the owner: a table destroyed while open, with changes, and even
    // with its file gone, leaves the disk as it was.
    void destrutorNaoTocaNoArquivo() {
        const QString caminho = tabelaTres();
        const QByteArray antes = conteudoArquivo(caminho);
        {
            TabelaMemoria t;
            defineTaxas(t);
            t.defineNomeArquivo(caminho);
            t.abrir();
            t.acrescentar();
            t.campo(QStringLiteral("Data"))->defineDataHora(dia(1, 4, 2020));
            t.campo(QStringLiteral("Valor"))->defineFloat(4);
            t.gravar();
            QVERIFY(t.alteradaDesdeLeitura());
        }
        QCOMPARE(conteudoArquivo(caminho), antes);
        {
            TabelaMemoria t;
            defineTaxas(t);
            t.defineNomeArquivo(caminho);
            t.abrir();
            QVERIFY(QFile::remove(caminho));
        }
        QVERIFY(!QFile::exists(caminho));
    }

    void todosOsTiposIdaEVolta() {
        const QString caminho = fPasta.filePath(QStringLiteral("tipos.cds"));
        const QList<QPair<TipoCampo, QVariant>> amostras = {
            {TipoCampo::Texto, QStringLiteral("ação \"<&>\"")},
            {TipoCampo::Inteiro64, QVariant::fromValue<qint64>(-9007199254740993LL)},
            {TipoCampo::Flutuante, 0.1 + 0.2},
            {TipoCampo::Moeda, QVariant::fromValue<qint64>(-123456789)},
            {TipoCampo::Data, dia(29, 2, 2024)},
            {TipoCampo::DataHora, dia(29, 2, 2024) + Datas::codificaHora(14, 3, 27)},
            {TipoCampo::Hora, Datas::codificaHora(23, 59, 59)},
            {TipoCampo::Logico, true},
            {TipoCampo::Binario, QByteArray("\x00\x01\xff", 3)},
        };
        {
            TabelaMemoria t(QStringLiteral("Tipos"));
            for (int i = 0; i < amostras.size(); ++i)
                t.adicionaCampo(campo(qPrintable(QStringLiteral("C%1").arg(i)), amostras[i].first));
            t.defineNomeArquivo(caminho);
            t.criaVazia();
            t.acrescentar();
            for (int i = 0; i < amostras.size(); ++i)
                t.campos()[std::size_t(i)]->defineValor(amostras[i].second);
            t.gravar();
            t.acrescentar(); // an all-empty row
            t.campos()[0]->defineValor(QString());
            t.gravar();
            t.fechar();
        }
        TabelaMemoria lida;
        lida.defineNomeArquivo(caminho);
        lida.abrir();
        QCOMPARE(lida.quantidade(), 2);
        for (int i = 0; i < amostras.size(); ++i) {
            const QVariant v = lida.campos()[std::size_t(i)]->valor();
            if (amostras[i].first == TipoCampo::DataHora || amostras[i].first == TipoCampo::Hora)
                QVERIFY(qAbs(v.toDouble() - amostras[i].second.toDouble()) < 1e-8);
            else
                QCOMPARE(v, lida.campos()[std::size_t(i)]->converte(amostras[i].second));
        }
        lida.proximo();
        QVERIFY(lida.campos()[1]->ehNulo());
        QCOMPARE(lida.campos()[2]->comoFloat(), 0.0);
    }

    // Before 30/12/1899 the value's fraction is still the time of day, and the row comes
    // back from the file on the same day at the same time.
    void dataHoraAntesDaOrigemIdaEVolta_data() {
        QTest::addColumn<QString>("texto");
        QTest::newRow("ano 24") << "15/12/0024 14:03:27";
        QTest::newRow("véspera da origem") << "29/12/1899 06:00:00";
        QTest::newRow("ano 1, fim do dia") << "01/01/0001 23:59:59";
        QTest::newRow("depois da origem") << "31/12/1899 18:30:00";
    }
    void dataHoraAntesDaOrigemIdaEVolta() {
        QFETCH(QString, texto);
        const QString caminho = fPasta.filePath(QStringLiteral("antiga.cds"));
        QFile::remove(caminho);
        {
            TabelaMemoria t(QStringLiteral("Antiga"));
            t.adicionaCampo(campo("Momento", TipoCampo::DataHora));
            t.defineNomeArquivo(caminho);
            t.criaVazia();
            t.acrescentar();
            t.campos()[0]->defineDataHora(Formato::textoParaDataHora(texto));
            t.gravar();
            t.fechar();
        }
        TabelaMemoria lida;
        lida.defineNomeArquivo(caminho);
        lida.abrir();
        QCOMPARE(Formato::dataHoraParaTexto(lida.campos()[0]->comoDataHora()), texto);
    }

    // The file is read in one pass, but what it means does not depend on the order of its
    // elements: the rows may come before the fields, only the first METADATA, FIELDS and
    // ROWDATA count, and what is not a row of them is passed over.
    void leituraIndependeDaOrdem_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QStringList>("datas");
        const QByteArray campos = "<FIELDS><FIELD attrname=\"Data\" fieldtype=\"date\"/>"
                                  "<FIELD attrname=\"Valor\" fieldtype=\"r8\"/></FIELDS>";
        QTest::newRow("linhas antes dos campos")
            << "<DATAPACKET><ROWDATA><ROW Data=\"20240229\" Valor=\"1\"/>"
               "<ROW Valor=\"2\" Data=\"00010101\"/></ROWDATA><METADATA>" +
                   campos + "</METADATA></DATAPACKET>"
            << QStringList{"29/02/2024", "01/01/0001"};
        QTest::newRow("só os primeiros contam")
            << "<DATAPACKET><METADATA><X/>" + campos +
                   "<FIELDS/></METADATA><METADATA/>"
                   "<ROWDATA><ROW Data=\"99991231\" Valor=\"3\"><ROW Data=\"x\"/></ROW>texto"
                   "<!-- nota --><?pi x?><OUTRA Data=\"x\"/></ROWDATA>"
                   "<ROWDATA><ROW Data=\"x\"/></ROWDATA></DATAPACKET>"
            << QStringList{"31/12/9999"};
    }
    void leituraIndependeDaOrdem() {
        QFETCH(QByteArray, conteudo);
        QFETCH(QStringList, datas);
        const QString caminho = fPasta.filePath(QStringLiteral("ordem.cds"));
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(conteudo);
        f.close();
        TabelaMemoria t;
        defineTaxas(t);
        t.defineNomeArquivo(caminho);
        t.abrir();
        QStringList lidas;
        for (t.primeiro(); !t.fimDaTabela(); t.proximo())
            lidas << Formato::dataParaTexto(t.campo(QStringLiteral("Data"))->comoDataHora());
        QCOMPARE(lidas, datas);
    }

    void arquivoDanificado_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QString>("trecho");
        QTest::newRow("vazio") << QByteArray() << "danificado";
        QTest::newRow("xml truncado") << QByteArray("<DATAPACKET><METADATA>") << "danificado";
        QTest::newRow("outra raiz") << QByteArray("<lista/>") << "DATAPACKET";
        QTest::newRow("data inválida")
            << QByteArray(
                   "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"Data\" fieldtype=\"date\"/>"
                   "<FIELD attrname=\"Valor\" fieldtype=\"r8\"/></FIELDS></METADATA>"
                   "<ROWDATA><ROW Data=\"20201301\" Valor=\"1\"/></ROWDATA></DATAPACKET>")
            << "20201301";
        QTest::newRow("número inválido")
            << QByteArray(
                   "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"Data\" fieldtype=\"date\"/>"
                   "<FIELD attrname=\"Valor\" fieldtype=\"r8\"/></FIELDS></METADATA>"
                   "<ROWDATA><ROW Data=\"20200101\" Valor=\"0,5\"/></ROWDATA></DATAPACKET>")
            << "0,5";
        QTest::newRow("campo que falta")
            << QByteArray(
                   "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"Data\" fieldtype=\"date\"/>"
                   "</FIELDS></METADATA><ROWDATA/></DATAPACKET>")
            << "Valor";
        QTest::newRow("tipo trocado")
            << QByteArray(
                   "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"Data\" fieldtype=\"string\"/>"
                   "<FIELD attrname=\"Valor\" "
                   "fieldtype=\"r8\"/></FIELDS></METADATA><ROWDATA/></DATAPACKET>")
            << "tipo";
        // Fields are checked before rows, whichever comes first in the file.
        QTest::newRow("campo ruim depois de linha ruim")
            << QByteArray("<DATAPACKET><ROWDATA><ROW Data=\"x\"/></ROWDATA><METADATA><FIELDS>"
                          "<FIELD attrname=\"Data\" fieldtype=\"data\"/></FIELDS></METADATA>"
                          "</DATAPACKET>")
            << "tipo desconhecido 'data' do campo Data";
        // A text that is not well-formed is reported as such, even past a bad row.
        QTest::newRow("linha ruim, depois texto cortado")
            << QByteArray(
                   "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"Data\" fieldtype=\"date\"/>"
                   "</FIELDS></METADATA><ROWDATA><ROW Data=\"20240230\"/></ROWDATA>")
            << "(linha 1, coluna 132)";
        // The XML reader itself lets it through; a second one or one in the body is refused.
        QTest::newRow("DOCTYPE dentro da raiz")
            << QByteArray(
                   "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"Data\" fieldtype=\"date\"/>"
                   "<FIELD attrname=\"Valor\" fieldtype=\"r8\"/></FIELDS></METADATA>"
                   "<ROWDATA/><!DOCTYPE DATAPACKET></DATAPACKET>")
            << "DOCTYPE fora do lugar";
        QTest::newRow("dígitos que não são ASCII")
            << QByteArray(
                   "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"Data\" fieldtype=\"date\"/>"
                   "</FIELDS></METADATA><ROWDATA><ROW Data=\"\xd9\xa2\xd9\xa0\xd9\xa2"
                   "\xd9\xa0\xd9\xa0\xd9\xa1\xd9\xa0\xd9\xa1\"/></ROWDATA></DATAPACKET>")
            << "linha 1: valor inválido";
        // 100 000 levels inside a row: refused before any tree is built.
        QTest::newRow("aninhado demais")
            << QByteArray("<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"Data\" "
                          "fieldtype=\"date\"/></FIELDS></METADATA><ROWDATA><ROW>") +
                   QByteArray("<ROW>").repeated(100000)
            << "aninhados em mais de 32 níveis";
    }
    void arquivoDanificado() {
        QFETCH(QByteArray, conteudo);
        QFETCH(QString, trecho);
        const QString caminho = fPasta.filePath(QStringLiteral("ruim.cds"));
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
        f.close();
        TabelaMemoria t;
        defineTaxas(t);
        t.defineNomeArquivo(caminho);
        try {
            t.abrir();
            QFAIL("abriu um arquivo danificado");
        } catch (const ErroTabela& e) {
            QVERIFY2(e.mensagem().contains(caminho), qPrintable(e.mensagem()));
            QVERIFY2(e.mensagem().contains(trecho), qPrintable(e.mensagem()));
        }
        QVERIFY(!t.ativa());
        QCOMPARE(conteudoArquivo(caminho), conteudo);
    }

    // A device reports size 0 and never ends: the read stops at the limit.
    void arquivoSemFimEhRecusado() {
        TabelaMemoria t;
        defineTaxas(t);
        t.defineNomeArquivo(QStringLiteral("/dev/zero"));
        try {
            t.abrir();
            QFAIL("abriu /dev/zero");
        } catch (const ErroTabela& e) {
            QCOMPARE(e.mensagem(), QStringLiteral("O arquivo de dados \"/dev/zero\" é grande "
                                                  "demais para uma tabela (mais de 16 MiB)."));
        }
        QVERIFY(!t.ativa());
    }

    void gravacaoQueFalhaPreservaArquivo() {
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("tabela.cds"));
        QVERIFY(QFile::copy(tabelaTres(), caminho));
        const QByteArray antes = conteudoArquivo(caminho);
        TabelaMemoria t;
        defineTaxas(t);
        t.defineNomeArquivo(caminho);
        t.abrir();
        t.ultimo();
        t.excluir();

        // The disk refuses the write: the file size limit stops it after a few bytes.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit anterior{};
        getrlimit(RLIMIT_FSIZE, &anterior);
        rlimit pequeno = anterior;
        pequeno.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &pequeno);
        bool falhou = false;
        try {
            t.fechar();
        } catch (const ErroTabela& e) {
            falhou = e.mensagem().contains(caminho);
        }
        setrlimit(RLIMIT_FSIZE, &anterior);
        QVERIFY(falhou);
        QCOMPARE(conteudoArquivo(caminho), antes);
        QVERIFY(t.ativa());
        QCOMPARE(t.quantidade(), 2);

        // A failure right before the new file replaces the old one leaves it as well.
        PacoteDados::ganchoAntesDeConfirmar() = [] {
            throw ErroTabela(QStringLiteral("falha simulada"));
        };
        QVERIFY_THROWS_EXCEPTION(ErroTabela, t.fechar());
        PacoteDados::ganchoAntesDeConfirmar() = nullptr;
        QCOMPARE(conteudoArquivo(caminho), antes);
        QCOMPARE(QDir(pasta.path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("tabela.cds")});

        t.fechar();
        QVERIFY(conteudoArquivo(caminho) != antes);
    }

    // Closing without writing drops every change not yet in the file, the pending one too.
    void fechaSemGravarNaoGrava() {
        const QString caminho = tabelaTres();
        const QByteArray antes = conteudoArquivo(caminho);
        TabelaMemoria t;
        defineTaxas(t);
        t.defineNomeArquivo(caminho);
        t.abrir();
        t.primeiro();
        t.excluir();
        t.acrescentar();
        t.campos()[1]->defineValor(9.0);
        t.fechaSemGravar();
        QVERIFY(!t.ativa());
        QCOMPARE(conteudoArquivo(caminho), antes);
        t.fechaSemGravar();
        QVERIFY(!t.ativa());
        t.abrir();
        QCOMPARE(valores(t), (QList<double>{1, 2, 3}));
    }

    // A date field keeps whole days, whoever sets it; a date-and-time field keeps the time.
    void dataGuardaSoODia_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<double>("dado");
        QTest::addColumn<double>("guardado");
        QTest::newRow("data com hora") << int(TipoCampo::Data) << 43922.4375 << 43922.0;
        QTest::newRow("data antes da origem, com hora") << int(TipoCampo::Data) << -1.25 << -1.0;
        QTest::newRow("data inteira") << int(TipoCampo::Data) << 43922.0 << 43922.0;
        QTest::newRow("data e hora") << int(TipoCampo::DataHora) << 43922.4375 << 43922.4375;
    }
    void dataGuardaSoODia() {
        QFETCH(int, tipo);
        QFETCH(double, dado);
        QFETCH(double, guardado);
        TabelaMemoria t;
        Campo* c = t.adicionaCampo(campo("Quando", TipoCampo(tipo)));
        t.criaVazia();
        t.acrescentar();
        c->defineDataHora(dado);
        QCOMPARE(c->comoDataHora(), guardado);
        c->defineValor(QVariant(dado));
        t.gravar();
        QCOMPARE(c->comoDataHora(), guardado);
        QCOMPARE(c->valor(), QVariant(guardado));
    }

    // Rules look at every stored row, hidden by the filter or not, but not at the row
    // being edited, and only at the values within the range they name, bounds included.
    void outraLinhaArmazenada() {
        TabelaMemoria t;
        abreTres(t);
        const Campo& valor = *t.campo(QStringLiteral("Valor"));
        const auto igualA = [](double alvo) {
            return [alvo](const QVariant& v) { return v.toDouble() == alvo; };
        };
        const auto qualquer = [](const QVariant&) { return true; };
        t.defineFiltro(QStringLiteral("DATA = '01/01/2020'"));
        t.defineFiltrado(true);
        QCOMPARE(t.quantidade(), 1);
        QVERIFY(t.outraLinhaArmazenada(valor, 0, 10, igualA(3)));
        QVERIFY(t.outraLinhaArmazenada(valor, 0, 10, igualA(1)));
        QVERIFY(t.outraLinhaArmazenada(valor, 3, 3, qualquer));
        QVERIFY(!t.outraLinhaArmazenada(valor, 2.5, 2.75, qualquer));
        QVERIFY(!t.outraLinhaArmazenada(valor, 0, 2.5, igualA(3)));
        t.editar();
        QVERIFY(!t.outraLinhaArmazenada(valor, 0, 10, igualA(1)));
        QVERIFY(!t.outraLinhaArmazenada(valor, 1, 1, qualquer));
        QVERIFY(t.outraLinhaArmazenada(valor, 0, 10, igualA(2)));
        QVERIFY(!t.outraLinhaArmazenada(valor, 0, 10, igualA(4)));
        t.cancelar();
        t.inserir();
        QVERIFY(t.outraLinhaArmazenada(valor, 0, 10, igualA(1)));
    }

    // The rows a rule is shown follow every change of the stored rows: an appended row, an
    // edit that moves a row to another date, a deletion, a row put before others and two
    // rows of the same date; the equality filter, read from the same order, agrees.
    void outraLinhaArmazenadaAposMudancas() {
        TabelaMemoria t;
        abreTres(t);
        Campo& data = *t.campo(QStringLiteral("Data"));
        Campo& valor = *t.campo(QStringLiteral("Valor"));
        const auto noDia = [&t, &data](DataHora d) {
            return t.outraLinhaArmazenada(data, d, d, [](const QVariant&) { return true; });
        };
        const auto vaiPara = [&t](const char* texto) {
            t.defineFiltro(QStringLiteral("DATA = '%1'").arg(QLatin1String(texto)));
            t.defineFiltrado(true);
        };
        QVERIFY(noDia(dia(1, 2, 2020)));
        t.acrescentar();
        data.defineDataHora(dia(1, 5, 2020));
        valor.defineFloat(5);
        t.gravar();
        QVERIFY(noDia(dia(1, 5, 2020)));
        vaiPara("01/02/2020");
        t.editar();
        data.defineDataHora(dia(1, 6, 2020));
        t.gravar();
        QVERIFY(!noDia(dia(1, 2, 2020)));
        QVERIFY(noDia(dia(1, 6, 2020)));
        QCOMPARE(t.quantidade(), 0);
        vaiPara("01/03/2020");
        t.excluir();
        QVERIFY(!noDia(dia(1, 3, 2020)));
        t.defineFiltrado(false);
        t.inserir();
        data.defineDataHora(dia(1, 6, 2020));
        valor.defineFloat(7);
        t.gravar();
        QCOMPARE(valores(t), (QList<double>{7, 1, 2, 5}));
        vaiPara("01/06/2020");
        QCOMPARE(t.quantidade(), 2);
        QCOMPARE(valor.comoFloat(), 7.0);
        t.editar();
        QVERIFY(noDia(dia(1, 6, 2020)));
        t.cancelar();
        t.excluir();
        t.editar();
        QVERIFY(!noDia(dia(1, 6, 2020)));
        t.cancelar();
        vaiPara("01/05/2020");
        QCOMPARE(t.quantidade(), 1);
        QCOMPARE(valor.comoFloat(), 5.0);
    }

    // The pending change stays on its row when the filter goes off without settling, and
    // is stored there afterwards.
    void desligaFiltroMantendoPendente_data() {
        QTest::addColumn<bool>("edicao");
        QTest::addColumn<QList<double>>("depois");
        QTest::newRow("edição") << true << QList<double>{1, 9, 3};
        QTest::newRow("linha nova") << false << QList<double>{1, 9, 2, 3};
    }
    void desligaFiltroMantendoPendente() {
        QFETCH(bool, edicao);
        QFETCH(QList<double>, depois);
        TabelaMemoria t;
        abreTres(t);
        t.defineFiltro(QStringLiteral("DATA = '01/02/2020'"));
        t.defineFiltrado(true);
        if (edicao) {
            t.editar();
        } else {
            t.inserir();
            t.campo(QStringLiteral("Data"))->defineDataHora(dia(15, 1, 2020));
        }
        t.campo(QStringLiteral("Valor"))->defineFloat(9);
        t.desligaFiltroMantendoPendente();
        QVERIFY(!t.filtrado());
        QCOMPARE(t.estado(),
                 edicao ? TabelaMemoria::Estado::Editando : TabelaMemoria::Estado::Inserindo);
        QCOMPARE(t.linhaAtualExibida(), 1);
        QCOMPARE(t.linhasExibidas(), edicao ? 3 : 4);
        t.gravar();
        QCOMPARE(valores(t), depois);
    }

    void filtros_data() {
        QTest::addColumn<QString>("expressao");
        QTest::addColumn<QList<double>>("visiveis");
        QTest::newRow("igual") << "DATA = '01/02/2020'" << QList<double>{2};
        QTest::newRow("intervalo")
            << "(Data >= '01/02/2020') AND (Data <= '01/03/2020')" << QList<double>{2, 3};
        QTest::newRow("intervalo vazio")
            << "(Data >= '01/04/2020') AND (Data <= '01/03/2020')" << QList<double>{};
        QTest::newRow("ou e não") << "NOT (valor = 2) or data < '01/01/2000'"
                                  << QList<double>{1, 3};
        QTest::newRow("número") << "Valor >= 2.5" << QList<double>{3};
        QTest::newRow("vazio mostra tudo") << "" << QList<double>{1, 2, 3};
    }
    void filtros() {
        QFETCH(QString, expressao);
        QFETCH(QList<double>, visiveis);
        TabelaMemoria t;
        abreTres(t);
        t.defineFiltro(expressao);
        t.defineFiltrado(true);
        QCOMPARE(valores(t), visiveis);
        QCOMPARE(t.quantidade(), visiveis.size());
        t.defineFiltrado(false);
        QCOMPARE(t.quantidade(), 3);
    }

    void filtroInvalido() {
        TabelaMemoria t;
        abreTres(t);
        for (const char* ruim :
             {"Data = ", "Outro = 1", "Data = '32/01/2020'", "(Valor = 1", "Valor 1"}) {
            t.defineFiltro(QString::fromLatin1(ruim));
            QVERIFY_THROWS_EXCEPTION(ErroTabela, t.defineFiltrado(true));
            QVERIFY(!t.filtrado());
            QCOMPARE(t.quantidade(), 3);
        }
    }

    // A text that ends early never reads past its last symbol: a table error, the table
    // unfiltered and whole.
    void filtroIncompleto_data() {
        QTest::addColumn<QString>("expressao");
        for (const char* texto : {"(", "NOT", "Data = '01/01/2014' AND", "Data >=", "((", "NOT (",
                                  "Data = '01/01/2014' OR NOT", "Valor", "'01/01/2014' ="})
            QTest::newRow(texto) << QString::fromLatin1(texto);
    }
    void filtroIncompleto() {
        QFETCH(QString, expressao);
        TabelaMemoria t;
        defineTaxas(t);
        t.defineNomeArquivo(tabelaTres());
        t.abrir();
        t.defineFiltro(expressao);
        QVERIFY_THROWS_EXCEPTION(ErroTabela, t.defineFiltrado(true));
        QVERIFY(!t.filtrado());
        QCOMPARE(valores(t), (QList<double>{1, 2, 3}));
    }

    // A constant beyond the currency range is the filter's error, not the money type's.
    void filtroComMoedaForaDoAlcance() {
        TabelaMemoria t;
        t.adicionaCampo(campo("Preco", TipoCampo::Moeda));
        t.criaVazia();
        t.acrescentar();
        t.campos()[0]->defineValor(QVariant::fromValue<qint64>(10000));
        t.gravar();
        t.defineFiltro(QStringLiteral("Preco = '99999999999999999999'"));
        try {
            t.defineFiltrado(true);
            QFAIL("o filtro foi aceito");
        } catch (const ErroEstouroMoeda&) {
            QFAIL("o erro da moeda escapou do filtro");
        } catch (const ErroTabela& e) {
            QVERIFY2(e.mensagem().startsWith(QStringLiteral("Expressão de filtro inválida")),
                     qPrintable(e.mensagem()));
        }
        QVERIFY(!t.filtrado());
        QCOMPARE(t.quantidade(), 1);
    }

    // A range over a date or floating field is answered from an ordered index; the rows and
    // their stored order are those a row-by-row test gives, through rows stored out of
    // order, equal values, empty values and rows added, edited and deleted in between.
    void intervaloIgualAVarredura() {
        TabelaMemoria t;
        t.adicionaCampo(campo("Data", TipoCampo::Data));
        t.adicionaCampo(campo("Valor", TipoCampo::Flutuante));
        t.criaVazia();
        const QList<QPair<int, double>> linhas = {{5, 1.5}, {2, 0.5}, {5, 2.5}, {9, -1},
                                                  {1, 0},   {7, 3},   {2, 4},   {0, 8}};
        auto acrescenta = [&](int mes, double valor) {
            t.acrescentar();
            if (mes > 0)
                t.campos()[0]->defineDataHora(dia(1, mes, 2020));
            t.campos()[1]->defineFloat(valor);
            t.gravar();
        };
        for (const auto& [mes, valor] : linhas)
            acrescenta(mes, valor);
        const QStringList expressoes = {
            "(Data >= '01/02/2020') AND (Data <= '01/05/2020')",
            "Data = '01/05/2020'",
            "(Data > '01/02/2020') AND (Data < '01/07/2020')",
            "'01/05/2020' <= Data",
            "Data >= '01/03/2020' AND Data >= '01/06/2020' AND Data <= '01/12/2020'",
            "Valor >= 0.5 and valor <= 3",
            "(Data >= '01/06/2020') AND (Data <= '01/03/2020')",
        };
        auto compara = [&] {
            for (const QString& e : expressoes) {
                // The same test made unindexable: an OR with a comparison that never holds.
                t.defineFiltrado(false);
                t.defineFiltro(QStringLiteral("(%1) OR (Valor < -1000)").arg(e));
                t.defineFiltrado(true);
                const QList<double> varredura = valores(t);
                t.defineFiltro(e);
                QCOMPARE(valores(t), varredura);
            }
            t.defineFiltrado(false);
        };
        compara();
        acrescenta(5, 6); // appended: the index follows without a rebuild
        acrescenta(0, 7);
        compara();
        t.primeiro();
        t.proximo();
        t.inserir(); // in the middle: stored places move
        t.campos()[0]->defineDataHora(dia(1, 4, 2020));
        t.campos()[1]->defineFloat(9);
        t.gravar();
        compara();
        t.primeiro();
        t.editar();
        t.campos()[0]->defineDataHora(dia(1, 3, 2020));
        t.gravar();
        t.ultimo();
        t.excluir();
        compara();
        QCOMPARE(t.quantidade(), linhas.size() + 2);
    }

    // The change counter moves with every change of the stored rows, and only then.
    void versaoAcompanhaAsLinhas() {
        TabelaMemoria t;
        defineTaxas(t);
        t.defineNomeArquivo(tabelaTres());
        t.abrir();
        quint64 versao = t.versao();
        t.defineFiltro(QStringLiteral("Data = '01/02/2020'"));
        t.defineFiltrado(true);
        t.defineFiltrado(false);
        t.ultimo();
        t.editar();
        t.cancelar();
        QCOMPARE(t.versao(), versao);
        t.editar();
        t.campos()[1]->defineFloat(5);
        t.gravar();
        QVERIFY(t.versao() > versao);
        versao = t.versao();
        t.excluir();
        QVERIFY(t.versao() > versao);
    }

    // The signal goes out only while something is connected: whoever connects after the
    // table ran unheard, or again after the last receiver went, hears every change.
    void alteradaChegaAQuemSeConectaDepois() {
        TabelaMemoria t;
        abreTres(t);
        t.proximo();
        t.defineFiltrado(true);
        t.defineFiltrado(false);
        {
            QSignalSpy sinais(&t, &TabelaMemoria::alterada);
            t.proximo();
            QCOMPARE(sinais.size(), 1);
            t.defineFiltrado(true);
            t.defineFiltrado(false);
            QCOMPARE(sinais.size(), 3);
        }
        t.primeiro(); // no one hears it
        int ouvidos = 0;
        const auto conexao = QObject::connect(&t, &TabelaMemoria::alterada, [&] { ++ouvidos; });
        t.proximo();
        QCOMPARE(ouvidos, 1);
        QObject::disconnect(conexao);
        t.proximo();
        QCOMPARE(ouvidos, 1);
        QSignalSpy outra(&t, &TabelaMemoria::alterada);
        t.anterior();
        QCOMPARE(outra.size(), 1);
    }

    void movimentoEFronteiras() {
        TabelaMemoria t;
        abreTres(t);
        QVERIFY(t.inicioDaTabela());
        QCOMPARE(t.campo(QStringLiteral("valor"))->comoFloat(), 1.0);
        t.anterior();
        QVERIFY(t.inicioDaTabela());
        QCOMPARE(t.indiceAtual(), 0);
        t.ultimo();
        QVERIFY(t.fimDaTabela());
        t.proximo();
        QCOMPARE(t.indiceAtual(), 2);
        t.anterior();
        QVERIFY(!t.inicioDaTabela() && !t.fimDaTabela());
        QCOMPARE(t.indiceAtual(), 1);
    }

    void inserirNaPosicaoEAcrescentarNoFim() {
        TabelaMemoria t;
        abreTres(t);
        t.proximo();
        t.inserir();
        QCOMPARE(t.linhaAtualExibida(), 1);
        QCOMPARE(t.linhasExibidas(), 4);
        t.campo(QStringLiteral("Data"))->defineDataHora(dia(1, 5, 2020));
        t.campo(QStringLiteral("Valor"))->defineFloat(1.5);
        t.gravar();
        QCOMPARE(t.indiceAtual(), 1);
        t.acrescentar();
        t.campo(QStringLiteral("Data"))->defineDataHora(dia(1, 6, 2020));
        t.campo(QStringLiteral("Valor"))->defineFloat(4);
        t.primeiro(); // settling posts the modified row
        QCOMPARE(valores(t), (QList<double>{1, 1.5, 2, 3, 4}));
        QVERIFY(t.alteradaDesdeLeitura());
    }

    void editarTabelaVaziaComecaLinhaNova() {
        TabelaMemoria t;
        defineTaxas(t);
        t.criaVazia();
        t.editar();
        QCOMPARE(t.estado(), TabelaMemoria::Estado::Inserindo);
        QVERIFY_THROWS_EXCEPTION(ErroTabela, t.cancelar(), t.excluir());
    }

    void valorSoEmEdicao() {
        TabelaMemoria t;
        abreTres(t);
        QVERIFY_THROWS_EXCEPTION(ErroTabela, t.campo(QStringLiteral("Valor"))->defineFloat(9));
        QVERIFY_THROWS_EXCEPTION(ErroTabela, t.campo(QStringLiteral("Inexistente")));
        QSignalSpy sinais(&t, &TabelaMemoria::alterada);
        t.editar();
        t.campo(QStringLiteral("Valor"))->defineTexto(QStringLiteral("2,5"));
        QVERIFY(t.modificado());
        t.cancelar();
        QCOMPARE(t.campo(QStringLiteral("Valor"))->comoFloat(), 1.0);
        QVERIFY(!t.alteradaDesdeLeitura());
        QVERIFY(sinais.count() >= 3);
    }

    // A grid follows rows by identity while a new row comes and goes before them.
    void identidadeDasLinhasExibidas() {
        TabelaMemoria t;
        abreTres(t);
        const QList<quint64> antes{t.idLinhaExibida(0), t.idLinhaExibida(1), t.idLinhaExibida(2)};
        QVERIFY(antes[0] != 0 && antes[0] != antes[1] && antes[1] != antes[2]);
        t.proximo();
        t.inserir();
        QCOMPARE(t.idLinhaExibida(0), antes[0]);
        QCOMPARE(t.idLinhaExibida(1), quint64(0));
        QCOMPARE(t.idLinhaExibida(2), antes[1]);
        QCOMPARE(t.idLinhaExibida(3), antes[2]);
        QCOMPARE(t.idLinhaExibida(4), quint64(0));
        t.cancelar();
        QCOMPARE(t.idLinhaExibida(1), antes[1]);
        t.excluir();
        QCOMPARE(t.idLinhaExibida(1), antes[2]);
    }

    // Any row's value reads as text the way the current row's does.
    void textoDeQualquerValor() {
        TabelaMemoria t;
        DefinicaoCampo valor = campo("Valor", TipoCampo::Flutuante);
        valor.formatoExibicao = QStringLiteral("#,##0.000000");
        t.adicionaCampo(campo("Data", TipoCampo::Data));
        Campo* v = t.adicionaCampo(valor);
        Campo* d = t.campo(QStringLiteral("Data"));
        QCOMPARE(v->textoExibicaoDoValor(1234.5), QStringLiteral("1.234,500000"));
        QCOMPARE(v->textoDoValor(1234.5), QStringLiteral("1234,5"));
        QCOMPARE(v->textoExibicaoDoValor(QVariant()), QString());
        QCOMPARE(d->textoDoValor(dia(1, 2, 2020)), QStringLiteral("01/02/2020"));
    }
};

QTEST_GUILESS_MAIN(TesteTabelaMemoria)
#include "TesteTabelaMemoria.moc"
