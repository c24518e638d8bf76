#include "sistema/LocaisArquivos.h"

#include "valores/Erros.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

const QString NomeTabela = QStringLiteral("BELQOR.cds");
const QString NomeHistorico = QStringLiteral("historico.sqlite");
const QString NomePasta = QStringLiteral("belqor");

// An XDG base folder: the variable when it holds an absolute path, otherwise HOME's default.
QString pastaBase(const LocaisArquivos::Ambiente& ambiente, const QString& variavel,
                  const QString& padraoNaCasa) {
    const QString valor = ambiente(variavel);
    if (!valor.isEmpty() && QDir::isAbsolutePath(valor))
        return QDir::cleanPath(valor);
    QString casa = ambiente(QStringLiteral("HOME"));
    if (casa.isEmpty())
        casa = QDir::homePath();
    return QDir::cleanPath(casa + u'/' + padraoNaCasa);
}

bool podeGravar(const QString& pasta) {
    return ::access(QFile::encodeName(pasta).constData(), W_OK | X_OK) == 0;
}

void criaPasta(const QString& pasta) {
    if (!QDir().mkpath(pasta))
        throw ErroEntradaSaida(QStringLiteral("Não foi possível criar a pasta \"%1\".").arg(pasta));
    if (!podeGravar(pasta))
        throw ErroEntradaSaida(QStringLiteral("Não é possível gravar na pasta \"%1\".").arg(pasta));
}

// Two names of one existing file, through links and "..".
bool mesmoArquivo(const QString& a, const QString& b) {
    const QString canonico = QFileInfo(a).canonicalFilePath();
    return !canonico.isEmpty() && canonico == QFileInfo(b).canonicalFilePath();
}

} // namespace

LocaisArquivos LocaisArquivos::decide(const QString& pastaExecutavel, const Ambiente& ambiente,
                                      const Gravavel& gravavel) {
    LocaisArquivos l;
    const QDir executavel(pastaExecutavel);
    if (QFileInfo(executavel.filePath(NomeTabela)).isFile() && gravavel(pastaExecutavel)) {
        l.portatil = true;
        l.tabela = executavel.filePath(NomeTabela);
        l.historico = executavel.filePath(NomeHistorico);
        l.pastaLog = QDir::cleanPath(pastaExecutavel);
        return l;
    }
    const QString pastaDados =
        pastaBase(ambiente, QStringLiteral("XDG_DATA_HOME"), QStringLiteral(".local/share")) +
        u'/' + NomePasta + u'/';
    l.tabela = pastaDados + NomeTabela;
    l.historico = pastaDados + NomeHistorico;
    l.pastaLog =
        pastaBase(ambiente, QStringLiteral("XDG_STATE_HOME"), QStringLiteral(".local/state")) +
        u'/' + NomePasta;
    l.tabelaPadrao = QDir::cleanPath(
        executavel.filePath(QStringLiteral(BELQOR_DADOS_INSTALADOS) + u'/' + NomeTabela));
    return l;
}

const LocaisArquivos& LocaisArquivos::doPrograma() {
    static const LocaisArquivos locais = decide(
        QCoreApplication::applicationDirPath(),
        [](const QString& nome) { return qEnvironmentVariable(nome.toLocal8Bit().constData()); },
        podeGravar);
    return locais;
}

void LocaisArquivos::preparaTabela() const {
    if (portatil || QFileInfo::exists(tabela))
        return;
    criaPasta(QFileInfo(tabela).path());
    if (!QFileInfo(tabelaPadrao).isFile())
        throw ErroEntradaSaida(QStringLiteral("A tabela Selic padrão não foi encontrada em \"%1\".")
                                   .arg(tabelaPadrao));
    if (!QFile::copy(tabelaPadrao, tabela))
        throw ErroEntradaSaida(
            QStringLiteral("Não foi possível criar a tabela Selic \"%1\".").arg(tabela));
    QFile::setPermissions(tabela, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                      QFile::ReadOther);
}

void LocaisArquivos::preparaPastaLog() const {
    if (!portatil)
        criaPasta(pastaLog);
}

QString LocaisArquivos::tabelaPadraoPara(const QString& tabelaEmUso) const {
    if (portatil || !QFileInfo(tabelaPadrao).isFile() || !mesmoArquivo(tabelaEmUso, tabela) ||
        mesmoArquivo(tabelaEmUso, tabelaPadrao))
        return {};
    return tabelaPadrao;
}
