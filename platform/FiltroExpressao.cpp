#include "FiltroExpressao.h"

#include "Erros.h"
#include "Formatacao.h"
#include "TabelaMemoria.h"

#include <vector>

struct FiltroExpressao::No {
    enum Tipo { E, Ou, Nao, Comparacao } tipo = Comparacao;
    std::unique_ptr<No> esquerda, direita;
    // Comparison: a field against a constant already read as the field's type.
    const Campo* campo = nullptr;
    QString operador;
    QVariant constante;
    bool campoADireita = false;
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

    const Simbolo& atual() const { return fSimbolos[fPos]; }
    bool palavra(const char* p) const {
        return atual().tipo == Simbolo::Identificador &&
               atual().texto.compare(QLatin1String(p), Qt::CaseInsensitive) == 0;
    }

    std::unique_ptr<No> ou() {
        auto esquerda = e();
        while (palavra("OR")) {
            ++fPos;
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
            ++fPos;
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
            ++fPos;
            auto no = std::make_unique<No>();
            no->tipo = No::Nao;
            no->esquerda = fator();
            return no;
        }
        if (atual().tipo == Simbolo::AbreParenteses) {
            ++fPos;
            auto no = ou();
            if (atual().tipo != Simbolo::FechaParenteses)
                erroSintaxe(fTexto, QStringLiteral("falta ')'"));
            ++fPos;
            return no;
        }
        return comparacao();
    }

    std::unique_ptr<No> comparacao() {
        const Simbolo a = atual();
        ++fPos;
        if (atual().tipo != Simbolo::Operador)
            erroSintaxe(fTexto, QStringLiteral("falta um operador depois de '%1'").arg(a.texto));
        const QString op = atual().texto;
        ++fPos;
        const Simbolo b = atual();
        ++fPos;
        auto no = std::make_unique<No>();
        no->operador = op;
        const Simbolo* constante = nullptr;
        if (a.tipo == Simbolo::Identificador) {
            no->campo = fTabela.campo(a.texto);
            constante = &b;
        } else if (b.tipo == Simbolo::Identificador) {
            no->campo = fTabela.campo(b.texto);
            no->campoADireita = true;
            constante = &a;
        } else {
            erroSintaxe(fTexto, QStringLiteral("a comparação precisa de um campo"));
        }
        if (constante->tipo != Simbolo::Texto && constante->tipo != Simbolo::Numero)
            erroSintaxe(fTexto, QStringLiteral("constante esperada"));
        no->constante = leConstante(*no->campo, *constante);
        return no;
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
        }
    }

    const QString& fTexto;
    const TabelaMemoria& fTabela;
    std::vector<Simbolo> fSimbolos;
    std::size_t fPos = 0;
};

int compara(const QVariant& a, const QVariant& b) {
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString) {
        const int r = a.toString().compare(b.toString());
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    const double x = a.toDouble(), y = b.toDouble();
    return x < y ? -1 : (x > y ? 1 : 0);
}

bool aplica(const QString& op, int c) {
    if (op == QLatin1String("="))
        return c == 0;
    if (op == QLatin1String("<>"))
        return c != 0;
    if (op == QLatin1String("<"))
        return c < 0;
    if (op == QLatin1String(">"))
        return c > 0;
    if (op == QLatin1String("<="))
        return c <= 0;
    if (op == QLatin1String(">="))
        return c >= 0;
    return false;
}

bool avaliaNo(const FiltroExpressao::No& no, const std::function<QVariant(const Campo&)>& valorDe) {
    using No = FiltroExpressao::No;
    switch (no.tipo) {
    case No::E:
        return avaliaNo(*no.esquerda, valorDe) && avaliaNo(*no.direita, valorDe);
    case No::Ou:
        return avaliaNo(*no.esquerda, valorDe) || avaliaNo(*no.direita, valorDe);
    case No::Nao:
        return !avaliaNo(*no.esquerda, valorDe);
    case No::Comparacao:
        break;
    }
    QVariant valor = valorDe(*no.campo);
    if (valor.isNull())
        return false;
    if (no.campo->tipo() == TipoCampo::Moeda)
        valor = double(valor.toLongLong()) / double(Moeda::Escala);
    const int c = no.campoADireita ? compara(no.constante, valor) : compara(valor, no.constante);
    return aplica(no.operador, c);
}

} // namespace

FiltroExpressao::FiltroExpressao(const QString& texto, const TabelaMemoria& tabela)
    : fRaiz(Analisador(texto, tabela).analisa()) {}

FiltroExpressao::~FiltroExpressao() = default;

bool FiltroExpressao::avalia(const std::function<QVariant(const Campo&)>& valorDe) const {
    return avaliaNo(*fRaiz, valorDe);
}
