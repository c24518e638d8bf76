#include "demonstrativo/ColagemDebitos.h"

#include "planilhas/FormasPlanilha.h"
#include "valores/Formatacao.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace {

constexpr QChar Aspa = u'"';

// The rows of cells the clipboard holds. A cell that starts with a quote runs to the quote
// that closes it, over tabs and line breaks; a doubled quote inside is one quote.
QList<QStringList> celulas(const QString& texto) {
    QList<QStringList> linhas;
    QStringList linha;
    QString celula;
    bool inicioDaCelula = true;
    const qsizetype n = texto.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = texto[i];
        if (inicioDaCelula && c == Aspa) {
            inicioDaCelula = false;
            for (++i; i < n; ++i) {
                if (texto[i] != Aspa) {
                    celula += texto[i];
                } else if (i + 1 < n && texto[i + 1] == Aspa) {
                    celula += Aspa;
                    ++i;
                } else {
                    break;
                }
            }
            continue;
        }
        inicioDaCelula = false;
        if (c == u'\t') {
            linha << std::exchange(celula, QString());
            inicioDaCelula = true;
        } else if (c == u'\r' || c == u'\n') {
            linha << std::exchange(celula, QString());
            linhas << std::exchange(linha, QStringList());
            inicioDaCelula = true;
            if (c == u'\r' && i + 1 < n && texto[i + 1] == u'\n')
                ++i;
        } else {
            celula += c;
        }
    }
    if (!inicioDaCelula || !linha.isEmpty()) {
        linha << celula;
        linhas << linha;
    }
    return linhas;
}

// A header's name as it is compared: no accents, lower case, no blanks around it.
QString nomeDaColuna(const QString& texto) {
    const QString decomposto = texto.trimmed().normalized(QString::NormalizationForm_D);
    QString nome;
    nome.reserve(decomposto.size());
    for (const QChar c : decomposto)
        if (c.category() != QChar::Mark_NonSpacing)
            nome += c.toLower();
    return nome;
}

enum Coluna { Referencia, Vencimento, Valor, Descricao, Colunas };
using Posicoes = std::array<qsizetype, Colunas>;

// The columns a header row names, or nothing when it does not name the three required.
std::optional<Posicoes> posicoesDoCabecalho(const QStringList& linha) {
    Posicoes p{-1, -1, -1, -1};
    for (qsizetype i = 0; i < linha.size(); ++i) {
        const QString nome = nomeDaColuna(linha[i]);
        if (nome == u"referencia")
            p[Referencia] = i;
        else if (nome == u"vencimento")
            p[Vencimento] = i;
        else if (nome == u"valor" || nome == u"valor do icms")
            p[Valor] = i;
        else if (nome == u"descricao")
            p[Descricao] = i;
    }
    if (p[Referencia] < 0 || p[Vencimento] < 0 || p[Valor] < 0)
        return std::nullopt;
    return p;
}

bool emBranco(const QStringList& linha) {
    return std::all_of(linha.cbegin(), linha.cend(),
                       [](const QString& c) { return c.trimmed().isEmpty(); });
}

bool soDigitos(QStringView t) {
    return !t.isEmpty() &&
           std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QString referenciaDaPlanilha(const QString& texto) {
    const QString t = texto.trimmed();
    const qsizetype barra = t.indexOf(u'/');
    // M/AAAA and MM/AAAA
    if (barra >= 1 && barra <= 2 && t.size() - barra - 1 == 4 && soDigitos(t.first(barra)) &&
        soDigitos(t.sliced(barra + 1)))
        return t.first(barra).rightJustified(2, u'0') + t.sliced(barra);
    // AAAA-MM
    if (t.size() == 7 && t[4] == u'-' && soDigitos(t.first(4)) && soDigitos(t.sliced(5)))
        return t.sliced(5) + u'/' + t.first(4);
    // A day of the month, as a spreadsheet keeps a month in a date cell; a whole date, so
    // that no year is taken from the day it is read.
    DataHora data = Datas::Vazia;
    if (t.size() >= 8 && Formato::tentaTextoParaData(dataDaPlanilha(t), data))
        return Formato::mesAno(data);
    return texto;
}

DebitosColados leDebitosColados(const QString& texto) {
    DebitosColados lidos;
    const QList<QStringList> linhas = celulas(texto);
    qsizetype primeira = 0;
    while (primeira < linhas.size() && emBranco(linhas[primeira]))
        ++primeira;
    Posicoes colunas{Referencia, Vencimento, Valor, Descricao};
    if (primeira < linhas.size())
        if (const auto cabecalho = posicoesDoCabecalho(linhas[primeira])) {
            colunas = *cabecalho;
            ++primeira;
        }
    const qsizetype minimo =
        std::max({colunas[Referencia], colunas[Vencimento], colunas[Valor]}) + 1;
    for (qsizetype i = primeira; i < linhas.size(); ++i) {
        const QStringList& linha = linhas[i];
        if (emBranco(linha))
            continue;
        if (linha.size() < minimo) {
            lidos.NaoLidas.append({i + 1, QStringLiteral("Linha com colunas a menos.")});
            continue;
        }
        const QString vencimento = dataDaPlanilha(linha[colunas[Vencimento]].trimmed());
        DataHora dataVencimento = Datas::Vazia;
        if (!vencimento.isEmpty() && !Formato::tentaTextoParaData(vencimento, dataVencimento)) {
            lidos.NaoLidas.append(
                {i + 1, QStringLiteral("Data de vencimento inválida: \"%1\".").arg(vencimento)});
            continue;
        }
        Debito debito;
        debito.Referencia = referenciaDaPlanilha(linha[colunas[Referencia]]);
        debito.Vencimento = dataVencimento;
        debito.Valor = valorDaPlanilha(linha[colunas[Valor]]).trimmed();
        if (colunas[Descricao] >= 0 && colunas[Descricao] < linha.size())
            debito.Descricao = linha[colunas[Descricao]].trimmed();
        lidos.Debitos.append(debito);
    }
    return lidos;
}

QString textoNaoLidas(const QList<LinhaRecusada>& naoLidas) {
    return textoLinhasRecusadas(
        naoLidas.size() == 1
            ? QStringLiteral("Uma linha colada não foi incluída:")
            : QStringLiteral("%1 linhas coladas não foram incluídas:").arg(naoLidas.size()),
        naoLidas);
}
