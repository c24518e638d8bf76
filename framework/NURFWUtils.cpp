#include "framework/NURFWUtils.h"

#include "framework/ArquivoIni.h"
#include "valores/Erros.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <utility>

namespace {

// The profile routines read into a buffer of 2048 characters, its zero included.
constexpr qsizetype TamanhoMaximoValorIni = 2047;

void exigeArquivoIni(const QString& arquivo) {
    const QFileInfo info(arquivo);
    if (!info.exists() || info.isDir())
        throw ErroBelqor(QStringLiteral("Arquivo INI não encontrado!"));
}

} // namespace

// The registered configuration component, reached through its accessors.
std::optional<TNURUtils::Identidade>& TNURUtils::identidadeRegistrada() {
    static std::optional<Identidade> registrada;
    return registrada;
}

const TNURUtils::Identidade& TNURUtils::identidade() {
    const auto& registrada = identidadeRegistrada();
    if (!registrada)
        throw ErroBelqor(QStringLiteral("Componente de configuração não registrado."));
    return *registrada;
}

void TNURUtils::registraIdentidade(Identidade identidade) {
    identidadeRegistrada() = std::move(identidade);
}

QString TNURUtils::GetSiglaSistema() {
    return identidade().sigla();
}

QString TNURUtils::GetNomeSistema() {
    return identidade().nome();
}

QString TNURUtils::GetVersaoSistema() {
    return identidade().versao() + identidade().release();
}

bool TNURUtils::GetVersaoTeste() {
    return identidade().versaoTeste();
}

QString TNURUtils::PegaCaminhoBase() {
    const QString sigla = GetSiglaSistema();
    const QString arquivo =
        QCoreApplication::applicationDirPath() + u'/' + sigla + QStringLiteral(".ini");
    return GetValoresIni(arquivo, sigla, QStringLiteral("Database"));
}

QString TNURUtils::GetValoresIni(const QString& Arquivo, const QString& Secao,
                                 const QString& Atributo) {
    exigeArquivoIni(Arquivo);
    return ArquivoIni::leValor(Arquivo, Secao, Atributo).left(TamanhoMaximoValorIni);
}

void TNURUtils::SetValoresIni(const QString& Arquivo, const QString& Secao, const QString& Atributo,
                              const QString& Valor) {
    exigeArquivoIni(Arquivo);
    ArquivoIni::gravaValor(Arquivo, Secao, Atributo, Valor);
}
