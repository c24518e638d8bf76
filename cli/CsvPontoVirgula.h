#pragma once

#include <QString>
#include <QStringList>

// Rows as Brazilian spreadsheets save them: fields separated by ";", a field in double
// quotes when it holds a ";" or a quote, a quote inside doubled.
QStringList separaCampos(const QString& linha);
QString juntaCampos(const QStringList& campos);
