#include "Cli.h"

#include "ComandoAtualizar.h"
#include "ComandoCalcular.h"
#include "ComandoImportar.h"
#include "ComandoLote.h"
#include "ComandoTabela.h"
#include "Erros.h"
#include "Formatacao.h"
#include "SessaoCli.h"

#include <QtGlobal>

#include <memory>

namespace {

struct Opcoes {
    QString comando;
    QStringList posicionais;
    QString tabela;
    QString desde;
    QString url;
    QString pdf;
    bool json = false;
    bool ajuda = false;
};

Opcoes leOpcoes(const QStringList& argumentos) {
    Opcoes o;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        auto valorDe = [&](const QString& nome) {
            if (a.startsWith(nome + QLatin1Char('=')))
                return a.mid(nome.size() + 1);
            if (i + 1 >= argumentos.size())
                throw ErroBelqor(QStringLiteral("Falta o valor da opção %1.").arg(nome));
            return argumentos[++i];
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h") || a == QLatin1String("ajuda"))
            o.ajuda = true;
        else if (a == QLatin1String("--json"))
            o.json = true;
        else if (a == QLatin1String("--tabela") || a.startsWith(QLatin1String("--tabela=")))
            o.tabela = valorDe(QStringLiteral("--tabela"));
        else if (a == QLatin1String("--desde") || a.startsWith(QLatin1String("--desde=")))
            o.desde = valorDe(QStringLiteral("--desde"));
        else if (a == QLatin1String("--url") || a.startsWith(QLatin1String("--url=")))
            o.url = valorDe(QStringLiteral("--url"));
        else if (a == QLatin1String("--pdf") || a.startsWith(QLatin1String("--pdf=")))
            o.pdf = valorDe(QStringLiteral("--pdf"));
        else if (a.startsWith(QLatin1String("--")))
            throw ErroBelqor(QStringLiteral("Opção desconhecida: %1").arg(a));
        else if (o.comando.isEmpty())
            o.comando = a;
        else
            o.posicionais.append(a);
    }
    return o;
}

// Tests fix "today" through BELQOR_HOJE (dd/mm/yyyy); otherwise the system clock.
std::unique_ptr<Relogio> relogioDaExecucao() {
    const QString hoje = qEnvironmentVariable("BELQOR_HOJE");
    if (hoje.isEmpty())
        return std::make_unique<RelogioSistema>();
    return std::make_unique<RelogioFixo>(Formato::textoParaData(hoje));
}

int executa(const Opcoes& o, QTextStream& saida, QTextStream& erro) {
    const QString arquivo = o.tabela.isEmpty() ? TBQDataModule::arquivoPadrao() : o.tabela;
    SessaoCli sessao(saida, erro, relogioDaExecucao(), arquivo);
    if (o.comando == QLatin1String("calcular"))
        return comandoCalcular(sessao, o.posicionais, o.json, o.pdf);
    if (o.comando == QLatin1String("lote"))
        return comandoLote(sessao, o.posicionais, o.pdf);
    if (o.comando == QLatin1String("importar"))
        return comandoImportar(sessao, o.posicionais);
    if (o.comando == QLatin1String("atualizar"))
        return comandoAtualizar(sessao, o.posicionais, o.url);
    if (o.comando == QLatin1String("tabela"))
        return comandoTabela(sessao, o.posicionais, o.desde);
    erro << "Comando desconhecido: " << o.comando << '\n' << textoAjuda() << Qt::flush;
    return 2;
}

} // namespace

QString textoAjuda() {
    return QStringLiteral(
        "Uso: belqor-cli COMANDO [ARGUMENTOS] [--tabela ARQUIVO]\n"
        "\n"
        "Cálculo de multa e juros de mora do ICMS pago após o vencimento.\n"
        "\n"
        "Comandos:\n"
        "  calcular VALOR VENCIMENTO PAGAMENTO [--json] [--pdf ARQUIVO.pdf]\n"
        "      Calcula um pagamento. VALOR como na janela de cálculo, com as duas casas\n"
        "      decimais (1000,00); datas em dd/mm/aaaa. Mostra os seis resultados e o\n"
        "      detalhamento (regra da multa, meses da Selic somados, 1 % do mês do\n"
        "      pagamento). Com --json, tudo num único objeto JSON. Com --pdf, grava\n"
        "      também a memória de cálculo em ARQUIVO.pdf (A4).\n"
        "  lote ENTRADA.csv [SAIDA.csv] [--pdf PASTA]\n"
        "      Um cálculo por linha de um arquivo separado por \";\" com cabeçalho e as\n"
        "      colunas valor;vencimento;pagamento. Grava as colunas de entrada mais dias,\n"
        "      taxa, multa, juros, total e mensagem (preenchida quando a linha falha).\n"
        "      Sem SAIDA, escreve na saída padrão. Uma linha com falha não interrompe as\n"
        "      demais. Com --pdf, grava em PASTA a memória de cálculo de cada linha\n"
        "      calculada, com o número da linha: linha-1.pdf para a primeira depois do\n"
        "      cabeçalho.\n"
        "  importar ARQUIVO\n"
        "      Importa as taxas de um arquivo: a série 4390 do Banco Central salva do seu\n"
        "      site (CSV ou JSON) ou um documento de taxas Selic (XML), reconhecidos pelo\n"
        "      conteúdo, sempre pelas regras da tabela. Informa mês a mês o que foi\n"
        "      incluído, o que já estava presente (e com outra taxa) e o que ainda não\n"
        "      terminou.\n"
        "  atualizar [--url ENDEREÇO]\n"
        "      Busca no Banco Central (série 4390, Selic acumulada no mês) as taxas dos\n"
        "      meses após o último da tabela e as inclui. ENDEREÇO substitui o endereço\n"
        "      da série até /dados, sem a consulta. Autoridades certificadoras\n"
        "      adicionais: arquivo indicado em BELQOR_CERTIFICADOS.\n"
        "  tabela [--desde MM/AAAA]\n"
        "      Lista os meses e as taxas da tabela e os meses ausentes entre o primeiro e\n"
        "      o último.\n"
        "\n"
        "Opções:\n"
        "  --tabela ARQUIVO  usa outro arquivo de tabela Selic (padrão: BELQOR.cds ao lado\n"
        "                    do programa)\n"
        "  --help            mostra esta ajuda\n"
        "\n"
        "Valores e datas são lidos e escritos no formato brasileiro (1.000,00; dd/mm/aaaa).\n"
        "Em caso de falha, a mensagem vai para a saída de erro e o programa termina com\n"
        "código diferente de zero (1: falha; 2: uso incorreto).\n");
}

int executaCli(const QStringList& argumentos, QTextStream& saida, QTextStream& erro) {
    // The command line reads and writes the Brazilian format whatever the machine's locale.
    regional() = ConfiguracaoRegional::brasileira();
    try {
        const Opcoes o = leOpcoes(argumentos);
        if (o.ajuda) {
            saida << textoAjuda() << Qt::flush;
            return 0;
        }
        if (o.comando.isEmpty()) {
            erro << textoAjuda() << Qt::flush;
            return 2;
        }
        return executa(o, saida, erro);
    } catch (const AbortoSilencioso&) {
        return 1;
    } catch (const std::exception& e) {
        erro << mensagemDe(e) << Qt::endl;
        return 1;
    }
}
