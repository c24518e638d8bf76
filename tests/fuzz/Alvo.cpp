#include "fuzz/Alvo.h"

#include "valores/ConfiguracaoRegional.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

QTemporaryDir& pasta() {
    static QTemporaryDir pasta;
    return pasta;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char*** argv) {
    static int argc = 1;
    static char* argumentos[] = {(*argv)[0], nullptr};
    static QCoreApplication aplicacao(argc, argumentos);
    regional() = ConfiguracaoRegional::brasileira();
    return 0;
}

QByteArray bytesDe(const std::uint8_t* dados, std::size_t tamanho) {
    return QByteArray(reinterpret_cast<const char*>(dados), qsizetype(tamanho));
}

QString pastaDoAlvo() {
    return pasta().path();
}

QString caminhoNoAlvo(const QString& nome) {
    return pasta().filePath(nome);
}

QString arquivoComEntrada(const QString& nome, const QByteArray& bytes) {
    const QString caminho = caminhoNoAlvo(nome);
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        propriedadeViolada("arquivo de entrada gravado", caminho);
    return caminho;
}

void propriedadeViolada(const char* propriedade, const QString& detalhe) {
    std::fprintf(stderr, "Propriedade violada: %s\n%s\n", propriedade, qPrintable(detalhe));
    std::abort();
}
