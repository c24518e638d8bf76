#include "framework/ConfigApp.h"

#include "framework/ArquivoLinhas.h"
#include "dialogos/Dialogos.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "sistema/LocaisArquivos.h"
#include "sistema/MotivosFalha.h"
#include "sistema/PaginaAnsi.h"
#include "VersaoBelqor.h"

#include <QFileInfo>

#include <limits>

namespace {

const QString MensagemNomeVazio =
    QStringLiteral("Não foi informado o nome do arquivo de Log de controle da aplicação!");

// The longest log path the file handle can be bound to.
constexpr qsizetype MaiorCaminho = 259;

bool arquivoExiste(const QString& caminho) {
    return QFileInfo(caminho).isFile();
}

ErroEntradaSaida erroDe(const QFile& arquivo) {
    return ErroEntradaSaida(QStringLiteral("Erro de entrada/saída no arquivo \"%1\": %2")
                                .arg(arquivo.fileName(), motivoDoArquivo(arquivo)));
}

} // namespace

QString emUmaLinha(QString texto) {
    for (QChar& c : texto)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return texto;
}

ValoresConfigApp valoresConfigAppBelqor() {
    ValoresConfigApp v;
    v.Versao = QStringLiteral(BELQOR_VERSAO);
    v.Release = QString();
    v.VersaoTeste = false;
    v.GeraLog = true;
    v.NomeArqLog = QStringLiteral("logBELQOR.txt");
    v.MaxNumLinhas = 0;
    v.SiglaSistema = QStringLiteral("BELQOR");
    v.NomeSistema = QStringLiteral("BELQOR");
    return v;
}

TConfigApp::TConfigApp(Dialogos& dialogos, QObject* dono)
    : QObject(dono), fDialogos(dialogos), fCanal(std::make_unique<EmissorVisualizadorLog>()) {
    setObjectName(QStringLiteral("ConfigApp"));
}

TConfigApp::~TConfigApp() = default;

void TConfigApp::carregaValores(const ValoresConfigApp& valores) {
    SetVersao(valores.Versao);
    SetRelease(valores.Release);
    SetVersaoTeste(valores.VersaoTeste);
    SetGeraLog(valores.GeraLog);
    SetNomeArqLog(valores.NomeArqLog);
    SetMaxNumLinhas(valores.MaxNumLinhas);
    SetSiglaSistema(valores.SiglaSistema);
    SetNomeSistema(valores.NomeSistema);
}

void TConfigApp::definePastaLog(const QString& pasta) {
    fPastaLog = pasta;
}

QString TConfigApp::pastaLog() const {
    return fPastaLog.isEmpty() ? LocaisArquivos::doPrograma().pastaLog : fPastaLog;
}

QString TConfigApp::caminhoArqLog() const {
    QString diretorio = pastaLog();
    if (!diretorio.endsWith(QLatin1Char('/')))
        diretorio += QLatin1Char('/');
    return diretorio + fNomeArqLog;
}

void TConfigApp::defineCanalVisualizador(std::unique_ptr<CanalVisualizadorLog> canal) {
    fCanal = std::move(canal);
}

QString TConfigApp::GetNomeArqLog() const {
    return fNomeArqLog;
}

void TConfigApp::SetNomeArqLog(const QString& valor) {
    fNomeArqLog = valor;
    fNumAtualLinhas = 0;
    if (!fGeraLog || fMaxNumLinhas == 0)
        return;
    if (Formato::apara(fNomeArqLog).isEmpty()) {
        desligaPorNomeVazio();
        return;
    }
    const QString caminho = caminhoArqLog();
    if (!arquivoExiste(caminho))
        return;
    // Lines already in the file count towards the limit, so the next write past it trims.
    ArquivoLinhas existente;
    try {
        existente = ArquivoLinhas::le(caminho);
    } catch (const ErroEntradaSaida&) {
        fGeraLog = false;
        return;
    }
    fNumAtualLinhas =
        qint32(qMin<qsizetype>(existente.linhas.size(), std::numeric_limits<qint32>::max()));
}

void TConfigApp::WriteArqLog(const QString& Linha) {
    if (!fGeraLog)
        return;
    EnviaMensagemLogAvancado(Linha);
    if (Formato::apara(fNomeArqLog).isEmpty()) {
        desligaPorNomeVazio();
        return;
    }

    QFile arquivo;
    if (!abreParaAcrescentar(arquivo)) {
        fGeraLog = false;
        return;
    }
    const QByteArray bytes = PaginaAnsi::codifica(emUmaLinha(Linha) + QStringLiteral("\r\n"));
    if (arquivo.write(bytes) != bytes.size())
        throw erroDe(arquivo);
    if (fNumAtualLinhas < std::numeric_limits<qint32>::max())
        ++fNumAtualLinhas;
    if (!arquivo.flush())
        throw erroDe(arquivo);
    arquivo.close();
    if (fMaxNumLinhas != 0 && fNumAtualLinhas > fMaxNumLinhas)
        ReduzArqLog(arquivo.fileName());
}

void TConfigApp::EnviaArqLog(const QString& LinhaLog) {
    WriteArqLog(LinhaLog);
}

void TConfigApp::CriaArqLog() {
    if (!fGeraLog)
        return;
    if (Formato::apara(fNomeArqLog).isEmpty()) {
        desligaPorNomeVazio();
        return;
    }
    const QString caminho = caminhoArqLog();
    if (arquivoExiste(caminho))
        VerificaTamanho(caminho);
    fArqLog.close();
    if (!abreParaAcrescentar(fArqLog))
        fGeraLog = false;
}

void TConfigApp::FechaArqLog() {
    try {
        if (fGeraLog) {
            // Closing a log that was never kept open fails, and then nothing is trimmed.
            if (!fArqLog.isOpen())
                return;
            const bool gravou = fArqLog.flush();
            fArqLog.close();
            if (!gravou)
                return;
        }
        VerificaTamanho(caminhoArqLog());
    } catch (const std::exception&) {
    }
}

void TConfigApp::VerificaTamanho(const QString& NomeArquivo) {
    if (fMaxNumLinhas == 0)
        return;
    ReduzArqLog(NomeArquivo);
}

void TConfigApp::ReduzArqLog(const QString& NomeArquivo) {
    ArquivoLinhas arquivo = ArquivoLinhas::le(NomeArquivo);
    const qsizetype excesso = arquivo.linhas.size() - fMaxNumLinhas;
    if (excesso <= 0)
        return;
    arquivo.linhas.remove(0, excesso);
    arquivo.grava(NomeArquivo);
}

QString TConfigApp::RetornaCaptionFormPrincipal() const {
    QString caption = fSigla + QStringLiteral(" - ") + fNomeSistema + QStringLiteral(" - Versão ") +
                      fVersao + fRelease;
    if (fVersaoTeste)
        caption += QStringLiteral("  (VERSÃO TESTE)");
    return caption;
}

void TConfigApp::EnviaMensagemLogAvancado(const QString& sMsg) {
    QString texto = fSigla + QStringLiteral(" - ") + sMsg;
    const qsizetype zero = texto.indexOf(QChar(0));
    if (zero >= 0)
        texto.truncate(zero);
    if (fCanal)
        fCanal->envia(emUmaLinha(texto));
}

bool TConfigApp::abreParaAcrescentar(QFile& arquivo) const {
    const QString caminho = caminhoArqLog();
    if (caminho.size() > MaiorCaminho)
        return false;
    arquivo.setFileName(caminho);
    // Unbuffered, so a failed write shows at once, in the call that made it.
    const QIODevice::OpenMode modo =
        arquivoExiste(caminho) ? QIODevice::WriteOnly | QIODevice::Append : QIODevice::WriteOnly;
    return arquivo.open(modo | QIODevice::Unbuffered);
}

void TConfigApp::desligaPorNomeVazio() {
    fDialogos.mensagem(MensagemNomeVazio);
    fGeraLog = false;
}
