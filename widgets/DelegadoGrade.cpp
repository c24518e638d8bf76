#include "widgets/DelegadoGrade.h"

#include "widgets/GradeDados.h"
#include "widgets/ModeloGrade.h"

#include <QKeyEvent>
#include <QLineEdit>

QString mascaraDeEntrada(const QString& mascaraEdicao) {
    const QStringList partes = mascaraEdicao.split(QLatin1Char(';'));
    QString mascara = partes.value(0);
    if (mascara.startsWith(QLatin1Char('!')))
        mascara.remove(0, 1);
    if (mascara.isEmpty())
        return QString();
    const QString branco = partes.value(2);
    if (!branco.isEmpty())
        mascara += QLatin1Char(';') + branco.left(1);
    return mascara;
}

DelegadoGrade::DelegadoGrade(GradeDados& grade) : QStyledItemDelegate(&grade), fGrade(grade) {}

QWidget* DelegadoGrade::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                     const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setObjectName(QStringLiteral("editorCelula"));
    // A screen reader names the editor after its column, as it names the cell.
    editor->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
    if (const auto* modelo = qobject_cast<const ModeloGrade*>(index.model()))
        if (const Campo* campo = modelo->campoDaColuna(index.column()))
            editor->setInputMask(mascaraDeEntrada(campo->definicao().mascaraEdicao));
    editor->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()));
    fGrade.editorCriado(editor, index.column());
    return editor;
}

void DelegadoGrade::setEditorData(QWidget* editor, const QModelIndex& index) const {
    // Once open, the editor keeps what the user typed even when the row is redrawn.
    auto* linha = static_cast<QLineEdit*>(editor);
    if (!linha->isModified())
        linha->setText(index.data(Qt::EditRole).toString());
}

void DelegadoGrade::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}

void DelegadoGrade::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    fGrade.editorDestruido(editor);
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool DelegadoGrade::eventFilter(QObject* objeto, QEvent* evento) {
    // Losing the focus neither writes nor closes: the grid decides what leaving means.
    if (evento->type() == QEvent::KeyPress)
        return fGrade.teclaDoEditor(static_cast<QKeyEvent*>(evento));
    if (evento->type() == QEvent::ShortcutOverride) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        if (tecla->key() == Qt::Key_Escape) {
            evento->accept();
            return true;
        }
    }
    Q_UNUSED(objeto);
    return false;
}
