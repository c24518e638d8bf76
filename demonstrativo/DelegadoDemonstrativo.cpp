#include "demonstrativo/DelegadoDemonstrativo.h"

#include "calc/TeclasValor.h"
#include "demonstrativo/CelulasDemonstrativo.h"
#include "demonstrativo/GradeDemonstrativo.h"
#include "widgets/CalendarioPeloTeclado.h"
#include "widgets/FiltroTeclas.h"

#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace {

EditorCelula editorDaCelula(const QModelIndex& index) {
    return EditorCelula(index.data(PapelEditor).toInt());
}

QLineEdit* campoDeTexto(QWidget* parent, const QModelIndex& index) {
    auto* campo = new QLineEdit(parent);
    campo->setFrame(false);
    campo->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()));
    return campo;
}

} // namespace

DelegadoDemonstrativo::DelegadoDemonstrativo(GradeDemonstrativo& grade)
    : QStyledItemDelegate(&grade), fGrade(grade) {}

QWidget* DelegadoDemonstrativo::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                             const QModelIndex& index) const {
    QWidget* editor = nullptr;
    switch (editorDaCelula(index)) {
    case EditorCelula::Mes: {
        QLineEdit* campo = campoDeTexto(parent, index);
        campo->setInputMask(QStringLiteral("99/9999;_"));
        editor = campo;
        break;
    }
    case EditorCelula::Data: {
        auto* data = new QDateEdit(parent);
        data->setFrame(false);
        data->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        data->setCalendarPopup(true);
        abreCalendarioPeloTeclado(data);
        editor = data;
        break;
    }
    case EditorCelula::Valor: {
        QLineEdit* campo = campoDeTexto(parent, index);
        filtraTeclas(campo, [campo](QKeyEvent* tecla) { return aplicaFiltroValor(campo, *tecla); });
        editor = campo;
        break;
    }
    case EditorCelula::Texto: {
        QLineEdit* campo = campoDeTexto(parent, index);
        if (const int maximo = index.data(PapelTamanhoMaximo).toInt(); maximo > 0)
            campo->setMaxLength(maximo);
        editor = campo;
        break;
    }
    case EditorCelula::Nenhum:
        return nullptr;
    }
    editor->setObjectName(QStringLiteral("editorCelula"));
    // A screen reader names the editor after its column, as it names the cell.
    editor->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
    return editor;
}

void DelegadoDemonstrativo::setEditorData(QWidget* editor, const QModelIndex& index) const {
    // Once open, an editor keeps what the user typed even when its row is drawn again.
    if (auto* data = qobject_cast<QDateEdit*>(editor)) {
        if (data->property("belqorIniciado").toBool())
            return;
        data->setProperty("belqorIniciado", true);
        QDate valor = index.data(Qt::EditRole).toDate();
        if (!valor.isValid())
            valor = index.data(PapelDataInicial).toDate();
        if (valor.isValid())
            data->setDate(valor);
        return;
    }
    auto* campo = static_cast<QLineEdit*>(editor);
    if (!campo->isModified())
        campo->setText(index.data(Qt::EditRole).toString());
}

void DelegadoDemonstrativo::setModelData(QWidget* editor, QAbstractItemModel* model,
                                         const QModelIndex& index) const {
    if (auto* data = qobject_cast<QDateEdit*>(editor)) {
        model->setData(index, data->date());
        return;
    }
    QString texto = static_cast<QLineEdit*>(editor)->text();
    // A mask left with only its literals is an empty cell.
    if (editorDaCelula(index) == EditorCelula::Mes &&
        std::none_of(texto.cbegin(), texto.cend(), [](QChar c) { return c.isDigit(); }))
        texto.clear();
    model->setData(index, texto);
}

bool DelegadoDemonstrativo::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        const bool tab = tecla->key() == Qt::Key_Tab || tecla->key() == Qt::Key_Backtab;
        if (tab && (tecla->modifiers() & Qt::ControlModifier)) {
            auto* editor = static_cast<QWidget*>(objeto);
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            fGrade.saiPeloTeclado(tecla->key() == Qt::Key_Tab &&
                                  !(tecla->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(objeto, evento);
}
