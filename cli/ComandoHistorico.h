#pragma once

class SessaoCli;

// historico --verificar: walks the chain of the program's history (BELQOR_HISTORICO, else
// the file beside the table). 0 and one line on standard output when it is whole; 1 with
// the first record that does not match on standard error, or when there is no history.
int comandoHistorico(SessaoCli& sessao);
