#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class Campo;
class TabelaMemoria;

// A table filter: comparisons (=, <>, <, >, <=, >=) between fields and constants, joined
// by AND, OR and NOT with parentheses. Field names match without regard to case; a
// constant between single quotes compared with a date field is read in the short date
// pattern (optionally followed by a time) and compared as a date. An empty field
// matches no comparison. The text is parsed once; each row is then tested on its stored
// values.
class FiltroExpressao {
public:
    // Throws ErroTabela for a malformed or incomplete expression, an unknown field or a
    // constant that the field cannot hold.
    FiltroExpressao(const QString& texto, const TabelaMemoria& tabela);
    ~FiltroExpressao();

    // A row's stored values, one per data field in field order.
    bool avalia(const QList<QVariant>& linha) const;

    // When the whole expression is a conjunction of =, <, >, <= and >= on one floating or
    // date field, the closed or open range it selects: a row matches exactly when its
    // value lies in it. Lets the table answer from an ordered index instead of a scan.
    struct Intervalo {
        int indiceDados = -1;
        double minimo = 0, maximo = 0;
        bool temMinimo = false, temMaximo = false;
        bool minimoIncluso = true, maximoIncluso = true;
    };
    const std::optional<Intervalo>& intervalo() const { return fIntervalo; }

    struct No;

private:
    std::unique_ptr<No> fRaiz;
    std::optional<Intervalo> fIntervalo;
};
