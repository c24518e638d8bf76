#include "demonstrativo/LeituraDebitos.h"

#include "demonstrativo/CelulasLidas.h"

#include "framework/ConfigApp.h"
#include "planilhas/CsvPontoVirgula.h"
#include "planilhas/ErrosPlanilha.h"
#include "planilhas/FormasPlanilha.h"
#include "planilhas/LeituraPlanilha.h"
#include "planilhas/LinhasPlanilha.h"
#include "sistema/MotivosFalha.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"

#include <QFile>
#include <QRegularExpression>

#include <array>
#include <optional>

namespace {

enum Coluna { Referencia, Vencimento, Valor, Descricao, Colunas };

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
        } else if (const auto mes = mesAnoDaCelula(referencia)) {
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

DebitosLidos leCsv(LeitorCsv& leitor, const QString& nome) {
    Leitura leitura(nome);
    leitura.lidos().Windows1252 = leitor.windows1252();
    percorreCsv(leitor, [&leitura](const LinhaPlanilha& linha, const QString& falha) {
        leitura.linha(linha, falha);
    });
    return leitura.conclui();
}

} // namespace

DebitosLidos leDebitos(const QString& caminho) {
    Leitura leitura(caminho);
    const bool windows1252 =
        percorrePlanilha(caminho, [&leitura](const LinhaPlanilha& linha, const QString& falha) {
            leitura.linha(linha, falha);
        });
    leitura.lidos().Windows1252 = windows1252;
    return leitura.conclui();
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
