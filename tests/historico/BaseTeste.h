#pragma once

// The database a history test runs against: a fresh SQLite file, or a fresh database on a
// PostgreSQL server the tests start themselves (apoio/ServidorPostgresTeste.h), and SQL run
// on it from outside the program, as anyone with the file or the server could.

#include "apoio/ServidorPostgresTeste.h"
#include "historico/DestinoHistorico.h"
#include "historico/Historico.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

class BaseTeste {
public:
    explicit BaseTeste(bool postgresql) : fPostgres(postgresql) {}

    bool postgresql() const { return fPostgres; }

    // Starts the server when there is one, once; the reason it could not, or nothing.
    const QString& prepara() {
        if (fPreparada)
            return fErroPreparo;
        fPreparada = true;
        if (!fPostgres) {
            fErroPreparo = fPasta.isValid() ? QString() : fPasta.errorString();
            return fErroPreparo;
        }
        fServidor = std::make_unique<ServidorPostgresTeste>();
        if (!fServidor->erro().isEmpty())
            fErroPreparo =
                QStringLiteral("o servidor PostgreSQL dos testes não pôde ser iniciado: ") +
                fServidor->erro();
        // The password reaches libpq, in this process and in the writers it starts, through
        // the password file alone.
        else
            qputenv("PGPASSFILE", fServidor->arquivoSenhas().toLocal8Bit());
        return fErroPreparo;
    }

    // A new, empty history; its address as BELQOR_HISTORICO names it, or an empty text.
    QString nova() {
        ++fContador;
        if (fPostgres)
            fEndereco = fServidor->criaBanco(QStringLiteral("historico%1").arg(fContador));
        else
            fEndereco = fPasta.filePath(QStringLiteral("historico%1.sqlite").arg(fContador));
        return fEndereco;
    }
    QString erroDoServidor() const { return fServidor ? fServidor->erro() : QString(); }

    const QString& endereco() const { return fEndereco; }
    DestinoHistorico destino() const { return DestinoHistorico::deTexto(fEndereco, QString()); }
    std::unique_ptr<Historico> abre() const { return std::make_unique<Historico>(destino()); }
    ServidorPostgresTeste* servidor() const { return fServidor.get(); }
    QString pasta() const { return fPasta.path(); }

    // Runs the statements in order on a connection of its own; the first failure, or
    // nothing.
    QString altera(const QStringList& comandos) const {
        return conecta([&](QSqlDatabase& b) -> QString {
            for (const QString& c : comandos) {
                QSqlQuery q(b);
                if (!q.exec(c))
                    return c + QStringLiteral(": ") + q.lastError().text();
            }
            return QString();
        });
    }
    // The first column of the first row of a query.
    QVariant consulta(const QString& sql) const {
        QVariant valor;
        conecta([&](QSqlDatabase& b) -> QString {
            QSqlQuery q(b);
            if (q.exec(sql) && q.next())
                valor = q.value(0);
            return QString();
        });
        return valor;
    }

private:
    template <typename F> QString conecta(F&& usa) const {
        const QString nome = QStringLiteral("teste-de-fora");
        QString erro;
        {
            QSqlDatabase b = QSqlDatabase::addDatabase(
                fPostgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), nome);
            const DestinoHistorico d = destino();
            if (fPostgres) {
                b.setHostName(d.servidor);
                b.setPort(d.porta);
                b.setDatabaseName(d.banco);
                b.setUserName(d.usuario);
            } else {
                b.setDatabaseName(d.arquivo);
            }
            erro = b.open() ? usa(b) : b.lastError().text();
            b.close();
        }
        QSqlDatabase::removeDatabase(nome);
        return erro;
    }

    bool fPostgres;
    bool fPreparada = false;
    QString fErroPreparo;
    QTemporaryDir fPasta;
    std::unique_ptr<ServidorPostgresTeste> fServidor;
    QString fEndereco;
    int fContador = 0;
};
