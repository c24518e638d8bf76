#pragma once

#include "tabela/Campo.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

// The table file: UTF-8 XML with the field definitions and the rows in stored order,
//   DATAPACKET > METADATA > FIELDS > FIELD attrname fieldtype required
//              > ROWDATA > ROW (one attribute per non-empty field)
// Dates are yyyymmdd, floating values the shortest text that reads back to the same
// double. The file is written whole through a temporary file renamed over the old one,
// so a failed write never leaves a damaged table.
struct PacoteDados {
    // Far above any real table (the official series is some 30 KiB); the read stops here.
    static constexpr qint64 TamanhoMaximo = 16 * 1024 * 1024;

    QList<DefinicaoCampo> campos;
    QList<QList<QVariant>> linhas;

    // Throws ErroTabela naming the file when it cannot be read, is larger than TamanhoMaximo,
    // nests its elements deeper than any table file or is not a table file.
    static PacoteDados le(const QString& caminho);
    void grava(const QString& caminho) const;

    // Makes the rows follow the table's own data fields (matched by name without regard
    // to case, with the same type); a file whose fields differ is refused.
    void ajustaAosCampos(const QString& caminho,
                         const std::vector<std::unique_ptr<Campo>>& camposTabela);

    // Called after the temporary file is written and before it replaces the old one;
    // lets tests fail a write at the worst moment.
    static std::function<void()>& ganchoAntesDeConfirmar();
};

QString nomeTipoNoArquivo(TipoCampo tipo);
