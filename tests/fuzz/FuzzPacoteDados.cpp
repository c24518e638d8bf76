// The table file loader, on the rate table's own fields.
// Property: a refused file leaves the table closed and the file's bytes as they were; a
// file that loads is not rewritten when the table is closed unchanged, and the rows saved
// from it read back the same.

#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "fuzz/Alvo.h"
#include "valores/Erros.h"

#include <QFile>

namespace {

QList<QList<QVariant>> linhas(TBQDataModule& dados) {
    QList<QList<QVariant>> r;
    for (dados.CDSSelic.primeiro(); !dados.CDSSelic.fimDaTabela(); dados.CDSSelic.proximo())
        r.append({dados.CDSSelicData->valor(), dados.CDSSelicValor->valor()});
    return r;
}

QByteArray conteudo(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const QByteArray entrada = bytesDe(dados, tamanho);
    const QString arquivo = arquivoComEntrada(QStringLiteral("BELQOR.cds"), entrada);
    const QString copia = caminhoNoAlvo(QStringLiteral("copia.cds"));
    QFile::remove(copia);
    RelogioFixo relogio(Datas::codificaData(2024, 5, 15));
    DialogosRoteiro dialogos;
    QList<QList<QVariant>> lidas;
    {
        ModuloTeste modulo(relogio, dialogos, pastaDoAlvo());
        modulo.defineArquivo(arquivo);
        try {
            modulo.CDSSelic.abrir();
        } catch (const ErroBelqor&) {
            EXIGE(!modulo.CDSSelic.ativa(), arquivo);
            EXIGE(conteudo(arquivo) == entrada, arquivo);
            return 0;
        }
        lidas = linhas(modulo);
        modulo.CDSSelic.fechar();
        EXIGE(conteudo(arquivo) == entrada, arquivo);

        // Closing under a name with no file behind it writes the table there.
        modulo.CDSSelic.abrir();
        modulo.CDSSelic.defineNomeArquivo(copia);
        modulo.CDSSelic.fechar();
    }
    ModuloTeste relida(relogio, dialogos, pastaDoAlvo());
    relida.abreArquivo(copia);
    EXIGE(linhas(relida) == lidas, QString::fromUtf8(conteudo(copia)));
    return 0;
}
