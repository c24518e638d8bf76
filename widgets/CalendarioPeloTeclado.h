#pragma once

// Alt+Down and F4 open a date picker's calendar, as they open a drop-down list; Qt opens
// it on a click of the arrow only. The calendar takes the keyboard: arrows pick the day,
// Return takes it, Escape leaves the date as it was.

class QDateTimeEdit;

void abreCalendarioPeloTeclado(QDateTimeEdit* campo);
