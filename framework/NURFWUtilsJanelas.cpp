#include "framework/NURFWUtils.h"

#include "dialogos/Dialogos.h"
#include "valores/Erros.h"

#include <QDialog>
#include <QMetaObject>
#include <QPrinterInfo>

#include <memory>

void TNURUtils::ShowChild(QWidget* Form, const QMetaObject& ClassForm) {
    std::unique_ptr<QObject> janela(ClassForm.newInstance());
    // Form is the caller's value, not its variable: it holds the window for this call only.
    Form = qobject_cast<QDialog*>(janela.get());
    if (!Form)
        throw ErroBelqor(QStringLiteral("A classe %1 não cria uma janela modal.")
                             .arg(QString::fromLatin1(ClassForm.className())));
    static_cast<QDialog*>(Form)->exec();
}

bool TNURUtils::ExistePrinter(Dialogos& dialogos) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        return true;
    dialogos.mensagemComTitulo(
        QStringLiteral("Não foi encontrada impressora instalada no seu computador"),
        QStringLiteral("Impressora"));
    return false;
}
