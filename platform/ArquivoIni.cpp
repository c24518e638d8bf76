#include "ArquivoIni.h"

#include "Erros.h"
#include "LeituraLimitada.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <optional>

namespace {

const QByteArray MarcaUtf8("\xEF\xBB\xBF");

struct Conteudo {
    QStringList linhas;
    QString quebra = QStringLiteral("\r\n");
    bool marcaUtf8 = false;
    bool terminaComQuebra = true;
};

std::optional<Conteudo> carrega(const QString& arquivo) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes;
    switch (leAteOLimite(f, ArquivoIni::TamanhoMaximo, bytes)) {
    case ResultadoLeitura::Completa:
        break;
    case ResultadoLeitura::GrandeDemais:
        throw ErroBelqor(QStringLiteral("O arquivo INI \"%1\" é grande demais (mais de %2).")
                             .arg(arquivo, textoLimite(ArquivoIni::TamanhoMaximo)));
    case ResultadoLeitura::Falhou:
        throw ErroEntradaSaida(QStringLiteral("Não foi possível ler o arquivo INI \"%1\": %2")
                                   .arg(arquivo, f.errorString()));
    }
    Conteudo c;
    if (bytes.startsWith(MarcaUtf8)) {
        c.marcaUtf8 = true;
        bytes.remove(0, MarcaUtf8.size());
    }
    const QString texto = QString::fromUtf8(bytes);
    if (!texto.contains(QLatin1String("\r\n")) && texto.contains(QLatin1Char('\n')))
        c.quebra = QStringLiteral("\n");
    if (texto.isEmpty())
        return c;
    c.terminaComQuebra = texto.endsWith(QLatin1Char('\n'));
    c.linhas = texto.split(QLatin1Char('\n'));
    if (c.terminaComQuebra)
        c.linhas.removeLast();
    for (QString& linha : c.linhas)
        if (linha.endsWith(QLatin1Char('\r')))
            linha.chop(1);
    return c;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<QString> nomeSecao(const QString& linha) {
    const QString t = linha.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype fim = t.indexOf(QLatin1Char(']'));
    return t.mid(1, fim < 0 ? -1 : fim - 1).trimmed();
}

bool mesmoNome(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line; comments and lines without "=" have none.
std::optional<QString> nomeChave(const QString& linha) {
    const QString t = linha.trimmed();
    const qsizetype igual = t.indexOf(QLatin1Char('='));
    if (t.startsWith(QLatin1Char(';')) || igual <= 0)
        return std::nullopt;
    return t.left(igual).trimmed();
}

QString valorDaLinha(const QString& linha) {
    QString valor = linha.mid(linha.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (valor.size() >= 2 && valor.front() == valor.back() &&
        (valor.front() == QLatin1Char('"') || valor.front() == QLatin1Char('\'')))
        valor = valor.mid(1, valor.size() - 2);
    return valor;
}

// Index of the section's header line, or -1.
qsizetype achaSecao(const QStringList& linhas, const QString& secao) {
    for (qsizetype i = 0; i < linhas.size(); ++i)
        if (const auto nome = nomeSecao(linhas[i]); nome && mesmoNome(*nome, secao))
            return i;
    return -1;
}

// One past the section's last line: the next header or the end of the file.
qsizetype fimSecao(const QStringList& linhas, qsizetype cabecalho) {
    qsizetype i = cabecalho + 1;
    while (i < linhas.size() && !nomeSecao(linhas[i]))
        ++i;
    return i;
}

qsizetype achaChave(const QStringList& linhas, qsizetype inicio, qsizetype fim,
                    const QString& chave) {
    for (qsizetype i = inicio; i < fim; ++i)
        if (const auto nome = nomeChave(linhas[i]); nome && mesmoNome(*nome, chave))
            return i;
    return -1;
}

void exigeUmaLinha(const QString& texto, const QString& arquivo) {
    if (texto.contains(QLatin1Char('\n')) || texto.contains(QLatin1Char('\r')))
        throw ErroBelqor(QStringLiteral("Valor com quebra de linha não pode ser gravado em \"%1\".")
                             .arg(arquivo));
}

} // namespace

namespace ArquivoIni {

QString leValor(const QString& arquivo, const QString& secao, const QString& chave,
                const QString& padrao) {
    const auto conteudo = carrega(arquivo);
    if (!conteudo)
        return padrao;
    const QStringList& linhas = conteudo->linhas;
    const qsizetype cabecalho = achaSecao(linhas, secao);
    if (cabecalho < 0)
        return padrao;
    const qsizetype linha = achaChave(linhas, cabecalho + 1, fimSecao(linhas, cabecalho), chave);
    return linha < 0 ? padrao : valorDaLinha(linhas[linha]);
}

void gravaValor(const QString& arquivo, const QString& secao, const QString& chave,
                const QString& valor) {
    exigeUmaLinha(secao, arquivo);
    exigeUmaLinha(chave, arquivo);
    exigeUmaLinha(valor, arquivo);

    Conteudo c = carrega(arquivo).value_or(Conteudo{});
    QStringList& linhas = c.linhas;
    const QString nova = chave + u'=' + valor;
    const qsizetype cabecalho = achaSecao(linhas, secao);
    if (cabecalho < 0) {
        linhas << QStringLiteral("[%1]").arg(secao) << nova;
    } else {
        const qsizetype fim = fimSecao(linhas, cabecalho);
        const qsizetype existente = achaChave(linhas, cabecalho + 1, fim, chave);
        if (existente >= 0) {
            linhas[existente] = nova;
        } else {
            // After the section's last non-blank line, so the blank line before the
            // next section stays where it is.
            qsizetype depois = fim;
            while (depois > cabecalho + 1 && linhas[depois - 1].trimmed().isEmpty())
                --depois;
            linhas.insert(depois, nova);
        }
    }

    QString texto = linhas.join(c.quebra);
    if (c.terminaComQuebra || cabecalho < 0)
        texto += c.quebra;
    QSaveFile f(arquivo);
    bool gravou = f.open(QIODevice::WriteOnly);
    if (gravou && c.marcaUtf8)
        gravou = f.write(MarcaUtf8) == MarcaUtf8.size();
    const QByteArray bytes = texto.toUtf8();
    gravou = gravou && f.write(bytes) == bytes.size() && f.commit();
    if (!gravou)
        throw ErroBelqor(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                             .arg(arquivo, f.errorString()));
}

} // namespace ArquivoIni
