#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class Campo;
class TabelaMemoria;

// A table filter: comparisons (=, <>, <, >, <=, >=) between fields and constants, joined
// by AND, OR and NOT with parentheses. Field names match without regard to case; a
// constant between single quotes compared with a date field is read in the short date
// pattern (optionally followed by a time) and compared as a date. An empty field
// matches no comparison.
class FiltroExpressao {
public:
    // Throws ErroTabela for a malformed expression or an unknown field.
    FiltroExpressao(const QString& texto, const TabelaMemoria& tabela);
    ~FiltroExpressao();

    bool avalia(const std::function<QVariant(const Campo&)>& valorDe) const;

    struct No;

private:
    std::unique_ptr<No> fRaiz;
};
