#include "tabela/FiltroExpressao.h"

#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "tabela/TabelaMemoria.h"

#include <algorithm>
#include <vector>

namespace {

enum class Operador { Igual, Diferente, Menor, Maior, MenorOuIgual, MaiorOuIgual };

// The operator seen from the field's side: "5 < Valor" is "Valor > 5".
Operador espelhado(Operador op) {
    switch (op) {
    case Operador::Menor:
        return Operador::Maior;
    case Operador::Maior:
        return Operador::Menor;
    case Operador::MenorOuIgual:
        return Operador::MaiorOuIgual;
    case Operador::MaiorOuIgual:
        return Operador::MenorOuIgual;
    default:
        return op;
    }
}

} // namespace

struct FiltroExpressao::No {
    enum Tipo { E, Ou, Nao, Comparacao } tipo = Comparacao;
    std::unique_ptr<No> esquerda, direita;
    // Comparison: a field against a constant already read as the field's type, the
    // operator seen from the field's side.
    const Campo* campo = nullptr;
    Operador operador = Operador::Igual;
    QVariant constante;
    bool constanteTexto = false;
    double constanteNumero = 0;
};

namespace {

struct Simbolo {
    enum Tipo { Identificador, Texto, Numero, Operador, AbreParenteses, FechaParenteses, Fim } tipo;
    QString texto;
};

[[noreturn]] void erroSintaxe(const QString& expressao, const QString& detalhe) {
    throw ErroTabela(
        QStringLiteral("Expressão de filtro inválida (%1): %2").arg(detalhe, expressao));
}

std::vector<Simbolo> divide(const QString& t) {
    std::vector<Simbolo> simbolos;
    qsizetype i = 0;
    while (i < t.size()) {
        const QChar c = t[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('(')) {
            simbolos.push_back({Simbolo::AbreParenteses, QStringLiteral("(")});
            ++i;
        } else if (c == QLatin1Char(')')) {
            simbolos.push_back({Simbolo::FechaParenteses, QStringLiteral(")")});
            ++i;
        } else if (c == QLatin1Char('\'')) {
            QString texto;
            ++i;
            for (;;) {
                if (i >= t.size())
                    erroSintaxe(t, QStringLiteral("aspas não fechadas"));
                if (t[i] == QLatin1Char('\'')) {
                    // Two quotes stand for one inside a constant.
                    if (i + 1 < t.size() && t[i + 1] == QLatin1Char('\'')) {
                        texto += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                texto += t[i++];
            }
            simbolos.push_back({Simbolo::Texto, texto});
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('=')) {
            QString op(c);
            ++i;
            if (i < t.size() &&
                (t[i] == QLatin1Char('=') || (c == QLatin1Char('<') && t[i] == QLatin1Char('>'))))
                op += t[i++];
            simbolos.push_back({Simbolo::Operador, op});
        } else if (c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.')) {
            QString numero(c);
            ++i;
            while (i < t.size() && (t[i].isDigit() || t[i] == QLatin1Char('.') ||
                                    t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E')))
                numero += t[i++];
            simbolos.push_back({Simbolo::Numero, numero});
        } else if (c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('[')) {
            QString nome;
            if (c == QLatin1Char('[')) {
                const qsizetype fim = t.indexOf(QLatin1Char(']'), i);
                if (fim < 0)
                    erroSintaxe(t, QStringLiteral("colchete não fechado"));
                nome = t.mid(i + 1, fim - i - 1);
                i = fim + 1;
            } else {
                while (i < t.size() && (t[i].isLetterOrNumber() || t[i] == QLatin1Char('_')))
                    nome += t[i++];
            }
            simbolos.push_back({Simbolo::Identificador, nome});
        } else {
            erroSintaxe(t, QStringLiteral("caractere inesperado '%1'").arg(c));
        }
    }
    simbolos.push_back({Simbolo::Fim, QString()});
    return simbolos;
}

class Analisador {
public:
    Analisador(const QString& texto, const TabelaMemoria& tabela)
        : fTexto(texto), fTabela(tabela), fSimbolos(divide(texto)) {}

    std::unique_ptr<FiltroExpressao::No> analisa() {
        auto no = ou();
        if (atual().tipo != Simbolo::Fim)
            erroSintaxe(fTexto, QStringLiteral("'%1' inesperado").arg(atual().texto));
        return no;
    }

private:
    using No = FiltroExpressao::No;

    // The list ends with Fim; reading never goes past it, however early the text ends.
    const Simbolo& atual() const { return fSimbolos[std::min(fPos, fSimbolos.size() - 1)]; }
    void avanca() {
        if (fPos + 1 < fSimbolos.size())
            ++fPos;
    }
    bool palavra(const char* p) const {
        return atual().tipo == Simbolo::Identificador &&
               atual().texto.compare(QLatin1String(p), Qt::CaseInsensitive) == 0;
    }

    std::unique_ptr<No> ou() {
        auto esquerda = e();
        while (palavra("OR")) {
            avanca();
            auto no = std::make_unique<No>();
            no->tipo = No::Ou;
            no->esquerda = std::move(esquerda);
            no->direita = e();
            esquerda = std::move(no);
        }
        return esquerda;
    }

    std::unique_ptr<No> e() {
        auto esquerda = fator();
        while (palavra("AND")) {
            avanca();
            auto no = std::make_unique<No>();
            no->tipo = No::E;
            no->esquerda = std::move(esquerda);
            no->direita = fator();
            esquerda = std::move(no);
        }
        return esquerda;
    }

    std::unique_ptr<No> fator() {
        if (palavra("NOT")) {
            avanca();
            auto no = std::make_unique<No>();
            no->tipo = No::Nao;
            no->esquerda = fator();
            return no;
        }
        if (atual().tipo == Simbolo::AbreParenteses) {
            avanca();
            auto no = ou();
            if (atual().tipo != Simbolo::FechaParenteses)
                erroSintaxe(fTexto, QStringLiteral("falta ')'"));
            avanca();
            return no;
        }
        return comparacao();
    }

    void exigeMais() const {
        if (atual().tipo == Simbolo::Fim)
            erroSintaxe(fTexto, QStringLiteral("expressão incompleta"));
    }

    std::unique_ptr<No> comparacao() {
        exigeMais();
        const Simbolo a = atual();
        avanca();
        if (atual().tipo != Simbolo::Operador)
            erroSintaxe(fTexto, QStringLiteral("falta um operador depois de '%1'").arg(a.texto));
        const Operador op = operadorDe(atual().texto);
        avanca();
        exigeMais();
        const Simbolo b = atual();
        avanca();
        auto no = std::make_unique<No>();
        no->operador = op;
        const Simbolo* constante = nullptr;
        if (a.tipo == Simbolo::Identificador) {
            no->campo = fTabela.campo(a.texto);
            constante = &b;
        } else if (b.tipo == Simbolo::Identificador) {
            no->campo = fTabela.campo(b.texto);
            no->operador = espelhado(op);
            constante = &a;
        } else {
            erroSintaxe(fTexto, QStringLiteral("a comparação precisa de um campo"));
        }
        if (constante->tipo != Simbolo::Texto && constante->tipo != Simbolo::Numero)
            erroSintaxe(fTexto, QStringLiteral("constante esperada"));
        no->constante = leConstante(*no->campo, *constante);
        no->constanteTexto = no->constante.typeId() == QMetaType::QString;
        no->constanteNumero = no->constante.toDouble();
        return no;
    }

    Operador operadorDe(const QString& texto) const {
        if (texto == QLatin1String("="))
            return Operador::Igual;
        if (texto == QLatin1String("<>"))
            return Operador::Diferente;
        if (texto == QLatin1String("<"))
            return Operador::Menor;
        if (texto == QLatin1String(">"))
            return Operador::Maior;
        if (texto == QLatin1String("<="))
            return Operador::MenorOuIgual;
        if (texto == QLatin1String(">="))
            return Operador::MaiorOuIgual;
        erroSintaxe(fTexto, QStringLiteral("operador '%1' desconhecido").arg(texto));
    }

    QVariant leConstante(const Campo& campo, const Simbolo& s) const {
        try {
            if (armazenamentoDe(campo.tipo()) == Armazenamento::Data)
                return Formato::textoParaDataHora(s.texto);
            if (s.tipo == Simbolo::Numero) {
                ConfiguracaoRegional ponto = regional();
                ponto.separadorDecimal = QLatin1Char('.');
                return double(Formato::textoParaEstendido(s.texto, ponto));
            }
            return campo.converte(s.texto);
        } catch (const ErroConversao& e) {
            erroSintaxe(fTexto, e.mensagem());
        } catch (const ErroEstouroMoeda& e) {
            erroSintaxe(fTexto, e.mensagem());
        }
    }

    const QString& fTexto;
    const TabelaMemoria& fTabela;
    std::vector<Simbolo> fSimbolos;
    std::size_t fPos = 0;
};

bool aplica(Operador op, int c) {
    switch (op) {
    case Operador::Igual:
        return c == 0;
    case Operador::Diferente:
        return c != 0;
    case Operador::Menor:
        return c < 0;
    case Operador::Maior:
        return c > 0;
    case Operador::MenorOuIgual:
        return c <= 0;
    case Operador::MaiorOuIgual:
        return c >= 0;
    }
    return false;
}

int comparaNumeros(double x, double y) {
    return x < y ? -1 : (x > y ? 1 : 0);
}

// The stored value against the constant, from the field's side.
bool comparaValor(const FiltroExpressao::No& no, const QVariant& valor) {
    if (valor.isNull())
        return false;
    if (no.constanteTexto || valor.typeId() == QMetaType::QString) {
        const int r = valor.toString().compare(no.constante.toString());
        return aplica(no.operador, r < 0 ? -1 : (r > 0 ? 1 : 0));
    }
    const double x = no.campo->tipo() == TipoCampo::Moeda
                         ? double(valor.toLongLong()) / double(Moeda::Escala)
                         : valor.toDouble();
    return aplica(no.operador, comparaNumeros(x, no.constanteNumero));
}

bool avaliaNo(const FiltroExpressao::No& no, const QList<QVariant>& linha) {
    using No = FiltroExpressao::No;
    switch (no.tipo) {
    case No::E:
        return avaliaNo(*no.esquerda, linha) && avaliaNo(*no.direita, linha);
    case No::Ou:
        return avaliaNo(*no.esquerda, linha) || avaliaNo(*no.direita, linha);
    case No::Nao:
        return !avaliaNo(*no.esquerda, linha);
    case No::Comparacao:
        break;
    }
    // A calculated or looked-up field holds nothing on a stored row.
    if (!no.campo->ehDados() || no.campo->indiceDados() >= linha.size())
        return false;
    return comparaValor(no, linha[no.campo->indiceDados()]);
}

bool indexavel(const Campo& campo) {
    const Armazenamento a = armazenamentoDe(campo.tipo());
    return campo.ehDados() && (a == Armazenamento::Flutuante || a == Armazenamento::Data);
}

// Narrows the range by every comparison of a conjunction; false when the expression has
// another shape (OR, NOT, <>, text, a second field).
bool estreita(const FiltroExpressao::No& no, FiltroExpressao::Intervalo& r) {
    using No = FiltroExpressao::No;
    if (no.tipo == No::E)
        return estreita(*no.esquerda, r) && estreita(*no.direita, r);
    if (no.tipo != No::Comparacao || no.constanteTexto || !indexavel(*no.campo) ||
        no.operador == Operador::Diferente)
        return false;
    if (r.indiceDados >= 0 && r.indiceDados != no.campo->indiceDados())
        return false;
    r.indiceDados = no.campo->indiceDados();
    const double c = no.constanteNumero;
    const bool limiteInferior = no.operador == Operador::Igual || no.operador == Operador::Maior ||
                                no.operador == Operador::MaiorOuIgual;
    const bool limiteSuperior = no.operador == Operador::Igual || no.operador == Operador::Menor ||
                                no.operador == Operador::MenorOuIgual;
    if (limiteInferior) {
        const bool incluso = no.operador != Operador::Maior;
        if (!r.temMinimo || c > r.minimo || (c == r.minimo && !incluso)) {
            r.minimo = c;
            r.minimoIncluso = incluso;
        }
        r.temMinimo = true;
    }
    if (limiteSuperior) {
        const bool incluso = no.operador != Operador::Menor;
        if (!r.temMaximo || c < r.maximo || (c == r.maximo && !incluso)) {
            r.maximo = c;
            r.maximoIncluso = incluso;
        }
        r.temMaximo = true;
    }
    return true;
}

} // namespace

FiltroExpressao::FiltroExpressao(const QString& texto, const TabelaMemoria& tabela)
    : fRaiz(Analisador(texto, tabela).analisa()) {
    Intervalo r;
    if (estreita(*fRaiz, r))
        fIntervalo = r;
}

FiltroExpressao::~FiltroExpressao() = default;

bool FiltroExpressao::avalia(const QList<QVariant>& linha) const {
    return avaliaNo(*fRaiz, linha);
}
