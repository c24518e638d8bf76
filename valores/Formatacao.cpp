#include "valores/Formatacao.h"

#include "valores/Erros.h"

#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <optional>
#include <string>

namespace {

// The value's magnitude as 18 significant digits and the decimal exponent of the first
// one: valor = 0.d1d2...d18 x 10^expoente.
struct Decimal18 {
    std::string digitos;
    int expoente = 0;
    bool negativo = false;
};

Decimal18 paraDecimal18(Estendido valor) {
    Decimal18 d;
    d.negativo = std::signbit(valor);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", std::fabs(valor));
    const std::string texto(buffer);
    const auto e = texto.find('e');
    d.digitos = texto.substr(0, 1) + texto.substr(2, e - 2);
    d.expoente = std::stoi(texto.substr(e + 1)) + 1;
    if (std::fabs(valor) == 0)
        d.expoente = 0;
    return d;
}

struct PadraoNumero {
    int minInteiros = 0;
    int minDecimais = 0;
    int maxDecimais = 0;
    bool agrupa = false;
};

PadraoNumero lePadrao(const QString& padrao) {
    PadraoNumero p;
    // Only the first section (positive values) of "pos;neg;zero" is used.
    const QString secao = padrao.section(QLatin1Char(';'), 0, 0);
    bool decimais = false;
    for (const QChar c : secao) {
        if (c == QLatin1Char('.'))
            decimais = true;
        else if (c == QLatin1Char(',') && !decimais)
            p.agrupa = true;
        else if (c == QLatin1Char('0')) {
            if (decimais) {
                ++p.minDecimais;
                ++p.maxDecimais;
            } else
                ++p.minInteiros;
        } else if (c == QLatin1Char('#') && decimais)
            ++p.maxDecimais;
    }
    return p;
}

[[noreturn]] void erroNumero(const QString& texto) {
    throw ErroConversao(QStringLiteral("'%1' is not a valid floating point value").arg(texto));
}

// Plain decimal text split into its parts; nullopt when it is not a number.
struct NumeroLido {
    bool negativo = false;
    std::string digitos; // mantissa digits, without the decimal separator
    int expoente = 0;    // valor = digitos x 10^expoente
};

std::optional<NumeroLido> leNumero(const QString& texto, QChar separadorDecimal) {
    const QString t = texto.trimmed();
    NumeroLido n;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        n.negativo = t[i] == QLatin1Char('-');
        ++i;
    }
    bool algumDigito = false;
    while (i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9')) {
        n.digitos += char(t[i].unicode());
        algumDigito = true;
        ++i;
    }
    if (i < t.size() && t[i] == separadorDecimal) {
        ++i;
        while (i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9')) {
            n.digitos += char(t[i].unicode());
            --n.expoente;
            algumDigito = true;
            ++i;
        }
    }
    if (!algumDigito)
        return std::nullopt;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ++i;
        bool negativo = false;
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
            negativo = t[i] == QLatin1Char('-');
            ++i;
        }
        int e = 0;
        bool digitoExpoente = false;
        while (i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9')) {
            if (e < 100000)
                e = e * 10 + t[i].digitValue();
            digitoExpoente = true;
            ++i;
        }
        if (!digitoExpoente)
            return std::nullopt;
        n.expoente += negativo ? -e : e;
    }
    if (i != t.size())
        return std::nullopt;
    return n;
}

// Dates are formatted for every filter the computation sets: their text is gathered on
// the stack and becomes a QString once.
class TextoCurto {
public:
    TextoCurto& operator+=(QChar c) {
        fTexto.append(c);
        return *this;
    }
    TextoCurto& operator+=(QStringView t) {
        fTexto.append(t.data(), t.size());
        return *this;
    }
    QString paraQString() const { return QString(fTexto.constData(), fTexto.size()); }

private:
    QVarLengthArray<QChar, 32> fTexto;
};

// v with at least `largura` digits, zeros in front.
void acrescentaDigitos(TextoCurto& r, int v, int largura) {
    if (v < 0 || v >= 10000) {
        r += QStringLiteral("%1").arg(v, largura, 10, QLatin1Char('0'));
        return;
    }
    // Filled from the right and appended at once.
    QChar d[8];
    int i = 8;
    do {
        d[--i] = QLatin1Char(char('0' + v % 10));
        v /= 10;
    } while (v != 0);
    while (i > 0 && 8 - i < largura)
        d[--i] = QLatin1Char('0');
    r += QStringView(d + i, 8 - i);
}

// Patterns are ASCII but for their literal texts: those letters skip the library's tables.
QChar minuscula(QChar c) {
    if (c.unicode() < 128)
        return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? QChar(c.unicode() + 32) : c;
    return c.toLower();
}

// Where the letter first stands in the pattern, in either case.
qsizetype posicaoDaLetra(const QString& padrao, char letra) {
    for (qsizetype i = 0; i < padrao.size(); ++i)
        if (minuscula(padrao[i]) == QLatin1Char(letra))
            return i;
    return -1;
}

int contaRepeticao(const QString& padrao, qsizetype i, QChar c) {
    int n = 0;
    while (i + n < padrao.size() && minuscula(padrao[i + n]) == c)
        ++n;
    return n;
}

} // namespace

namespace Formato {

QString apara(const QString& texto) {
    qsizetype inicio = 0;
    qsizetype fim = texto.size();
    while (inicio < fim && texto[inicio].unicode() <= 32)
        ++inicio;
    while (fim > inicio && texto[fim - 1].unicode() <= 32)
        --fim;
    return texto.sliced(inicio, fim - inicio);
}

QString formataNumero(const QString& padrao, Estendido valor, const ConfiguracaoRegional& cfg) {
    const PadraoNumero p = lePadrao(padrao);
    Decimal18 d = paraDecimal18(valor);

    // Digits kept: those before the point plus maxDecimais after it.
    const int mantidos = d.expoente + p.maxDecimais;
    std::string digitos;
    int expoente = d.expoente;
    if (mantidos < 0) {
        digitos.clear();
    } else if (mantidos >= int(d.digitos.size())) {
        digitos = d.digitos;
    } else {
        digitos = d.digitos.substr(0, std::size_t(mantidos));
        if (d.digitos[std::size_t(mantidos)] >= '5') {
            // Halves away from zero: carry into the kept digits.
            int k = mantidos - 1;
            while (k >= 0 && digitos[std::size_t(k)] == '9') {
                digitos[std::size_t(k)] = '0';
                --k;
            }
            if (k >= 0)
                ++digitos[std::size_t(k)];
            else {
                digitos.insert(digitos.begin(), '1');
                ++expoente;
            }
        }
    }
    // Integer and fraction digits.
    std::string inteiros, fracao;
    for (int pos = 0; pos < expoente; ++pos)
        inteiros += pos < int(digitos.size()) ? digitos[std::size_t(pos)] : '0';
    for (int pos = 0; pos < p.maxDecimais; ++pos) {
        const int indice = expoente + pos;
        fracao +=
            (indice >= 0 && indice < int(digitos.size())) ? digitos[std::size_t(indice)] : '0';
    }
    while (int(fracao.size()) > p.minDecimais && !fracao.empty() && fracao.back() == '0')
        fracao.pop_back();
    // Leading zeros go, down to the required integer digits.
    std::size_t inicio = 0;
    while (inicio < inteiros.size() && inteiros[inicio] == '0')
        ++inicio;
    inteiros = inteiros.substr(inicio);
    while (int(inteiros.size()) < p.minInteiros)
        inteiros.insert(inteiros.begin(), '0');

    QString resultado;
    for (std::size_t i = 0; i < inteiros.size(); ++i) {
        if (p.agrupa && i > 0 && (inteiros.size() - i) % 3 == 0)
            resultado += cfg.separadorMilhar;
        resultado += QLatin1Char(inteiros[i]);
    }
    if (!fracao.empty()) {
        resultado += cfg.separadorDecimal;
        resultado += QString::fromLatin1(fracao.data(), qsizetype(fracao.size()));
    }
    if (resultado.isEmpty())
        resultado = QStringLiteral("0");
    const bool tudoZero = (inteiros + fracao).find_first_not_of('0') == std::string::npos;
    if (d.negativo && !tudoZero)
        resultado.prepend(QLatin1Char('-'));
    return resultado;
}

QStringView formataMoedaAgrupada(Moeda valor, EspacoMoeda& espaco,
                                 const ConfiguracaoRegional& cfg) {
    const std::int64_t contagem = valor.contagem();
    if (contagem % 100 != 0) {
        const QString texto = formataNumero(QStringLiteral("#,###,##0.00"),
                                            valor.contagemEstendida() / Moeda::Escala, cfg);
        // The room holds the longest amount; a shorter view would be a wrong amount.
        if (texto.size() > qsizetype(espaco.size()))
            throw std::length_error("formataMoedaAgrupada: texto maior que o espaço");
        std::copy_n(texto.constData(), texto.size(), espaco.begin());
        return QStringView(espaco.data(), texto.size());
    }
    // Whole cents: digits of |cents| from the right, two decimals, groups of three.
    std::uint64_t centavos =
        contagem < 0 ? std::uint64_t(-(contagem / 100)) : std::uint64_t(contagem / 100);
    QChar* const fim = espaco.data() + espaco.size();
    QChar* p = fim;
    for (int casa = 0; casa < 2; ++casa) {
        *--p = QLatin1Char(char('0' + centavos % 10));
        centavos /= 10;
    }
    *--p = cfg.separadorDecimal;
    int noGrupo = 0;
    do {
        if (noGrupo == 3) {
            *--p = cfg.separadorMilhar;
            noGrupo = 0;
        }
        *--p = QLatin1Char(char('0' + centavos % 10));
        centavos /= 10;
        ++noGrupo;
    } while (centavos != 0);
    if (contagem < 0)
        *--p = QLatin1Char('-');
    return QStringView(p, fim - p);
}

QString formataMoedaAgrupada(Moeda valor, const ConfiguracaoRegional& cfg) {
    EspacoMoeda espaco;
    return formataMoedaAgrupada(valor, espaco, cfg).toString();
}

bool tentaTextoParaEstendido(const QString& texto, Estendido& valor,
                             const ConfiguracaoRegional& cfg) {
    const auto n = leNumero(texto, cfg.separadorDecimal);
    if (!n)
        return false;
    const std::string c = (n->negativo ? "-" : "") + n->digitos + "e" + std::to_string(n->expoente);
    Estendido lido = 0;
    const auto r = std::from_chars(c.data(), c.data() + c.size(), lido);
    if (r.ec != std::errc() || !std::isfinite(lido))
        return false;
    valor = lido;
    return true;
}

Estendido textoParaEstendido(const QString& texto, const ConfiguracaoRegional& cfg) {
    Estendido valor = 0;
    if (!tentaTextoParaEstendido(texto, valor, cfg))
        erroNumero(texto);
    return valor;
}

Moeda textoParaMoeda(const QString& texto, const ConfiguracaoRegional& cfg) {
    const auto n = leNumero(texto, cfg.separadorDecimal);
    if (!n)
        erroNumero(texto);
    // count = digitos x 10^(expoente + 4), exactly, ties to even past the fourth decimal.
    const int escala = n->expoente + 4;
    __int128 contagem = 0;
    const __int128 limite = __int128(1) << 64;
    std::string digitos = n->digitos;
    int descartados = 0;
    if (escala < 0) {
        descartados = std::min<int>(-escala, int(digitos.size()) + 1);
        if (descartados > int(digitos.size()))
            digitos.clear();
    }
    const std::size_t usados =
        digitos.size() > std::size_t(descartados) ? digitos.size() - std::size_t(descartados) : 0;
    for (std::size_t i = 0; i < usados; ++i) {
        contagem = contagem * 10 + (digitos[i] - '0');
        if (contagem > limite)
            erroNumero(texto);
    }
    for (int i = 0; i < escala; ++i) {
        contagem *= 10;
        if (contagem > limite)
            erroNumero(texto);
    }
    if (escala < 0 && usados < digitos.size()) {
        // Compare the dropped digits with one half.
        const std::string resto = digitos.substr(usados);
        const char primeiro = resto[0];
        const bool restoAlemDoPrimeiro = resto.find_first_not_of('0', 1) != std::string::npos;
        const bool acima = primeiro > '5' || (primeiro == '5' && restoAlemDoPrimeiro);
        const bool empate = primeiro == '5' && !restoAlemDoPrimeiro;
        if (acima || (empate && (contagem % 2) != 0))
            ++contagem;
    }
    if (n->negativo)
        contagem = -contagem;
    if (contagem > std::numeric_limits<std::int64_t>::max() ||
        contagem < std::numeric_limits<std::int64_t>::min())
        erroNumero(texto);
    return Moeda::deContagem(static_cast<std::int64_t>(contagem));
}

QString formataData(const QString& padrao, DataHora valor, const ConfiguracaoRegional& cfg) {
    int ano = 0, mes = 0, dia = 0, hora = 0, minuto = 0, segundo = 0, ms = 0;
    Datas::decodificaData(valor, ano, mes, dia);
    Datas::decodificaHora(valor, hora, minuto, segundo, ms);
    TextoCurto r;
    bool ultimoFoiHora = false;
    for (qsizetype i = 0; i < padrao.size();) {
        const QChar c = minuscula(padrao[i]);
        int n = contaRepeticao(padrao, i, c);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype fim = padrao.indexOf(padrao[i], i + 1);
            const qsizetype ate = fim < 0 ? padrao.size() : fim;
            r += padrao.mid(i + 1, ate - i - 1);
            i = ate + 1;
            continue;
        }
        if (c == QLatin1Char('d')) {
            if (n >= 5) {
                r += formataData(cfg.padraoDataCurta, valor, cfg);
                n = 5;
            } else if (n == 1)
                r += QString::number(dia);
            else {
                acrescentaDigitos(r, dia, 2);
                n = 2;
            }
        } else if (c == QLatin1Char('m')) {
            n = std::min(n, 2);
            const int v = ultimoFoiHora ? minuto : mes;
            acrescentaDigitos(r, v, n);
        } else if (c == QLatin1Char('y')) {
            if (n <= 2) {
                acrescentaDigitos(r, ano % 100, 2);
            } else {
                acrescentaDigitos(r, ano, 4);
            }
        } else if (c == QLatin1Char('h')) {
            n = std::min(n, 2);
            acrescentaDigitos(r, hora, n);
        } else if (c == QLatin1Char('n')) {
            n = std::min(n, 2);
            acrescentaDigitos(r, minuto, n);
        } else if (c == QLatin1Char('s')) {
            n = std::min(n, 2);
            acrescentaDigitos(r, segundo, n);
        } else if (c == QLatin1Char('z')) {
            r += n >= 3 ? QStringLiteral("%1").arg(ms, 3, 10, QLatin1Char('0'))
                        : QString::number(ms);
            n = n >= 3 ? 3 : 1;
        } else if (c == QLatin1Char('t')) {
            n = std::min(n, 2);
            r += formataData(n == 2 ? cfg.formatoHoraLonga : QStringLiteral("hh:nn"), valor, cfg);
        } else if (c == QLatin1Char('/')) {
            n = 1;
            r += cfg.separadorData;
        } else if (c == QLatin1Char(':')) {
            n = 1;
            r += cfg.separadorHora;
        } else {
            n = 1;
            r += padrao[i];
        }
        if (c == QLatin1Char('h'))
            ultimoFoiHora = true;
        else if (c.isLetter())
            ultimoFoiHora = false;
        i += n;
    }
    return r.paraQString();
}

QString mesAno(DataHora mes) {
    int ano = 0, m = 0, dia = 0;
    Datas::decodificaData(mes, ano, m, dia);
    return QStringLiteral("%1/%2")
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(ano, 4, 10, QLatin1Char('0'));
}

QString dataParaTexto(DataHora valor, const ConfiguracaoRegional& cfg) {
    return formataData(cfg.padraoDataCurta, valor, cfg);
}

QString horaParaTexto(DataHora valor, const ConfiguracaoRegional& cfg) {
    return formataData(cfg.formatoHoraLonga, valor, cfg);
}

QString dataHoraParaTexto(DataHora valor, const ConfiguracaoRegional& cfg) {
    QString texto = dataParaTexto(valor, cfg);
    if (valor != std::trunc(valor))
        texto += QLatin1Char(' ') + horaParaTexto(valor, cfg);
    return texto;
}

} // namespace Formato

namespace {

// Reads up to nine digits after optional blanks; false when none.
bool leInteiro(const QString& t, qsizetype& i, int& valor, int& quantos) {
    while (i < t.size() && t[i] == QLatin1Char(' '))
        ++i;
    valor = 0;
    quantos = 0;
    while (i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9') && quantos < 9) {
        valor = valor * 10 + (t[i].unicode() - '0');
        ++quantos;
        ++i;
    }
    return quantos > 0;
}

bool leSeparador(const QString& t, qsizetype& i, QChar separador) {
    while (i < t.size() && t[i] == QLatin1Char(' '))
        ++i;
    if (i < t.size() && t[i] == separador) {
        ++i;
        return true;
    }
    return false;
}

// Parses the date part at i; the order of day, month and year follows the short date pattern.
bool leData(const QString& t, qsizetype& i, const ConfiguracaoRegional& cfg, DataHora& data) {
    int n[3] = {0, 0, 0}, q[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
        if (k > 0 && !leSeparador(t, i, cfg.separadorData))
            return false;
        if (!leInteiro(t, i, n[k], q[k]))
            return false;
    }
    const QString& ordem = cfg.padraoDataCurta;
    const qsizetype pd = posicaoDaLetra(ordem, 'd'), pm = posicaoDaLetra(ordem, 'm'),
                    py = posicaoDaLetra(ordem, 'y');
    int dia = n[0], mes = n[1], ano = n[2], qAno = q[2];
    if (py >= 0 && py < pm && py < pd) {
        ano = n[0], qAno = q[0];
        mes = pm < pd ? n[1] : n[2];
        dia = pm < pd ? n[2] : n[1];
    } else if (pm >= 0 && pm < pd) {
        mes = n[0], dia = n[1];
    }
    if (qAno <= 2)
        ano += ano < 50 ? 2000 : 1900;
    try {
        data = Datas::codificaData(ano, mes, dia);
    } catch (const ErroConversao&) {
        return false;
    }
    return true;
}

bool leHora(const QString& t, qsizetype& i, const ConfiguracaoRegional& cfg, DataHora& hora) {
    int h = 0, m = 0, s = 0, q = 0;
    if (!leInteiro(t, i, h, q) || !leSeparador(t, i, cfg.separadorHora) || !leInteiro(t, i, m, q))
        return false;
    if (leSeparador(t, i, cfg.separadorHora) && !leInteiro(t, i, s, q))
        return false;
    if (h > 23 || m > 59 || s > 59)
        return false;
    hora = Datas::codificaHora(h, m, s);
    return true;
}

bool soBrancosAte(const QString& t, qsizetype i) {
    while (i < t.size() && t[i] == QLatin1Char(' '))
        ++i;
    return i == t.size();
}

} // namespace

namespace Formato {

bool tentaTextoParaData(const QString& texto, DataHora& valor, const ConfiguracaoRegional& cfg) {
    qsizetype i = 0;
    DataHora data = 0;
    if (!leData(texto, i, cfg, data) || !soBrancosAte(texto, i))
        return false;
    valor = data;
    return true;
}

DataHora textoParaData(const QString& texto, const ConfiguracaoRegional& cfg) {
    DataHora valor = 0;
    if (!tentaTextoParaData(texto, valor, cfg))
        throw ErroConversao(QStringLiteral("'%1' is not a valid date").arg(texto));
    return valor;
}

DataHora textoParaDataHora(const QString& texto, const ConfiguracaoRegional& cfg) {
    qsizetype i = 0;
    DataHora data = 0, hora = 0;
    bool ok = leData(texto, i, cfg, data);
    if (ok && !soBrancosAte(texto, i))
        ok = leHora(texto, i, cfg, hora) && soBrancosAte(texto, i);
    if (!ok)
        throw ErroConversao(QStringLiteral("'%1' is not a valid date and time").arg(texto));
    return Datas::combinaDataHora(data, hora);
}

} // namespace Formato
