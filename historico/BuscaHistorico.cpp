#include "historico/BuscaHistorico.h"

#include "valores/FormasJson.h"

#include <QRegularExpression>
#include <QSet>

#include <cmath>

namespace {

QString termoNome(const QString& palavra) {
    return QStringLiteral("n:") + palavra;
}
QString termoValor(Moeda valor) {
    return QStringLiteral("v:") + QString::number(valor.contagem());
}
QString termoReferencia(DataHora mes) {
    return QStringLiteral("r:") + Datas::paraQDate(mes).toString(QStringLiteral("yyyy-MM"));
}

// "MM/AAAA" as a debt's reference is typed; nothing for any other text.
std::optional<DataHora> mesDaReferencia(const QString& referencia) {
    static const QRegularExpression formato(QStringLiteral("^(\\d{2})/(\\d{4})$"));
    const auto m = formato.match(referencia.trimmed());
    const int mes = m.hasMatch() ? m.captured(1).toInt() : 0;
    const int ano = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (mes < 1 || mes > 12 || ano < 1)
        return std::nullopt;
    return Datas::codificaData(ano, mes, 1);
}

// Every word of the name sorts after its own start and before the start followed by "~",
// as the words hold only a–z and 0–9.
const QString DepoisDasPalavras = QStringLiteral("~");

} // namespace

QStringList termosDoRegistro(const RegistroHistorico& r) {
    QSet<QString> vistos;
    QStringList termos;
    auto inclui = [&](const QString& termo) {
        if (!vistos.contains(termo)) {
            vistos.insert(termo);
            termos.append(termo);
        }
    };
    for (const QString& palavra : palavrasDoNome(r.Titular.Nome))
        inclui(termoNome(palavra));
    for (const DebitoRegistrado& d : r.Debitos) {
        if (const auto mes = mesDaReferencia(d.Entrada.Referencia))
            inclui(termoReferencia(*mes));
        if (d.Saida.Resultado) {
            inclui(termoValor(d.Saida.Resultado->ValorICMS));
            inclui(termoValor(d.Saida.Resultado->Total));
        }
    }
    inclui(termoValor(r.Totais.Valor));
    inclui(termoValor(r.Totais.Total));
    return termos;
}

ConsultaHistorico consultaDaBusca(const FiltroHistorico& filtro,
                                  const std::optional<PosicaoHistorico>& depoisDe, int tamanho) {
    ConsultaHistorico c;
    QStringList condicoes;
    const QString comTermo = QStringLiteral("id IN (SELECT registro FROM termos WHERE termo = ?)");
    for (const QString& palavra : palavrasDoNome(filtro.Nome)) {
        condicoes << QStringLiteral(
            "id IN (SELECT registro FROM termos WHERE termo >= ? AND termo < ?)");
        c.valores << termoNome(palavra) << termoNome(palavra) + DepoisDasPalavras;
    }
    if (!filtro.Documento.trimmed().isEmpty()) {
        condicoes << QStringLiteral("documento = ?");
        c.valores << documentoSemPontuacao(filtro.Documento);
    }
    if (filtro.MesReferencia != Datas::Vazia) {
        condicoes << comTermo;
        c.valores << termoReferencia(Datas::primeiroDiaDoMes(filtro.MesReferencia));
    }
    if (filtro.EmitidoDe != Datas::Vazia) {
        condicoes << QStringLiteral("momento >= ?");
        c.valores << FormaJson::textoMomento(std::trunc(filtro.EmitidoDe));
    }
    if (filtro.EmitidoAte != Datas::Vazia) {
        condicoes << QStringLiteral("momento < ?");
        c.valores << FormaJson::textoMomento(std::trunc(filtro.EmitidoAte) + 1);
    }
    if (filtro.Valor) {
        condicoes << comTermo;
        c.valores << termoValor(filtro.Valor->arredondadoCentavos());
    }
    if (filtro.Tipo) {
        condicoes << QStringLiteral("tipo = ?");
        c.valores << nomeTipoRegistro(*filtro.Tipo);
    }
    if (depoisDe) {
        condicoes << QStringLiteral("(momento, id) < (?, ?)");
        c.valores << depoisDe->momento << depoisDe->id;
    }
    c.sql = QStringLiteral("SELECT id, tipo, momento, usuario, maquina, documento, nome, valor, "
                           "total FROM registros");
    if (!condicoes.isEmpty())
        c.sql += QStringLiteral(" WHERE ") + condicoes.join(QStringLiteral(" AND "));
    c.sql += QStringLiteral(" ORDER BY momento DESC, id DESC LIMIT %1").arg(tamanho + 1);
    return c;
}
