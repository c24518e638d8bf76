#pragma once

// The calculation window and the history meet here, at the program's level: every
// successful "&Calcular" is recorded, made by the program's clock by this user on this
// machine. Recording never holds the window back: a history that cannot be written is
// said once, as a warning, and the results stay on screen.

#include "historico/RegistradorHistorico.h"

#include <QString>

class Dialogos;
class Relogio;
class TfrmCalcular;

// The recorder's warning: one dialog with an Ok button.
RegistradorHistorico::Aviso avisoDoHistorico(Dialogos& dialogos);

void registraCalculosDaJanela(TfrmCalcular& janela, RegistradorHistorico& registrador,
                              const Relogio& relogio, const QString& versao);
