#include "cli/ComandoImportar.h"

#include "cli/ComandoAtualizar.h"
#include "cli/SessaoCli.h"
#include "refresh/ImportacaoSerie.h"
#include "sistema/DocumentoXML.h"
#include "sistema/MotivosFalha.h"
#include "valores/Erros.h"

#include <QFile>

#include <unistd.h>

namespace {

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
    sessao.abreTabelaParaGravar();
    return informaResultadoSerie(sessao, importaTaxas(sessao.dados(), sessao.relogio(), conteudo));
}
