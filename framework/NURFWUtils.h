#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <optional>

class Dialogos;
class TabelaMemoria;
class QWidget;
struct QMetaObject;

// The framework's utility class: class-level operations only, never instantiated.
//
// The operations are spread over files by concern: NURFWUtils.cpp (system identity and
// INI files), NURFWUtilsDocumentos.cpp (taxpayer numbers), NURFWUtilsTexto.cpp (text and
// dates), NURFWUtilsArquivos.cpp (files, folders, programs), NURFWUtilsSistema.cpp
// (machine queries), NURFWUtilsBackup.cpp (the database backup tool),
// NURFWUtilsHash.cpp (table and row fingerprints); they build the
// library belqor_framework, which needs no widgets. The operations that show windows or
// ask for printers (ShowChild, ExistePrinter; NURFWUtilsJanelas.cpp) build the separate
// library belqor_framework_ui.
//
// Operations that show a message take the dialogs to show it with as their last argument,
// so a caller (or a test) decides how it reaches the user.
class TNURUtils {
public:
    TNURUtils() = delete;

    // A non-empty text shows the status window with it (creating the window and setting the
    // hourglass when there is none); an empty one removes the window and restores the pointer.
    // Built in the framework's widget library.
    static void MostraStatus(const QString& Mensagem);

    // System identity, read from the registered configuration component. Only a reference
    // is kept: the caller keeps the component alive while these operations are in use.
    // The component offers SiglaSistema(), NomeSistema(), Versao(), Release() and
    // VersaoTeste(). Using an identity operation before registering raises an error.
    template <class TComponente>
    static void InicializaConfigApp(const TComponente& ConfigApp_Sistema);
    static QString GetSiglaSistema();
    static QString GetNomeSistema();
    // Versao followed directly by Release.
    static QString GetVersaoSistema();
    static bool GetVersaoTeste();
    // Key "Database" of the section SiglaSistema in SiglaSistema + ".ini" beside the
    // executable.
    static QString PegaCaminhoBase();

    // INI files; both raise "Arquivo INI não encontrado!" when the file does not exist.
    // A value read is cut to 2047 characters; a missing section or key reads as empty.
    static QString GetValoresIni(const QString& Arquivo, const QString& Secao,
                                 const QString& Atributo);
    static void SetValoresIni(const QString& Arquivo, const QString& Secao, const QString& Atributo,
                              const QString& Valor);

    // Text and dates.
    static QString PreencheDireita(const QString& pString, const QString& pChar, qint32 pLength);
    static QString PreencheEsquerda(const QString& pString, const QString& pChar, qint32 pLength);
    // Accented letters to plain ones, "&" to "e", "<" and ">" to parentheses.
    static QString RemoveCaracterEspecial(const QString& sString);
    // Raises the date-encoding error for a month outside 1 to 12 or a year outside
    // 1 to 9999.
    static qint32 UltimoDiaMes(qint32 iMes, qint32 iAno);

    // Taxpayer numbers, written as bare digits only.
    static bool ValidaCPF(const QString& pCPF);
    static bool ValidaCNPJ(const QString& pCNPJ);
    // True when the last digit of Seq is the modulo-11 check digit of the digits before
    // it, weighted 2 to ciclo from the right. Raises the conversion error for an empty
    // text or a character that is not a digit.
    static bool Modulo11(const QString& Seq, std::uint8_t ciclo);
    static bool SameChars(const QString& pString);
    // The characters "0" to "9" of pString, in order.
    static QString GetNumbers(const QString& pString);

    // Files, folders and programs.
    // The folder "Temp/" beside the executable, created when missing.
    static QString GetTempDir();
    // The file's size in bytes, or -1 when it cannot be opened for reading.
    static qint64 GetTamArq(const QString& sFileToExamine);
    // Deletes the plain, visible, writable files directly inside Dir; does nothing when
    // Dir with its separator is shorter than 4 characters.
    static void DeleteAllFiles(const QString& Dir);
    // Opens FileName with the desktop's default action, or runs it with Params when it is
    // a program. Returns the shell's code: above 32 is success. ShowCmd has no meaning on
    // this desktop and is accepted for callers written against it.
    static quintptr ExecuteFile(const QString& FileName, const QString& Params,
                                const QString& DefaultDir, qint32 ShowCmd);
    // Creates a dialog of class ClassForm (a QDialog with an invokable constructor), shows
    // it modally and destroys it afterwards, also when showing it fails. Form holds the
    // new window during the call only.
    static void ShowChild(QWidget* Form, const QMetaObject& ClassForm);

    // Machine queries. Failures are told in a message box and give an empty text.
    static bool ExistePrinter(Dialogos& dialogos);
    static QString GetLocalIP(Dialogos& dialogos);
    static QString GetComputerName(Dialogos& dialogos);
    // The serial number of the volume holding the path FDrive, as 8 upper-case hex digits.
    static QString GetHDVolume(const QString& FDrive, Dialogos& dialogos);
    // Available physical memory in bytes; 0 when the system does not tell.
    static qint64 TotalMemoriaRAMDisp();

    // The database backup tool beside the executable. Tipo "B" backs sArquivoBase up to
    // sArquivoBackup, "R" restores sArquivoBase from it; true only when the tool ran and
    // ended without error. A failed backup leaves the previous backup file in place.
    static bool BackupRestore(const QString& Tipo, const QString& sArquivoBase,
                              const QString& sArquivoBackup, const QString& sUsuario,
                              const QString& sSenha);
    // Backs the database up to a temporary file and restores it from there over itself;
    // the restore runs only after a backup that succeeded.
    static bool ReestruturaBaseDados(const QString& sArquivoBase, const QString& sUsuario,
                                     const QString& sSenha);
    // Fingerprints: SHA-1 over the ANSI bytes of the table's or row's text, as 40 upper-case
    // hex digits. The text field "NURCRC" (exact name) holds a row's own fingerprint and is
    // left out of both. The table fingerprint closes, reopens and walks the table, and
    // leaves it closed whatever happens; the row fingerprint reads the current row only.
    static QString RetornaHashDataset(TabelaMemoria& Dataset);
    static QString RetornaHashLinha(TabelaMemoria& Dataset);
    static bool ValidaHashDataset(TabelaMemoria& Dataset, const QString& HashAtual);
    // On a closed table: the error dialog "Dataset <name> fechado." and false.
    static bool ValidaHashLinha(TabelaMemoria& Dataset, const QString& TableName,
                                Dialogos& dialogos);

    // The tool's file name in the executable's folder ("gbak.exe" unless changed).
    static void DefineFerramentaBackup(const QString& nome);
    static QString FerramentaBackup();

private:
    struct Identidade {
        std::function<QString()> sigla;
        std::function<QString()> nome;
        std::function<QString()> versao;
        std::function<QString()> release;
        std::function<bool()> versaoTeste;
    };
    static void registraIdentidade(Identidade identidade);
    static std::optional<Identidade>& identidadeRegistrada();
    static const Identidade& identidade();
};

template <class TComponente>
void TNURUtils::InicializaConfigApp(const TComponente& ConfigApp_Sistema) {
    const TComponente* c = &ConfigApp_Sistema;
    registraIdentidade({[c] { return QString(c->SiglaSistema()); },
                        [c] { return QString(c->NomeSistema()); },
                        [c] { return QString(c->Versao()); }, [c] { return QString(c->Release()); },
                        [c] { return bool(c->VersaoTeste()); }});
}
