#include "refresh/MesesDaTabelaPadrao.h"

#include "ratetable/BQDataModule.h"
#include "valores/Erros.h"
#include "refresh/ImportacaoSerie.h"
#include "tabela/PacoteDados.h"

namespace {

// The default's months, read as the table reads its own file.
QList<EntradaSerie> mesesDoArquivo(TBQDataModule& dados, const QString& arquivo) {
    PacoteDados pacote = PacoteDados::le(arquivo);
    pacote.ajustaAosCampos(arquivo, dados.CDSSelic.campos());
    const int data = dados.CDSSelicData->indiceDados();
    const int valor = dados.CDSSelicValor->indiceDados();
    QList<EntradaSerie> meses;
    for (const QList<QVariant>& linha : pacote.linhas)
        if (!linha.value(data).isNull() && !linha.value(valor).isNull())
            meses << EntradaSerie{linha[data].toDouble(), linha[valor].toDouble()};
    return meses;
}

} // namespace

ResultadoSerie incluiMesesDaTabelaPadrao(TBQDataModule& dados, const Relogio& relogio) {
    ResultadoSerie resultado;
    const QString padrao = dados.locais().tabelaPadraoPara(dados.ArqDados);
    if (padrao.isEmpty())
        return resultado;
    QList<EntradaSerie> meses;
    try {
        meses = mesesDoArquivo(dados, padrao);
    } catch (const ErroBelqor& e) {
        resultado.Falha =
            QStringLiteral("Os meses da tabela Selic instalada com o programa não puderam ser "
                           "lidos: %1")
                .arg(e.mensagem());
        return resultado;
    }
    aplicaSerie(dados, relogio, meses, resultado);
    resultado.Meses.removeIf(
        [](const DesfechoMes& m) { return m.Situacao == SituacaoMes::JaPresente; });
    return resultado;
}

QStringList linhasTabelaPadrao(const ResultadoSerie& resultado) {
    if (!resultado.incluiu() && resultado.Falha.isEmpty())
        return {};
    return QStringList{QStringLiteral("Tabela Selic instalada com o programa:")} +
           linhasResultado(resultado);
}
