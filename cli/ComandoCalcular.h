#pragma once

#include <QStringList>

class SessaoCli;

// calcular VALOR VENCIMENTO PAGAMENTO: the six results labelled as the window labels
// them, then how they came about; as one JSON object when asked. With pdf, the
// calculation memory is written to that file first. With registrar, the calculation is
// recorded in the history and its number given ("Registro N no histórico.", or "registro"
// in the JSON object); a history that cannot be written is said on standard error and the
// calculation stands. 0 on success.
int comandoCalcular(SessaoCli& sessao, const QStringList& argumentos, bool json, const QString& pdf,
                    bool registrar);
