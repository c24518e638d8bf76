#pragma once

// The data module as the tests build it. Every test that needs a TBQDataModule builds a
// ModuloTeste instead, so that each one starts from the Brazilian regional settings, keeps
// its log and its table files in a folder of its own, and leaves the settings Brazilian for
// the test that follows.

#include "apoio/TabelaTeste.h"
#include "ratetable/BQDataModule.h"
#include "valores/ConfiguracaoRegional.h"
#include "valores/Datas.h"

#include <QDir>
#include <QStringList>

// Sets the Brazilian regional settings (the short date pattern "dd/mm/yyyy" with them) when
// it is built and again when it goes, whatever the test changed in between.
class RegionalBrasileira {
protected:
    RegionalBrasileira() { regional() = ConfiguracaoRegional::brasileira(); }
    ~RegionalBrasileira() { regional() = ConfiguracaoRegional::brasileira(); }
    RegionalBrasileira(const RegionalBrasileira&) = delete;
    RegionalBrasileira& operator=(const RegionalBrasileira&) = delete;
};

// The settings come first among the bases: set before the module is built, set again only
// after the module has gone, so the table it writes as it goes is written under the
// settings the test chose. A test that changes the settings does so after building its
// modules.
class ModuloTeste : private RegionalBrasileira, public TBQDataModule {
public:
    // The log in `pasta`, where escreveTabela writes the table too; no table yet. The
    // program's own table and its installed default stay the program's.
    ModuloTeste(const Relogio& relogio, Dialogos& dialogos, const QString& pasta)
        : TBQDataModule(relogio, dialogos, nullptr, logEm(pasta)), fPasta(pasta) {}
    // As above, with the table written from `meses` and open.
    ModuloTeste(const Relogio& relogio, Dialogos& dialogos, const QString& pasta,
                const MesesTeste& meses)
        : ModuloTeste(relogio, dialogos, pasta) {
        escreveTabela(meses);
        CDSSelic.abrir();
    }
    // The table, its installed default and the log where `locais` says, as an installed
    // program has them.
    ModuloTeste(const Relogio& relogio, Dialogos& dialogos, const LocaisArquivos& locais)
        : TBQDataModule(relogio, dialogos, nullptr, locais) {}

    // Writes BELQOR.cds in the folder from `meses` and gives it to the module, closed.
    void escreveTabela(const MesesTeste& meses) {
        const QString caminho = QDir(fPasta).filePath(QStringLiteral("BELQOR.cds"));
        escreveTabelaTeste(caminho, meses);
        defineArquivo(caminho);
    }
    // Gives the module a table file (ArqDados and the table's own file name), closed. Its
    // bytes now are those fechaEGravaSeAlterada compares with.
    void defineArquivo(const QString& caminho) {
        ArqDados = caminho;
        CDSSelic.defineNomeArquivo(caminho);
        fArquivo = caminho;
        fBytesIniciais = conteudoArquivo(caminho);
    }
    // Closes the table if it is open (writing it when a row changed), then opens `caminho`
    // in its place.
    void abreArquivo(const QString& caminho) {
        CDSSelic.fechar();
        defineArquivo(caminho);
        CDSSelic.abrir();
    }
    const QString& arquivo() const { return fArquivo; }

    // "mm/aaaa=valor" for every row, in stored order.
    QStringList meses() {
        QStringList r;
        for (CDSSelic.primeiro(); !CDSSelic.fimDaTabela(); CDSSelic.proximo())
            r << Datas::paraQDate(CDSSelicData->comoDataHora())
                         .toString(QStringLiteral("MM/yyyy")) +
                     QLatin1Char('=') + QString::number(CDSSelicValor->comoFloat());
        return r;
    }

    // Closes the table, which writes its file when a row changed. True when the file's bytes
    // are no longer those it was given with.
    bool fechaEGravaSeAlterada() {
        CDSSelic.fechar();
        return conteudoArquivo(fArquivo) != fBytesIniciais;
    }

private:
    static LocaisArquivos logEm(const QString& pasta) {
        LocaisArquivos locais = LocaisArquivos::doPrograma();
        locais.pastaLog = pasta;
        return locais;
    }

    QString fPasta;
    QString fArquivo;
    QByteArray fBytesIniciais;
};
