#pragma once

// The chain that makes the history tamper-evident. Every record is stored as one row of
// columns (LinhaHistorico); its hash is the SHA-256 of the row's canonical text, which
// holds every column but the hash itself, the previous record's hash among them. A record
// edited outside the program no longer matches its hash; one removed, inserted or moved
// breaks the link of the record after it; records removed from the end leave the chain's
// tail, kept apart, pointing past the last one.
//
// The canonical text is bytes, not a serialisation to redo: the first line
// "belqor-historico 1", then one line per column in the order of LinhaHistorico, each
// "nome:N:valor" where N is the count of bytes of the value in UTF-8 and the value those
// bytes (numbers in decimal digits), each line ended by a line feed. Verifying reads the
// stored columns and hashes them again; it never rewrites the content.

#include <QByteArray>
#include <QString>

struct LinhaHistorico {
    qint64 id = 0;
    QString tipo;
    QString momento; // "2026-12-10T14:30:05.123"
    QString usuario;
    QString maquina;
    QString versao;
    QString documento; // CPF or CNPJ without punctuation; empty for a calculation
    QString nome;
    qint64 valor = 0; // counts of ten-thousandths: the sum of the amounts calculated
    qint64 total = 0; //   and of their totals
    QString conteudo; // the JSON document, as written
    QString hashAnterior;
    QString hash;
};

// The previous hash of the first record: 64 zeros.
QString hashInicial();

// SHA-256 of the bytes in lower-case hexadecimal, by OpenSSL's libcrypto: verifying a
// large history hashes gigabytes, which it does several times faster than Qt.
QString sha256Hexadecimal(const QByteArray& bytes);

QByteArray textoCanonico(const LinhaHistorico& linha);
// SHA-256 of the canonical text, in lower-case hexadecimal.
QString hashDaLinha(const LinhaHistorico& linha);
