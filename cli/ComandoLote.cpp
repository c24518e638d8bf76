#include "cli/ComandoLote.h"

#include "sistema/ArquivoSaida.h"
#include "cli/CalculoTextos.h"
#include "planilhas/CsvPontoVirgula.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "calc/ColunasResultado.h"
#include "calc/MemoriaCalculo.h"
#include "sistema/MotivosFalha.h"
#include "cli/SessaoCli.h"

#include <QDir>
#include <QFile>

#include <array>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool ehPadrao(const QString& caminho) {
    return caminho == QLatin1String("-");
}

qsizetype coluna(const QStringList& cabecalho, const QString& nome) {
    for (qsizetype i = 0; i < cabecalho.size(); ++i)
        if (cabecalho[i].trimmed().compare(nome, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// The same file whatever the name it goes by: device and inode, through links.
bool mesmoArquivo(const QString& a, const QString& b) {
    struct stat sa {
    }, sb{};
    return stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// A bar on standard error, redrawn at each whole percent of the input that the rows done
// so far took, only for a person watching.
class Progresso {
public:
    Progresso(QTextStream& erro, qint64 tamanho)
        : fErro(erro), fTamanho(tamanho), fAtivo(tamanho >= 64 * 1024 && isatty(STDERR_FILENO)) {}
    void avanca(LeitorCsv& leitor, qsizetype linhas) {
        if (!fAtivo)
            return;
        const int pct = int(qMin<qint64>(leitor.bytesConsumidos(), fTamanho) * 100 / fTamanho);
        if (pct == fUltimo)
            return;
        fUltimo = pct;
        const int cheias = pct / 5;
        fErro << "\r[" << QString(cheias, QLatin1Char('#'))
              << QString(20 - cheias, QLatin1Char(' ')) << "] " << pct << " % (" << linhas
              << (linhas == 1 ? " linha)" : " linhas)");
        fErro.flush();
    }
    void termina() {
        if (fAtivo && fUltimo >= 0)
            fErro << '\n';
    }

private:
    QTextStream& fErro;
    qint64 fTamanho;
    bool fAtivo;
    int fUltimo = -1;
};

QString linhas(qsizetype n) {
    return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? QStringLiteral("linha")
                                                     : QStringLiteral("linhas"));
}

// The input fields as they stood, in the header's columns; the results after them, always
// from the same column on; fields beyond the header's last column after the results, so
// nothing of the row is lost. A field whose quote never closed goes out quoted, so that it
// reads back as the text it was and takes no later field or row with it.
void escreveLinha(EscritorCsv& escritor, const LinhaCsv& linha, qsizetype colunasEntrada,
                  const std::array<QStringView, 6>& resultado) {
    const auto entrada = [&](qsizetype i) {
        if (linha.aspaAberta != 0 && i == linha.brutos.size() - 1)
            escritor.valor(linha.brutos[i]);
        else
            escritor.campo(i < linha.brutos.size() ? QStringView(linha.brutos[i]) : QStringView());
    };
    for (qsizetype i = 0; i < colunasEntrada; ++i)
        entrada(i);
    for (const QStringView r : resultado)
        escritor.valor(r);
    for (qsizetype i = colunasEntrada; i < linha.brutos.size(); ++i)
        entrada(i);
    escritor.fimDaLinha();
}

} // namespace

int comandoLote(SessaoCli& sessao, const QString& entrada, const QString& destino,
                const QString& pastaPdf) {
    const QString tabela = sessao.dados().ArqDados;
    if (!destino.isEmpty() && !ehPadrao(destino)) {
        if ((!ehPadrao(entrada) && mesmoArquivo(destino, entrada)) ||
            mesmoArquivo(destino, tabela)) {
            sessao.erro << QStringLiteral("O arquivo de saída \"%1\" é o próprio arquivo de %2; "
                                          "escolha outro arquivo de saída.")
                               .arg(destino, mesmoArquivo(destino, tabela)
                                                 ? QStringLiteral("tabela Selic")
                                                 : QStringLiteral("entrada"))
                        << Qt::endl;
            return 2;
        }
    }

    QFile arquivoEntrada;
    if (!ehPadrao(entrada))
        arquivoEntrada.setFileName(entrada);
    const bool abriu = ehPadrao(entrada) ? arquivoEntrada.open(STDIN_FILENO, QIODevice::ReadOnly)
                                         : arquivoEntrada.open(QIODevice::ReadOnly);
    if (!abriu)
        throw ErroEntradaSaida(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                                   .arg(entrada, motivoDoArquivo(arquivoEntrada)));
    const QString nomeEntrada = ehPadrao(entrada) ? QStringLiteral("entrada padrão") : entrada;
    LeitorCsv leitor(arquivoEntrada, nomeEntrada);
    if (leitor.windows1252())
        sessao.erro
            << QStringLiteral("\"%1\" não é UTF-8: lido como Windows-1252.").arg(nomeEntrada)
            << Qt::endl;
    LinhaCsv cabecalho;
    if (!leitor.proxima(cabecalho))
        throw ErroBelqor(QStringLiteral("O arquivo \"%1\" está vazio: falta a linha de cabeçalho "
                                        "valor;vencimento;pagamento.")
                             .arg(nomeEntrada));
    if (cabecalho.aspaAberta != 0)
        throw ErroBelqor(QStringLiteral("O cabeçalho de \"%1\" está incompleto: %2")
                             .arg(nomeEntrada, textoAspaAberta(cabecalho.aspaAberta)));
    const qsizetype iValor = coluna(cabecalho.valores, QStringLiteral("valor"));
    const qsizetype iVencimento = coluna(cabecalho.valores, QStringLiteral("vencimento"));
    const qsizetype iPagamento = coluna(cabecalho.valores, QStringLiteral("pagamento"));
    if (iValor < 0 || iVencimento < 0 || iPagamento < 0)
        throw ErroBelqor(QStringLiteral("O cabeçalho de \"%1\" deve ter as colunas "
                                        "valor;vencimento;pagamento.")
                             .arg(nomeEntrada));
    const qsizetype minimoColunas = qMax(iValor, qMax(iVencimento, iPagamento)) + 1;
    const qsizetype colunasEntrada = cabecalho.brutos.size();

    sessao.abreTabela();
    if (!pastaPdf.isEmpty() && !QDir().mkpath(pastaPdf))
        throw ErroEntradaSaida(
            QStringLiteral("Não foi possível criar a pasta \"%1\".").arg(pastaPdf));
    // A regular file is written beside the target and renamed over it only once complete:
    // a batch that stops leaves no half file. A device or a pipe is written in place.
    std::unique_ptr<ArquivoSaida> arquivoSaida;
    std::unique_ptr<EscritorCsv> escritor;
    if (destino.isEmpty() || ehPadrao(destino)) {
        escritor = std::make_unique<EscritorCsv>(sessao.saida);
    } else {
        arquivoSaida = std::make_unique<ArquivoSaida>(destino);
        arquivoSaida->abre();
        escritor = std::make_unique<EscritorCsv>(*arquivoSaida);
    }
    {
        TextosResultado::Colunas colunas;
        const QStringList& nomes = nomesColunasResultado();
        std::copy(nomes.cbegin(), nomes.cend(), colunas.begin());
        escreveLinha(*escritor, cabecalho, colunasEntrada, colunas);
    }

    // Row messages go into the output, not to the terminal.
    DialogosConsole& dialogos = sessao.dialogos();
    dialogos.defineMudo(true);
    Progresso progresso(sessao.erro, ehPadrao(entrada) ? 0 : arquivoEntrada.size());
    qsizetype total = 0, falhas = 0;
    TextosResultado textos;
    LinhaCsv linha;
    while (leitor.proxima(linha)) {
        ++total;
        dialogos.limpa();
        // The results' texts are formatted into the room textos keeps and written from there.
        QString mensagem;
        const TextosResultado::Colunas* resultado = nullptr;
        if (linha.aspaAberta != 0) {
            mensagem = textoAspaAberta(linha.aspaAberta);
        } else if (linha.valores.size() < minimoColunas) {
            mensagem = QStringLiteral("Linha com colunas a menos.");
        } else {
            // The account is gathered only when its document is wanted.
            MemoriaCalculo memoria;
            const auto r =
                calculaDeTextos(sessao.dados(), linha.valores[iValor], linha.valores[iVencimento],
                                linha.valores[iPagamento], pastaPdf.isEmpty() ? nullptr : &memoria);
            if (r) {
                if (!pastaPdf.isEmpty())
                    sessao.gravaPdf(
                        QDir(pastaPdf).filePath(QStringLiteral("linha-%1.pdf").arg(total)), *r,
                        memoria);
                resultado = &textos.de(*r);
            } else {
                mensagem = dialogos.mostrados().join(QLatin1Char(' '));
            }
        }
        if (!mensagem.isEmpty())
            ++falhas;
        escreveLinha(*escritor, linha, colunasEntrada,
                     resultado ? *resultado : textos.deFalha(mensagem));
        progresso.avanca(leitor, total);
    }
    // Empty lines after the last row are read too: the bar ends full.
    progresso.avanca(leitor, total);
    progresso.termina();
    dialogos.defineMudo(false);
    dialogos.limpa();

    escritor->descarrega();
    if (arquivoSaida)
        arquivoSaida->conclui();
    sessao.fechaTabela();
    sessao.erro << "Lote: " << linhas(total) << ", " << (total - falhas)
                << (total - falhas == 1 ? " calculada, " : " calculadas, ") << falhas
                << " com falha." << Qt::endl;
    return falhas == 0 ? 0 : 1;
}
