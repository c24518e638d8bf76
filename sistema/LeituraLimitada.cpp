#include "sistema/LeituraLimitada.h"

#include <algorithm>

ResultadoLeitura leAteOLimite(QIODevice& arquivo, qint64 limite, QByteArray& conteudo) {
    constexpr qint64 Bloco = 64 * 1024;
    conteudo.clear();
    for (;;) {
        // One byte past the limit is enough to know the content is too large.
        const qint64 falta = limite + 1 - conteudo.size();
        if (falta <= 0) {
            conteudo.clear();
            return ResultadoLeitura::GrandeDemais;
        }
        const qsizetype antes = conteudo.size();
        conteudo.resize(antes + std::min(Bloco, falta));
        const qint64 lidos = arquivo.read(conteudo.data() + antes, conteudo.size() - antes);
        conteudo.resize(antes + std::max<qint64>(lidos, 0));
        if (lidos < 0) {
            conteudo.clear();
            return ResultadoLeitura::Falhou;
        }
        if (lidos == 0)
            return ResultadoLeitura::Completa;
    }
}

QString textoLimite(qint64 limite) {
    return QStringLiteral("%1 MiB").arg(limite / (1024 * 1024));
}
