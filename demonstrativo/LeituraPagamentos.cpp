#include "demonstrativo/LeituraPagamentos.h"

#include "demonstrativo/CelulasLidas.h"
#include "planilhas/LeituraPlanilha.h"
#include "planilhas/LinhasPlanilha.h"
#include "valores/Erros.h"

#include <QHash>

#include <array>
#include <functional>

namespace {

enum Coluna { Referencia, Data, Valor, Colunas };

std::optional<Coluna> colunaNomeada(const CelulaPlanilha& celula) {
    if (celula.tipo != CelulaPlanilha::Tipo::Texto)
        return std::nullopt;
    const QString nome = semAcentos(celula.texto);
    if (nome == QLatin1String("referencia"))
        return Referencia;
    if (nome == QLatin1String("data"))
        return Data;
    if (nome == QLatin1String("valor"))
        return Valor;
    return std::nullopt;
}

// The payments of the rows `percorre` walks; nothing when no row is the header.
std::optional<PagamentosLidos>
pagamentosDasLinhas(const std::function<void(const VisitaLinha&)>& percorre) {
    PagamentosLidos lidos;
    std::array<qsizetype, Colunas> colunas{-1, -1, -1};
    bool comCabecalho = false;
    const auto celula = [&colunas](const LinhaPlanilha& linha, Coluna c) -> CelulaPlanilha {
        const qsizetype i = colunas[c];
        return i >= 0 && i < linha.celulas.size() ? linha.celulas[i] : CelulaPlanilha();
    };
    percorre([&](const LinhaPlanilha& linha, const QString& falha) {
        if (!comCabecalho) {
            // The first row that names the three columns is the header; rows above it
            // (a title) are passed over.
            std::array<qsizetype, Colunas> achadas{-1, -1, -1};
            for (qsizetype i = 0; i < linha.celulas.size(); ++i)
                if (const auto c = colunaNomeada(linha.celulas[i]); c && achadas[*c] < 0)
                    achadas[*c] = i;
            if (achadas[Referencia] >= 0 && achadas[Data] >= 0 && achadas[Valor] >= 0) {
                colunas = achadas;
                comCabecalho = true;
            }
            return;
        }
        if (!falha.isEmpty()) {
            lidos.Recusadas.append({linha.numero, falha});
            return;
        }
        const CelulaPlanilha referencia = celula(linha, Referencia);
        const CelulaPlanilha data = celula(linha, Data);
        const CelulaPlanilha valor = celula(linha, Valor);
        if (semConteudo(referencia) && semConteudo(data) && semConteudo(valor))
            return;
        PagamentoLido p{linha.numero, {}, {}};
        QStringList motivos;
        if (const auto mes = mesAnoDaCelula(referencia))
            p.Referencia = *mes;
        else
            motivos << QStringLiteral("Referência inválida: %1 (use MM/AAAA).")
                           .arg(citacao(referencia));
        if (const auto dia = dataDaCelula(data))
            p.Pagamento.Data = *dia;
        else
            motivos << QStringLiteral("Data inválida: %1.").arg(citacao(data));
        if (const auto texto = valorDaCelula(valor))
            p.Pagamento.Valor = *texto;
        else
            motivos << QStringLiteral("Valor inválido: %1.").arg(citacao(valor));
        if (!motivos.isEmpty())
            lidos.Recusadas.append({linha.numero, motivos.join(QLatin1Char(' '))});
        else
            lidos.Pagamentos.append(std::move(p));
    });
    if (!comCabecalho)
        return std::nullopt;
    return lidos;
}

} // namespace

PagamentosLidos lePagamentos(const QString& caminho) {
    auto lidos = pagamentosDasLinhas(
        [&caminho](const VisitaLinha& visita) { percorrePlanilha(caminho, visita); });
    if (!lidos)
        throw ErroBelqor(QStringLiteral("A planilha \"%1\" não tem a linha de cabeçalho com "
                                        "as colunas referencia, data e valor.")
                             .arg(caminho));
    return std::move(*lidos);
}

std::optional<PagamentosLidos> lePagamentosDaSegundaFolha(const QString& caminho) {
    const auto formato = formatoPelaExtensao(caminho);
    if (!formato || *formato == FormatoPlanilha::Csv)
        return std::nullopt;
    const auto folha = leFolha(caminho, *formato, 1);
    if (!folha)
        return std::nullopt;
    return pagamentosDasLinhas([&folha](const VisitaLinha& visita) {
        for (const LinhaPlanilha& linha : *folha)
            visita(linha, QString());
    });
}

void juntaPagamentos(QList<Debito>& debitos, PagamentosLidos& pagamentos) {
    QHash<QString, qsizetype> porReferencia; // -1: more than one debt
    for (qsizetype i = 0; i < debitos.size(); ++i) {
        const auto achado = porReferencia.constFind(debitos[i].Referencia);
        porReferencia.insert(debitos[i].Referencia, achado == porReferencia.cend() ? i : -1);
    }
    for (const PagamentoLido& p : std::as_const(pagamentos.Pagamentos)) {
        const qsizetype i = porReferencia.value(p.Referencia, -2);
        if (i == -2)
            pagamentos.Recusadas.append(
                {p.Linha, QStringLiteral("Nenhum débito tem a referência %1.").arg(p.Referencia)});
        else if (i == -1)
            pagamentos.Recusadas.append(
                {p.Linha,
                 QStringLiteral("Mais de um débito tem a referência %1.").arg(p.Referencia)});
        else
            debitos[i].Pagamentos.append(p.Pagamento);
    }
}
