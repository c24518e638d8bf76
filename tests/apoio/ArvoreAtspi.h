#pragma once

// What a screen reader reads of this test's own windows: the accessibility tree of the
// process, read from outside through the AT-SPI registry by the reader script that
// tests/apoio/com-atspi names. The event loop keeps running while the script reads, as the
// application answers the reader's questions on it.

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QSignalSpy>
#include <QString>
#include <QStringList>

struct ObjetoAcessivel {
    QString papel;
    QString nome;
    QString descricao;
    QString texto;
    QStringList rotulos; // names of the objects that label it
    QStringList estados;
};

// Empty `erro` when the tree was read; otherwise why not.
struct LeituraAtspi {
    QList<ObjetoAcessivel> objetos;
    QString erro;

    QList<ObjetoAcessivel> comPapel(const QString& papel) const {
        QList<ObjetoAcessivel> r;
        for (const ObjetoAcessivel& o : objetos)
            if (o.papel == papel)
                r << o;
        return r;
    }
};

inline LeituraAtspi leArvoreAtspi() {
    LeituraAtspi leitura;
    const QString leitor = qEnvironmentVariable("BELQOR_LEITOR_ATSPI");
    if (leitor.isEmpty()) {
        leitura.erro =
            QStringLiteral("sem barramento AT-SPI: rode o teste por tests/apoio/com-atspi");
        return leitura;
    }
    QProcess processo;
    processo.setProgram(QStringLiteral("/usr/bin/python3"));
    processo.setArguments({leitor, QString::number(QCoreApplication::applicationPid())});
    QSignalSpy fim(&processo, &QProcess::finished);
    processo.start();
    // A bound only against a reader that hangs: the reader ends as soon as it has read.
    if (!fim.wait(120000) || processo.exitStatus() != QProcess::NormalExit ||
        processo.exitCode() != 0) {
        processo.kill();
        leitura.erro = QString::fromUtf8(processo.readAllStandardError());
        if (leitura.erro.isEmpty())
            leitura.erro = QStringLiteral("o leitor AT-SPI não terminou");
        return leitura;
    }
    const QList<QByteArray> linhas = processo.readAllStandardOutput().split('\n');
    for (const QByteArray& linha : linhas) {
        if (linha.trimmed().isEmpty())
            continue;
        const QJsonObject j = QJsonDocument::fromJson(linha).object();
        ObjetoAcessivel o;
        o.papel = j.value(QStringLiteral("papel")).toString();
        o.nome = j.value(QStringLiteral("nome")).toString();
        o.descricao = j.value(QStringLiteral("descricao")).toString();
        o.texto = j.value(QStringLiteral("texto")).toString();
        for (const QJsonValue& v : j.value(QStringLiteral("rotulos")).toArray())
            o.rotulos << v.toString();
        for (const QJsonValue& v : j.value(QStringLiteral("estados")).toArray())
            o.estados << v.toString();
        leitura.objetos << o;
    }
    if (leitura.objetos.isEmpty())
        leitura.erro = QStringLiteral("o leitor AT-SPI não achou nenhum objeto");
    return leitura;
}
