#include "demonstrativo/ExportacaoDemonstrativo.h"

#include "calc/ValidacaoCalculo.h"
#include "demonstrativo/BibliotecaXlsx.h"
#include "demonstrativo/Demonstrativo.h"
#include "sistema/ArquivoSaida.h"
#include "sistema/MotivosFalha.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"

#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A workbook keeps every number format in one neutral form, "," grouping thousands and "."
// before the decimals; the spreadsheet program shows it in its user's regional settings,
// as #.##0,00 (1.234,56) under the Brazilian ones. Written as #.##0,00 here, it would group
// by the decimal point.
constexpr char FormatoValor[] = "#,##0.00";
constexpr char FormatoData[] = "dd/mm/yyyy";
// The rate is stored as the fraction it is (0,0123) and shown in percent, as the window
// shows it: 1,230000 %.
constexpr char FormatoTaxa[] = "0.000000\\ %";

enum Coluna : lxw_col_t {
    Referencia,
    Vencimento,
    Valor,
    Descricao,
    Dias,
    Taxa,
    Multa,
    Juros,
    Total,
    Mensagem,
    // Only when some debt had payments or an estimated month (temExtras).
    Previsao,
    Pago,
    PrincipalEmAberto
};

// The sheet "Pagamentos": one row per payment of every debt.
enum ColunaPagamento : lxw_col_t {
    PagReferencia,
    PagData,
    PagValor,
    PagTotalNaData,
    PagPrincipal,
    PagMulta,
    PagJuros,
    PagPagoAMaior
};

// libxlsxwriter also words its failures in English on standard error. The user learns them
// from the code it returns, in Portuguese; standard error is closed to it while it works.
// One thread runs the program, so nothing else writes there meanwhile.
class ErroPadraoMudo {
public:
    ErroPadraoMudo() {
        std::fflush(stderr);
        fCopia = dup(STDERR_FILENO);
        const int nulo = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (fCopia >= 0 && nulo >= 0)
            dup2(nulo, STDERR_FILENO);
        if (nulo >= 0)
            close(nulo);
    }
    ~ErroPadraoMudo() {
        std::fflush(stderr);
        if (fCopia >= 0) {
            dup2(fCopia, STDERR_FILENO);
            close(fCopia);
        }
    }
    ErroPadraoMudo(const ErroPadraoMudo&) = delete;
    ErroPadraoMudo& operator=(const ErroPadraoMudo&) = delete;

private:
    int fCopia = -1;
};

QString motivoXlsx(lxw_error erro, int codigoSistema) {
    switch (erro) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return motivoDoSistema(ENOMEM);
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("um texto passa de 32.767 caracteres, o máximo de uma célula");
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
        if (codigoSistema != 0)
            return QStringLiteral("a planilha não pôde ser montada na pasta temporária: %1")
                .arg(motivoDoSistema(codigoSistema));
        return QStringLiteral("a planilha não pôde ser montada na pasta temporária");
    default:
        return QStringLiteral("a planilha não pôde ser montada (erro %1 da biblioteca de "
                              "planilhas)")
            .arg(int(erro));
    }
}

double emReais(Moeda valor) {
    return double(valor.contagem()) / double(Moeda::Escala);
}

// One workbook being written to a temporary file; closed (and freed) whatever happens.
class Livro {
public:
    Livro(const BibliotecaXlsx& xlsx, const QTemporaryDir& pasta, ArquivoSaida& destino)
        : fX(xlsx), fDestino(destino),
          fArquivo(QFile::encodeName(pasta.filePath(QStringLiteral("demonstrativo.xlsx")))),
          fPasta(QFile::encodeName(pasta.path())) {
        lxw_workbook_options opcoes{};
        opcoes.tmpdir = fPasta.data();
        fLivro = fX.workbook_new_opt(fArquivo.constData(), &opcoes);
        if (!fLivro)
            falha(LXW_ERROR_MEMORY_MALLOC_FAILED);
        novaFolha("Demonstrativo");
    }
    ~Livro() {
        if (fLivro)
            fX.workbook_close(fLivro);
    }
    Livro(const Livro&) = delete;
    Livro& operator=(const Livro&) = delete;

    // What follows is written to a new sheet of that name.
    void novaFolha(const char* nome) {
        fFolha = fX.workbook_add_worksheet(fLivro, nome);
        if (!fFolha)
            falha(LXW_ERROR_MEMORY_MALLOC_FAILED);
    }

    lxw_format* formato(const char* numero, bool negrito = false) {
        lxw_format* f = fX.workbook_add_format(fLivro);
        if (!f)
            falha(LXW_ERROR_MEMORY_MALLOC_FAILED);
        if (numero)
            fX.format_set_num_format(f, numero);
        if (negrito)
            fX.format_set_bold(f);
        return f;
    }

    void texto(lxw_row_t linha, lxw_col_t coluna, const QString& texto, lxw_format* f = nullptr) {
        if (texto.isEmpty())
            return;
        confere(fX.worksheet_write_string(fFolha, linha, coluna, texto.toUtf8().constData(), f));
    }
    void numero(lxw_row_t linha, lxw_col_t coluna, double valor, lxw_format* f = nullptr) {
        confere(fX.worksheet_write_number(fFolha, linha, coluna, valor, f));
    }
    void data(lxw_row_t linha, lxw_col_t coluna, DataHora valor, lxw_format* f) {
        // The date value is the serial number the workbook counts dates in (from 1900 on).
        if (valor != Datas::Vazia)
            numero(linha, coluna, valor, f);
    }
    void largura(lxw_col_t primeira, lxw_col_t ultima, double caracteres) {
        confere(fX.worksheet_set_column(fFolha, primeira, ultima, caracteres, nullptr));
    }
    void congelaAte(lxw_row_t linha) { fX.worksheet_freeze_panes(fFolha, linha, 0); }

    // Writes the file; the workbook is freed whatever the outcome.
    void fecha() {
        *fX.errno_location() = 0;
        const lxw_error erro = fX.workbook_close(fLivro);
        const int codigo = *fX.errno_location();
        fLivro = nullptr;
        if (erro != LXW_NO_ERROR)
            throw fDestino.falha(motivoXlsx(erro, codigo));
    }
    const QByteArray& arquivo() const { return fArquivo; }

private:
    void confere(lxw_error erro) {
        if (erro != LXW_NO_ERROR)
            falha(erro);
    }
    [[noreturn]] void falha(lxw_error erro) { throw fDestino.falha(motivoXlsx(erro, 0)); }

    const BibliotecaXlsx& fX;
    ArquivoSaida& fDestino;
    QByteArray fArquivo;
    QByteArray fPasta;
    lxw_workbook* fLivro = nullptr;
    lxw_worksheet* fFolha = nullptr;
};

std::optional<Moeda> valorDigitado(const QString& texto) {
    QString valor = texto.trimmed();
    if (valor.isEmpty() || ValidaValorSemSinal(valor))
        return std::nullopt;
    try {
        return Formato::textoParaMoeda(valor);
    } catch (const ErroBelqor&) {
        return std::nullopt;
    }
}

QString rotuloDocumento(TipoDocumento tipo) {
    switch (tipo) {
    case TipoDocumento::CPF:
        return QStringLiteral("CPF");
    case TipoDocumento::CNPJ:
        return QStringLiteral("CNPJ");
    case TipoDocumento::Nenhum:
        break;
    }
    return QStringLiteral("CPF/CNPJ");
}

// The sheet of payments: each payment with what settling its debt cost that day and its
// three parts.
void montaPagamentos(const Demonstrativo& d, Livro& livro, lxw_format* negrito, lxw_format* valor,
                     lxw_format* data) {
    livro.novaFolha("Pagamentos");
    const QStringList titulos{QStringLiteral("Referência"), QStringLiteral("Data"),
                              QStringLiteral("Valor"),      QStringLiteral("Total na Data"),
                              QStringLiteral("Principal"),  QStringLiteral("Multa"),
                              QStringLiteral("Juros"),      QStringLiteral("Pago a Maior")};
    for (qsizetype c = 0; c < titulos.size(); ++c)
        livro.texto(0, lxw_col_t(c), titulos[c], negrito);
    lxw_row_t linha = 1;
    for (qsizetype i = 0; i < d.resultados().size(); ++i)
        for (const ParcelaImputada& p : d.resultados()[i].Pagamentos.Parcelas) {
            livro.texto(linha, PagReferencia, d.Debitos[i].Referencia);
            livro.data(linha, PagData, p.Data, data);
            livro.numero(linha, PagValor, emReais(p.Pago), valor);
            livro.numero(linha, PagTotalNaData, emReais(p.NaData.Total), valor);
            livro.numero(linha, PagPrincipal, emReais(p.Principal), valor);
            livro.numero(linha, PagMulta, emReais(p.Multa), valor);
            livro.numero(linha, PagJuros, emReais(p.Juros), valor);
            livro.numero(linha, PagPagoAMaior, emReais(p.PagoAMaior), valor);
            ++linha;
        }
    livro.largura(PagReferencia, PagReferencia, 20);
    livro.largura(PagData, PagData, 12);
    livro.largura(PagValor, PagPagoAMaior, 16);
    livro.congelaAte(1);
}

void monta(const Demonstrativo& d, Livro& livro) {
    lxw_format* negrito = livro.formato(nullptr, true);
    lxw_format* valor = livro.formato(FormatoValor);
    lxw_format* valorTotal = livro.formato(FormatoValor, true);
    lxw_format* data = livro.formato(FormatoData);
    lxw_format* taxa = livro.formato(FormatoTaxa);

    livro.texto(0, 0, QStringLiteral("Demonstrativo de Débitos"), negrito);
    livro.texto(1, 0, QStringLiteral("Contribuinte"), negrito);
    livro.texto(1, 1, d.Titular.Nome);
    livro.texto(2, 0, rotuloDocumento(d.Titular.tipoDocumento()), negrito);
    livro.texto(2, 1, d.Titular.documentoFormatado());
    livro.texto(3, 0, QStringLiteral("Inscrição estadual"), negrito);
    livro.texto(3, 1, d.Titular.InscricaoEstadual);
    livro.texto(4, 0, QStringLiteral("Data de pagamento"), negrito);
    livro.data(4, 1, d.DataPagamento, data);

    constexpr lxw_row_t Cabecalho = 6;
    const QStringList titulos{QStringLiteral("Referência"),    QStringLiteral("Vencimento"),
                              QStringLiteral("Valor do ICMS"), QStringLiteral("Descrição"),
                              QStringLiteral("Dias"),          QStringLiteral("Taxa de Juros"),
                              QStringLiteral("Multa de Mora"), QStringLiteral("Juros de Mora"),
                              QStringLiteral("Total"),         QStringLiteral("Mensagem")};
    for (qsizetype c = 0; c < titulos.size(); ++c)
        livro.texto(Cabecalho, lxw_col_t(c), titulos[c], negrito);
    const bool extras = colunasExtras(d);
    const bool pagamentos = d.temPagamentos();
    if (extras) {
        livro.texto(Cabecalho, Previsao, QStringLiteral("Previsão"), negrito);
        livro.texto(Cabecalho, Pago, QStringLiteral("Pago"), negrito);
        livro.texto(Cabecalho, PrincipalEmAberto, QStringLiteral("Principal em Aberto"), negrito);
    }

    lxw_row_t linha = Cabecalho + 1;
    for (qsizetype i = 0; i < d.Debitos.size(); ++i, ++linha) {
        const Debito& debito = d.Debitos[i];
        const ResultadoDebito* r = i < d.resultados().size() ? &d.resultados()[i] : nullptr;
        livro.texto(linha, Referencia, debito.Referencia);
        livro.data(linha, Vencimento, debito.Vencimento, data);
        livro.texto(linha, Descricao, debito.Descricao);
        if (r && r->Resultado) {
            const ResultadoCalculo& res = *r->Resultado;
            // The amount owed before any payment, so the debt reads back as it was typed;
            // what the payments left is in its own column.
            livro.numero(linha, Valor,
                         emReais(r->Pagamentos.Parcelas.isEmpty()
                                     ? res.ValorICMS
                                     : valorDigitado(debito.Valor).value_or(res.ValorICMS)),
                         valor);
            if (extras) {
                if (r->previsao())
                    livro.texto(linha, Previsao, marcaPrevisao());
                livro.numero(linha, Pago, emReais(r->Pagamentos.Pago), valor);
                livro.numero(linha, PrincipalEmAberto, emReais(res.ValorICMS), valor);
            }
            livro.numero(linha, Dias, double(res.Dias));
            livro.numero(linha, Taxa, double(res.TaxaJuros), taxa);
            livro.numero(linha, Multa, emReais(res.MultaMora), valor);
            livro.numero(linha, Juros, emReais(res.JurosMora), valor);
            livro.numero(linha, Total, emReais(res.Total), valor);
        } else {
            // Not calculated: the amount as a number all the same when it reads as one, as
            // it was typed when that is what failed.
            if (const auto v = valorDigitado(debito.Valor))
                livro.numero(linha, Valor, emReais(*v), valor);
            else
                livro.texto(linha, Valor, debito.Valor);
            if (r)
                livro.texto(linha, Mensagem, r->Mensagem);
        }
    }

    // Plain sums rather than formulas: a formula over the column would add the amounts of
    // the debts that failed, which the statement leaves out.
    const TotaisDemonstrativo& t = d.totais();
    livro.texto(linha, Referencia, QStringLiteral("Totais"), negrito);
    livro.numero(linha, Valor, emReais(t.Valor), valorTotal);
    livro.texto(linha, Descricao,
                t.Quantidade == 1 ? QStringLiteral("1 débito calculado")
                                  : QStringLiteral("%1 débitos calculados").arg(t.Quantidade));
    livro.numero(linha, Multa, emReais(t.Multa), valorTotal);
    livro.numero(linha, Juros, emReais(t.Juros), valorTotal);
    livro.numero(linha, Total, emReais(t.Total), valorTotal);
    if (extras) {
        if (t.previsao())
            livro.texto(linha, Previsao, marcaPrevisao(), negrito);
        livro.numero(linha, Pago, emReais(t.Pago), valorTotal);
        livro.numero(linha, PrincipalEmAberto, emReais(t.Valor), valorTotal);
    }

    livro.largura(Referencia, Referencia, 20);
    livro.largura(Vencimento, Vencimento, 12);
    livro.largura(Valor, Valor, 16);
    livro.largura(Descricao, Descricao, 30);
    livro.largura(Dias, Dias, 7);
    livro.largura(Taxa, Taxa, 14);
    livro.largura(Multa, Total, 16);
    livro.largura(Mensagem, Mensagem, 50);
    if (extras) {
        livro.largura(Previsao, Previsao, 12);
        livro.largura(Pago, PrincipalEmAberto, 18);
    }
    livro.congelaAte(Cabecalho + 1);
    if (pagamentos)
        montaPagamentos(d, livro, negrito, valor, data);
}

} // namespace

void exportaXlsx(const Demonstrativo& demonstrativo, ArquivoSaida& destino) {
    // libxlsxwriter writes to a path: the workbook is made in a folder of its own, with the
    // library's temporary files, and then copied to the output.
    QTemporaryDir pasta;
    if (!pasta.isValid())
        throw destino.falha(QStringLiteral("a pasta temporária não pôde ser criada: %1")
                                .arg(motivoDoSistema(errno)));
    const BibliotecaXlsx* xlsx = bibliotecaXlsx();
    if (!xlsx)
        throw destino.falha(QStringLiteral("a biblioteca libxlsxwriter, que monta as planilhas "
                                           ".xlsx, não pôde ser carregada"));
    QByteArray arquivoMontado;
    {
        ErroPadraoMudo mudo;
        Livro livro(*xlsx, pasta, destino);
        monta(demonstrativo, livro);
        livro.fecha();
        arquivoMontado = livro.arquivo();
    }
    // The output writes it as what the user named and checks every byte.
    QFile montado(QFile::decodeName(arquivoMontado));
    const auto ilegivel = [&] {
        return destino.falha(QStringLiteral("a planilha montada não pôde ser lida: %1")
                                 .arg(motivoDoArquivo(montado)));
    };
    if (!montado.open(QIODevice::ReadOnly))
        throw ilegivel();
    QByteArray bloco(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 lidos = montado.read(bloco.data(), bloco.size());
        if (lidos < 0)
            throw ilegivel();
        if (lidos == 0)
            break;
        if (destino.write(bloco.constData(), lidos) != lidos)
            throw destino.erro();
    }
}
