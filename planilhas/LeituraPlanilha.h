#pragma once

// Spreadsheet files read into rows of typed cells: the first sheet of an .xlsx workbook or
// of an .ods spreadsheet. The file is read whole under a cap, its zip container opened in
// memory (PacoteZip), its XML read in one bounded pass (XmlPlanilha), its rows gathered
// under the sheet's bounds (MontagemFolha). A file that is damaged, protected by a password,
// not a spreadsheet of its kind, or too large gives one message naming it (ErrosPlanilha).

#include "planilhas/CelulaPlanilha.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

enum class FormatoPlanilha { Csv, Xlsx, Ods };

// By the name's extension, without regard to case; nothing for any other.
std::optional<FormatoPlanilha> formatoPelaExtensao(const QString& caminho);
// ".csv", ".xlsx", ".ods"
QString extensaoDoFormato(FormatoPlanilha formato);

// The file itself, compressed: far beyond any spreadsheet of debts.
constexpr qint64 TamanhoMaximoPlanilha = qint64(64) << 20;

// The rows of the first sheet that hold anything; formato is Xlsx or Ods (a CSV file is
// read row by row with LeitorCsv). Throws ErroEntradaSaida when the file cannot be read and
// ErroPlanilha when it is refused, each naming the file as caminho words it.
QList<LinhaPlanilha> lePrimeiraFolha(const QString& caminho, FormatoPlanilha formato);
// The same from the file's bytes; nome words it in the messages.
QList<LinhaPlanilha> lePrimeiraFolha(const QByteArray& bytes, const QString& nome,
                                     FormatoPlanilha formato);
// The sheet at indice (0 the first) in the file's order, read and refused as the first is;
// nothing when the file has no sheet so far along.
std::optional<QList<LinhaPlanilha>> leFolha(const QString& caminho, FormatoPlanilha formato,
                                            int indice);
std::optional<QList<LinhaPlanilha>> leFolha(const QByteArray& bytes, const QString& nome,
                                            FormatoPlanilha formato, int indice);
