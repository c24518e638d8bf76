#include "historico/BuscaHistorico.h"

#include "valores/FormasJson.h"

#include <QRegularExpression>
#include <QSet>

#include <cmath>

namespace {

// Prefixes of name words shorter than this are not terms.
constexpr int LetrasDoPrefixo = 3;

QString termoPrefixo(const QString& palavra) {
    return QStringLiteral("p:") + palavra.left(LetrasDoPrefixo);
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

// The query of one page, put together criterion by criterion. The leading table is the
// record's (r) or a term's (t); a condition names the moment and the number of whichever
// leads, so the page's order is that of the index walked.
class Consulta {
public:
    explicit Consulta(const std::optional<QString>& termoGuia) : fGuia(termoGuia) {
        if (fGuia)
            condicao(QStringLiteral("t.termo = ?"), {*fGuia});
    }

    QString momento() const {
        return fGuia ? QStringLiteral("t.momento") : QStringLiteral("r.momento");
    }
    QString numero() const { return fGuia ? QStringLiteral("t.registro") : QStringLiteral("r.id"); }

    void condicao(const QString& sql, const QVariantList& valores) {
        fCondicoes << sql;
        fValores << valores;
    }
    void termo(const QString& termo) {
        if (fGuia && *fGuia == termo)
            return;
        condicao(QStringLiteral("EXISTS (SELECT 1 FROM termos u WHERE u.termo = ? AND "
                                "u.momento = %1 AND u.registro = %2)")
                     .arg(momento(), numero()),
                 {termo});
    }

    ConsultaHistorico monta(int tamanho) const {
        ConsultaHistorico c;
        c.sql = QStringLiteral("SELECT r.id, r.tipo, r.momento, r.usuario, r.maquina, "
                               "r.documento, r.nome, r.valor, r.total FROM ");
        c.sql += fGuia ? QStringLiteral("termos t JOIN registros r ON r.id = t.registro")
                       : QStringLiteral("registros r");
        if (!fCondicoes.isEmpty())
            c.sql += QStringLiteral(" WHERE ") + fCondicoes.join(QStringLiteral(" AND "));
        c.sql += QStringLiteral(" ORDER BY %1 DESC, %2 DESC LIMIT %3")
                     .arg(momento(), numero())
                     .arg(tamanho + 1);
        c.valores = fValores;
        return c;
    }

private:
    std::optional<QString> fGuia;
    QStringList fCondicoes;
    QVariantList fValores;
};

} // namespace

QString nomeParaBusca(const QString& nome) {
    const QStringList palavras = palavrasDoNome(nome);
    return palavras.isEmpty() ? QString() : u' ' + palavras.join(u' ') + u' ';
}

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
        if (palavra.size() >= LetrasDoPrefixo)
            inclui(termoPrefixo(palavra));
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
                                  const std::optional<PosicaoHistorico>& depoisDe, int tamanho,
                                  const FrequenciaTermo& frequencia) {
    const QString documento = documentoSemPontuacao(filtro.Documento);
    const QStringList palavras = palavrasDoNome(filtro.Nome);
    QStringList termos;
    if (filtro.Valor)
        termos << termoValor(filtro.Valor->arredondadoCentavos());
    if (filtro.MesReferencia != Datas::Vazia)
        termos << termoReferencia(Datas::primeiroDiaDoMes(filtro.MesReferencia));
    for (const QString& palavra : palavras)
        if (palavra.size() >= LetrasDoPrefixo)
            termos << termoPrefixo(palavra);

    // The taxpayer's records are few: the CPF or CNPJ leads whenever it is given; else the
    // term that meets the fewest records on its way to a page.
    std::optional<QString> guia;
    if (documento.isEmpty() && !termos.isEmpty()) {
        guia = termos.first();
        if (frequencia && termos.size() > 1) {
            qint64 menor = frequencia(*guia);
            for (qsizetype i = 1; i < termos.size(); ++i)
                if (const qint64 n = frequencia(termos[i]); n < menor) {
                    menor = n;
                    guia = termos[i];
                }
        }
    }
    Consulta c(guia);
    if (!documento.isEmpty())
        c.condicao(QStringLiteral("r.documento = ?"), {documento});
    for (const QString& termo : termos)
        c.termo(termo);
    // The three letters found the candidates; the whole word typed decides.
    for (const QString& palavra : palavras)
        c.condicao(QStringLiteral("r.nome_busca LIKE ?"), {QStringLiteral("% ") + palavra + u'%'});
    if (filtro.EmitidoDe != Datas::Vazia)
        c.condicao(c.momento() + QStringLiteral(" >= ?"),
                   {FormaJson::textoMomento(std::trunc(filtro.EmitidoDe))});
    if (filtro.EmitidoAte != Datas::Vazia)
        c.condicao(c.momento() + QStringLiteral(" < ?"),
                   {FormaJson::textoMomento(std::trunc(filtro.EmitidoAte) + 1)});
    if (filtro.Tipo)
        c.condicao(QStringLiteral("r.tipo = ?"), {nomeTipoRegistro(*filtro.Tipo)});
    if (depoisDe)
        c.condicao(QStringLiteral("(%1, %2) < (?, ?)").arg(c.momento(), c.numero()),
                   {depoisDe->momento, depoisDe->id});
    return c.monta(tamanho);
}
