#pragma once

// What a screen reader reads of this test's own windows: the accessibility tree of the
// process, read from outside through the AT-SPI registry by the reader script that
// tests/apoio/com-atspi names. The event loop keeps running while the script reads, as the
// application answers the reader's questions on it.

#include <QCoreApplication>
#include <QtGlobal>
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

struct EventoAcessivel {
    QString tipo; // as AT-SPI names it: "object:property-change:accessible-description"
    QString papel;
    QString nome;
    QString dado;
};

// Listens, from outside, to what a screen reader is told of this process while it runs.
class EscutaAtspi {
public:
    EscutaAtspi() {
        const QString leitor = qEnvironmentVariable("BELQOR_LEITOR_ATSPI");
        if (leitor.isEmpty()) {
            fErro = QStringLiteral("sem barramento AT-SPI: rode o teste por tests/apoio/com-atspi");
            return;
        }
        fProcesso.setProgram(QStringLiteral("/usr/bin/python3"));
        fProcesso.setArguments({leitor, QStringLiteral("--eventos"),
                                QString::number(QCoreApplication::applicationPid())});
        fProcesso.start();
        if (proximaLinha() != "pronto" && fErro.isEmpty())
            fErro = QStringLiteral("o leitor AT-SPI não começou a escutar");
    }
    ~EscutaAtspi() {
        fProcesso.closeWriteChannel();
        if (!fProcesso.waitForFinished(10000))
            fProcesso.kill();
    }
    QString erro() const { return fErro; }

    // The events up to the first that `achou` takes, in order; empty when the reader ended
    // before (erro() says why).
    template <typename F> QList<EventoAcessivel> ateQue(F achou) {
        QList<EventoAcessivel> eventos;
        while (fErro.isEmpty()) {
            const QByteArray linha = proximaLinha();
            if (!fErro.isEmpty())
                break;
            const QJsonObject j = QJsonDocument::fromJson(linha).object();
            eventos << EventoAcessivel{j.value(QStringLiteral("tipo")).toString(),
                                       j.value(QStringLiteral("papel")).toString(),
                                       j.value(QStringLiteral("nome")).toString(),
                                       j.value(QStringLiteral("dado")).toString()};
            if (achou(eventos.constLast()))
                return eventos;
        }
        return {};
    }

private:
    QByteArray proximaLinha() {
        // The event loop runs meanwhile: the reader asks the application about each event's
        // source. A bound only against a reader that hangs; events come as the application
        // sends them.
        while (!fProcesso.canReadLine()) {
            QSignalSpy chegou(&fProcesso, &QProcess::readyReadStandardOutput);
            QSignalSpy terminou(&fProcesso, &QProcess::finished);
            if (fProcesso.state() == QProcess::NotRunning || !chegou.wait(60000) ||
                !terminou.isEmpty()) {
                fErro = QString::fromUtf8(fProcesso.readAllStandardError());
                if (fErro.isEmpty())
                    fErro = QStringLiteral("o leitor AT-SPI não recebeu o evento esperado");
                return {};
            }
        }
        return fProcesso.readLine().trimmed();
    }

    QProcess fProcesso;
    QString fErro;
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

// The tree, for a test that cannot go on without it: the test stops when it was not read.
inline LeituraAtspi leArvoreAtspiOuPara() {
    LeituraAtspi l = leArvoreAtspi();
    if (!l.erro.isEmpty())
        qFatal("árvore AT-SPI não lida: %s", qPrintable(l.erro));
    return l;
}
