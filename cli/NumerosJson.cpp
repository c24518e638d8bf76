#include "cli/NumerosJson.h"

#include "valores/Formatacao.h"

QString decimalComPonto(Moeda valor) {
    const std::int64_t c = valor.contagem();
    if (c % 100 != 0)
        return valor.textoDecimal();
    const std::int64_t centavos = c / 100;
    const std::int64_t absoluto = centavos < 0 ? -centavos : centavos;
    return QStringLiteral("%1%2.%3")
        .arg(centavos < 0 ? QStringLiteral("-") : QString())
        .arg(absoluto / 100)
        .arg(absoluto % 100, 2, 10, QLatin1Char('0'));
}

QString percentualComPonto(Estendido taxa) {
    ConfiguracaoRegional ponto = regional();
    ponto.separadorDecimal = QLatin1Char('.');
    return Formato::formataNumero(QStringLiteral("0.000000"), taxa * 100, ponto);
}
