#include "refresh/ImportacaoSerie.h"

#include "ratetable/BQDataModule.h"
#include "refresh/BQrnSELIC.h"
#include "sistema/DocumentoXML.h"
#include "valores/Erros.h"
#include "sistema/LeituraLimitada.h"
#include "sistema/MotivosFalha.h"
#include "refresh/TaxasDaTabela.h"
#include "valores/Formatacao.h"

#include <QFile>

#include <algorithm>

namespace {

// A refused month must not stay pending for the next insertion to meet again.
void descartaPendente(TBQDataModule& dados) {
    if (dados.CDSSelic.estado() == TabelaMemoria::Estado::Inserindo)
        dados.CDSSelic.cancelar();
}

// The rate service document through the start-up refresh's import, which tells entry by
// entry what became of it; a document that does not parse imports nothing.
ResultadoSerie importaDocumentoXml(TBQDataModule& dados, const Relogio& relogio,
                                   const QByteArray& conteudo) {
    DocumentoXML xml;
    QStringList linhas = QString::fromUtf8(conteudo).split(QLatin1Char('\n'));
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    xml.Linhas = linhas;
    try {
        return TSelicRN(dados, relogio).importaTaxasComResultado(xml);
    } catch (const ErroBelqor& e) {
        ResultadoSerie resultado;
        resultado.Falha =
            QStringLiteral("O documento de taxas não pôde ser lido: %1").arg(e.mensagem());
        return resultado;
    }
}

// `origem` as the first words of a sentence.
QString inicioDeFrase(const QString& origem) {
    return origem.left(1).toUpper() + origem.mid(1);
}

} // namespace

void aplicaSerie(TBQDataModule& dados, const Relogio& relogio, const QList<EntradaSerie>& entradas,
                 ResultadoSerie& resultado) {
    if (!dados.CDSSelic.ativa())
        dados.CDSSelic.abrir();
    QMap<std::int64_t, double> taxas = taxasDaTabela(dados);
    QList<EntradaSerie> emOrdem = entradas;
    std::stable_sort(emOrdem.begin(), emOrdem.end(),
                     [](const EntradaSerie& a, const EntradaSerie& b) { return a.Mes < b.Mes; });
    const DataHora hoje = relogio.hoje();
    for (const EntradaSerie& e : emOrdem) {
        const std::int64_t dia = Datas::parteInteira(e.Mes);
        DesfechoMes desfecho;
        if (taxas.contains(dia)) {
            desfecho = desfechoDaInsercao(
                e.Mes, e.Valor, {DesfechoInsercao::Tipo::Presente, taxas.value(dia), {}}, hoje);
        } else if (!mesEncerrado(e.Mes, hoje)) {
            desfecho = {e.Mes, SituacaoMes::NaoEncerrado, e.Valor, 0, {}};
        } else {
            desfecho = desfechoDaInsercao(e.Mes, e.Valor,
                                          dados.insereRegistroComDesfecho(e.Mes, e.Valor), hoje);
            if (desfecho.Situacao == SituacaoMes::Recusado) {
                descartaPendente(dados);
                resultado.Falha = QStringLiteral("A tabela recusou o mês %1; a leitura parou nele.")
                                      .arg(Formato::mesAno(e.Mes));
                return;
            }
            taxas.insert(dia, e.Valor);
        }
        resultado.Meses << desfecho;
    }
}

ResultadoSerie importaSerie(TBQDataModule& dados, const Relogio& relogio,
                            const QByteArray& conteudo) {
    const LeituraSerie leitura = leSerie(conteudo);
    ResultadoSerie resultado;
    aplicaSerie(dados, relogio, leitura.Entradas, resultado);
    if (resultado.Falha.isEmpty())
        resultado.Falha = leitura.Falha;
    return resultado;
}

ResultadoSerie importaTaxas(TBQDataModule& dados, const Relogio& relogio,
                            const QByteArray& conteudo) {
    if (formatoDoConteudo(conteudo) == FormatoDocumento::Xml)
        return importaDocumentoXml(dados, relogio, conteudo);
    return importaSerie(dados, relogio, conteudo);
}

ResultadoSerie importaArquivoTaxas(TBQDataModule& dados, const Relogio& relogio,
                                   const QString& caminho) {
    return importaTaxas(dados, relogio, leArquivoTaxas(caminho));
}

QByteArray leArquivoTaxas(const QString& caminho) {
    QFile f(caminho);
    const QString origem = QStringLiteral("o arquivo \"%1\"").arg(caminho);
    if (!f.open(QIODevice::ReadOnly))
        throw ErroEntradaSaida(
            QStringLiteral("Não foi possível ler %1: %2").arg(origem, motivoDoArquivo(f)));
    return leDocumentoTaxas(f, origem);
}

QByteArray leDocumentoTaxas(QFile& aberto, const QString& origem) {
    QByteArray bytes;
    switch (leAteOLimite(aberto, DocumentoXML::TamanhoMaximo, bytes)) {
    case ResultadoLeitura::Completa:
        break;
    case ResultadoLeitura::GrandeDemais:
        throw ErroBelqor(QStringLiteral("%1 é grande demais para um documento de taxas (mais de "
                                        "%2).")
                             .arg(inicioDeFrase(origem), textoLimite(DocumentoXML::TamanhoMaximo)));
    case ResultadoLeitura::Falhou:
        throw ErroEntradaSaida(
            QStringLiteral("Não foi possível ler %1: %2").arg(origem, motivoDoArquivo(aberto)));
    }
    return bytes;
}
