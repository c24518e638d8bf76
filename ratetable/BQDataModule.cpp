#include "ratetable/BQDataModule.h"

#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "sistema/MotivosFalha.h"
#include "ratetable/TextosTaxas.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

DefinicaoCampo definicaoData() {
    DefinicaoCampo d;
    d.nome = QStringLiteral("Data");
    d.tipo = TipoCampo::Data;
    d.obrigatorio = true;
    d.larguraExibicao = 13;
    d.mascaraEdicao = QStringLiteral("!99/99/0000;1;_");
    return d;
}

DefinicaoCampo definicaoValor() {
    DefinicaoCampo d;
    d.nome = QStringLiteral("Valor");
    d.tipo = TipoCampo::Flutuante;
    d.obrigatorio = true;
    d.larguraExibicao = 13;
    d.formatoExibicao = QStringLiteral("#,##0.000000");
    return d;
}

// Rows dated on or before this day can be neither edited nor deleted.
DataHora limiteProtegido() {
    return Datas::codificaData(2013, 12, 1);
}

} // namespace

TBQDataModule::TBQDataModule(const Relogio& relogio, Dialogos& dialogos, QObject* parent,
                             const LocaisArquivos& locais)
    : QObject(parent), CDSSelic(QStringLiteral("CDSSelic")),
      CDSSelicData(CDSSelic.adicionaCampo(definicaoData())),
      CDSSelicValor(CDSSelic.adicionaCampo(definicaoValor())), ConfigApp(dialogos),
      fRelogio(relogio), fDialogos(dialogos), fLocais(locais) {
    ConfigApp.setObjectName(QStringLiteral("ConfigApp"));
    ConfigApp.definePastaLog(fLocais.pastaLog);
    ConfigApp.carregaValores(valoresConfigAppBelqor());
    CDSSelic.aoNovoRegistro = [this](TabelaMemoria& t) { CDSSelicNewRecord(t); };
    CDSSelic.antesInserir = [this](TabelaMemoria& t) { CDSSelicBeforeInsert(t); };
    CDSSelic.antesEditar = [this](TabelaMemoria& t) { CDSSelicBeforeEdit(t); };
    CDSSelic.antesExcluir = [this](TabelaMemoria& t) { CDSSelicBeforeDelete(t); };
    CDSSelic.antesGravar = [this](TabelaMemoria& t) { CDSSelicBeforePost(t); };
}

TBQDataModule::~TBQDataModule() {
    try {
        FechaTabela();
    } catch (const AbortoSilencioso&) {
    } catch (const std::exception& e) {
        fDialogos.erro(mensagemDe(e));
    }
}

bool TBQDataModule::reservaTabela(const QString& arquivo, int esperaMs) {
    auto trava = std::make_unique<QLockFile>(arquivo + QStringLiteral(".lock"));
    // Held for as long as the program runs: only a lock whose process has ended is stale.
    trava->setStaleLockTime(0);
    // Something else in the lock's place never goes away by waiting, and is no program.
    const QFileInfo lugar(trava->fileName());
    if (lugar.exists() && !lugar.isFile()) {
        fDialogos.mensagem(textoTravaNaoCriada(
            trava->fileName(), lugar.isDir() ? motivoDoSistema(EISDIR)
                                             : QStringLiteral("há no lugar algo que não é um "
                                                              "arquivo comum")));
        return false;
    }
    if (!trava->tryLock(esperaMs)) {
        if (trava->error() != QLockFile::LockFailedError)
            return true;
        // A lock left by a process that has ended stays only when it cannot be removed.
        if (travaAbandonada(*trava)) {
            if (const int erro = removeTravaAbandonada(*trava); erro != 0) {
                fDialogos.mensagem(textoTravaNaoRemovida(trava->fileName(), motivoDoSistema(erro)));
                return false;
            }
        }
        if (!trava->tryLock(0)) {
            fDialogos.mensagem(textoTabelaEmUso(arquivo));
            return false;
        }
    }
    fTrava = std::move(trava);
    return true;
}

bool TBQDataModule::travaAbandonada(const QLockFile& trava) {
    qint64 processo = 0;
    QString maquina;
    if (!trava.getLockInfo(&processo, &maquina, nullptr) || processo <= 0)
        return false;
    if (!maquina.isEmpty() && maquina != QSysInfo::machineHostName())
        return false;
    return ::kill(pid_t(processo), 0) != 0 && errno == ESRCH;
}

int TBQDataModule::removeTravaAbandonada(const QLockFile& trava) {
    const QByteArray caminho = QFile::encodeName(trava.fileName());
    const QByteArray pasta = QFile::encodeName(QFileInfo(trava.fileName()).absolutePath());
    // A folder this program may not write: its reason, without trying.
    if (::faccessat(AT_FDCWD, pasta.constData(), W_OK, AT_EACCESS) != 0)
        return errno;
    // As the lock itself does it: under its removal lock, so that two programs taking over
    // the same abandoned lock never remove the one the other has just made. Another program
    // at it, or a lock made anew meanwhile, is no failure to report.
    QLockFile remocao(trava.fileName() + QStringLiteral(".rmlock"));
    if (!remocao.tryLock(0) || !travaAbandonada(trava))
        return 0;
    return ::unlink(caminho.constData()) == 0 ? 0 : errno;
}

QString TBQDataModule::textoTravaNaoCriada(const QString& trava, const QString& motivo) {
    return QStringLiteral("Não foi possível criar o arquivo de trava \"%1\" da tabela: %2.")
        .arg(trava, motivo);
}

QString TBQDataModule::textoTravaNaoRemovida(const QString& trava, const QString& motivo) {
    return QStringLiteral("Não foi possível remover o arquivo de trava \"%1\", deixado por um "
                          "programa que já terminou: %2.")
        .arg(trava, motivo);
}

QString TBQDataModule::textoTabelaEmUso(const QString& arquivo) {
    return QStringLiteral("O BELQOR já está aberto com a tabela \"%1\". A tabela não pode ser "
                          "usada por dois programas ao mesmo tempo.")
        .arg(arquivo);
}

QString TBQDataModule::arquivoPadrao() {
    return LocaisArquivos::doPrograma().tabela;
}

void TBQDataModule::AbreTabela() {
    CDSSelic.defineNomeArquivo(ArqDados);
    if (ArqDados == fLocais.tabela)
        fLocais.preparaTabela();
    if (!CDSSelic.ativa())
        CDSSelic.abrir();
    // Last, so that a log folder that cannot be made leaves the table open all the same.
    fLocais.preparaPastaLog();
}

void TBQDataModule::FechaTabela() {
    if (fGravacaoFalhou || !CDSSelic.ativa())
        return;
    try {
        CDSSelic.fechar();
    } catch (...) {
        fGravacaoFalhou = true;
        throw;
    }
}

void TBQDataModule::CDSSelicNewRecord(TabelaMemoria&) {
    // The month before the current one: the latest month whose rate can be known.
    const DataHora mesAnterior = Datas::incrementaMes(fRelogio.hoje(), -1);
    CDSSelicData->defineDataHora(Datas::primeiroDiaDoMes(mesAnterior));
}

void TBQDataModule::CDSSelicBeforeInsert(TabelaMemoria&) {
    CDSSelicData->defineSomenteLeitura(false);
}

void TBQDataModule::CDSSelicBeforeEdit(TabelaMemoria&) {
    if (Datas::parteInteira(CDSSelicData->comoDataHora()) > limiteProtegido())
        return;
    // The mark stays, for every row, until the next new row begins.
    CDSSelicData->defineSomenteLeitura(true);
    aborta();
}

void TBQDataModule::CDSSelicBeforeDelete(TabelaMemoria&) {
    if (!(Datas::parteInteira(CDSSelicData->comoDataHora()) > limiteProtegido()))
        recusa(QStringLiteral("Não é permitido excluir registros da Tabela de Selic com data "
                              "anterior a 01/12/2013!"));
    if (fDialogos.dialogo(QStringLiteral("Deseja excluir este registro?"), TipoDialogo::Confirmacao,
                          Botao::Sim | Botao::Nao) == Resposta::Nao)
        aborta();
}

void TBQDataModule::CDSSelicBeforePost(TabelaMemoria& DataSet) {
    int ano = 0, mes = 0, dia = 0;
    const DataHora data = CDSSelicData->comoDataHora();
    Datas::decodificaData(data, ano, mes, dia);
    if (dia != 1)
        recusa(QStringLiteral("Deve ser informada a Selic para dia 1 do mês!"));
    const QString mesAno = Formato::mesAno(data);
    // A month's rate is known only once the month has ended.
    const DataHora proximoMes = Datas::primeiroDiaDoMes(Datas::incrementaMes(data, 1));
    if (fRelogio.hoje() < proximoMes)
        recusa(QStringLiteral("A Selic de %1 ainda não foi divulgada! A data de hoje é %2")
                   .arg(mesAno, Formato::dataParaTexto(fRelogio.hoje())));
    // One rate per month: a second row of a month could be neither mended nor told apart.
    const auto mesmoMes = [ano, mes](const QVariant& outra) {
        int a = 0, m = 0, d = 0;
        Datas::decodificaData(outra.toDouble(), a, m, d);
        return a == ano && m == mes;
    };
    // Whole days truncate toward zero, so before the origin a day's values lie below it:
    // a day's margin on each side holds every value of the month, whichever its sign.
    const DataHora primeiroDia = Datas::primeiroDiaDoMes(data);
    if (DataSet.outraLinhaArmazenada(*CDSSelicData, primeiroDia - 1, proximoMes, mesmoMes))
        recusa(QStringLiteral("A Selic de %1 já está cadastrada!").arg(mesAno));
}

bool TBQDataModule::InsereRegistro(DataHora dt, double vlr) {
    return insereRegistroComDesfecho(dt, vlr).Situacao != DesfechoInsercao::Tipo::Recusado;
}

DesfechoInsercao TBQDataModule::insereRegistroComDesfecho(DataHora dt, double vlr) {
    using Tipo = DesfechoInsercao::Tipo;
    bool comecouLinha = false;
    fMotivoRecusa.clear();
    try {
        if (!CDSSelic.ativa())
            CDSSelic.abrir();
        CDSSelic.defineFiltrado(false);
        // Data holds whole days, so the month is looked for on dt's day, without its time.
        CDSSelic.defineFiltro(QStringLiteral("DATA = '%1'")
                                  .arg(Formato::dataParaTexto(DataHora(Datas::parteInteira(dt)))));
        CDSSelic.defineFiltrado(true);
        if (!CDSSelic.vazia()) {
            const double naTabela = CDSSelicValor->comoFloat();
            CDSSelic.defineFiltrado(false);
            return {Tipo::Presente, naTabela, {}};
        }
        CDSSelic.defineFiltrado(false);
        if (dt > fRelogio.agora())
            return {Tipo::Futuro, 0, {}};
        // A monthly Selic rate is never negative.
        if (vlr < 0)
            recusa(QStringLiteral("A Selic de %1 não pode ser negativa: %2.")
                       .arg(Formato::mesAno(dt), textoTaxa(vlr)));
        CDSSelic.acrescentar();
        comecouLinha = true;
        CDSSelicData->defineDataHora(dt);
        CDSSelicValor->defineFloat(vlr);
        CDSSelic.gravar();
        return {Tipo::Gravado, 0, {}};
    } catch (const AbortoSilencioso&) {
        return abandonaInsercao(comecouLinha, fMotivoRecusa);
    } catch (const std::exception& e) {
        return abandonaInsercao(comecouLinha, mensagemDe(e));
    } catch (...) {
        return abandonaInsercao(comecouLinha, QString());
    }
}

DesfechoInsercao TBQDataModule::abandonaInsercao(bool comecouLinha, const QString& motivo) {
    // The row begun here is abandoned, so the next months of an import are still stored.
    // A refused row someone else left stays pending: the table is left unfiltered without
    // meeting its refusal a second time.
    if (comecouLinha)
        CDSSelic.cancelar();
    if (CDSSelic.ativa() && CDSSelic.filtrado())
        CDSSelic.desligaFiltroMantendoPendente();
    fDialogos.mensagem(QStringLiteral("Falha ao inserir registro"));
    return {DesfechoInsercao::Tipo::Recusado, 0, motivo};
}

void TBQDataModule::recusa(const QString& mensagem) {
    fMotivoRecusa = mensagem;
    fDialogos.mensagem(mensagem);
    aborta();
}
