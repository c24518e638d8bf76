#include "framework/ArquivoIni.h"

#include "sistema/ArquivoSaida.h"
#include "sistema/CodificacaoTexto.h"
#include "sistema/LeituraLimitada.h"
#include "sistema/MotivosFalha.h"
#include "sistema/PaginaAnsi.h"
#include "valores/Erros.h"

#include <QFile>
#include <QStringList>

#include <optional>

namespace {

// One line as it stands in the file: its text, its bytes and the line end that follows it
// (empty for a last line without one). A line a write does not change keeps its bytes.
struct Linha {
    QString texto;
    QByteArray bytes;
    QByteArray fim;
};

struct Conteudo {
    QList<Linha> linhas;
    QByteArray quebra = "\r\n";
    bool marcaUtf8 = false;
    // Text that is not valid UTF-8 is in the ANSI code page.
    bool ansi = false;

    QString decodifica(QByteArrayView bytes) const {
        return ansi ? PaginaAnsi::decodifica(bytes) : QString::fromUtf8(bytes);
    }
    QStringList textos() const {
        QStringList lista;
        for (const Linha& linha : linhas)
            lista << linha.texto;
        return lista;
    }
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
                                   .arg(arquivo, motivoDoArquivo(f)));
    }
    Conteudo c;
    // Only the UTF-8 mark counts; without it, text that is valid UTF-8 is UTF-8.
    if (codificacaoDaMarca(bytes) == CodificacaoTexto::Utf8) {
        c.marcaUtf8 = true;
        bytes.remove(0, marcaDeOrdem(CodificacaoTexto::Utf8).size());
    } else {
        c.ansi = utf8OuAnsi(bytes) == CodificacaoTexto::Ansi;
    }
    if (!bytes.contains("\r\n") && bytes.contains('\n'))
        c.quebra = "\n";
    qsizetype inicio = 0;
    while (inicio < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', inicio);
        qsizetype fimTexto = lf < 0 ? bytes.size() : lf;
        if (fimTexto > inicio && bytes[fimTexto - 1] == '\r')
            --fimTexto;
        Linha linha;
        linha.bytes = bytes.mid(inicio, fimTexto - inicio);
        linha.fim = bytes.mid(fimTexto, (lf < 0 ? bytes.size() : lf + 1) - fimTexto);
        linha.texto = c.decodifica(linha.bytes);
        c.linhas << linha;
        inicio = lf < 0 ? bytes.size() : lf + 1;
    }
    return c;
}

// The text in the file's encoding. A file in the ANSI code page only takes what the page
// holds: anything else would be written as "?" and lost.
QByteArray codifica(const Conteudo& c, const QString& texto, const QString& arquivo) {
    if (!c.ansi)
        return texto.toUtf8();
    const QByteArray bytes = PaginaAnsi::codifica(texto);
    if (PaginaAnsi::decodifica(bytes) != texto)
        throw ErroBelqor(QStringLiteral("O valor não pode ser gravado em \"%1\": o arquivo está "
                                        "na página de código ANSI (Windows-1252), que não tem "
                                        "todos os seus caracteres.")
                             .arg(arquivo));
    return bytes;
}

void trocaLinha(Conteudo& c, qsizetype i, const QString& texto, const QString& arquivo) {
    c.linhas[i].texto = texto;
    c.linhas[i].bytes = codifica(c, texto, arquivo);
}

void insereLinha(Conteudo& c, qsizetype i, const QString& texto, const QString& arquivo) {
    Linha nova{texto, codifica(c, texto, arquivo), c.quebra};
    // A file that ended without a line break goes on ending without one. A last line
    // ended by a lone CR gets its LF, or the new line would be read as part of it.
    if (i == c.linhas.size() && i > 0 && !c.linhas[i - 1].fim.endsWith('\n')) {
        Linha& ultima = c.linhas[i - 1];
        if (ultima.fim.isEmpty()) {
            ultima.fim = c.quebra;
            nova.fim.clear();
        } else {
            ultima.fim += '\n';
        }
    }
    c.linhas.insert(i, nova);
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
    const QStringList linhas = conteudo->textos();
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
    const QStringList linhas = c.textos();
    const QString nova = chave + u'=' + valor;
    const qsizetype cabecalho = achaSecao(linhas, secao);
    if (cabecalho < 0) {
        insereLinha(c, c.linhas.size(), QStringLiteral("[%1]").arg(secao), arquivo);
        insereLinha(c, c.linhas.size(), nova, arquivo);
    } else {
        const qsizetype fim = fimSecao(linhas, cabecalho);
        const qsizetype existente = achaChave(linhas, cabecalho + 1, fim, chave);
        if (existente >= 0) {
            trocaLinha(c, existente, nova, arquivo);
        } else {
            // After the section's last non-blank line, so the blank line before the
            // next section stays where it is.
            qsizetype depois = fim;
            while (depois > cabecalho + 1 && linhas[depois - 1].trimmed().isEmpty())
                --depois;
            insereLinha(c, depois, nova, arquivo);
        }
    }

    QByteArray bytes =
        c.marcaUtf8 ? marcaDeOrdem(CodificacaoTexto::Utf8).toByteArray() : QByteArray();
    for (const Linha& linha : c.linhas)
        bytes += linha.bytes + linha.fim;
    ArquivoSaida f(arquivo);
    f.abre();
    f.write(bytes);
    f.conclui();
}

} // namespace ArquivoIni
