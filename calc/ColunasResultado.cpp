#include "calc/ColunasResultado.h"

#include "calc/FormataResultado.h"

#include <charconv>
#include <cstring>

const QStringList& nomesColunasResultado() {
    static const QStringList nomes{QStringLiteral("dias"),  QStringLiteral("taxa"),
                                   QStringLiteral("multa"), QStringLiteral("juros"),
                                   QStringLiteral("total"), QStringLiteral("mensagem")};
    return nomes;
}

const TextosResultado::Colunas& TextosResultado::de(const ResultadoCalculo& r) {
    // Days as QString::number writes them, into the room kept for them.
    char digitos[24];
    const auto fim = std::to_chars(digitos, digitos + sizeof digitos, r.Dias).ptr;
    const qsizetype n = fim - digitos;
    for (qsizetype i = 0; i < n; ++i)
        fDias[std::size_t(i)] = QLatin1Char(digitos[i]);

    static_assert(sizeof(Estendido) >= 10);
    std::pair<quint64, quint16> chave{};
    std::memcpy(&chave.first, &r.TaxaJuros, sizeof chave.first);
    std::memcpy(&chave.second, reinterpret_cast<const char*>(&r.TaxaJuros) + 8,
                sizeof chave.second);
    auto taxa = fTaxas.constFind(chave);
    if (taxa == fTaxas.cend()) {
        if (fTaxas.size() >= 65536)
            fTaxas.clear();
        taxa = fTaxas.insert(chave, formataPercentual(r.TaxaJuros * 100));
    }

    fColunas = {QStringView(fDias.data(), n),      *taxa,
                formataReais(r.MultaMora, fMulta), formataReais(r.JurosMora, fJuros),
                formataReais(r.Total, fTotal),     QStringView()};
    return fColunas;
}

const TextosResultado::Colunas& TextosResultado::deFalha(QStringView mensagem) {
    fColunas = {};
    fColunas[5] = mensagem;
    return fColunas;
}
