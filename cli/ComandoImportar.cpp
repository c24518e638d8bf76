#include "cli/ComandoImportar.h"

#include "cli/ComandoAtualizar.h"
#include "cli/SessaoCli.h"
#include "refresh/ImportacaoSerie.h"
#include "sistema/MotivosFalha.h"
#include "valores/Erros.h"

#include <QFile>

#include <unistd.h>

namespace {

// "-" is standard input, read as a file is, under the same limit.
QByteArray leEntrada(const QString& caminho) {
    if (caminho != QLatin1String("-"))
        return leArquivoTaxas(caminho);
    QFile entrada;
    if (!entrada.open(STDIN_FILENO, QIODevice::ReadOnly))
        throw ErroEntradaSaida(QStringLiteral("Não foi possível ler a entrada padrão: %1")
                                   .arg(motivoDoArquivo(entrada)));
    return leDocumentoTaxas(entrada, QStringLiteral("a entrada padrão"));
}

} // namespace

int comandoImportar(SessaoCli& sessao, const QStringList& argumentos) {
    const QByteArray conteudo = leEntrada(argumentos[0]);
    sessao.abreTabelaParaGravar();
    return informaResultadoSerie(sessao, importaTaxas(sessao.dados(), sessao.relogio(), conteudo));
}
