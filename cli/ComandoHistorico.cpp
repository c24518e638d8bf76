#include "cli/ComandoHistorico.h"

#include "cli/SessaoCli.h"
#include "historico/Historico.h"

#include <QFileInfo>

int comandoHistorico(SessaoCli& sessao) {
    const DestinoHistorico destino = DestinoHistorico::doPrograma();
    // Verifying never makes a history: a file that is not there is said as such.
    if (destino.tipo == DestinoHistorico::Tipo::SQLite && !QFileInfo::exists(destino.arquivo)) {
        sessao.erro << QStringLiteral("O histórico %1 não existe: nenhum cálculo foi registrado "
                                      "nele.")
                           .arg(destino.descricao())
                    << Qt::endl;
        return 1;
    }
    const ResultadoVerificacao resultado = Historico(destino).verifica();
    if (!resultado.integro()) {
        sessao.erro << resultado.mensagem(destino.descricao()) << Qt::endl;
        return 1;
    }
    sessao.saida << resultado.mensagem(destino.descricao()) << Qt::endl;
    return 0;
}
