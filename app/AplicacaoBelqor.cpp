#include "app/AplicacaoBelqor.h"

#include "valores/ConfiguracaoRegional.h"
#include "valores/Erros.h"
#include "dialogos/TextosPadrao.h"

#include <stdexcept>

const QString AplicacaoBelqor::Titulo = QStringLiteral("Atualização de ICMS Vencido");

AplicacaoBelqor::AplicacaoBelqor(int& argc, char** argv, Dialogos& dialogos)
    : QApplication(argc, argv), fDialogos(dialogos) {
    // Before any window exists: widgets take the default locale when they are created.
    QLocale::setDefault(ConfiguracaoRegional::localeDosWidgets());
    // The application name is the class of every window (WM_CLASS), which a task bar
    // matches with the desktop entry's name: both are the application id. The title goes
    // into the captions and message boxes through the standard-text table; a display name
    // would be appended to every window caption, so none is set.
    setApplicationName(QStringLiteral(BELQOR_ID_APLICACAO));
    setDesktopFileName(QStringLiteral(BELQOR_ID_APLICACAO));
    TextosPadraoTabela::defineTituloAplicacao(Titulo);
    // Installed last, so it is asked first: the table's captions win over Qt's catalogue.
    fTraducoesQt.instala(*this);
    installTranslator(&fTradutor);
}

AplicacaoBelqor::~AplicacaoBelqor() {
    removeTranslator(&fTradutor);
}

bool AplicacaoBelqor::notify(QObject* destino, QEvent* evento) {
    bool tratado = false;
    executaProtegido(fDialogos, [&] { tratado = QApplication::notify(destino, evento); });
    return tratado;
}

bool AplicacaoBelqor::haTelaDisponivel() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
