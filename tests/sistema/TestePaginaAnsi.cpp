#include "sistema/PaginaAnsi.h"

#include <QTest>

class TestePaginaAnsi : public QObject {
    Q_OBJECT

private slots:
    void todosOsBytesVoltamIguais() {
        QByteArray todos;
        for (int b = 0; b < 256; ++b)
            todos.append(char(b));
        const QString texto = PaginaAnsi::decodifica(todos);
        QCOMPARE(texto.size(), 256);
        QCOMPARE(PaginaAnsi::codifica(texto), todos);
    }

    void caracteres_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII") << "Taxa 0,54" << QByteArray("Taxa 0,54");
        QTest::newRow("acentos do português")
            << "Ação é çã" << QByteArray("A\xE7\xE3o \xE9 \xE7\xE3");
        QTest::newRow("euro em 0x80") << "€" << QByteArray("\x80");
        QTest::newRow("aspas tipográficas") << "“x”" << QByteArray("\x93x\x94");
        QTest::newRow("travessão e reticências") << "—…" << QByteArray("\x97\x85");
        QTest::newRow("Ÿ em 0x9F, não o controle de Latin-1") << "Ÿ" << QByteArray("\x9F");
        QTest::newRow("byte sem caractere fica como controle")
            << QString(QChar(0x81)) << QByteArray("\x81");
        QTest::newRow("limite de Latin-1") << "\u00A0ÿ" << QByteArray("\xA0\xFF");
    }
    void caracteres() {
        QFETCH(QString, texto);
        QFETCH(QByteArray, bytes);
        QCOMPARE(PaginaAnsi::codifica(texto), bytes);
        QCOMPARE(PaginaAnsi::decodifica(bytes), texto);
    }

    void foraDaPaginaViraInterrogacao_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("controle de Latin-1 que a página troca")
            << QString(QChar(0x80)) << QByteArray("?");
        QTest::newRow("letra latina estendida") << "aĀb" << QByteArray("a?b");
        QTest::newRow("par substituto é um caractere") << "a😀b" << QByteArray("a?b");
        QTest::newRow("zero passa") << QString(QChar(0)) << QByteArray(1, '\0');
    }
    void foraDaPaginaViraInterrogacao() {
        QFETCH(QString, texto);
        QFETCH(QByteArray, bytes);
        QCOMPARE(PaginaAnsi::codifica(texto), bytes);
    }
};

QTEST_GUILESS_MAIN(TestePaginaAnsi)
#include "TestePaginaAnsi.moc"
