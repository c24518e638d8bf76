#include "calc/FormataResultado.h"

#include "valores/Formatacao.h"

QString formataReais(Moeda valor) {
    return Formato::formataMoedaAgrupada(valor);
}

QStringView formataReais(Moeda valor, Formato::EspacoMoeda& espaco) {
    return Formato::formataMoedaAgrupada(valor, espaco);
}

QString formataPercentual(Estendido percentual) {
    return Formato::formataNumero(QStringLiteral("#,###,##0.000000"), percentual);
}

QString formataDias(std::int64_t dias) {
    return QString::number(dias);
}

QString formataTaxa(Estendido percentual) {
    return formataPercentual(percentual) + QStringLiteral(" %");
}

ResultadoFormatado formataResultado(const ResultadoCalculo& r) {
    ResultadoFormatado f;
    f.Dias = formataDias(r.Dias);
    f.Taxa = formataTaxa(r.TaxaJuros * 100);
    f.Valor = formataReais(r.ValorICMS);
    f.Multa = formataReais(r.MultaMora);
    f.Juros = formataReais(r.JurosMora);
    f.Total = formataReais(r.Total);
    return f;
}
