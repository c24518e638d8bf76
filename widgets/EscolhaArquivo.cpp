#include "widgets/EscolhaArquivo.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace {

// "xlsx" of "Pasta de trabalho (*.xlsx)"; empty when the filter names no extension.
QString primeiraExtensao(const QString& filtro) {
    static const QRegularExpression extensao(QStringLiteral("\\*\\.(\\w+)"));
    return extensao.match(filtro).captured(1);
}

} // namespace

QString escolheArquivoQt(QWidget* pai, const PedidoArquivo& pedido) {
    QFileDialog dialogo(pai, pedido.titulo);
    dialogo.setNameFilters(pedido.filtros);
    if (pedido.modo == PedidoArquivo::Modo::Gravar) {
        dialogo.setAcceptMode(QFileDialog::AcceptSave);
        dialogo.setFileMode(QFileDialog::AnyFile);
        if (!pedido.filtros.isEmpty())
            dialogo.setDefaultSuffix(primeiraExtensao(pedido.filtros.constFirst()));
        QObject::connect(&dialogo, &QFileDialog::filterSelected, &dialogo,
                         [&dialogo](const QString& filtro) {
                             dialogo.setDefaultSuffix(primeiraExtensao(filtro));
                         });
        dialogo.selectFile(pedido.nomeSugerido);
    } else {
        dialogo.setAcceptMode(QFileDialog::AcceptOpen);
        dialogo.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return QString();
    return dialogo.selectedFiles().constFirst();
}
