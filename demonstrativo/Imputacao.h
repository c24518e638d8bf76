#pragma once

// Partial payments of one debt, allocated proportionally: each payment, taken in date order,
// is split among the principal still open, its penalty and its interest on the day it was
// made, in the proportions of the three in what settling the debt would have cost that day.
// What the payments leave of the principal is then calculated to the statement's date as
// any debt is, from its original due date.

#include "calc/Calculo.h"
#include "calc/MemoriaCalculo.h"

#include <QList>
#include <QString>

class TBQDataModule;

struct PagamentoParcial {
    DataHora Data = Datas::Vazia;
    QString Valor; // as typed: "500,00"

    friend bool operator==(const PagamentoParcial&, const PagamentoParcial&) = default;
};

// One payment and its split. With P the principal open before it and T what settling P
// would have cost that day (P + M + J), a payment x below T gives the principal
// A = P × x ÷ T and the penalty B = M × x ÷ T, each rounded to cents, and the interest
// C = x − A − B; a payment of T or more settles the debt, A = P, B = M, C = J, and the
// rest was paid in excess.
struct ParcelaImputada {
    DataHora Data = Datas::Vazia;
    Moeda Pago;
    Moeda PrincipalAntes;    // P
    ResultadoCalculo NaData; // M, J and T as if P were paid in full that day
    MemoriaCalculo Memoria;  // how NaData was reached
    Moeda Principal;         // A
    Moeda Multa;             // B
    Moeda Juros;             // C
    Moeda PagoAMaior;        // x − T when the payment settles the debt
    bool Quita = false;
    qsizetype Pagamento = -1; // its place in the payments as given, before they were sorted

    friend bool operator==(const ParcelaImputada&, const ParcelaImputada&) = default;
};

struct Imputacao {
    QList<ParcelaImputada> Parcelas; // in date order
    Moeda PrincipalEmAberto;         // after the last payment
    bool Quitado = false;
    Moeda Pago;       // the payments' sum
    QString Mensagem; // the refusal that stopped it; empty when every payment was taken

    friend bool operator==(const Imputacao&, const Imputacao&) = default;
};

// "O pagamento parcial de 10/03/2020 deve ser dia útil!" and its kin: a payment must fall on
// a working day, not before the debt's due date, not after the statement's payment date,
// and not after a payment that settled the debt. The first refusal stops the allocation
// and is kept in Mensagem. The calculation of each day's cost may refuse too (missing
// rates); its message is kept the same way.
// With previsao, each day's cost may use estimated months (CalculaValores).
Imputacao imputaPagamentos(TBQDataModule& dados, Moeda principal, DataHora vencimento,
                           const QList<PagamentoParcial>& pagamentos, DataHora dataDemonstrativo,
                           const PrevisaoTaxas* previsao = nullptr);
