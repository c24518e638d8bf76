#include "apoio/ArquivosTeste.h"
#include "apoio/DebitosTeste.h"
#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "apoio/TabelaDistribuida.h"
#include "apoio/TextoPdf.h"
#include "calc/FormataResultado.h"
#include "calc/PreviaImpressao.h"
#include "demonstrativo/DocumentoDemonstrativo.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "valores/Relogio.h"

#include <QApplication>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

DataHora data(int ano, int mes, int dia) {
    return Datas::codificaData(ano, mes, dia);
}

DataHora momento(int ano, int mes, int dia, int hora, int minuto, int segundo) {
    return Datas::combinaDataHora(data(ano, mes, dia), Datas::codificaHora(hora, minuto, segundo));
}

// The first business day from `dia` on.
DataHora diaUtilDesde(DataHora dia) {
    while (!EhDiaUtil(dia))
        dia += 1;
    return dia;
}

const QString NaoUtil = QStringLiteral("A Data do Vencimento deve ser dia útil!");

} // namespace

class TesteDocumentoDemonstrativo : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{momento(2020, 6, 15, 14, 35, 7)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;

    // Three debts calculated and one refused (due on a Saturday), paid on 10/04/2020.
    Demonstrativo tresDebitos() {
        Demonstrativo d;
        d.Titular.Nome = QStringLiteral("Comércio de Tecidos Irmãos Souza Ltda");
        if (d.Titular.defineDocumento(QStringLiteral("11.222.333/0001-81")))
            qFatal("CNPJ recusado");
        d.Titular.InscricaoEstadual = QStringLiteral("123.456.789.110");
        d.DataPagamento = data(2020, 4, 10);
        d.Debitos = tresCalculadosEUmRecusado();
        d.calcula(*fDados);
        return d;
    }

    // `quantos` monthly debts from 01/2016 on, each due on the first business day from the
    // 10th of the month after, paid on 10/04/2026: a few months to ten years in each annex.
    Demonstrativo debitosMensais(int quantos) {
        Demonstrativo d;
        d.Titular.Nome = QStringLiteral("Indústria de Móveis Serra Azul S.A.");
        d.DataPagamento = data(2026, 4, 10);
        for (int i = 0; i < quantos; ++i) {
            const DataHora referencia = Datas::incrementaMes(data(2016, 1, 1), i);
            d.Debitos.append(
                {Formato::mesAno(referencia),
                 diaUtilDesde(Datas::incrementaMes(referencia, 1) + 9),
                 QStringLiteral("%1,%2").arg(1000 + 37 * i).arg(i % 100, 2, 10, QLatin1Char('0')),
                 {}});
        }
        d.calcula(*fDados);
        return d;
    }

    // The forecast's example on the shipped table (ending 09/2026): 1.000,00 due 10/09/2026
    // paid on 10/02/2027, after `mensais` monthly debts from 01/2016 enough to fill pages.
    Demonstrativo previsaoEmVariasPaginas(int mensais) {
        fRelogio.define(momento(2026, 12, 11, 9, 0, 0));
        Demonstrativo d = debitosMensais(mensais);
        d.DataPagamento = data(2027, 2, 10);
        d.PreverMesesSemTaxa = true;
        d.Debitos.prepend(
            {QStringLiteral("08/2026"), data(2026, 9, 10), QStringLiteral("1000,00"), {}});
        d.calcula(*fDados);
        return d;
    }

    QString gravaPdf(const Demonstrativo& d, const QString& nome) {
        const QString pdf = fPasta.filePath(nome);
        QFile::remove(pdf);
        gravaPdfDemonstrativo(pdf, documentoDemonstrativo(*fDados, d, fRelogio));
        return pdf;
    }

    // Each calculated debt's line of the table, as the window shows its results.
    static QList<QStringList> linhasDosDebitos(const Demonstrativo& d) {
        QList<QStringList> linhas;
        for (qsizetype i = 0; i < d.resultados().size(); ++i) {
            const ResultadoDebito& r = d.resultados()[i];
            if (!r.Resultado)
                continue;
            const ResultadoFormatado f = formataResultado(*r.Resultado);
            linhas.append({d.Debitos[i].Referencia, Formato::dataParaTexto(d.Debitos[i].Vencimento),
                           f.Valor, f.Dias, f.Taxa, f.Multa, f.Juros, f.Total});
        }
        return linhas;
    }

    static QStringList linhaDosTotais(const Demonstrativo& d) {
        const TotaisDemonstrativo& t = d.totais();
        return {QStringLiteral("Totais (%1 débito%2)")
                    .arg(t.Quantidade)
                    .arg(t.Quantidade == 1 ? QString() : QStringLiteral("s")),
                formataReais(t.Valor), formataReais(t.Multa), formataReais(t.Juros),
                formataReais(t.Total)};
    }

    static int ocorrencias(const QStringList& linhas, const QString& linha) {
        return static_cast<int>(linhas.count(linha));
    }

    // No line of the text stands twice in a row, the pages' numbers passed over: the last
    // line of a page drawn again at the top of the next, out of sight but in the text.
    static QString linhaRepetida(const QStringList& linhas) {
        QString anterior;
        for (const QString& l : linhas) {
            if (l.startsWith(QStringLiteral("Página ")))
                continue;
            if (l == anterior)
                return l;
            anterior = l;
        }
        return {};
    }

private slots:
    // The shipped table, copied so that nothing writes the program's own.
    void init() {
        fDialogos.limpa();
        fRelogio.define(momento(2020, 6, 15, 14, 35, 7));
        fDados = std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path());
        fDados->abreArquivo(copiaTabelaDistribuida(fPasta.path()));
    }
    void cleanup() { fDados.reset(); }

    // The PDF of three debts, read as text: the taxpayer and the header; each debt's figures
    // and the totals on one line each, as the window shows them; the refused debt with its
    // message; each page numbered; the annex with each debt's account.
    void tresDebitosEmPdf() {
        const Demonstrativo d = tresDebitos();
        QCOMPARE(d.totais().Quantidade, 3);
        const QString pdf = gravaPdf(d, QStringLiteral("três débitos.pdf"));
        QVERIFY(conteudoArquivo(pdf).startsWith("%PDF-"));
        const QStringList texto = textoPdf(pdf);
        const QString tudo = texto.join('\n');
        QCOMPARE(linhaRepetida(texto), QString());

        const QList<QStringList> cabecalho{
            {QStringLiteral("Demonstrativo de Débitos — ICMS pago em atraso")},
            {QStringLiteral("Contribuinte"),
             QStringLiteral("Comércio de Tecidos Irmãos Souza Ltda")},
            {QStringLiteral("CNPJ"), QStringLiteral("11.222.333/0001-81")},
            {QStringLiteral("Inscrição Estadual"), QStringLiteral("123.456.789.110")},
            {QStringLiteral("Data de Pagamento"), QStringLiteral("10/04/2020")},
            {QStringLiteral("Emitido em"), QStringLiteral("15/06/2020 às 14:35:07")},
            {QStringLiteral("Último mês da tabela Selic"),
             Formato::mesAno(d.resultados()[0].Memoria.UltimoMesTabela)},
            {QStringLiteral("Programa"), QStringLiteral("BELQOR - Atualização de ICMS vencido"),
             QStringLiteral("Versão ") + fDados->ConfigApp.Versao()}};
        for (const QStringList& pedacos : cabecalho)
            QVERIFY2(!linhaCom(texto, pedacos).isEmpty(),
                     qPrintable(pedacos.join(" … ") + "\n" + tudo));
        QVERIFY(QString(tudo).replace('\n', ' ').contains(
            QStringLiteral("Este documento é um demonstrativo do cálculo, não uma guia de "
                           "recolhimento.")));

        QList<QStringList> esperadas = linhasDosDebitos(d);
        QCOMPARE(esperadas.size(), 3);
        // 1.000,00 due on 10/01/2020 and paid on 10/04/2020, as the single calculation.
        QCOMPARE(esperadas[0].constLast(), QStringLiteral("1.138,26"));
        esperadas.append(linhaDosTotais(d));
        esperadas.append({QStringLiteral("02/2020"), QStringLiteral("07/03/2020"),
                          QStringLiteral("700,00"), NaoUtil});
        for (const QStringList& pedacos : esperadas)
            QVERIFY2(!linhaCom(texto, pedacos).isEmpty(),
                     qPrintable(pedacos.join(" … ") + "\n" + tudo));
        QVERIFY(!linhaCom(texto, {QStringLiteral("Débitos não calculados (1 débito)")}).isEmpty());

        const int paginas = paginasPdf(pdf);
        QVERIFY(paginas > 1);
        for (int pagina = 1; pagina <= paginas; ++pagina)
            QVERIFY2(textoPdf(pdf, pagina, pagina)
                         .contains(QStringLiteral("Página %1 de %2").arg(pagina).arg(paginas)),
                     qPrintable(QString::number(pagina)));

        // The annex: each calculated debt once, with the values for its payment form and the
        // months its memory summed, each with its rate; the refused debt has none.
        for (qsizetype i = 0; i < d.resultados().size(); ++i) {
            const Debito& debito = d.Debitos[i];
            const QString titulo =
                QStringLiteral("Referência %1 — vencimento %2")
                    .arg(debito.Referencia, Formato::dataParaTexto(debito.Vencimento));
            const ResultadoDebito& r = d.resultados()[i];
            QCOMPARE(ocorrencias(texto, titulo), r.Resultado ? 1 : 0);
            if (!r.Resultado)
                continue;
            const ResultadoFormatado f = formataResultado(*r.Resultado);
            const qsizetype inicio = texto.indexOf(titulo);
            const QStringList anexo = texto.mid(inicio, 30);
            for (const QStringList& pedacos :
                 QList<QStringList>{{QStringLiteral("Valor do ICMS (principal): ") + f.Valor},
                                    {QStringLiteral("Multa de Mora: ") + f.Multa},
                                    {QStringLiteral("Juros de Mora: ") + f.Juros},
                                    {QStringLiteral("Total: ") + f.Total},
                                    {QStringLiteral("Regra: ") + textoRegraMulta(r.Memoria)},
                                    {QStringLiteral("Faixa: ") + textoFaixaMulta(r.Memoria)},
                                    {QStringLiteral("Mês do pagamento 04/2020 1,000000 %")},
                                    {QStringLiteral("Soma: taxa de juros aplicada ") + f.Taxa}})
                QVERIFY2(!linhaCom(anexo, pedacos).isEmpty(),
                         qPrintable(pedacos.join(" … ") + "\n" + anexo.join('\n')));
            // The months side by side, in their order.
            QStringList meses;
            for (const TaxaSelicSomada& t : r.Memoria.MesesSelic)
                meses << QStringLiteral("Selic %1 %2")
                             .arg(Formato::mesAno(t.Mes), formataTaxa(t.Valor));
            QVERIFY2(meses.isEmpty() || !linhaCom(anexo, meses).isEmpty(),
                     qPrintable(meses.join(" … ") + "\n" + anexo.join('\n')));
        }
        QVERIFY(!linhaCom(texto, {QStringLiteral("Faixa: 61 dias ou mais: 12 %")}).isEmpty());
        QVERIFY(!linhaCom(texto, {QStringLiteral("Selic 02/2020 0,290000 %"),
                                  QStringLiteral("Selic 03/2020 0,340000 %")})
                     .isEmpty());
    }

    // Text drawn in the order a person reads it (the order a screen reader or a copy of the
    // text gets): the header, the table row by row with the captions before the figures, the
    // totals, the refused debt, the annex; text in embedded fonts, no picture.
    void emOrdemDeLeitura() {
        const Demonstrativo d = tresDebitos();
        const QString pdf = gravaPdf(d, QStringLiteral("leitura.pdf"));
        QStringList esperado{QStringLiteral("Demonstrativo de Débitos — ICMS pago em atraso"),
                             QStringLiteral("Contribuinte"),
                             QStringLiteral("Comércio de Tecidos Irmãos Souza Ltda"),
                             QStringLiteral("CNPJ"),
                             QStringLiteral("11.222.333/0001-81"),
                             QStringLiteral("Data de Pagamento"),
                             QStringLiteral("10/04/2020"),
                             QStringLiteral("não uma guia de recolhimento"),
                             QStringLiteral("Débitos calculados"),
                             QStringLiteral("Referência"),
                             QStringLiteral("Vencimento"),
                             QStringLiteral("Valor do ICMS"),
                             QStringLiteral("Total")};
        for (const QStringList& linha : linhasDosDebitos(d))
            esperado += linha;
        esperado += linhaDosTotais(d);
        esperado += QStringList{QStringLiteral("Débitos não calculados (1 débito)"),
                                QStringLiteral("07/03/2020"),
                                NaoUtil,
                                QStringLiteral("Anexo — Memória de cálculo de cada débito"),
                                QStringLiteral("Referência 12/2019 — vencimento 10/01/2020"),
                                QStringLiteral("Valores para a guia de recolhimento"),
                                QStringLiteral("Total: 1.138,26"),
                                QStringLiteral("Multa de Mora"),
                                QStringLiteral("Juros de Mora"),
                                QStringLiteral("Selic 02/2020 0,290000 %"),
                                QStringLiteral("Selic 03/2020 0,340000 %"),
                                QStringLiteral("Referência 01/2020 — vencimento 10/02/2020"),
                                QStringLiteral("ICMS próprio"),
                                QStringLiteral("Referência 02/2020 — vencimento 10/03/2020"),
                                QStringLiteral("Versão ") + fDados->ConfigApp.Versao()};
        const QString fluxo = textoPdfCru(pdf).join('\n');
        QString falta;
        QVERIFY2(emSequencia(fluxo, esperado, falta), qPrintable(falta + "\n---\n" + fluxo));

        const QStringList fontes = saidaPoppler("pdffonts", {pdf});
        QVERIFY2(fontes.size() > 2, qPrintable(fontes.join('\n')));
        for (const QString& fonte : fontes.mid(2))
            QVERIFY2(fonte.contains(QStringLiteral(" yes ")), qPrintable(fonte));
        const QStringList imagens = saidaPoppler("pdfimages", {QStringLiteral("-list"), pdf});
        QCOMPARE(imagens.size(), 2);
    }

    // A statement of many pages: the table's captions again at the top of its second
    // page, with the rows going on below them; every line of the table and every annex once,
    // whole on one page (none drawn again, cut, at the top of the next, not even where Qt
    // leaves a line across a page break: a line of months at the foot of the fourth page, in
    // this one); every page numbered, none empty.
    void cabecalhosEmCadaPagina() {
        const Demonstrativo d = debitosMensais(38);
        QCOMPARE(d.totais().Quantidade, 38);
        const QString pdf = gravaPdf(d, QStringLiteral("longo.pdf"));
        const QString titulos = QStringLiteral("Referência Vencimento Valor do ICMS Dias Taxa de "
                                               "Juros Multa de Mora Juros de Mora Total");
        const QList<QStringList> linhas = linhasDosDebitos(d);
        QCOMPARE(ocorrencias(textoPdf(pdf, 1, 1), titulos), 1);
        const QStringList segunda = textoPdf(pdf, 2, 2);
        QCOMPARE(ocorrencias(segunda, titulos), 1);
        QCOMPARE(segunda.constFirst(), titulos);
        QVERIFY(std::any_of(linhas.cbegin(), linhas.cend(), [&](const QStringList& linha) {
            return !linhaCom({segunda.value(1)}, linha).isEmpty();
        }));

        const QStringList texto = textoPdf(pdf);
        QCOMPARE(linhaRepetida(texto), QString());
        for (const QStringList& linha : linhas) {
            int vezes = 0;
            for (const QString& l : texto)
                vezes += !linhaCom({l}, linha).isEmpty();
            QVERIFY2(vezes == 1, qPrintable(linha.join(' ') + ": " + QString::number(vezes)));
        }
        QVERIFY(!linhaCom(texto, linhaDosTotais(d)).isEmpty());
        for (const Debito& debito : d.Debitos) {
            QCOMPARE(ocorrencias(texto, QStringLiteral("Referência %1 — vencimento %2")
                                            .arg(debito.Referencia,
                                                 Formato::dataParaTexto(debito.Vencimento))),
                     1);
            QCOMPARE(ocorrencias(texto, QStringLiteral("Referência: ") + debito.Referencia), 1);
        }
        const int paginas = paginasPdf(pdf);
        QVERIFY(paginas > 3);
        int numeradas = 0;
        for (const QString& l : texto)
            numeradas += l.contains(
                QRegularExpression(QStringLiteral("^Página [0-9]+ de %1$").arg(paginas)));
        QCOMPARE(numeradas, paginas);
    }

    // The largest amounts the currency holds: every figure of the debt's line and of the
    // totals on one line, none split, nothing past the page's right edge.
    void maioresValoresSemQuebra_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<DataHora>("vencimento");
        QTest::addColumn<DataHora>("pagamento");
        QTest::newRow("o maior valor da moeda")
            << "922337203685477,58" << data(2020, 3, 10) << data(2020, 3, 10);
        QTest::newRow("28 anos de juros no maior valor que os comporta")
            << "180770000000000,00" << data(1998, 1, 2) << data(2026, 9, 10);
        QTest::newRow("999.999.999.999,99 por 28 anos")
            << "999999999999,99" << data(1998, 1, 2) << data(2026, 9, 10);
    }
    void maioresValoresSemQuebra() {
        QFETCH(QString, valor);
        QFETCH(DataHora, vencimento);
        QFETCH(DataHora, pagamento);
        fRelogio.define(momento(2026, 9, 15, 9, 0, 0));
        Demonstrativo d;
        d.Titular.Nome = QStringLiteral("Contribuinte de Grande Porte");
        d.DataPagamento = pagamento;
        d.Debitos = {
            {Formato::mesAno(Datas::incrementaMes(vencimento, -1)), vencimento, valor, {}}};
        d.calcula(*fDados);
        QVERIFY2(d.resultados()[0].Resultado, qPrintable(d.resultados()[0].Mensagem));
        const QString pdf = gravaPdf(d, QStringLiteral("maiores.pdf"));
        const QStringList texto = textoPdf(pdf);
        const QString tudo = texto.join('\n');

        const QStringList linha = linhasDosDebitos(d).constFirst();
        QVERIFY2(!linhaCom(texto, linha).isEmpty(), qPrintable(linha.join(' ') + "\n" + tudo));
        QVERIFY2(!linhaCom(texto, linhaDosTotais(d)).isEmpty(), qPrintable(tudo));
        const ResultadoFormatado f = formataResultado(*d.resultados()[0].Resultado);
        for (const QString& figura :
             {QStringLiteral("Valor do ICMS (principal): ") + f.Valor,
              QStringLiteral("Juros de Mora: ") + f.Juros, QStringLiteral("Total: ") + f.Total})
            QVERIFY2(texto.contains(figura), qPrintable(figura + "\n" + tudo));
        QCOMPARE(linhaComFiguraPartida(texto), QString());

        // No word beyond the right margin, where it would be cut off the paper.
        const QStringList caixas =
            saidaPoppler("pdftotext", {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        const QRegularExpression pagina(QStringLiteral("<page width=\"([0-9.]+)\""));
        const QRegularExpression palavra(QStringLiteral("<word xMin=\"[0-9.]+\" yMin=\"[0-9.]+\" "
                                                        "xMax=\"([0-9.]+)\"[^>]*>([^<]*)<"));
        double largura = 0;
        int palavras = 0;
        for (const QString& l : caixas) {
            if (const auto p = pagina.match(l); p.hasMatch())
                largura = p.captured(1).toDouble();
            if (const auto w = palavra.match(l); w.hasMatch()) {
                ++palavras;
                // 12 mm of margin at the side: 34 points.
                QVERIFY2(w.captured(1).toDouble() <= largura - 30,
                         qPrintable(w.captured(2) + " em " + w.captured(1)));
            }
        }
        QVERIFY(palavras > 50);
    }

    // When it was issued comes from the clock it is given.
    void emissaoDoRelogio_data() {
        QTest::addColumn<DataHora>("agora");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("tarde") << momento(2020, 6, 15, 14, 35, 7) << "15/06/2020 às 14:35:07";
        QTest::newRow("virada do ano") << momento(2021, 1, 1, 0, 0, 59) << "01/01/2021 às 00:00:59";
    }
    void emissaoDoRelogio() {
        QFETCH(DataHora, agora);
        QFETCH(QString, esperado);
        fRelogio.define(agora);
        const QStringList texto = textoPdf(gravaPdf(tresDebitos(), QStringLiteral("relógio.pdf")));
        QVERIFY2(!linhaCom(texto, {QStringLiteral("Emitido em"), esperado}).isEmpty(),
                 qPrintable(texto.join('\n')));
    }

    // The taxpayer's number with the caption of its kind; none typed, said so.
    void documentoDoContribuinte_data() {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("inscricao");
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("CPF") << "12345678909"
                             << "isento"
                             << QStringList{"CPF", "123.456.789-09", "Inscrição Estadual",
                                            "isento"};
        QTest::newRow("CNPJ alfanumérico") << "12ABC34501DE35"
                                           << "" << QStringList{"CNPJ", "12.ABC.345/01DE-35"};
        QTest::newRow("nenhum") << ""
                                << ""
                                << QStringList{"CPF/CNPJ", "não informado", "Inscrição Estadual",
                                               "não informada"};
    }
    void documentoDoContribuinte() {
        QFETCH(QString, digitado);
        QFETCH(QString, inscricao);
        QFETCH(QStringList, esperado);
        Demonstrativo d = tresDebitos();
        QVERIFY(!d.Titular.defineDocumento(digitado));
        d.Titular.InscricaoEstadual = inscricao;
        const QStringList texto = textoPdf(gravaPdf(d, QStringLiteral("documento.pdf")));
        for (qsizetype i = 0; i < esperado.size(); i += 2)
            QVERIFY2(!linhaCom(texto, {esperado[i], esperado[i + 1]}).isEmpty(),
                     qPrintable(esperado[i] + "\n" + texto.join('\n')));
    }

    // Nothing calculated: said so, the refusals listed, no annex.
    void nenhumDebitoCalculado() {
        Demonstrativo d = tresDebitos();
        d.Debitos = {{QStringLiteral("02/2020"), data(2020, 3, 7), QStringLiteral("700,00"), {}},
                     {QStringLiteral("03/2020"), data(2020, 4, 10), QStringLiteral("12,3"), {}}};
        d.calcula(*fDados);
        QCOMPARE(d.totais().Quantidade, 0);
        const QStringList texto = textoPdf(gravaPdf(d, QStringLiteral("nenhum.pdf")));
        const QString tudo = texto.join('\n');
        QVERIFY2(texto.contains(QStringLiteral("Nenhum débito foi calculado.")), qPrintable(tudo));
        QVERIFY(!linhaCom(texto, {QStringLiteral("Débitos não calculados (2 débitos)")}).isEmpty());
        QVERIFY(!linhaCom(texto, {QStringLiteral("07/03/2020"), NaoUtil}).isEmpty());
        QVERIFY(!linhaCom(texto, {QStringLiteral("12,3"), d.resultados()[1].Mensagem}).isEmpty());
        QVERIFY(!tudo.contains(QStringLiteral("Anexo")));
        QVERIFY(texto.contains(QStringLiteral("Página 1 de 1")));
    }

    // The taxpayer's name is required: without it the statement is refused in Portuguese
    // and no file is written, whatever was there before.
    void nomeObrigatorio_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<bool>("aceito");
        QTest::newRow("vazio") << "" << false;
        QTest::newRow("só espaços") << "   " << false;
        QTest::newRow("uma letra") << "A" << true;
    }
    void nomeObrigatorio() {
        QFETCH(QString, nome);
        QFETCH(bool, aceito);
        Demonstrativo d = tresDebitos();
        d.Titular.Nome = nome;
        const auto recusa = validaImpressaoDemonstrativo(d);
        QCOMPARE(recusa.has_value(), !aceito);
        const QString pdf = fPasta.filePath(QStringLiteral("sem nome.pdf"));
        gravaArquivoTeste(pdf, "o que havia antes");
        if (aceito) {
            gravaPdfDemonstrativo(pdf, documentoDemonstrativo(*fDados, d, fRelogio));
            QVERIFY(!linhaCom(textoPdf(pdf), {QStringLiteral("Contribuinte"), nome}).isEmpty());
            return;
        }
        QCOMPARE(*recusa, QStringLiteral("O nome do contribuinte é obrigatório para imprimir o "
                                         "demonstrativo!"));
        try {
            gravaPdfDemonstrativo(pdf, documentoDemonstrativo(*fDados, d, fRelogio));
            QFAIL("impresso sem o nome do contribuinte");
        } catch (const ErroBelqor& e) {
            QCOMPARE(e.mensagem(), *recusa);
        }
        QCOMPARE(conteudoArquivo(pdf), QByteArray("o que havia antes"));
    }

    // The print preview takes the statement as it takes the memory: its title, A4 landscape,
    // the same pages as the PDF.
    void previaDeImpressao() {
        const DocumentoDemonstrativo documento =
            documentoDemonstrativo(*fDados, debitosMensais(30), fRelogio);
        const QString pdf = fPasta.filePath(QStringLiteral("prévia.pdf"));
        gravaPdfDemonstrativo(pdf, documento);
        QString titulo;
        QString nome;
        int paginas = -1;
        QPageLayout pagina;
        QTimer::singleShot(0, [&] {
            auto* previa = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            QVERIFY(previa);
            titulo = previa->windowTitle();
            nome = previa->objectName();
            pagina = previa->printer()->pageLayout();
            paginas = previa->findChild<QPrintPreviewWidget*>()->pageCount();
            previa->reject();
        });
        abrePreviaImpressao(nullptr, fDialogos, impressoDemonstrativo(documento),
                            QStringLiteral("PreviaDemonstrativo"));
        QCOMPARE(titulo, QStringLiteral("Demonstrativo de Débitos — ICMS pago em atraso"));
        QCOMPARE(nome, QStringLiteral("PreviaDemonstrativo"));
        QCOMPARE(pagina.pageSize().id(), QPageSize::A4);
        QCOMPARE(pagina.orientation(), QPageLayout::Landscape);
        QCOMPARE(paginas, paginasPdf(pdf));
        QVERIFY(fDialogos.registros().isEmpty());
    }

    // Estimated months: the heading at the top of every page, the months listed with the rate
    // each took and marked in the annex, "PREVISÃO" on the debt's line and on the totals.
    void previsaoEmCadaPagina() {
        const Demonstrativo d = previsaoEmVariasPaginas(30);
        QVERIFY2(d.resultados()[0].Resultado, qPrintable(d.resultados()[0].Mensagem));
        QVERIFY(!d.mesesEstimados().isEmpty());
        const QString pdf = gravaPdf(d, QStringLiteral("previsão.pdf"));
        const QString cabecalho = QStringLiteral("PREVISÃO — taxas estimadas");
        const int paginas = paginasPdf(pdf);
        QVERIFY(paginas > 2);
        for (int pagina = 1; pagina <= paginas; ++pagina) {
            const QStringList texto = textoPdf(pdf, pagina, pagina);
            QVERIFY2(texto.value(0) == cabecalho,
                     qPrintable(QString::number(pagina) + "\n" + texto.join('\n')));
        }
        const QStringList texto = textoPdf(pdf);
        const QString tudo = texto.join('\n');
        QVERIFY2(!linhaCom(texto, {QStringLiteral("Selic 10/2026 (estimada) 1,080000 %"),
                                   QStringLiteral("Selic 11/2026 (estimada) 1,080000 %"),
                                   QStringLiteral("Selic 12/2026 (estimada) 1,080000 %"),
                                   QStringLiteral("Selic 01/2027 (estimada) 1,080000 %")})
                      .isEmpty(),
                 qPrintable(tudo));
        QVERIFY2(!linhaCom(texto, {QStringLiteral("08/2026"), QStringLiteral("10/09/2026"),
                                   QStringLiteral("1.000,00"), QStringLiteral("153"),
                                   QStringLiteral("5,320000 %"), QStringLiteral("120,00"),
                                   QStringLiteral("59,58"), QStringLiteral("1.179,58"),
                                   QStringLiteral("PREVISÃO")})
                      .isEmpty(),
                 qPrintable(tudo));
        QVERIFY2(!linhaCom(texto, linhaDosTotais(d) << QStringLiteral("PREVISÃO")).isEmpty(),
                 qPrintable(tudo));
        QVERIFY(texto.contains(
            QStringLiteral("Referência 08/2026 — vencimento 10/09/2026 — PREVISÃO")));
        // The annex's memory of the example marks its estimated months.
        const QStringList anexo = texto.mid(
            texto.indexOf(QStringLiteral("Referência 08/2026 — vencimento 10/09/2026 — PREVISÃO")));
        QVERIFY2(
            !linhaCom(anexo, {QStringLiteral("Selic 10/2026 (estimada) 1,080000 %")}).isEmpty(),
            qPrintable(anexo.mid(0, 30).join('\n')));
    }

    // No month estimated, asked for or not: no mark anywhere.
    void semPrevisaoSemMarca_data() {
        QTest::addColumn<bool>("prever");
        QTest::newRow("previsão desligada") << false;
        QTest::newRow("previsão ligada, tabela completa") << true;
    }
    void semPrevisaoSemMarca() {
        QFETCH(bool, prever);
        Demonstrativo d = tresDebitos();
        d.PreverMesesSemTaxa = prever;
        d.calcula(*fDados);
        QVERIFY(d.mesesEstimados().isEmpty());
        const QString tudo = textoPdf(gravaPdf(d, QStringLiteral("sem previsão.pdf"))).join('\n');
        QVERIFY(tudo.contains(QStringLiteral("Total")));
        QVERIFY2(!tudo.contains(QStringLiteral("PREVISÃO")), qPrintable(tudo));
        QVERIFY2(!tudo.contains(QStringLiteral("estimada")), qPrintable(tudo));
        QVERIFY2(!tudo.contains(QStringLiteral("pagamento parcial")), qPrintable(tudo));
    }

    // Partial payments: each payment's cost that day and its split, the balance's memory, what
    // was paid in the table and the totals, and how payments are allocated, said once.
    void pagamentosParciaisEmPdf() {
        Demonstrativo d;
        d.Titular.Nome = QStringLiteral("Comércio de Tecidos Irmãos Souza Ltda");
        d.DataPagamento = data(2020, 6, 10);
        d.Debitos = comPagamentosParciais();
        d.calcula(*fDados);
        QCOMPARE(d.totais().Quantidade, 3);
        const Moeda aMaior = d.resultados()[1].Pagamentos.Parcelas.value(0).PagoAMaior;
        QVERIFY(aMaior > Moeda());
        const QStringList texto = textoPdf(gravaPdf(d, QStringLiteral("pagamentos.pdf")));
        const QString tudo = texto.join('\n');
        QCOMPARE(linhaRepetida(texto), QString());

        const QList<QStringList> esperadas{
            {QStringLiteral("Pago"), QStringLiteral("Principal em Aberto")},
            {QStringLiteral("12/2019"), QStringLiteral("10/01/2020"), QStringLiteral("500,00"),
             QStringLiteral("547,13"), QStringLiteral("152"), QStringLiteral("2,150000 %"),
             QStringLiteral("65,66"), QStringLiteral("13,17"), QStringLiteral("625,96")},
            {QStringLiteral("Totais (3 débitos)"), QStringLiteral("2.500,00")},
            {QStringLiteral("Pagamento de 10/03/2020: 500,00")},
            {QStringLiteral("Principal em aberto antes do pagamento: 1.000,00")},
            {QStringLiteral("Multa de Mora na data: 90,00")},
            {QStringLiteral("Juros de Mora na data: 14,06")},
            {QStringLiteral("Total na data (principal + multa + juros): 1.104,06")},
            {QStringLiteral("Imputado ao principal: 452,87")},
            {QStringLiteral("Imputado à multa: 40,76")},
            {QStringLiteral("Imputado aos juros: 6,37")},
            {QStringLiteral("Principal em aberto após o pagamento: 547,13")},
            {QStringLiteral("Saldo em 10/06/2020: memória de cálculo")},
            {QStringLiteral("Soma: taxa de juros aplicada 2,150000 %")},
            {QStringLiteral("Total: 625,96")},
            {QStringLiteral("Pagamento de 10/03/2020: 2.000,00")},
            {QStringLiteral("Pago a maior: ") + formataReais(aMaior)},
            {QStringLiteral("Principal em aberto após o pagamento: 0,00")}};
        for (const QStringList& pedacos : esperadas)
            QVERIFY2(!linhaCom(texto, pedacos).isEmpty(),
                     qPrintable(pedacos.join(" … ") + "\n" + tudo));
        // Only the debt that overpaid says so; the one without payments has none.
        QCOMPARE(linhaCom(texto, {QStringLiteral("Pago a maior")}),
                 QStringLiteral("Pago a maior: ") + formataReais(aMaior));
        QCOMPARE(tudo.count(QStringLiteral("Pagamento de ")), 2);
        const QString frase = QStringLiteral(
            "Cada pagamento parcial foi imputado proporcionalmente ao principal, à multa e aos "
            "juros devidos na data em que foi feito.");
        QCOMPARE(QString(tudo).replace('\n', ' ').count(frase), 1);
        QVERIFY2(!tudo.contains(QStringLiteral("PREVISÃO")), qPrintable(tudo));
    }
};

QTEST_MAIN(TesteDocumentoDemonstrativo)
#include "TesteDocumentoDemonstrativo.moc"
