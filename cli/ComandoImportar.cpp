#include "cli/ComandoImportar.h"

#include "refresh/BQrnSELIC.h"
#include "cli/ComandoAtualizar.h"
#include "framework/ConfigApp.h"
#include "sistema/DocumentoXML.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "refresh/ImportacaoSerie.h"
#include "sistema/MotivosFalha.h"
#include "cli/SessaoCli.h"

#include <QFile>
#include <QSet>

#include <unistd.h>

namespace {

struct Contagem {
    int incluidos = 0;
    int jaPresentes = 0;
    int futuros = 0;
    int recusados = 0;
};

QSet<std::int64_t> mesesDaTabela(TBQDataModule& dados) {
    QSet<std::int64_t> meses;
    TabelaMemoria& tabela = dados.CDSSelic;
    if (tabela.estado() != TabelaMemoria::Estado::Navegando)
        return meses;
    for (tabela.primeiro(); !tabela.fimDaTabela(); tabela.proximo())
        meses.insert(Datas::parteInteira(dados.CDSSelicData->comoDataHora()));
    return meses;
}

// Tells apart, entry by entry, what the insertion made of the months the import handed
// over: the entries are read the way the import reads them, and the read stops where the
// import's walk stopped. A refused month leaves nothing pending (InsereRegistro drops the
// row it began), so the entries after it are told apart as the first ones.
Contagem contaEntradas(DocumentoXML& xml, const QSet<std::int64_t>& antes,
                       const QSet<std::int64_t>& depois, DataHora agora) {
    Contagem c;
    QDomElement lista;
    for (QDomNode n = xml.documento().firstChild(); !n.isNull(); n = n.nextSibling())
        if (n.isElement() && n.nodeName() == QLatin1String("list"))
            lista = n.toElement();
    if (lista.isNull())
        return c;
    QSet<std::int64_t> vistos = antes;
    const QDomNodeList entradas = lista.childNodes();
    for (int i = 0; i < entradas.size(); ++i) {
        DataHora dt = 0;
        try {
            const QString texto =
                textoSimples(xml.filho(entradas.at(i), QStringLiteral("dataSelic")));
            dt = Formato::textoParaData(texto.mid(8, 2) + QLatin1Char('/') + texto.mid(5, 2) +
                                        QLatin1Char('/') + texto.mid(0, 4));
            QString valor =
                textoSimples(xml.filho(entradas.at(i), QStringLiteral("valorTaxaSelic")));
            Formato::textoParaEstendido(valor.replace(QLatin1Char('.'), QLatin1Char(',')));
        } catch (const ErroBelqor&) {
            break;
        }
        const std::int64_t dia = Datas::parteInteira(dt);
        if (vistos.contains(dia)) {
            ++c.jaPresentes;
        } else if (dt > agora) {
            ++c.futuros;
        } else if (depois.contains(dia)) {
            ++c.incluidos;
            vistos.insert(dia);
        } else {
            ++c.recusados;
        }
    }
    return c;
}

// "-" is standard input, read up to the cap a file has.
QByteArray leEntrada(const QString& caminho) {
    if (caminho != QLatin1String("-"))
        return leArquivoTaxas(caminho);
    QFile entrada;
    if (!entrada.open(STDIN_FILENO, QIODevice::ReadOnly))
        throw ErroEntradaSaida(QStringLiteral("Não foi possível ler a entrada padrão: %1")
                                   .arg(motivoDoArquivo(entrada)));
    const QByteArray conteudo = entrada.read(DocumentoXML::TamanhoMaximo + 1);
    if (conteudo.size() > DocumentoXML::TamanhoMaximo)
        throw ErroBelqor(
            QStringLiteral("A entrada padrão é grande demais para um documento de taxas."));
    return conteudo;
}

} // namespace

int comandoImportar(SessaoCli& sessao, const QStringList& argumentos) {
    const QByteArray conteudo = leEntrada(argumentos[0]);
    if (formatoDoConteudo(conteudo) != FormatoDocumento::Xml) {
        sessao.abreTabelaParaGravar();
        return informaResultadoSerie(sessao,
                                     importaSerie(sessao.dados(), sessao.relogio(), conteudo));
    }
    DocumentoXML xml;
    QStringList linhas = QString::fromUtf8(conteudo).split(QLatin1Char('\n'));
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    xml.Linhas = linhas;

    TBQDataModule& dados = sessao.dados();
    sessao.abreTabelaParaGravar();
    const QSet<std::int64_t> antes = mesesDaTabela(dados);

    ResultadoImportacao leitura;
    try {
        leitura = TSelicRN(dados, sessao.relogio()).importaTaxasComResultado(xml);
    } catch (const ErroBelqor& e) {
        sessao.erro << "FALHA AO ATUALIZAR ÍNDICES" << '\n' << emUmaLinha(e.mensagem()) << Qt::endl;
        return 1;
    }
    // A refused month is left pending; it is dropped, never stored.
    if (dados.CDSSelic.estado() == TabelaMemoria::Estado::Inserindo)
        dados.CDSSelic.cancelar();
    const QSet<std::int64_t> depois = mesesDaTabela(dados);
    const Contagem c = contaEntradas(xml, antes, depois, sessao.relogio().agora());
    sessao.fechaTabela();

    sessao.saida << "Meses incluídos: " << (depois - antes).size() << '\n'
                 << "Meses já presentes: " << c.jaPresentes << '\n'
                 << "Meses ainda não divulgados (ignorados): " << c.futuros << '\n'
                 << "Meses recusados: " << c.recusados << '\n';
    sessao.saida.flush();
    if (!leitura.completa) {
        // Logging switches itself off when the log cannot be written: then only this says it.
        sessao.erro << "A leitura do documento parou numa entrada com falha";
        if (dados.ConfigApp.GeraLog())
            sessao.erro << " (registrada em " << dados.ConfigApp.caminhoArqLog() << ')';
        sessao.erro << ":\n" << emUmaLinha(leitura.mensagem) << Qt::endl;
    }
    return (!leitura.completa || c.recusados > 0) ? 1 : 0;
}
