#include "planilhas/CsvPontoVirgula.h"
#include "refresh/LeitorSerie.h"
#include "valores/Formatacao.h"

#include <QTest>

namespace {

// "mm/aaaa=taxa" for each entry read.
QStringList entradas(const LeituraSerie& leitura) {
    QStringList lista;
    for (const EntradaSerie& e : leitura.Entradas)
        lista << Formato::mesAno(e.Mes) + QLatin1Char('=') + QString::number(e.Valor);
    return lista;
}

} // namespace

// The series' CSV is read by the spreadsheet reader, under the series' own rules: UTF-8
// text, one row a line, and only blank lines passed over.
class TesteLeitorSerie : public QObject {
    Q_OBJECT

private slots:
    void csv_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QStringList>("esperado");
        QTest::addColumn<QString>("falha");
        QTest::newRow("linhas em branco")
            << QByteArray("\r\n01/03/2024;0,83\n \t\n\n01/04/2024;\"0,89\"\r\n\r\n")
            << QStringList{"03/2024=0.83", "04/2024=0.89"} << "";
        QTest::newRow("linha só de separadores")
            << QByteArray("01/03/2024;0,83\n;\n01/04/2024;0,89\n") << QStringList{"03/2024=0.83"}
            << "A leitura parou na linha 2: \"\" não é uma data no formato dd/mm/aaaa.";
        QTest::newRow("aspa aberta fecha no fim da linha")
            << QByteArray("01/03/2024;\"0,83\n\";x\n") << QStringList{"03/2024=0.83"}
            << "A leitura parou na linha 2: são esperados dois campos separados por \";\", a "
               "data e o valor.";
        QTest::newRow("cabeçalho só na primeira linha")
            << QByteArray("01/03/2024;0,83\ndata;valor\n") << QStringList{"03/2024=0.83"}
            << "A leitura parou na linha 2: \"data\" não é uma data no formato dd/mm/aaaa.";
        // Bytes that are not UTF-8 are no Windows-1252 here: the series is UTF-8.
        QTest::newRow("byte que não é UTF-8")
            << QByteArray("01/03/2024;0,8\xE7\n") << QStringList()
            << "A leitura parou na linha 1: o valor \"0,8\uFFFD\" não é um número.";
        QTest::newRow("espaço de Windows-1252 depois da data")
            << QByteArray("01/03/2024\xA0;0,83\n") << QStringList()
            << "A leitura parou na linha 1: \"01/03/2024\uFFFD\" não é uma data no formato "
               "dd/mm/aaaa.";
        QTest::newRow("linha mais longa que uma de planilha")
            << QByteArray("01/03/2024;") + QByteArray(LeitorCsv::MaximoLinha, ' ') + "0,83\n"
            << QStringList{"03/2024=0.83"} << "";
    }
    void csv() {
        QFETCH(QByteArray, conteudo);
        QFETCH(QStringList, esperado);
        QFETCH(QString, falha);
        const LeituraSerie leitura = leSerie(conteudo);
        QCOMPARE(leitura.Falha, falha);
        QCOMPARE(entradas(leitura), esperado);
    }
};

QTEST_GUILESS_MAIN(TesteLeitorSerie)
#include "TesteLeitorSerie.moc"
