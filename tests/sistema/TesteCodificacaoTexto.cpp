#include "sistema/CodificacaoTexto.h"

#include <QBuffer>
#include <QTest>

#include <cstring>

namespace {

// Standard input as a reader meets it: bytes that cannot be read back once read.
class Fluxo : public QIODevice {
public:
    explicit Fluxo(QByteArray bytes) : fBytes(std::move(bytes)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        return fBytes.size() - fLidos + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char* dados, qint64 maximo) override {
        const qint64 n = qMin(maximo, fBytes.size() - fLidos);
        std::memcpy(dados, fBytes.constData() + fLidos, size_t(n));
        fLidos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray fBytes;
    qint64 fLidos = 0;
};

constexpr qsizetype Bloco = 64 * 1024;

// ASCII up to the byte before a block's end, then the given bytes.
QByteArray noFimDoBloco(const QByteArray& bytes, qsizetype antesDoFim = 1) {
    return QByteArray(Bloco - antesDoFim, 'x') + bytes;
}

} // namespace

Q_DECLARE_METATYPE(CodificacaoTexto)

class TesteCodificacaoTexto : public QObject {
    Q_OBJECT

private slots:
    void marca_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("temMarca");
        QTest::addColumn<CodificacaoTexto>("codificacao");
        QTest::newRow("UTF-8") << QByteArray("\xEF\xBB\xBFum") << true << CodificacaoTexto::Utf8;
        QTest::newRow("UTF-16 LE")
            << QByteArray("\xFF\xFEu\0", 4) << true << CodificacaoTexto::Utf16LE;
        QTest::newRow("UTF-16 BE")
            << QByteArray("\xFE\xFF\0u", 4) << true << CodificacaoTexto::Utf16BE;
        QTest::newRow("só a marca") << QByteArray("\xEF\xBB\xBF") << true << CodificacaoTexto::Utf8;
        QTest::newRow("marca de UTF-8 pela metade")
            << QByteArray("\xEF\xBBum") << false << CodificacaoTexto::Ansi;
        QTest::newRow("marca fora do início")
            << QByteArray("um\xEF\xBB\xBF") << false << CodificacaoTexto::Ansi;
        QTest::newRow("vazio") << QByteArray() << false << CodificacaoTexto::Ansi;
    }
    void marca() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, temMarca);
        QFETCH(CodificacaoTexto, codificacao);
        const auto achada = codificacaoDaMarca(bytes);
        QCOMPARE(achada.has_value(), temMarca);
        if (temMarca) {
            QCOMPARE(*achada, codificacao);
            QVERIFY(bytes.startsWith(marcaDeOrdem(codificacao)));
        }
    }

    void semMarcaNaPaginaAnsi() { QVERIFY(marcaDeOrdem(CodificacaoTexto::Ansi).isEmpty()); }

    // A text decided whole, as an INI file is.
    void textoInteiro_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<CodificacaoTexto>("codificacao");
        const auto utf8 = CodificacaoTexto::Utf8;
        const auto ansi = CodificacaoTexto::Ansi;
        QTest::newRow("vazio") << QByteArray() << utf8;
        QTest::newRow("ASCII") << QByteArray("Versao=3.02") << utf8;
        QTest::newRow("acentos em UTF-8") << QByteArray("a\xC3\xA7\xC3\xA3o") << utf8;
        QTest::newRow("marca e acentos") << QByteArray("\xEF\xBB\xBF\xC3\xA9") << utf8;
        QTest::newRow("quatro bytes") << QByteArray("\xF0\x9F\x98\x80") << utf8;
        QTest::newRow("acentos em Windows-1252") << QByteArray("a\xE7\xE3o") << ansi;
        QTest::newRow("euro de Windows-1252") << QByteArray("\x80") << ansi;
        QTest::newRow("cortado no fim: um byte de dois") << QByteArray("S\xC3") << ansi;
        QTest::newRow("cortado no fim: dois bytes de três") << QByteArray("x\xE2\x82") << ansi;
        QTest::newRow("forma longa") << QByteArray("\xC0\x80") << ansi;
        QTest::newRow("byte que não inicia nada") << QByteArray("\xF5\x80\x80\x80") << ansi;
        QTest::newRow("metade de par substituto") << QByteArray("\xED\xA0\x80") << ansi;
        QTest::newRow("inválido depois de um bloco")
            << noFimDoBloco("\xC3\xA7 \xE7\xE3o", -10) << ansi;
    }
    void textoInteiro() {
        QFETCH(QByteArray, bytes);
        QFETCH(CodificacaoTexto, codificacao);
        QCOMPARE(utf8OuAnsi(bytes), codificacao);
        QBuffer arquivo(&bytes);
        QVERIFY(arquivo.open(QIODevice::ReadOnly));
        QCOMPARE(utf8OuAnsi(arquivo), codificacao);
        QCOMPARE(arquivo.pos(), 0);
    }

    // A file is read in blocks of 64 KiB: a sequence across a block's end is whole all the
    // same, and one cut off at the file's end is not. A stream is judged on its first 64 KiB,
    // where a sequence cut off at their end may be finished by what follows.
    void arquivoEFluxo_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<CodificacaoTexto>("noArquivo");
        QTest::addColumn<CodificacaoTexto>("noFluxo");
        const auto utf8 = CodificacaoTexto::Utf8;
        const auto ansi = CodificacaoTexto::Ansi;
        QTest::newRow("dois bytes entre blocos") << noFimDoBloco("\xC3\xA7!") << utf8 << utf8;
        QTest::newRow("quatro bytes entre blocos")
            << noFimDoBloco("\xF0\x9F\x98\x80", 2) << utf8 << utf8;
        QTest::newRow("Windows-1252 só depois do primeiro bloco")
            << noFimDoBloco("\xE7\xE3o", -3) << ansi << utf8;
        QTest::newRow("cortado no fim do arquivo")
            << QByteArray("a\xC3\xA7\xE2\x82") << ansi << utf8;
        QTest::newRow("cortado no fim do bloco, completo depois")
            << noFimDoBloco("\xE2\x82\xAC", 2) << utf8 << utf8;
        QTest::newRow("cortado no fim do bloco e no do arquivo")
            << noFimDoBloco("\xE2\x82", 2) << ansi << utf8;
        // A byte that starts no sequence is invalid wherever it stands.
        QTest::newRow("byte que não inicia nada no fim do bloco")
            << noFimDoBloco("\xC1\x81") << ansi << ansi;
        QTest::newRow("0xF8 no fim do bloco") << noFimDoBloco("\xF8\x80") << ansi << ansi;
    }
    void arquivoEFluxo() {
        QFETCH(QByteArray, bytes);
        QFETCH(CodificacaoTexto, noArquivo);
        QFETCH(CodificacaoTexto, noFluxo);
        QBuffer arquivo(&bytes);
        QVERIFY(arquivo.open(QIODevice::ReadOnly));
        QCOMPARE(utf8OuAnsi(arquivo), noArquivo);
        QCOMPARE(arquivo.pos(), 0);
        Fluxo fluxo(bytes);
        QCOMPARE(utf8OuAnsi(fluxo), noFluxo);
        // Nothing the check looked at is lost to the reader.
        QCOMPARE(fluxo.readAll(), bytes);
    }

    // A file is checked from where it stands, and left there.
    void arquivoDaPosicaoEmDiante() {
        QByteArray bytes("\xE7 a\xC3\xA7\xC3\xA3o");
        QBuffer arquivo(&bytes);
        QVERIFY(arquivo.open(QIODevice::ReadOnly));
        QCOMPARE(utf8OuAnsi(arquivo), CodificacaoTexto::Ansi);
        QVERIFY(arquivo.seek(1));
        QCOMPARE(utf8OuAnsi(arquivo), CodificacaoTexto::Utf8);
        QCOMPARE(arquivo.pos(), 1);
    }

    // Bytes given one at a time: an unfinished sequence waits for the next part.
    void emPartes() {
        VerificacaoUtf8 verificacao;
        for (const char c : QByteArray("a\xF0\x9F\x98")) {
            verificacao.acrescenta(QByteArrayView(&c, 1));
            QVERIFY(verificacao.inicioValido());
        }
        QVERIFY(!verificacao.inteiroValido());
        verificacao.acrescenta("\x80");
        QVERIFY(verificacao.inteiroValido());
        verificacao.acrescenta("\xC3");
        QVERIFY(verificacao.inicioValido());
        QVERIFY(!verificacao.inteiroValido());
        verificacao.acrescenta("x");
        QVERIFY(!verificacao.inicioValido());
        // Nothing after an invalid sequence makes the text valid again.
        verificacao.acrescenta("\xA7");
        QVERIFY(!verificacao.inicioValido());
        QVERIFY(!verificacao.inteiroValido());
    }
};

QTEST_GUILESS_MAIN(TesteCodificacaoTexto)
#include "TesteCodificacaoTexto.moc"
