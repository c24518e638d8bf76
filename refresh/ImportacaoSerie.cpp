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
#include <cmath>

namespace {

// Rates are kept and shown to six decimals; closer than that they are the same rate.
bool mesmaTaxa(double a, double b) {
    return std::abs(a - b) < 0.5e-6;
}

// A refused month must not stay pending for the next insertion to meet again.
void descartaPendente(TBQDataModule& dados) {
    if (dados.CDSSelic.estado() == TabelaMemoria::Estado::Inserindo)
        dados.CDSSelic.cancelar();
}

// The rate service document through the start-up refresh's import: the months it added,
// and where its walk stopped when it wrote a log line.
ResultadoSerie importaDocumentoXml(TBQDataModule& dados, const Relogio& relogio,
                                   const QByteArray& conteudo) {
    ResultadoSerie resultado;
    DocumentoXML xml;
    QStringList linhas = QString::fromUtf8(conteudo).split(QLatin1Char('\n'));
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    xml.Linhas = linhas;
    if (!dados.CDSSelic.ativa())
        dados.CDSSelic.abrir();
    const QMap<std::int64_t, double> antes = taxasDaTabela(dados);
    ResultadoImportacao leitura;
    try {
        leitura = TSelicRN(dados, relogio).importaTaxasComResultado(xml);
    } catch (const ErroBelqor& e) {
        resultado.Falha =
            QStringLiteral("O documento de taxas não pôde ser lido: %1").arg(e.mensagem());
    }
    descartaPendente(dados);
    const QMap<std::int64_t, double> depois = taxasDaTabela(dados);
    for (auto m = depois.cbegin(); m != depois.cend(); ++m)
        if (!antes.contains(m.key()))
            resultado.Meses << DesfechoMes{DataHora(m.key()), SituacaoMes::Incluido, m.value(), 0};
    // Logging switches itself off when the log cannot be written: then the message goes here.
    if (resultado.Falha.isEmpty() && !leitura.completa)
        resultado.Falha =
            dados.ConfigApp.GeraLog()
                ? QStringLiteral("A leitura do documento parou numa entrada com falha, "
                                 "registrada em %1.")
                      .arg(dados.ConfigApp.caminhoArqLog())
                : QStringLiteral("A leitura do documento parou numa entrada com falha: %1")
                      .arg(leitura.mensagem);
    return resultado;
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
        DesfechoMes desfecho{e.Mes, SituacaoMes::Incluido, e.Valor, 0};
        if (taxas.contains(dia)) {
            desfecho.NaTabela = taxas.value(dia);
            desfecho.Situacao = mesmaTaxa(desfecho.NaTabela, e.Valor) ? SituacaoMes::JaPresente
                                                                      : SituacaoMes::OutraTaxa;
        } else if (hoje < Datas::incrementaMes(e.Mes, 1)) {
            desfecho.Situacao = SituacaoMes::NaoEncerrado;
        } else if (!dados.InsereRegistro(e.Mes, e.Valor)) {
            descartaPendente(dados);
            resultado.Falha = QStringLiteral("A tabela recusou o mês %1; a leitura parou nele.")
                                  .arg(Formato::mesAno(e.Mes));
            return;
        } else {
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

ResultadoSerie importaArquivoTaxas(TBQDataModule& dados, const Relogio& relogio,
                                   const QString& caminho) {
    const QByteArray conteudo = leArquivoTaxas(caminho);
    if (formatoDoConteudo(conteudo) == FormatoDocumento::Xml)
        return importaDocumentoXml(dados, relogio, conteudo);
    return importaSerie(dados, relogio, conteudo);
}

QByteArray leArquivoTaxas(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        throw ErroEntradaSaida(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                                   .arg(caminho, motivoDoArquivo(f)));
    QByteArray bytes;
    switch (leAteOLimite(f, DocumentoXML::TamanhoMaximo, bytes)) {
    case ResultadoLeitura::Completa:
        break;
    case ResultadoLeitura::GrandeDemais:
        throw ErroBelqor(QStringLiteral("O arquivo \"%1\" é grande demais para um documento de "
                                        "taxas (mais de %2).")
                             .arg(caminho, textoLimite(DocumentoXML::TamanhoMaximo)));
    case ResultadoLeitura::Falhou:
        throw ErroEntradaSaida(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                                   .arg(caminho, motivoDoArquivo(f)));
    }
    return bytes;
}
