#include "cli/Cli.h"

#include "sistema/ArquivoSaida.h"
#include "cli/ComandoAtualizar.h"
#include "cli/ComandoCalcular.h"
#include "cli/ComandoDemonstrativo.h"
#include "cli/ComandoHistorico.h"
#include "cli/ComandoImportar.h"
#include "cli/ComandoLote.h"
#include "cli/ComandoTabela.h"
#include "valores/Erros.h"
#include "demonstrativo/Contribuinte.h"
#include "planilhas/FormasPlanilha.h"
#include "valores/Formatacao.h"
#include "cli/SessaoCli.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtGlobal>

#include <memory>
#include <optional>

namespace {

// The options each command takes; --tabela belongs to all of them.
struct Comando {
    const char* nome;
    QStringList opcoes;
    qsizetype minimo, maximo; // positional arguments
};

const QList<Comando>& comandos() {
    static const QList<Comando> lista{
        {"calcular",
         {QStringLiteral("json"), QStringLiteral("pdf"), QStringLiteral("registrar")},
         3,
         3},
        {"lote", {QStringLiteral("pdf")}, 1, 2},
        {"importar", {}, 1, 1},
        {"atualizar", {QStringLiteral("url")}, 0, 0},
        {"tabela", {QStringLiteral("desde")}, 0, 0},
        {"demonstrativo",
         {QStringLiteral("pagamento"), QStringLiteral("contribuinte"), QStringLiteral("documento"),
          QStringLiteral("ie"), QStringLiteral("pdf"), QStringLiteral("saida"),
          QStringLiteral("pagamentos"), QStringLiteral("prever"), QStringLiteral("json")},
         1,
         1},
        {"historico", {QStringLiteral("verificar")}, 0, 0},
    };
    return lista;
}

const Comando* comandoDe(const QString& nome) {
    for (const Comando& c : comandos())
        if (nome == QLatin1String(c.nome))
            return &c;
    return nullptr;
}

// A command typed wrong: one line saying what is wrong, and where the help is; status 2.
class ErroUso : public ErroBelqor {
public:
    using ErroBelqor::ErroBelqor;
};

struct Opcoes {
    QString comando;
    QStringList posicionais;
    QString tabela;
    std::optional<DataHora> desde;
    QString pdf;
    QString url;
    OpcoesDemonstrativo demonstrativo;
    bool json = false;
    bool registrar = false;
    bool verificar = false;
    bool ajuda = false;
    bool versao = false;
};

// The parser's own texts are in English; these say the same in Portuguese.
QString falhaDoAnalisador(const QCommandLineParser& analisador, const QStringList& argumentos,
                          const QList<QCommandLineOption>& comValor) {
    if (!analisador.unknownOptionNames().isEmpty()) {
        const QString nome = analisador.unknownOptionNames().first();
        return QStringLiteral("Opção desconhecida: %1%2.")
            .arg(nome.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), nome);
    }
    for (const QCommandLineOption& o : comValor)
        for (const QString& nome : o.names())
            if (argumentos.contains(QStringLiteral("--") + nome))
                return QStringLiteral("Falta o valor da opção --%1.").arg(nome);
    return QStringLiteral("Linha de comando inválida.");
}

// --desde MM/AAAA: the first day of that month.
DataHora leMesAno(const QString& texto) {
    static const QRegularExpression formato(QStringLiteral("^(\\d{2})/(\\d{4})$"));
    const auto m = formato.match(texto.trimmed());
    const int mes = m.hasMatch() ? m.captured(1).toInt() : 0;
    if (mes < 1 || mes > 12)
        throw ErroUso(QStringLiteral("'%1' não é um mês válido: use MM/AAAA, por exemplo 02/2020.")
                          .arg(texto));
    return Datas::codificaData(m.captured(2).toInt(), mes, 1);
}

// What the statement's command needs to run at all; the statement's own checks (a payment
// date on a Saturday) come when it runs.
void validaOpcoesDemonstrativo(const OpcoesDemonstrativo& d, bool comPagamento) {
    if (!comPagamento)
        throw ErroUso(QStringLiteral("Falta a opção --pagamento DD/MM/AAAA."));
    DataHora data = 0;
    if (!Formato::tentaTextoParaData(dataDaPlanilha(d.pagamento.trimmed()), data))
        throw ErroUso(QStringLiteral("'%1' não é uma data de pagamento válida: use DD/MM/AAAA.")
                          .arg(d.pagamento));
    if (const auto falha = validaDocumento(d.documento))
        throw ErroUso(*falha);
    const auto extensao = [](const QString& caminho, std::initializer_list<const char*> aceitas) {
        for (const char* e : aceitas)
            if (caminho.endsWith(QLatin1String(e), Qt::CaseInsensitive))
                return true;
        return false;
    };
    if (!d.saida.isEmpty() && !extensao(d.saida, {".xlsx", ".csv"}))
        throw ErroUso(
            QStringLiteral("A saída do demonstrativo deve ser .xlsx ou .csv: %1.").arg(d.saida));
    if (d.entrada != QLatin1String("-") && !extensao(d.entrada, {".csv", ".xlsx", ".ods"}))
        throw ErroUso(QStringLiteral("A entrada do demonstrativo deve ser .csv, .xlsx ou .ods: %1.")
                          .arg(d.entrada));
    if (!d.pdf.isEmpty() && d.contribuinte.isEmpty())
        throw ErroUso(QStringLiteral("Para imprimir o demonstrativo, informe o nome do "
                                     "contribuinte com --contribuinte."));
}

Opcoes leOpcoes(const QStringList& argumentos) {
    QCommandLineParser analisador;
    const QCommandLineOption ajuda({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption versao(QStringLiteral("version"), QString());
    const QCommandLineOption tabela(QStringLiteral("tabela"), QString(), QStringLiteral("ARQUIVO"));
    const QCommandLineOption desde(QStringLiteral("desde"), QString(), QStringLiteral("MM/AAAA"));
    const QCommandLineOption json(QStringLiteral("json"), QString());
    const QCommandLineOption pdf(QStringLiteral("pdf"), QString(), QStringLiteral("ARQUIVO"));
    const QCommandLineOption url(QStringLiteral("url"), QString(), QStringLiteral("ENDEREÇO"));
    const QCommandLineOption pagamento(QStringLiteral("pagamento"), QString(),
                                       QStringLiteral("DATA"));
    const QCommandLineOption contribuinte(QStringLiteral("contribuinte"), QString(),
                                          QStringLiteral("NOME"));
    const QCommandLineOption documento(QStringLiteral("documento"), QString(),
                                       QStringLiteral("CPF_OU_CNPJ"));
    const QCommandLineOption ie(QStringLiteral("ie"), QString(), QStringLiteral("TEXTO"));
    const QCommandLineOption saida(QStringLiteral("saida"), QString(), QStringLiteral("ARQUIVO"));
    const QCommandLineOption pagamentos(QStringLiteral("pagamentos"), QString(),
                                        QStringLiteral("ARQUIVO"));
    const QCommandLineOption prever(QStringLiteral("prever"), QString());
    const QCommandLineOption registrar(QStringLiteral("registrar"), QString());
    const QCommandLineOption verificar(QStringLiteral("verificar"), QString());
    const QList<QCommandLineOption> comValor{tabela,       desde,     pdf, url,   pagamento,
                                             contribuinte, documento, ie,  saida, pagamentos};
    analisador.addOptions({ajuda, versao, json, prever, registrar, verificar});
    analisador.addOptions(comValor);
    // "--" ends the options: what follows is positional even when it starts with "-".
    if (!analisador.parse(QStringList{QStringLiteral("belqor-cli")} + argumentos))
        throw ErroUso(falhaDoAnalisador(analisador, argumentos, comValor));

    Opcoes o;
    o.ajuda = analisador.isSet(ajuda);
    o.versao = analisador.isSet(versao);
    o.json = analisador.isSet(json);
    o.registrar = analisador.isSet(registrar);
    o.verificar = analisador.isSet(verificar);
    o.tabela = analisador.value(tabela);
    o.pdf = analisador.value(pdf);
    o.url = analisador.value(url);
    o.posicionais = analisador.positionalArguments();
    if (!o.posicionais.isEmpty())
        o.comando = o.posicionais.takeFirst();
    if (o.comando == QLatin1String("ajuda"))
        o.ajuda = true;
    if (o.ajuda)
        return o;
    // The version stands alone: anything beside it is a mistake, not something to drop.
    if (o.versao) {
        const QStringList nomes = analisador.optionNames();
        if (!o.comando.isEmpty() || nomes.count(QStringLiteral("version")) != nomes.size())
            throw ErroUso(QStringLiteral("A opção --version não leva comando nem outras opções."));
        return o;
    }
    if (o.comando.isEmpty())
        throw ErroUso(QStringLiteral("Falta o comando."));

    const Comando* comando = comandoDe(o.comando);
    if (!comando)
        throw ErroUso(QStringLiteral("Comando desconhecido: %1.").arg(o.comando));
    for (const QString& nome : analisador.optionNames())
        if (nome != tabela.names().first() && !comando->opcoes.contains(nome))
            throw ErroUso(
                QStringLiteral("A opção --%1 não se aplica ao comando %2.").arg(nome, o.comando));
    if (o.posicionais.size() < comando->minimo || o.posicionais.size() > comando->maximo)
        throw ErroUso(o.posicionais.size() < comando->minimo
                          ? QStringLiteral("Faltam argumentos para o comando %1.").arg(o.comando)
                          : QStringLiteral("Argumentos a mais para o comando %1.").arg(o.comando));
    if (analisador.isSet(desde))
        o.desde = leMesAno(analisador.value(desde));
    if (o.comando == QLatin1String("demonstrativo")) {
        OpcoesDemonstrativo& d = o.demonstrativo;
        d.entrada = o.posicionais[0];
        d.pagamento = analisador.value(pagamento);
        d.contribuinte = analisador.value(contribuinte).trimmed();
        d.documento = analisador.value(documento);
        d.ie = analisador.value(ie).trimmed();
        d.pdf = o.pdf;
        d.saida = analisador.value(saida);
        d.pagamentos = analisador.value(pagamentos);
        d.prever = analisador.isSet(prever);
        d.json = o.json;
        validaOpcoesDemonstrativo(d, analisador.isSet(pagamento));
    }
    if (o.comando == QLatin1String("historico") && !o.verificar)
        throw ErroUso(QStringLiteral("O comando historico exige a opção --verificar."));
    return o;
}

// Tests fix "today" through BELQOR_HOJE (dd/mm/yyyy); otherwise the system clock.
std::unique_ptr<Relogio> relogioDaExecucao() {
    const QString hoje = qEnvironmentVariable("BELQOR_HOJE");
    if (hoje.isEmpty())
        return std::make_unique<RelogioSistema>();
    return std::make_unique<RelogioFixo>(Formato::textoParaData(hoje));
}

// *respondeu says whether the command gave its JSON answer, failures included, so that no
// second object follows it.
int executa(const Opcoes& o, QTextStream& saida, QTextStream& erro, bool* respondeu) {
    const QString arquivo = o.tabela.isEmpty() ? TBQDataModule::arquivoPadrao() : o.tabela;
    SessaoCli sessao(saida, erro, relogioDaExecucao(), arquivo);
    if (o.comando == QLatin1String("calcular"))
        return comandoCalcular(sessao, o.posicionais, o.json, o.pdf, o.registrar);
    if (o.comando == QLatin1String("historico"))
        return comandoHistorico(sessao);
    if (o.comando == QLatin1String("lote"))
        return comandoLote(sessao, o.posicionais[0], o.posicionais.value(1), o.pdf);
    if (o.comando == QLatin1String("importar"))
        return comandoImportar(sessao, o.posicionais);
    if (o.comando == QLatin1String("atualizar"))
        return comandoAtualizar(sessao, o.posicionais, o.url);
    if (o.comando == QLatin1String("demonstrativo"))
        return comandoDemonstrativo(sessao, o.demonstrativo, *respondeu);
    return comandoTabela(sessao, o.desde);
}

int executaOpcoes(const Opcoes& o, QTextStream& saida, QTextStream& erro,
                  bool* respondeu = nullptr) {
    bool ignorado = false;
    respondeu = respondeu ? respondeu : &ignorado;
    if (o.ajuda) {
        saida << textoAjuda() << Qt::flush;
        return 0;
    }
    if (o.versao) {
        saida << "belqor-cli " << valoresConfigAppBelqor().Versao << Qt::endl;
        return 0;
    }
    try {
        return executa(o, saida, erro, respondeu);
    } catch (const AbortoSilencioso&) {
        return 1;
    } catch (const ErroSaidaEmPasta& e) {
        // A folder where a file to write was asked for is a command typed wrong.
        erro << e.mensagem() << Qt::endl;
        return 2;
    } catch (const std::exception& e) {
        erro << mensagemDe(e) << Qt::endl;
        return 1;
    }
}

void escreveErroJson(QTextStream& saida, const QString& mensagem) {
    const QJsonObject falha{{QStringLiteral("erro"), mensagem}};
    saida << QString::fromUtf8(QJsonDocument(falha).toJson(QJsonDocument::Compact)) << '\n'
          << Qt::flush;
}

// Under --json a failure is also an object on standard output, {"erro": "..."}, with the
// texts that went to standard error; the status stays.
int executaJson(const Opcoes& o, QTextStream& saida, QTextStream& erro) {
    QString mensagens;
    QTextStream coletadas(&mensagens);
    bool respondeu = false;
    const int status = executaOpcoes(o, saida, coletadas, &respondeu);
    coletadas.flush();
    erro << mensagens << Qt::flush;
    if (status != 0 && !respondeu)
        escreveErroJson(saida, mensagens.trimmed());
    return status;
}

// Standard output that refused a byte fails the command, whatever the command made of it:
// said once, here, for every command. Standard error that refused one can only end the
// status.
int confereSaidas(int status, QTextStream& saida, QTextStream& erro) {
    saida.flush();
    if (saida.status() != QTextStream::Ok) {
        const auto* dispositivo = dynamic_cast<const ArquivoSaida*>(saida.device());
        erro << (dispositivo ? dispositivo->erro().mensagem()
                             : QStringLiteral("Erro de gravação na saída padrão."))
             << Qt::endl;
        status = status == 0 ? 1 : status;
    }
    erro.flush();
    if (erro.status() != QTextStream::Ok)
        status = status == 0 ? 1 : status;
    return status;
}

} // namespace

QString textoAjuda() {
    return QStringLiteral(
        "Uso: belqor-cli COMANDO [ARGUMENTOS] [--tabela ARQUIVO]\n"
        "\n"
        "Cálculo de multa e juros de mora do ICMS pago após o vencimento.\n"
        "\n"
        "Comandos:\n"
        "  calcular VALOR VENCIMENTO PAGAMENTO [--json] [--pdf ARQUIVO.pdf] [--registrar]\n"
        "      Calcula um pagamento. VALOR e datas como no lote: valores como as\n"
        "      planilhas os escrevem (1.000,00; R$ 1.000,00; 1000; 12,5), com no máximo\n"
        "      duas casas decimais; datas em dd/mm/aaaa ou aaaa-mm-dd. Mostra os seis\n"
        "      resultados e o detalhamento (regra da multa, meses da Selic somados, 1 %\n"
        "      do mês do pagamento). Com --json, tudo num único objeto JSON: numeroDias\n"
        "      como número, taxaJuros e os valores como texto decimal com ponto\n"
        "      (\"1138.26\"), e os textos como na janela em \"textos\"; uma falha dá\n"
        "      {\"erro\": \"...\"}. Com --pdf, grava também a memória de cálculo em\n"
        "      ARQUIVO.pdf (A4). Com --registrar, guarda o cálculo no histórico e diz\n"
        "      o número do registro (\"registro\" no JSON); um histórico que não pode\n"
        "      ser gravado é dito na saída de erro e o cálculo vale assim mesmo.\n"
        "  lote ENTRADA.csv [SAIDA.csv] [--pdf PASTA]\n"
        "      Um cálculo por linha de um arquivo separado por \";\" com cabeçalho e as\n"
        "      colunas valor;vencimento;pagamento, em qualquer ordem. Lê UTF-8 (com ou\n"
        "      sem marca) ou Windows-1252, campos entre aspas, CR LF ou LF; valores como\n"
        "      as planilhas os escrevem (1.000,00; R$ 1.000,00; 1000; 12,5) e datas também\n"
        "      em aaaa-mm-dd. Grava as colunas de entrada como foram lidas mais dias,\n"
        "      taxa, multa, juros, total e mensagem (preenchida quando a linha falha),\n"
        "      em UTF-8 com marca e CR LF. Sem SAIDA, ou com \"-\", escreve na saída\n"
        "      padrão; ENTRADA \"-\" é a entrada padrão. A saída nunca é a entrada nem a\n"
        "      tabela. Uma linha com falha não interrompe as demais. Com --pdf, grava\n"
        "      em PASTA a memória de cálculo de cada linha calculada, com o número da\n"
        "      linha: linha-1.pdf para a primeira depois do cabeçalho.\n"
        "  importar ARQUIVO\n"
        "      Importa as taxas de um arquivo: a série 4390 do Banco Central salva do seu\n"
        "      site (CSV ou JSON) ou um documento de taxas Selic (XML), reconhecidos pelo\n"
        "      conteúdo, sempre pelas regras da tabela. Informa mês a mês o que foi\n"
        "      incluído, o que já estava presente (e com outra taxa), o que ainda não\n"
        "      terminou e o que a tabela recusou. ARQUIVO \"-\" é a entrada padrão.\n"
        "  atualizar [--url ENDEREÇO]\n"
        "      Busca no Banco Central (série 4390, Selic acumulada no mês) as taxas dos\n"
        "      meses após o último da tabela e as inclui. ENDEREÇO substitui o endereço\n"
        "      da série até /dados, sem a consulta. Autoridades certificadoras\n"
        "      adicionais: arquivo indicado em BELQOR_CERTIFICADOS.\n"
        "  tabela [--desde MM/AAAA]\n"
        "      Lista os meses e as taxas da tabela e os meses ausentes entre o primeiro e\n"
        "      o último.\n"
        "  demonstrativo ENTRADA --pagamento DD/MM/AAAA [--contribuinte NOME]\n"
        "                [--documento CPF_OU_CNPJ] [--ie TEXTO] [--pdf ARQUIVO.pdf]\n"
        "                [--saida ARQUIVO.xlsx|.csv] [--pagamentos ARQUIVO] [--prever]\n"
        "                [--json]\n"
        "      Demonstrativo de débitos de um contribuinte, todos pagos na mesma data.\n"
        "      ENTRADA é .csv, .xlsx ou .ods (\"-\": CSV na entrada padrão) com cabeçalho\n"
        "      e as colunas referencia, vencimento, valor e, se quiser, descricao, em\n"
        "      qualquer ordem. Mostra cada débito com seus resultados (ou a mensagem que\n"
        "      o recusou) e os totais dos calculados; as linhas ilegíveis vão para a\n"
        "      saída de erro com o número. CPF ou CNPJ (também o alfanumérico) com ou\n"
        "      sem pontuação. --pdf grava o demonstrativo impresso (A4, com a memória\n"
        "      de cálculo de cada débito; exige --contribuinte); --saida exporta em\n"
        "      .xlsx ou .csv. --pagamentos lê pagamentos parciais já feitos (planilha\n"
        "      com as colunas referencia, data e valor; a referência nomeia o débito),\n"
        "      imputados proporcionalmente a principal, multa e juros na data de cada\n"
        "      um; sem ela, a segunda folha de uma ENTRADA .xlsx ou .ods, quando tem\n"
        "      essas colunas. --prever estima os meses ainda sem taxa publicada com a\n"
        "      taxa do último mês da tabela e marca os resultados como PREVISÃO. Com\n"
        "      --json, um único objeto com o contribuinte, cada débito (valores como\n"
        "      texto decimal com ponto) e os totais. Código 1 quando algum débito ou\n"
        "      linha falha.\n"
        "  historico --verificar\n"
        "      Confere a cadeia de hashes do histórico registro a registro: diz que está\n"
        "      íntegro, ou qual é o primeiro registro alterado, removido, trocado ou\n"
        "      acrescentado fora do BELQOR (código 1). O histórico é o historico.sqlite\n"
        "      ao lado da tabela, ou o que a variável BELQOR_HISTORICO indica: um\n"
        "      servidor, postgresql://usuario@servidor[:porta]/banco, com a senha no\n"
        "      arquivo de senhas do PostgreSQL (~/.pgpass), ou o caminho completo de\n"
        "      outro arquivo SQLite.\n"
        "\n"
        "Opções:\n"
        "  --tabela ARQUIVO  usa outro arquivo de tabela Selic. Sem ela, a tabela é o\n"
        "                    BELQOR.cds ao lado do programa, quando essa pasta tem um\n"
        "                    BELQOR.cds e pode ser gravada; senão\n"
        "                    $XDG_DATA_HOME/belqor/BELQOR.cds (sem XDG_DATA_HOME,\n"
        "                    ~/.local/share/belqor/BELQOR.cds), criada na primeira vez a\n"
        "                    partir da tabela instalada com o programa\n"
        "  -h, --help        mostra esta ajuda\n"
        "  --version         mostra a versão\n"
        "  --                encerra as opções: o que vem depois é argumento, mesmo que\n"
        "                    comece com \"-\"\n"
        "\n"
        "Valores e datas são lidos e escritos no formato brasileiro (1.000,00; dd/mm/aaaa).\n"
        "Em caso de falha, a mensagem vai para a saída de erro. Código de saída: 0 sucesso;\n"
        "1 falha (cálculo recusado, lote ou demonstrativo com linhas com falha, importação\n"
        "com falha, histórico alterado); 2 comando digitado errado.\n");
}

int executaCli(const QStringList& argumentos, QTextStream& saida, QTextStream& erro) {
    // The command line reads and writes the Brazilian format whatever the machine's locale.
    regional() = ConfiguracaoRegional::brasileira();
    Opcoes o;
    try {
        o = leOpcoes(argumentos);
    } catch (const ErroUso& e) {
        erro << e.mensagem() << " Use belqor-cli --help." << Qt::endl;
        if (argumentos.contains(QStringLiteral("--json")))
            escreveErroJson(saida, e.mensagem());
        return confereSaidas(2, saida, erro);
    }
    return confereSaidas(o.json ? executaJson(o, saida, erro) : executaOpcoes(o, saida, erro),
                         saida, erro);
}
