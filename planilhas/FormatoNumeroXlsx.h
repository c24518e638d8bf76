#pragma once

// Whether an .xlsx number format shows a date: the file stores a date as a plain number
// (days since 30/12/1899) and tells it apart only by the cell's format.

#include <QStringView>

// The built-in formats 14 to 22 and 45 to 47, and any format whose code holds a part of a
// date or time (d, m, y, h, s) outside quoted text, escaped characters and brackets
// ([Red], [$-416]); the elapsed times [h], [mm] and [ss] are times too.
bool formatoDeData(int id, QStringView codigo);
// The built-in formats alone, for a cell whose format the file does not define.
bool formatoInternoDeData(int id);
