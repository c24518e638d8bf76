#include "historico/RegistradorHistorico.h"

#include "historico/ErroHistorico.h"
#include "historico/Historico.h"
#include "valores/Erros.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The files SQLite keeps beside a database while it is in use.
const QStringList Acompanhantes = {QStringLiteral("-wal"), QStringLiteral("-shm"),
                                   QStringLiteral("-journal")};

bool nomeLivre(const QString& caminho) {
    for (const QString& sufixo : QStringList{QString()} + Acompanhantes)
        if (QFileInfo::exists(caminho + sufixo))
            return false;
    return true;
}

} // namespace

RegistradorHistorico::RegistradorHistorico(Abertura abertura, Aviso aviso)
    : fAbertura(std::move(abertura)), fAviso(std::move(aviso)) {}

RegistradorHistorico::~RegistradorHistorico() = default;

RegistradorHistorico::Abertura RegistradorHistorico::aberturaDe(const DestinoHistorico& destino) {
    return [destino] { return std::make_unique<Historico>(destino); };
}

RegistradorHistorico::Abertura RegistradorHistorico::aberturaDoPrograma() {
    return [] { return std::make_unique<Historico>(DestinoHistorico::doPrograma()); };
}

std::optional<qint64> RegistradorHistorico::registra(const RegistroHistorico& registro) {
    if (!fFalha.isEmpty())
        return std::nullopt;
    QString motivo;
    try {
        if (!fHistorico)
            fHistorico = fAbertura();
        return fHistorico->registra(registro);
    } catch (const ErroHistorico& e) {
        if (e.tipo() == ErroHistorico::Tipo::ArquivoInvalido)
            fArquivoInvalido = e.arquivo();
        motivo = e.mensagem();
    } catch (const std::exception& e) {
        // Whatever else stopped the record stops recording too, said the same way: the
        // calculation goes on.
        motivo = mensagemDe(e);
    }
    fHistorico.reset();
    fFalha =
        motivo + QStringLiteral("\n\rOs cálculos continuam, mas não são registrados no histórico.");
    fAviso(fFalha);
    return std::nullopt;
}

QString RegistradorHistorico::poeDeLadoERecomeca(DataHora hoje) {
    if (fArquivoInvalido.isEmpty())
        return QString();
    fHistorico.reset();
    const QString novo = poeHistoricoDeLado(fArquivoInvalido, hoje);
    fArquivoInvalido.clear();
    fFalha.clear();
    return novo;
}

QString poeHistoricoDeLado(const QString& arquivo, DataHora hoje) {
    const QFileInfo info(arquivo);
    const QString base = info.path() + u'/' + info.completeBaseName() + u'-' +
                         Datas::paraQDate(hoje).toString(Qt::ISODate);
    const QString extensao = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString novo = base + extensao;
    for (int n = 2; !nomeLivre(novo); ++n)
        novo = base + QStringLiteral("-%1").arg(n) + extensao;
    const auto recusa = [&](const QString& deQue) {
        return ErroHistorico(ErroHistorico::Tipo::Gravacao,
                             QStringLiteral("Não foi possível pôr de lado o histórico \"%1\": "
                                            "\"%2\" não pôde ser renomeado para \"%3\".")
                                 .arg(arquivo, deQue, novo));
    };
    if (!QFile::rename(arquivo, novo))
        throw recusa(arquivo);
    // The log goes with its file: left behind, it would be played into the new history.
    for (const QString& sufixo : Acompanhantes)
        if (QFileInfo::exists(arquivo + sufixo) && !QFile::rename(arquivo + sufixo, novo + sufixo))
            throw recusa(arquivo + sufixo);
    return novo;
}
