#include "calc/MemoriaCalculo.h"

QString textoRegraMulta(const MemoriaCalculo& memoria) {
    return memoria.RegrasNovas ? QStringLiteral("regras novas (vencimento após 31/10/2003)")
                               : QStringLiteral("regras antigas (vencimento até 31/10/2003)");
}

QString textoFaixaMulta(const MemoriaCalculo& memoria) {
    switch (memoria.Faixa) {
    case FaixaMulta::SemAtraso:
        break;
    case FaixaMulta::PorDia:
        return QStringLiteral("%1: 0,15 % ao dia × %2 dias")
            .arg(memoria.RegrasNovas ? QStringLiteral("1 a 30 dias")
                                     : QStringLiteral("1 a 79 dias"))
            .arg(memoria.Dias);
    case FaixaMulta::Intermediaria:
        return QStringLiteral("31 a 60 dias: 9 %");
    case FaixaMulta::Teto:
        return memoria.RegrasNovas ? QStringLiteral("61 dias ou mais: 12 %")
                                   : QStringLiteral("80 dias ou mais: 12 %");
    }
    return QStringLiteral("sem atraso: sem multa");
}
