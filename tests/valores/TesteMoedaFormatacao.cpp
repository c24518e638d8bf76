#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "valores/Moeda.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

class TesteMoedaFormatacao : public QObject {
    Q_OBJECT

private slots:
    void init() { regional() = ConfiguracaoRegional::brasileira(); }

    void deEstendidoEmpataParaPar_data() {
        QTest::addColumn<double>("contagem");
        QTest::addColumn<qint64>("esperado");
        QTest::newRow("49,5 vira 50") << 49.5 << qint64(50);
        QTest::newRow("48,5 vira 48") << 48.5 << qint64(48);
        QTest::newRow("-48,5 vira -48") << -48.5 << qint64(-48);
        QTest::newRow("129629,85 vira 129630") << 129629.85 << qint64(129630);
    }
    void deEstendidoEmpataParaPar() {
        QFETCH(double, contagem);
        QFETCH(qint64, esperado);
        QCOMPARE(Moeda::deEstendido(contagem).contagem(), esperado);
    }

    void foraDoIntervaloFalha() {
        QVERIFY_THROWS_EXCEPTION(ErroEstouroMoeda, Moeda::deEstendido(1e19L));
        QVERIFY_THROWS_EXCEPTION(ErroEstouroMoeda,
                                 Moeda::deEstendido(std::numeric_limits<Estendido>::quiet_NaN()));
        const Moeda maxima = Moeda::deContagem(std::numeric_limits<qint64>::max());
        QVERIFY_THROWS_EXCEPTION(ErroEstouroMoeda, maxima + Moeda::deContagem(1));
        QVERIFY_THROWS_EXCEPTION(ErroEstouroMoeda,
                                 Moeda::deContagem(std::numeric_limits<qint64>::min()) -
                                     Moeda::deContagem(1));
        QCOMPARE(Moeda::deEstendido(-9223372036854775808.0L).contagem(),
                 std::numeric_limits<qint64>::min());
    }

    void textoDecimalIdaEVolta_data() {
        QTest::addColumn<qint64>("contagem");
        QTest::addColumn<QString>("texto");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("0.0000");
        QTest::newRow("1.138,26") << qint64(11382600) << QStringLiteral("1138.2600");
        QTest::newRow("-0,0001") << qint64(-1) << QStringLiteral("-0.0001");
        QTest::newRow("máximo") << std::numeric_limits<qint64>::max()
                                << QStringLiteral("922337203685477.5807");
        QTest::newRow("mínimo") << std::numeric_limits<qint64>::min()
                                << QStringLiteral("-922337203685477.5808");
    }
    void textoDecimalIdaEVolta() {
        QFETCH(qint64, contagem);
        QFETCH(QString, texto);
        QCOMPARE(Moeda::deContagem(contagem).textoDecimal(), texto);
        const std::optional<Moeda> lida = Moeda::deTextoDecimal(texto);
        QVERIFY(lida);
        QCOMPARE(lida->contagem(), contagem);
    }

    void textoDecimalRecusado_data() {
        QTest::addColumn<QString>("texto");
        for (const char* t : {"", "-", ".0000", "1.000", "1.00000", "1,0000", "+1.0000", "1.00a0",
                              " 1.0000", "--1.0000", "922337203685477.5808",
                              "-922337203685477.5809", "99999999999999999999.0000", "1٣.0000"})
            QTest::newRow(*t ? t : "vazio") << QString::fromUtf8(t);
    }
    void textoDecimalRecusado() {
        QFETCH(QString, texto);
        QVERIFY(!Moeda::deTextoDecimal(texto));
    }

    void centavosMeiosParaLongeDoZero_data() {
        QTest::addColumn<qint64>("contagem");
        QTest::addColumn<qint64>("esperado");
        QTest::newRow("12,3450") << qint64(123450) << qint64(123500);
        QTest::newRow("12,3449") << qint64(123449) << qint64(123400);
        QTest::newRow("-12,3450") << qint64(-123450) << qint64(-123500);
        QTest::newRow("-12,3449") << qint64(-123449) << qint64(-123400);
        QTest::newRow("0,0050") << qint64(50) << qint64(100);
    }
    void centavosMeiosParaLongeDoZero() {
        QFETCH(qint64, contagem);
        QFETCH(qint64, esperado);
        QCOMPARE(Moeda::deContagem(contagem).arredondadoCentavos().contagem(), esperado);
    }

    // Straight to cents: 4528749.5 ten-thousandths is 452,87 (a rounded count first would
    // make it 452,8750 and then 452,88).
    void centavosDeEstendido_data() {
        QTest::addColumn<double>("contagem");
        QTest::addColumn<qint64>("esperado");
        QTest::newRow("452,874950") << 4528749.5 << qint64(4528700);
        QTest::newRow("meio centavo") << 50.0 << qint64(100);
        QTest::newRow("meio centavo negativo") << -50.0 << qint64(-100);
        QTest::newRow("abaixo do meio") << 49.99 << qint64(0);
    }
    void centavosDeEstendido() {
        QFETCH(double, contagem);
        QFETCH(qint64, esperado);
        QCOMPARE(Moeda::centavosDeEstendido(contagem).contagem(), esperado);
        QVERIFY_THROWS_EXCEPTION(ErroEstouroMoeda, Moeda::centavosDeEstendido(1e19L));
    }

    void formataNumero_data() {
        QTest::addColumn<QString>("padrao");
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("agrupado") << "#,##0.00" << 1234567.89 << "1.234.567,89";
        QTest::newRow("meio para cima") << "0.00" << 12.345 << "12,35";
        QTest::newRow("meio negativo") << "0.00" << -0.005 << "-0,01";
        QTest::newRow("taxa") << "#,##0.000000" << 0.29 << "0,290000";
        QTest::newRow("zero") << "#,##0.00" << 0.0 << "0,00";
        QTest::newRow("negativo some quando zera") << "0.00" << -0.001 << "0,00";
        QTest::newRow("sem decimais") << "0" << 2.5 << "3";
        QTest::newRow("mil") << "#,##0.00" << 1000.0 << "1.000,00";
        QTest::newRow("grande") << "#,##0.00" << 123456789012.34 << "123.456.789.012,34";
    }
    void formataNumero() {
        QFETCH(QString, padrao);
        QFETCH(double, valor);
        QFETCH(QString, esperado);
        QCOMPARE(Formato::formataNumero(padrao, valor), esperado);
    }

    // The amount text built from the count is the text of the general pattern formatting,
    // for whole cents anywhere in the range and for amounts with four decimals.
    void moedaAgrupadaIgualAoPadrao_data() {
        QTest::addColumn<qint64>("contagem");
        QTest::addColumn<QString>("texto");
        const qint64 maximo = std::numeric_limits<qint64>::max();
        QTest::newRow("zero") << qint64(0) << "0,00";
        QTest::newRow("um centavo") << qint64(100) << "0,01";
        QTest::newRow("menos um centavo") << qint64(-100) << "-0,01";
        QTest::newRow("mil") << qint64(10000000) << "1.000,00";
        QTest::newRow("1.138,26") << qint64(11382600) << "1.138,26";
        QTest::newRow("999,99") << qint64(9999900) << "999,99";
        QTest::newRow("maior em centavos") << (maximo / 100 * 100) << "922.337.203.685.477,58";
        QTest::newRow("menor em centavos") << -(maximo / 100 * 100) << "-922.337.203.685.477,58";
        QTest::newRow("quatro casas") << qint64(123450) << "12,35";
        QTest::newRow("quatro casas, negativo") << qint64(-123449) << "-12,34";
        QTest::newRow("extremo") << maximo << "922.337.203.685.477,58";
    }
    void moedaAgrupadaIgualAoPadrao() {
        QFETCH(qint64, contagem);
        QFETCH(QString, texto);
        const Moeda valor = Moeda::deContagem(contagem);
        QCOMPARE(Formato::formataMoedaAgrupada(valor), texto);
        QCOMPARE(Formato::formataNumero(QStringLiteral("#,###,##0.00"),
                                        valor.contagemEstendida() / Moeda::Escala),
                 texto);
    }
    void moedaAgrupadaIgualAoPadraoEmMuitosValores() {
        std::uint64_t semente = 42;
        auto proximo = [&] {
            semente = semente * 6364136223846793005ULL + 1442695040888963407ULL;
            return semente >> 1;
        };
        for (int i = 0; i < 200000; ++i) {
            // Magnitudes of every size, from cents to the top of the range.
            const int digitos = 1 + int(proximo() % 17);
            const std::uint64_t limite =
                std::min<std::uint64_t>(std::uint64_t(std::pow(10.0, digitos)),
                                        std::numeric_limits<qint64>::max() / 100 + 1);
            qint64 centavos = qint64(proximo() % limite);
            if (proximo() % 2)
                centavos = -centavos;
            const Moeda valor = Moeda::deContagem(centavos * 100);
            const QString geral = Formato::formataNumero(QStringLiteral("#,###,##0.00"),
                                                         valor.contagemEstendida() / Moeda::Escala);
            if (Formato::formataMoedaAgrupada(valor) != geral)
                QCOMPARE(Formato::formataMoedaAgrupada(valor), geral);
        }
    }

    void textoParaNumero() {
        QCOMPARE(Formato::textoParaEstendido(QStringLiteral(" 0,54 ")), 0.54L);
        QCOMPARE(Formato::textoParaEstendido(QStringLiteral("-1,5e3")), -1500.0L);
        QCOMPARE(Formato::textoParaMoeda(QStringLiteral("1234,57")).contagem(), qint64(12345700));
        QCOMPARE(Formato::textoParaMoeda(QStringLiteral("0,00005")).contagem(), qint64(0));
        QCOMPARE(Formato::textoParaMoeda(QStringLiteral("0,00015")).contagem(), qint64(2));
        for (const char* ruim : {"1.000,00", "", ",", "1,2,3", "abc", "1e"}) {
            try {
                Formato::textoParaEstendido(QString::fromLatin1(ruim));
                QFAIL(ruim);
            } catch (const ErroConversao& e) {
                QCOMPARE(e.mensagem(), QStringLiteral("'%1' is not a valid floating point value")
                                           .arg(QString::fromLatin1(ruim)));
            }
        }
        QVERIFY_THROWS_EXCEPTION(ErroConversao,
                                 Formato::textoParaMoeda(QStringLiteral("99999999999999999")));
    }

    void datas() {
        const DataHora d = Datas::codificaData(2020, 1, 10);
        QCOMPARE(d, 43840.0);
        QCOMPARE(Formato::dataParaTexto(d), QStringLiteral("10/01/2020"));
        QCOMPARE(Formato::formataData(QStringLiteral("ddmmyyyy"), d), QStringLiteral("10012020"));
        QCOMPARE(Formato::formataData(QStringLiteral("hhmmss"), d + Datas::codificaHora(14, 3, 27)),
                 QStringLiteral("140327"));
        QCOMPARE(Formato::dataHoraParaTexto(d + Datas::codificaHora(14, 3, 27)),
                 QStringLiteral("10/01/2020 14:03:27"));
        QCOMPARE(Formato::dataHoraParaTexto(d), QStringLiteral("10/01/2020"));
        QCOMPARE(Formato::textoParaData(QStringLiteral("1/05/2024")),
                 Datas::codificaData(2024, 5, 1));
        QCOMPARE(Datas::incrementaMes(Datas::codificaData(2020, 3, 31), -1),
                 Datas::codificaData(2020, 2, 29));
        QVERIFY_THROWS_EXCEPTION(ErroConversao,
                                 Formato::textoParaData(QStringLiteral("31/02/2020")));
        ConfiguracaoRegional hifen = ConfiguracaoRegional::brasileira();
        hifen.separadorData = QLatin1Char('-');
        QCOMPARE(Formato::dataParaTexto(d, hifen), QStringLiteral("10-01-2020"));
        QVERIFY_THROWS_EXCEPTION(ErroConversao,
                                 Formato::textoParaData(QStringLiteral("10/01/2020"), hifen));
    }

    // The calendar is worked out without QDate for years 1 to 9999: every day there, and
    // days past both ends, must read as QDate reads them.
    void datasComoQDate() {
        const QDate origem(1899, 12, 30);
        const std::int64_t primeiro = origem.daysTo(QDate(1, 1, 1)) - 3;
        const std::int64_t ultimo = origem.daysTo(QDate(9999, 12, 31)) + 3;
        for (std::int64_t n = primeiro; n <= ultimo; ++n) {
            const QDate esperada = origem.addDays(n);
            // A time of day on every other day, on the side that keeps the whole day.
            const DataHora valor = DataHora(n) + (n % 2 == 0 ? 0.0 : n < 0 ? -0.25 : 0.25);
            int ano = 0, mes = 0, dia = 0;
            Datas::decodificaData(valor, ano, mes, dia);
            if (ano != esperada.year() || mes != esperada.month() || dia != esperada.day() ||
                Datas::diaDaSemana(valor) != esperada.dayOfWeek() % 7 + 1 ||
                Datas::primeiroDiaDoMes(valor) !=
                    DataHora(origem.daysTo(QDate(esperada.year(), esperada.month(), 1))))
                QFAIL(qPrintable(QStringLiteral("dia %1 (%2)").arg(n).arg(esperada.toString())));
            if (esperada.year() >= 1 && esperada.year() <= 9999 &&
                Datas::codificaData(ano, mes, dia) != DataHora(n))
                QFAIL(qPrintable(QStringLiteral("codificação de %1").arg(esperada.toString())));
        }
        for (const int meses : {-119999, -1000, -13, -12, -1, 1, 11, 12, 25, 1000, 119999})
            for (std::int64_t n = primeiro; n <= ultimo; n += 997) {
                // Six in the evening, whichever side of the origin the day lies.
                const DataHora valor = Datas::combinaDataHora(DataHora(n), 0.75);
                const DataHora esperada = Datas::combinaDataHora(
                    DataHora(origem.daysTo(origem.addDays(n).addMonths(meses))), 0.75);
                QCOMPARE(Datas::incrementaMes(valor, meses), esperada);
            }
        for (const auto& [ano, mes, dia] :
             {std::array{0, 1, 1}, std::array{10000, 1, 1}, std::array{2021, 2, 29},
              std::array{2020, 13, 1}, std::array{2020, 0, 1}, std::array{2020, 4, 31},
              std::array{2020, 1, 0}, std::array{1900, 2, 29}})
            QVERIFY_THROWS_EXCEPTION(ErroConversao, Datas::codificaData(ano, mes, dia));
        QCOMPARE(Datas::codificaData(2000, 2, 29), DataHora(origem.daysTo(QDate(2000, 2, 29))));
    }

    // The sign of a date value belongs to its day part: before the origin the fraction
    // is still the time of day, counted away from zero.
    void dataHoraAntesDaOrigem_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<double>("valor");
        QTest::newRow("véspera da origem, 6 h") << "29/12/1899 06:00:00" << -1.25;
        QTest::newRow("origem, 6 h") << "30/12/1899 06:00:00" << 0.25;
        QTest::newRow("dois dias antes, 18 h") << "28/12/1899 18:00:00" << -2.75;
        QTest::newRow("ano 24") << "15/12/0024 14:03:27"
                                << Datas::codificaData(24, 12, 15) - Datas::codificaHora(14, 3, 27);
    }
    void dataHoraAntesDaOrigem() {
        QFETCH(QString, texto);
        QFETCH(double, valor);
        const DataHora lido = Formato::textoParaDataHora(texto);
        QCOMPARE(lido, valor);
        QCOMPARE(Formato::dataHoraParaTexto(lido), texto);
        QCOMPARE(Datas::deQDateTime(Datas::paraQDateTime(lido)), lido);
    }

    void mesSeguinteAntesDaOrigemMantemAHora() {
        const DataHora antes = Formato::textoParaDataHora(QStringLiteral("29/12/1899 06:00:00"));
        QCOMPARE(Formato::dataHoraParaTexto(Datas::incrementaMes(antes, 1)),
                 QStringLiteral("29/01/1900 06:00:00"));
        QCOMPARE(Formato::dataHoraParaTexto(Datas::incrementaMes(antes, -1)),
                 QStringLiteral("29/11/1899 06:00:00"));
    }

    void regionalDoLocaleBrasileiro() {
        const auto cfg =
            ConfiguracaoRegional::deLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
        QCOMPARE(cfg.separadorDecimal, QLatin1Char(','));
        QCOMPARE(cfg.separadorMilhar, QLatin1Char('.'));
        QCOMPARE(cfg.separadorData, QLatin1Char('/'));
        QCOMPARE(cfg.padraoDataCurta, QStringLiteral("dd/mm/yyyy"));
        QCOMPARE(cfg.formatoHoraLonga, QStringLiteral("hh:nn:ss"));
    }

    // The locale widgets follow: Brazilian Portuguese where the settings count the system
    // as such, the system's otherwise.
    void localeDosWidgets_data() {
        QTest::addColumn<QLocale>("sistema");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("C") << QLocale::c() << "pt_BR";
        QTest::newRow("POSIX") << QLocale(QStringLiteral("POSIX")) << "pt_BR";
        QTest::newRow("inglês") << QLocale(QLocale::English, QLocale::UnitedStates) << "en_US";
        QTest::newRow("alemão") << QLocale(QLocale::German, QLocale::Germany) << "de_DE";
        QTest::newRow("português de Portugal")
            << QLocale(QLocale::Portuguese, QLocale::Portugal) << "pt_PT";
    }
    void localeDosWidgets() {
        QFETCH(QLocale, sistema);
        QFETCH(QString, esperado);
        QCOMPARE(ConfiguracaoRegional::localeDosWidgets(sistema).name(), esperado);
    }
};

QTEST_GUILESS_MAIN(TesteMoedaFormatacao)
#include "TesteMoedaFormatacao.moc"
