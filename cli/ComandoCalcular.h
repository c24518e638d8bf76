#pragma once

#include <QStringList>

class SessaoCli;

// calcular VALOR VENCIMENTO PAGAMENTO: the six results labelled as the window labels
// them, then how they came about; as one JSON object when asked. With pdf, the
// calculation memory is written to that file first. 0 on success.
int comandoCalcular(SessaoCli& sessao, const QStringList& argumentos, bool json,
                    const QString& pdf);
