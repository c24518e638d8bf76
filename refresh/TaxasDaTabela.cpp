#include "refresh/TaxasDaTabela.h"

#include "ratetable/BQDataModule.h"

QMap<std::int64_t, double> taxasDaTabela(TBQDataModule& dados) {
    TabelaMemoria& tabela = dados.CDSSelic;
    if (tabela.filtrado())
        tabela.defineFiltrado(false);
    // A new row not yet stored is not held.
    const int pendente =
        tabela.estado() == TabelaMemoria::Estado::Inserindo ? tabela.linhaAtualExibida() : -1;
    QMap<std::int64_t, double> taxas;
    for (int linha = 0; linha < tabela.linhasExibidas(); ++linha) {
        if (linha == pendente)
            continue;
        const QVariant data = tabela.valorExibido(linha, *dados.CDSSelicData);
        if (!data.isNull())
            taxas.insert(Datas::parteInteira(data.toDouble()),
                         tabela.valorExibido(linha, *dados.CDSSelicValor).toDouble());
    }
    return taxas;
}

std::optional<DataHora> ultimoMesDaTabela(TBQDataModule& dados) {
    const QMap<std::int64_t, double> taxas = taxasDaTabela(dados);
    if (taxas.isEmpty())
        return std::nullopt;
    return Datas::primeiroDiaDoMes(DataHora(taxas.lastKey()));
}

std::optional<MesesFaltantes> mesesFaltantes(TBQDataModule& dados, DataHora hoje) {
    const std::optional<DataHora> ultimo = ultimoMesDaTabela(dados);
    if (!ultimo)
        return std::nullopt;
    const DataHora primeiro = Datas::incrementaMes(*ultimo, 1);
    const DataHora encerrado = Datas::incrementaMes(Datas::primeiroDiaDoMes(hoje), -1);
    if (primeiro > encerrado)
        return std::nullopt;
    return MesesFaltantes{primeiro, encerrado};
}
