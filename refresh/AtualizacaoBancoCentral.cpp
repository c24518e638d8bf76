#include "refresh/AtualizacaoBancoCentral.h"

#include "ratetable/BQDataModule.h"
#include "refresh/ImportacaoSerie.h"
#include "refresh/LeitorSerie.h"
#include "refresh/TaxasDaTabela.h"

#include <QDate>

namespace {

QString textoData(DataHora dia) {
    return Datas::paraQDate(dia).toString(QStringLiteral("dd/MM/yyyy"));
}

QString falha(const QString& motivo) {
    return QStringLiteral("Não foi possível atualizar as taxas pelo Banco Central: %1 Tente de "
                          "novo mais tarde ou importe a série 4390 (Selic acumulada no mês) "
                          "salva do site do Banco Central em CSV ou JSON.")
        .arg(motivo);
}

// An empty table asks from the first month of the shipped table.
DataHora primeiroMesDaSerie() {
    return Datas::codificaData(1998, 1, 1);
}

} // namespace

DestinoBancoCentral DestinoBancoCentral::padrao() {
    DestinoBancoCentral d;
    d.endereco = QStringLiteral(BELQOR_SERIE_BANCO_CENTRAL);
    return d;
}

AtualizacaoBancoCentral::AtualizacaoBancoCentral(TBQDataModule& dados, const Relogio& relogio,
                                                 DestinoBancoCentral destino)
    : fDados(dados), fRelogio(relogio), fDestino(std::move(destino)) {}

QList<JanelaConsulta> AtualizacaoBancoCentral::janelas(DataHora inicio, DataHora hoje) {
    QList<JanelaConsulta> lista;
    QDate de = Datas::paraQDate(inicio);
    const QDate ate = Datas::paraQDate(hoje);
    while (de <= ate) {
        const QDate fim = std::min(de.addYears(10).addDays(-1), ate);
        lista << JanelaConsulta{Datas::deQDate(de), Datas::deQDate(fim)};
        de = fim.addDays(1);
    }
    return lista;
}

QByteArray AtualizacaoBancoCentral::enderecoDaJanela(const QString& endereco,
                                                     const JanelaConsulta& janela) {
    return (endereco + QStringLiteral("?formato=json&dataInicial=") + textoData(janela.Inicio) +
            QStringLiteral("&dataFinal=") + textoData(janela.Fim))
        .toUtf8();
}

DataHora AtualizacaoBancoCentral::primeiroMesPedido() {
    if (!fDados.CDSSelic.ativa())
        fDados.CDSSelic.abrir();
    const std::optional<DataHora> ultimo = ultimoMesDaTabela(fDados);
    return ultimo ? Datas::incrementaMes(*ultimo, 1) : primeiroMesDaSerie();
}

ResultadoSerie AtualizacaoBancoCentral::executa() {
    ResultadoSerie resultado;
    for (const JanelaConsulta& janela : janelas(primeiroMesPedido(), fRelogio.hoje())) {
        RespostaObtida resposta;
        try {
            resposta = obtemUrl(enderecoDaJanela(fDestino.endereco, janela), fDestino.opcoes);
        } catch (const ErroObtencao& e) {
            resultado.Falha = falha(e.mensagem() + QLatin1Char('.'));
            return resultado;
        }
        if (resposta.status != 200) {
            resultado.Falha = falha(
                QStringLiteral("o serviço respondeu com o status HTTP %1.").arg(resposta.status));
            return resultado;
        }
        if (formatoDoConteudo(resposta.corpo) != FormatoDocumento::Json) {
            resultado.Falha = falha(QStringLiteral("a resposta não é um documento JSON."));
            return resultado;
        }
        const LeituraSerie leitura = leSerie(resposta.corpo);
        aplicaSerie(fDados, fRelogio, leitura.Entradas, resultado);
        if (resultado.Falha.isEmpty() && !leitura.Falha.isEmpty())
            resultado.Falha = falha(leitura.Falha);
        if (!resultado.Falha.isEmpty())
            return resultado;
    }
    return resultado;
}
