#include "ComandoLote.h"

#include "CalculoTextos.h"
#include "CsvPontoVirgula.h"
#include "Erros.h"
#include "MemoriaCalculo.h"
#include "SessaoCli.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <unistd.h>

namespace {

const QStringList ColunasResultado{QStringLiteral("dias"),  QStringLiteral("taxa"),
                                   QStringLiteral("multa"), QStringLiteral("juros"),
                                   QStringLiteral("total"), QStringLiteral("mensagem")};

QStringList leLinhas(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        throw ErroEntradaSaida(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                                   .arg(caminho, f.errorString()));
    QString texto = QString::fromUtf8(f.readAll());
    if (texto.startsWith(QChar(0xFEFF)))
        texto.remove(0, 1);
    QStringList linhas = texto.split(QLatin1Char('\n'));
    for (QString& l : linhas)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    while (!linhas.isEmpty() && linhas.last().trimmed().isEmpty())
        linhas.removeLast();
    return linhas;
}

qsizetype coluna(const QStringList& cabecalho, const QString& nome) {
    for (qsizetype i = 0; i < cabecalho.size(); ++i)
        if (cabecalho[i].trimmed().compare(nome, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// A bar on standard error, redrawn at each whole percent, only for a person watching.
class Progresso {
public:
    Progresso(QTextStream& erro, qsizetype total)
        : fErro(erro), fTotal(total), fAtivo(total >= 1000 && isatty(STDERR_FILENO)) {}
    void avanca(qsizetype feitas) {
        if (!fAtivo)
            return;
        const int pct = int(feitas * 100 / fTotal);
        if (pct == fUltimo)
            return;
        fUltimo = pct;
        const int cheias = pct / 5;
        fErro << "\r[" << QString(cheias, QLatin1Char('#'))
              << QString(20 - cheias, QLatin1Char(' ')) << "] " << pct << " % (" << feitas << '/'
              << fTotal << ')';
        if (feitas == fTotal)
            fErro << '\n';
        fErro.flush();
    }

private:
    QTextStream& fErro;
    qsizetype fTotal;
    bool fAtivo;
    int fUltimo = -1;
};

} // namespace

int comandoLote(SessaoCli& sessao, const QStringList& argumentos, const QString& pastaPdf) {
    if (argumentos.isEmpty() || argumentos.size() > 2) {
        sessao.erro << "Uso: belqor-cli lote ENTRADA.csv [SAIDA.csv] [--pdf PASTA]" << Qt::endl;
        return 2;
    }
    const QStringList linhas = leLinhas(argumentos[0]);
    if (linhas.isEmpty())
        throw ErroBelqor(QStringLiteral("O arquivo \"%1\" está vazio: falta a linha de cabeçalho "
                                        "valor;vencimento;pagamento.")
                             .arg(argumentos[0]));
    const QStringList cabecalho = separaCampos(linhas[0]);
    const qsizetype iValor = coluna(cabecalho, QStringLiteral("valor"));
    const qsizetype iVencimento = coluna(cabecalho, QStringLiteral("vencimento"));
    const qsizetype iPagamento = coluna(cabecalho, QStringLiteral("pagamento"));
    if (iValor < 0 || iVencimento < 0 || iPagamento < 0)
        throw ErroBelqor(QStringLiteral("O cabeçalho de \"%1\" deve ter as colunas "
                                        "valor;vencimento;pagamento.")
                             .arg(argumentos[0]));
    const qsizetype minimoColunas = qMax(iValor, qMax(iVencimento, iPagamento)) + 1;

    sessao.abreTabela();
    if (!pastaPdf.isEmpty() && !QDir().mkpath(pastaPdf))
        throw ErroEntradaSaida(
            QStringLiteral("Não foi possível criar a pasta \"%1\".").arg(pastaPdf));
    // Row messages go into the output, not to the terminal.
    DialogosConsole& dialogos = sessao.dialogos();
    dialogos.defineMudo(true);

    QStringList saida;
    saida.reserve(linhas.size());
    saida.append(juntaCampos(cabecalho + ColunasResultado));
    const qsizetype total = linhas.size() - 1;
    Progresso progresso(sessao.erro, total);
    qsizetype falhas = 0;
    for (qsizetype i = 1; i < linhas.size(); ++i) {
        QStringList campos = separaCampos(linhas[i]);
        dialogos.limpa();
        QStringList resultado;
        if (campos.size() < minimoColunas) {
            resultado = QStringList(5, QString()) << QStringLiteral("Linha com colunas a menos.");
        } else {
            // The account is gathered only when its document is wanted.
            MemoriaCalculo memoria;
            const auto r =
                calculaDeTextos(sessao.dados(), campos[iValor], campos[iVencimento],
                                campos[iPagamento], pastaPdf.isEmpty() ? nullptr : &memoria);
            if (r) {
                if (!pastaPdf.isEmpty())
                    sessao.gravaPdf(QDir(pastaPdf).filePath(QStringLiteral("linha-%1.pdf").arg(i)),
                                    *r, memoria);
                const ResultadoFormatado f = formataResultado(*r);
                QString taxa = f.Taxa;
                taxa.chop(2); // the column names the unit
                resultado = QStringList{f.Dias, taxa, f.Multa, f.Juros, f.Total, QString()};
            } else {
                resultado = QStringList(5, QString())
                            << dialogos.mostrados().join(QLatin1Char(' '));
            }
        }
        if (!resultado.last().isEmpty())
            ++falhas;
        saida.append(juntaCampos(campos + resultado));
        progresso.avanca(i);
    }
    dialogos.defineMudo(false);
    dialogos.limpa();

    const QByteArray bytes = (saida.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (argumentos.size() == 2) {
        QSaveFile arquivo(argumentos[1]);
        if (!arquivo.open(QIODevice::WriteOnly) || arquivo.write(bytes) != bytes.size() ||
            !arquivo.commit())
            throw ErroEntradaSaida(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                                       .arg(argumentos[1], arquivo.errorString()));
    } else {
        sessao.saida << QString::fromUtf8(bytes);
        sessao.saida.flush();
    }
    sessao.fechaTabela();
    sessao.erro << "Lote: " << total << " linhas, " << (total - falhas) << " calculadas, " << falhas
                << " com falha." << Qt::endl;
    return falhas == 0 ? 0 : 1;
}
