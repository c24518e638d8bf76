#pragma once

#include "sistema/CanalVisualizadorLog.h"

#include <QFile>
#include <QObject>
#include <QString>

#include <memory>

class Dialogos;

// The framework: the configuration and log component (TConfigApp), the status message window
// (TfrmNURMensagem, shown through TNURUtils::MostraStatus) and the utility class TNURUtils.
// The core library holds what runs without a display; the windows live in the ui library.

// The persisted settings of the component, in the order they are assigned at load.
struct ValoresConfigApp {
    QString Versao;
    QString Release;
    bool VersaoTeste = false;
    bool GeraLog = false;
    QString NomeArqLog;
    qint32 MaxNumLinhas = 0;
    QString SiglaSistema;
    QString NomeSistema;
};

// This application's settings for its component.
ValoresConfigApp valoresConfigAppBelqor();

// A text carried in from a document as one line: a line break, a tab or any other control
// character, or a Unicode line or paragraph separator, would split a log entry or a line on
// the terminal, or forge another one, so each becomes a blank.
QString emUmaLinha(QString texto);

// The system's identity and its plain-text log in the program's log folder. Every line
// written to the log is also forwarded to the log viewer when one is running.
//
// The log file is Windows-1252 text with CR LF line ends, appended to across runs. With a
// limit of lines in force, a write that takes the count of lines written since the name was
// set past the limit trims the file to its last MaxNumLinhas lines; the count is not reset by
// trimming, so from then on every write trims. A blank name or a file that cannot be opened
// switches logging off (the first with a message); a line that cannot be written, or a file
// that cannot be read or rewritten while trimming, raises ErroEntradaSaida.
class TConfigApp : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Versao READ Versao WRITE SetVersao)
    Q_PROPERTY(QString Release READ Release WRITE SetRelease)
    Q_PROPERTY(bool VersaoTeste READ VersaoTeste WRITE SetVersaoTeste)
    Q_PROPERTY(bool GeraLog READ GeraLog WRITE SetGeraLog)
    Q_PROPERTY(QString NomeArqLog READ GetNomeArqLog WRITE SetNomeArqLog)
    Q_PROPERTY(qint32 MaxNumLinhas READ MaxNumLinhas WRITE SetMaxNumLinhas)
    Q_PROPERTY(QString SiglaSistema READ SiglaSistema WRITE SetSiglaSistema)
    Q_PROPERTY(QString NomeSistema READ NomeSistema WRITE SetNomeSistema)

public:
    // The dialogs show the blank-name message; they must outlive the component.
    explicit TConfigApp(Dialogos& dialogos, QObject* dono = nullptr);
    ~TConfigApp() override;

    // Assigns the settings through their setters in declaration order, as the data module
    // does at load: the name arrives while the limit is still 0, so the count starts at 0.
    void carregaValores(const ValoresConfigApp& valores);

    // The folder the log name is taken relative to: the program's log folder (beside the
    // executable in a portable copy, see LocaisArquivos) unless a test sets one.
    void definePastaLog(const QString& pasta);
    QString pastaLog() const;
    // The log path: the log folder, a separator and NomeArqLog as stored.
    QString caminhoArqLog() const;
    // Where forwarded lines go; the local viewer socket unless replaced.
    void defineCanalVisualizador(std::unique_ptr<CanalVisualizadorLog> canal);

    QString Versao() const { return fVersao; }
    void SetVersao(const QString& valor) { fVersao = valor; }
    QString Release() const { return fRelease; }
    void SetRelease(const QString& valor) { fRelease = valor; }
    bool VersaoTeste() const { return fVersaoTeste; }
    void SetVersaoTeste(bool valor) { fVersaoTeste = valor; }
    bool GeraLog() const { return fGeraLog; }
    void SetGeraLog(bool valor) { fGeraLog = valor; }
    QString GetNomeArqLog() const;
    void SetNomeArqLog(const QString& valor);
    qint32 MaxNumLinhas() const { return fMaxNumLinhas; }
    // A negative limit counts as no limit: trimming could not keep fewer than no lines.
    void SetMaxNumLinhas(qint32 valor) { fMaxNumLinhas = qMax(0, valor); }
    QString SiglaSistema() const { return fSigla; }
    void SetSiglaSistema(const QString& valor) { fSigla = valor; }
    QString NomeSistema() const { return fNomeSistema; }
    void SetNomeSistema(const QString& valor) { fNomeSistema = valor; }

    // Appends the line to the log (opening and closing the file) and forwards it.
    void WriteArqLog(const QString& Linha);
    void EnviaArqLog(const QString& LinhaLog);
    // Trims an existing log and keeps it open for appending until FechaArqLog.
    void CriaArqLog();
    // Closes the kept-open log and trims it; any failure is swallowed.
    void FechaArqLog();
    // Trims the named file to its last MaxNumLinhas lines when a limit is in force.
    void VerificaTamanho(const QString& NomeArquivo);
    // "Sigla - Nome - Versão x.yy.zzRelease", marked when this is a test build.
    QString RetornaCaptionFormPrincipal() const;
    // Forwards "Sigla - sMsg" to the log viewer, cut at the first zero character.
    void EnviaMensagemLogAvancado(const QString& sMsg);

private:
    // Trims like VerificaTamanho without looking at the limit.
    void ReduzArqLog(const QString& NomeArquivo);
    // Opens the log path for appending, or creates it; false when that is not possible.
    bool abreParaAcrescentar(QFile& arquivo) const;
    void desligaPorNomeVazio();

    Dialogos& fDialogos;
    QString fPastaLog;
    std::unique_ptr<CanalVisualizadorLog> fCanal;

    QString fVersao;
    QString fRelease;
    bool fVersaoTeste = false;
    bool fGeraLog = false;
    QFile fArqLog;
    QString fNomeArqLog;
    qint32 fMaxNumLinhas = 0;
    QString fSigla;
    QString fNomeSistema;
    qint32 fNumAtualLinhas = 0;
};
