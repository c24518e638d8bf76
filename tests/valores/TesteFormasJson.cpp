#include "valores/Erros.h"
#include "valores/FormasJson.h"

#include <QJsonDocument>
#include <QTest>

#include <cmath>
#include <iterator>
#include <limits>

namespace {

// The value written in an object, through the JSON text, and read back.
QJsonObject pelaTexto(const QString& nome, const QJsonValue& valor) {
    const QByteArray texto = QJsonDocument(QJsonObject{{nome, valor}}).toJson();
    return QJsonDocument::fromJson(texto).object();
}

struct EstendidoNomeado {
    const char* nome;
    Estendido valor;
};
const EstendidoNomeado Estendidos[] = {
    {"zero", 0},
    {"um", 1},
    {"um terço", 1.0L / 3},
    {"taxa de 1,63 %", 0.0163L},
    {"negativo", -2.0L / 7},
    {"menor normal", std::numeric_limits<Estendido>::min()},
    {"maior finito", std::numeric_limits<Estendido>::max()},
    {"subnormal", std::numeric_limits<Estendido>::denorm_min()},
};

} // namespace

class TesteFormasJson : public QObject {
    Q_OBJECT

private slots:
    void estendidoIdaEVolta_data() {
        QTest::addColumn<int>("indice");
        for (int i = 0; i < int(std::size(Estendidos)); ++i)
            QTest::newRow(Estendidos[i].nome) << i;
    }
    void estendidoIdaEVolta() {
        QFETCH(int, indice);
        const Estendido valor = Estendidos[indice].valor;
        const QJsonValue texto = FormaJson::deEstendido(valor);
        QVERIFY(
            texto.toString().startsWith(valor < 0 ? QStringLiteral("-0x") : QStringLiteral("0x")));
        const Estendido lido =
            FormaJson::estendido(pelaTexto(QStringLiteral("v"), texto), QStringLiteral("v"));
        QCOMPARE(std::signbit(lido), std::signbit(valor));
        QVERIFY2(lido == valor, qPrintable(texto.toString()));
    }

    // The extended value keeps the bits a double would lose.
    void estendidoGuardaOSignificandoInteiro() {
        const Estendido valor = 1.0L + std::numeric_limits<Estendido>::epsilon();
        QVERIFY(static_cast<double>(valor) == 1.0);
        QCOMPARE(
            FormaJson::estendido(QJsonObject{{QStringLiteral("v"), FormaJson::deEstendido(valor)}},
                                 QStringLiteral("v")) -
                1.0L,
            std::numeric_limits<Estendido>::epsilon());
    }

    void datasEMomentos() {
        const DataHora dia = Datas::codificaData(2020, 1, 10);
        QCOMPARE(FormaJson::deData(dia).toString(), QStringLiteral("2020-01-10"));
        QVERIFY(FormaJson::deData(Datas::Vazia).isNull());
        QCOMPARE(FormaJson::data(pelaTexto(QStringLiteral("d"), FormaJson::deData(dia)),
                                 QStringLiteral("d")),
                 dia);
        QCOMPARE(
            FormaJson::data(pelaTexto(QStringLiteral("d"), QJsonValue::Null), QStringLiteral("d")),
            Datas::Vazia);

        const DataHora momento = Datas::combinaDataHora(Datas::codificaData(2026, 12, 10),
                                                        Datas::codificaHora(14, 30, 5, 123));
        QCOMPARE(FormaJson::textoMomento(momento), QStringLiteral("2026-12-10T14:30:05.123"));
        const DataHora lido = FormaJson::momento(
            pelaTexto(QStringLiteral("m"), FormaJson::deMomento(momento)), QStringLiteral("m"));
        QCOMPARE(lido, FormaJson::momentoEmMilissegundos(momento));
        QCOMPARE(FormaJson::momentoEmMilissegundos(lido), lido);
        QCOMPARE(FormaJson::textoMomento(lido), QStringLiteral("2026-12-10T14:30:05.123"));
    }

    void membroFaltandoOuDeOutraFormaERecusado_data() {
        QTest::addColumn<QString>("leitor");
        QTest::addColumn<QJsonValue>("valor");
        QTest::newRow("moeda ausente")
            << QStringLiteral("moeda") << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("moeda como número") << QStringLiteral("moeda") << QJsonValue(1000.0);
        QTest::newRow("moeda com vírgula")
            << QStringLiteral("moeda") << QJsonValue(QStringLiteral("1000,0000"));
        QTest::newRow("data com barras")
            << QStringLiteral("data") << QJsonValue(QStringLiteral("10/01/2020"));
        QTest::newRow("data impossível")
            << QStringLiteral("data") << QJsonValue(QStringLiteral("2020-02-30"));
        QTest::newRow("momento sem milissegundos")
            << QStringLiteral("momento") << QJsonValue(QStringLiteral("2026-12-10T14:30:05"));
        QTest::newRow("estendido decimal")
            << QStringLiteral("estendido") << QJsonValue(QStringLiteral("0.0163"));
        QTest::newRow("estendido com lixo")
            << QStringLiteral("estendido") << QJsonValue(QStringLiteral("0x1p-6x"));
        QTest::newRow("estendido sem dígitos")
            << QStringLiteral("estendido") << QJsonValue(QStringLiteral("0x"));
        QTest::newRow("estendido infinito")
            << QStringLiteral("estendido") << QJsonValue(QStringLiteral("0xinf"));
        QTest::newRow("estendido com dois sinais")
            << QStringLiteral("estendido") << QJsonValue(QStringLiteral("-0x-1p0"));
        QTest::newRow("inteiro fracionário") << QStringLiteral("inteiro") << QJsonValue(91.5);
        QTest::newRow("inteiro como texto")
            << QStringLiteral("inteiro") << QJsonValue(QStringLiteral("91"));
        QTest::newRow("inteiro além de 2^53") << QStringLiteral("inteiro") << QJsonValue(1e17);
        QTest::newRow("lógico como número") << QStringLiteral("logico") << QJsonValue(1.0);
    }
    void membroFaltandoOuDeOutraFormaERecusado() {
        QFETCH(QString, leitor);
        QFETCH(QJsonValue, valor);
        QJsonObject o;
        if (!valor.isUndefined())
            o.insert(QStringLiteral("campo"), valor);
        const QString nome = QStringLiteral("campo");
        try {
            if (leitor == QLatin1String("moeda"))
                FormaJson::moeda(o, nome);
            else if (leitor == QLatin1String("data"))
                FormaJson::data(o, nome);
            else if (leitor == QLatin1String("momento"))
                FormaJson::momento(o, nome);
            else if (leitor == QLatin1String("estendido"))
                FormaJson::estendido(o, nome);
            else if (leitor == QLatin1String("inteiro"))
                FormaJson::inteiro(o, nome);
            else
                FormaJson::logico(o, nome);
            QFAIL("o valor foi aceito");
        } catch (const ErroConversao& e) {
            QCOMPARE(e.mensagem(),
                     QStringLiteral("O campo \"campo\" do registro falta ou não tem a "
                                    "forma esperada."));
        }
    }
};

QTEST_GUILESS_MAIN(TesteFormasJson)
#include "TesteFormasJson.moc"
