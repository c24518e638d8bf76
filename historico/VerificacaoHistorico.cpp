#include "historico/VerificacaoHistorico.h"

QString ResultadoVerificacao::mensagem(const QString& descricao) const {
    switch (falha) {
    case Falha::Nenhuma:
        return QStringLiteral("O histórico %1 está íntegro: %2.")
            .arg(descricao, verificados == 1
                                ? QStringLiteral("1 registro verificado")
                                : QStringLiteral("%1 registros verificados").arg(verificados));
    case Falha::Conteudo:
        return QStringLiteral("O histórico %1 foi alterado: o conteúdo do registro %2 não confere "
                              "com o seu hash (o registro foi modificado fora do BELQOR).")
            .arg(descricao)
            .arg(registro);
    case Falha::Ligacao:
        return QStringLiteral("O histórico %1 foi alterado: o registro %2 não se liga ao registro "
                              "anterior (registros foram removidos, inseridos ou trocados fora "
                              "do BELQOR).")
            .arg(descricao)
            .arg(registro);
    case Falha::Removidos:
        return QStringLiteral("O histórico %1 foi alterado: o último registro gravado foi o %2, "
                              "mas o histórico termina antes dele (registros foram removidos do "
                              "fim fora do BELQOR).")
            .arg(descricao)
            .arg(registro);
    case Falha::Substituido:
        return QStringLiteral("O histórico %1 foi alterado: o registro %2 não é o último que o "
                              "BELQOR gravou (foi substituído fora do BELQOR).")
            .arg(descricao)
            .arg(registro);
    case Falha::Acrescentados:
        return QStringLiteral("O histórico %1 foi alterado: o registro %2 vem depois do último "
                              "gravado pelo BELQOR (foi acrescentado fora do BELQOR).")
            .arg(descricao)
            .arg(registro);
    }
    return QString();
}

bool VerificacaoCadeia::confere(const LinhaHistorico& linha) {
    if (!fResultado.integro())
        return false;
    if (hashDaLinha(linha) != linha.hash)
        fResultado.falha = ResultadoVerificacao::Falha::Conteudo;
    else if (linha.hashAnterior != fHashAnterior)
        fResultado.falha = ResultadoVerificacao::Falha::Ligacao;
    if (!fResultado.integro()) {
        fResultado.registro = linha.id;
        return false;
    }
    ++fResultado.verificados;
    fIdAnterior = linha.id;
    fHashAnterior = linha.hash;
    return true;
}

ResultadoVerificacao VerificacaoCadeia::conclui(qint64 ultimo, const QString& hashUltimo) {
    if (!fResultado.integro() || (fIdAnterior == ultimo && fHashAnterior == hashUltimo))
        return fResultado;
    // Every record read linked to the one before: the chain is whole up to the last one
    // read, which is not the tail.
    if (fIdAnterior > ultimo) {
        fResultado.falha = ResultadoVerificacao::Falha::Acrescentados;
        fResultado.registro = ultimo + 1;
    } else if (fIdAnterior == ultimo) {
        fResultado.falha = ResultadoVerificacao::Falha::Substituido;
        fResultado.registro = ultimo;
    } else {
        fResultado.falha = ResultadoVerificacao::Falha::Removidos;
        fResultado.registro = ultimo;
    }
    return fResultado;
}
