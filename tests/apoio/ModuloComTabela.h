#pragma once

// A data module on a rate table file of its own, for the tests of what changes the table.

#include "ratetable/BQDataModule.h"
#include "apoio/TabelaTeste.h"

#include <QDir>

// "mm/aaaa=valor" for every row of the module's table, in stored order.
inline QStringList mesesDaTabela(TBQDataModule& dados) {
    QStringList r;
    TabelaMemoria& t = dados.CDSSelic;
    for (t.primeiro(); !t.fimDaTabela(); t.proximo())
        r << Datas::paraQDate(dados.CDSSelicData->comoDataHora())
                     .toString(QStringLiteral("MM/yyyy")) +
                 QLatin1Char('=') + QString::number(dados.CDSSelicValor->comoFloat());
    return r;
}

class ModuloComTabela {
public:
    // The table file is written from `meses` in `pasta`, the log goes there too; the table
    // is open.
    ModuloComTabela(const Relogio& relogio, Dialogos& dialogos, const QString& pasta,
                    const MesesTeste& meses)
        : dados(relogio, dialogos), arquivo(QDir(pasta).filePath(QStringLiteral("BELQOR.cds"))) {
        escreveTabelaTeste(arquivo, meses);
        bytesIniciais = conteudoArquivo(arquivo);
        dados.ConfigApp.definePastaLog(pasta);
        dados.ArqDados = arquivo;
        dados.CDSSelic.defineNomeArquivo(arquivo);
        dados.CDSSelic.abrir();
    }

    QStringList meses() { return mesesDaTabela(dados); }

    // Closes the table, which writes its file when a row changed.
    bool fechaSemGravar() {
        dados.CDSSelic.fechar();
        return conteudoArquivo(arquivo) == bytesIniciais;
    }

    TBQDataModule dados;
    const QString arquivo;
    QByteArray bytesIniciais;
};
