#include "demonstrativo/LeituraDebitos.h"

#include "framework/ConfigApp.h"
#include "planilhas/CsvPontoVirgula.h"
#include "planilhas/ErrosPlanilha.h"
#include "planilhas/FormasPlanilha.h"
#include "planilhas/LeituraPlanilha.h"
#include "sistema/MotivosFalha.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"

#include <QFile>
#include <QRegularExpression>

#include <array>
#include <optional>

namespace {

enum Coluna { Referencia, Vencimento, Valor, Descricao, Colunas };

// "Referência " and "REFERENCIA" alike: "referencia".
QString semAcentos(const QString& texto) {
    QString limpo;
    for (const QChar c : texto.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            limpo += c.toLower();
    return limpo.simplified();
}

std::optional<Coluna> colunaNomeada(const CelulaPlanilha& celula) {
    if (celula.tipo != CelulaPlanilha::Tipo::Texto)
        return std::nullopt;
    const QString nome = semAcentos(celula.texto);
    if (nome == QLatin1String("referencia"))
        return Referencia;
    if (nome == QLatin1String("vencimento"))
        return Vencimento;
    if (nome == QLatin1String("valor") || nome == QLatin1String("valor do icms"))
        return Valor;
    if (nome == QLatin1String("descricao"))
        return Descricao;
    return std::nullopt;
}

const QString& nomeDaColuna(Coluna coluna) {
    static const std::array<QString, Colunas> nomes{
        QStringLiteral("referencia"), QStringLiteral("vencimento"), QStringLiteral("valor"),
        QStringLiteral("descricao")};
    return nomes[coluna];
}

// A cell's content as a reason quotes it: on one line and short.
QString citacao(const CelulaPlanilha& celula) {
    QString texto;
    switch (celula.tipo) {
    case CelulaPlanilha::Tipo::Vazia:
        break;
    case CelulaPlanilha::Tipo::Numero:
        texto = numeroDaPlanilha(celula.numero);
        break;
    case CelulaPlanilha::Tipo::Data:
        texto = Formato::dataParaTexto(celula.numero);
        break;
    case CelulaPlanilha::Tipo::Texto:
        texto = emUmaLinha(celula.texto.trimmed());
        break;
    }
    constexpr qsizetype Maximo = 40;
    if (texto.size() > Maximo)
        texto = texto.first(Maximo - 1) + QChar(0x2026);
    return QLatin1Char('"') + texto + QLatin1Char('"');
}

// "01/2020" or "1/2020", as the month "01/2020".
std::optional<QString> mesAnoDoTexto(const QString& texto) {
    static const QRegularExpression forma(QStringLiteral("^(\\d{1,2})/(\\d{4})$"));
    const auto achado = forma.match(texto.trimmed());
    if (!achado.hasMatch())
        return std::nullopt;
    const int mes = achado.capturedView(1).toInt();
    if (mes < 1 || mes > 12)
        return std::nullopt;
    return QStringLiteral("%1/%2").arg(mes, 2, 10, QLatin1Char('0')).arg(achado.capturedView(2));
}

// The amount in the window's form, "1000,00" or ",50"; nothing for anything else.
std::optional<QString> valorDaCelula(const CelulaPlanilha& celula) {
    static const QRegularExpression forma(QStringLiteral("^\\d*,\\d\\d$"));
    QString texto;
    if (celula.tipo == CelulaPlanilha::Tipo::Numero)
        texto = valorDaPlanilha(numeroDaPlanilha(celula.numero));
    else if (celula.tipo == CelulaPlanilha::Tipo::Texto)
        texto = valorDaPlanilha(celula.texto).trimmed();
    if (forma.match(texto).hasMatch())
        return texto;
    return std::nullopt;
}

std::optional<DataHora> dataDaCelula(const CelulaPlanilha& celula) {
    if (celula.tipo == CelulaPlanilha::Tipo::Data)
        return DataHora(Datas::parteInteira(celula.numero));
    DataHora data = 0;
    if (celula.tipo == CelulaPlanilha::Tipo::Texto &&
        Formato::tentaTextoParaData(dataDaPlanilha(celula.texto).trimmed(), data))
        return DataHora(Datas::parteInteira(data));
    return std::nullopt;
}

QString descricaoDaCelula(const CelulaPlanilha& celula) {
    switch (celula.tipo) {
    case CelulaPlanilha::Tipo::Numero:
        return numeroDaPlanilha(celula.numero);
    case CelulaPlanilha::Tipo::Data:
        return Formato::dataParaTexto(celula.numero);
    case CelulaPlanilha::Tipo::Texto:
        return celula.texto.trimmed();
    case CelulaPlanilha::Tipo::Vazia:
        break;
    }
    return QString();
}

// Nothing, or blanks only.
bool semConteudo(const CelulaPlanilha& celula) {
    return celula.vazia() || (celula.tipo == CelulaPlanilha::Tipo::Texto &&
                              QStringView(celula.texto).trimmed().isEmpty());
}

// Rows walked in order: the header first, then the debts below it.
class Leitura {
public:
    explicit Leitura(QString nome) : fNome(std::move(nome)) {}

    // falha: why the row cannot be read at all (a quote never closed), empty when it can.
    void linha(const LinhaPlanilha& linha, const QString& falha = QString()) {
        if (!fComCabecalho)
            cabecalho(linha, falha);
        else if (!falha.isEmpty())
            fLidos.Recusadas.append({linha.numero, falha});
        else
            debito(linha);
    }

    DebitosLidos conclui() {
        if (!fComCabecalho && !fIncompleto.isEmpty())
            throw ErroBelqor(fIncompleto);
        if (!fComCabecalho)
            throw ErroBelqor(QStringLiteral("A planilha \"%1\" não tem a linha de cabeçalho com "
                                            "as colunas referencia, vencimento e valor.")
                                 .arg(fNome));
        return std::move(fLidos);
    }

    DebitosLidos& lidos() { return fLidos; }

private:
    const CelulaPlanilha& celula(const LinhaPlanilha& linha, Coluna coluna) const {
        static const CelulaPlanilha vazia;
        const qsizetype i = fColunas[coluna];
        return i >= 0 && i < linha.celulas.size() ? linha.celulas[i] : vazia;
    }

    // The first row that names the three columns the calculation needs is the header; rows
    // before it are passed over (a title, the taxpayer). The first row that names only some
    // of them is kept to say which are missing when no header follows.
    void cabecalho(const LinhaPlanilha& linha, const QString& falha) {
        std::array<qsizetype, Colunas> colunas;
        colunas.fill(-1);
        bool algum = false;
        for (qsizetype i = 0; i < linha.celulas.size(); ++i)
            if (const auto coluna = colunaNomeada(linha.celulas[i])) {
                algum = true;
                if (colunas[*coluna] < 0)
                    colunas[*coluna] = i;
            }
        if (!algum)
            return;
        QStringList faltam;
        for (const Coluna c : {Referencia, Vencimento, Valor})
            if (colunas[c] < 0)
                faltam << nomeDaColuna(c);
        if (!faltam.isEmpty()) {
            if (fIncompleto.isEmpty())
                fIncompleto =
                    QStringLiteral("O cabeçalho de \"%1\", na linha %2, não tem %3.")
                        .arg(fNome)
                        .arg(linha.numero)
                        .arg(faltam.size() == 1
                                 ? QStringLiteral("a coluna ") + faltam[0]
                                 : QStringLiteral("as colunas ") +
                                       faltam.first(faltam.size() - 1).join(QStringLiteral(", ")) +
                                       QStringLiteral(" e ") + faltam.last());
            return;
        }
        if (!falha.isEmpty())
            throw ErroBelqor(
                QStringLiteral("O cabeçalho de \"%1\" está incompleto: %2").arg(fNome, falha));
        fColunas = colunas;
        fComCabecalho = true;
    }

    void debito(const LinhaPlanilha& linha) {
        const CelulaPlanilha& referencia = celula(linha, Referencia);
        const CelulaPlanilha& vencimento = celula(linha, Vencimento);
        const CelulaPlanilha& valor = celula(linha, Valor);
        const CelulaPlanilha& descricao = celula(linha, Descricao);
        // Notes beside the table, in columns of their own, are no debt.
        if (semConteudo(referencia) && semConteudo(vencimento) && semConteudo(valor) &&
            semConteudo(descricao))
            return;
        if (referencia.tipo == CelulaPlanilha::Tipo::Texto) {
            const QString total = semAcentos(referencia.texto);
            if (total == QLatin1String("total") || total == QLatin1String("totais"))
                return;
        }

        Debito d;
        QStringList motivos;
        if (semConteudo(referencia)) {
            motivos << QStringLiteral("Falta a referência.");
        } else if (referencia.tipo == CelulaPlanilha::Tipo::Data) {
            d.Referencia = Formato::mesAno(referencia.numero);
        } else if (const auto mes = referencia.tipo == CelulaPlanilha::Tipo::Texto
                                        ? mesAnoDoTexto(referencia.texto)
                                        : std::nullopt) {
            d.Referencia = *mes;
        } else {
            motivos << QStringLiteral("Referência inválida: %1 (use MM/AAAA).")
                           .arg(citacao(referencia));
        }
        if (semConteudo(vencimento))
            motivos << QStringLiteral("Falta o vencimento.");
        else if (const auto data = dataDaCelula(vencimento))
            d.Vencimento = *data;
        else
            motivos << QStringLiteral("Vencimento inválido: %1.").arg(citacao(vencimento));
        if (semConteudo(valor))
            motivos << QStringLiteral("Falta o valor.");
        else if (const auto texto = valorDaCelula(valor))
            d.Valor = *texto;
        else
            motivos << QStringLiteral("Valor inválido: %1.").arg(citacao(valor));
        d.Descricao = descricaoDaCelula(descricao);

        if (!motivos.isEmpty()) {
            fLidos.Recusadas.append({linha.numero, motivos.join(QLatin1Char(' '))});
            return;
        }
        fLidos.Debitos.append(std::move(d));
        fLidos.Linhas.append(linha.numero);
    }

    QString fNome;
    std::array<qsizetype, Colunas> fColunas{};
    bool fComCabecalho = false;
    QString fIncompleto; // why the first row that looked like the header is not one
    DebitosLidos fLidos;
};

// Every row of the CSV, numbered as a spreadsheet program numbers it when it opens the
// file: each record one row, empty ones included, whatever line breaks its quoted fields
// hold.
DebitosLidos leCsv(LeitorCsv& leitor, const QString& nome) {
    Leitura leitura(nome);
    leitura.lidos().Windows1252 = leitor.windows1252();
    LinhaCsv registro;
    LinhaPlanilha linha;
    while (leitor.proximaMesmoVazia(registro)) {
        ++linha.numero;
        linha.celulas.clear();
        for (const QString& valor : std::as_const(registro.valores))
            linha.celulas.append(CelulaPlanilha::deTexto(valor));
        leitura.linha(linha,
                      registro.aspaAberta != 0 ? textoAspaAberta(registro.aspaAberta) : QString());
    }
    return leitura.conclui();
}

} // namespace

DebitosLidos leDebitos(const QString& caminho) {
    const auto formato = formatoPelaExtensao(caminho);
    if (!formato)
        throw ErroBelqor(QStringLiteral("O arquivo \"%1\" não é uma planilha .csv, .xlsx ou .ods: "
                                        "abra um arquivo com uma dessas extensões.")
                             .arg(caminho));
    if (*formato != FormatoPlanilha::Csv)
        return leDebitosDasLinhas(lePrimeiraFolha(caminho, *formato), caminho);
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        planilhaIlegivel(caminho, motivoDoArquivo(arquivo));
    return leDebitosCsv(arquivo, caminho);
}

DebitosLidos leDebitosCsv(QIODevice& origem, const QString& nome) {
    LeitorCsv leitor(origem, nome);
    return leCsv(leitor, nome);
}

DebitosLidos leDebitosCsv(const QString& texto, const QString& nome) {
    LeitorCsv leitor(texto);
    return leCsv(leitor, nome);
}

DebitosLidos leDebitosDasLinhas(const QList<LinhaPlanilha>& linhas, const QString& nome) {
    Leitura leitura(nome);
    for (const LinhaPlanilha& linha : linhas)
        leitura.linha(linha);
    return leitura.conclui();
}

QString textoRecusadas(const QString& nome, const QList<LinhaRecusada>& recusadas) {
    // Both at once: a name holding "%1" stays as it is.
    return textoLinhasRecusadas(
        recusadas.size() == 1
            ? QStringLiteral("Uma linha da planilha \"%1\" não foi incluída:").arg(nome)
            : QStringLiteral("%1 linhas da planilha \"%2\" não foram incluídas:")
                  .arg(QString::number(recusadas.size()), nome),
        recusadas);
}
