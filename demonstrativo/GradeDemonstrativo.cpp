#include "demonstrativo/GradeDemonstrativo.h"

#include "demonstrativo/CelulasDemonstrativo.h"
#include "demonstrativo/DelegadoDemonstrativo.h"
#include "widgets/CoresSelecao.h"
#include "widgets/SaidaDaGrade.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

GradeDemonstrativo::GradeDemonstrativo(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new DelegadoDemonstrativo(*this));
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::DoubleClicked);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    // Rows of one height: at ten thousand debts nothing is measured row by row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(false);
    defineCoresSelecao(this);
}

void GradeDemonstrativo::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    ajustaColunas();
}

// Each column as wide as what it shows at most (PapelLargura), in digits of the grid's font;
// the last column takes what is left.
void GradeDemonstrativo::ajustaColunas() {
    if (!model())
        return;
    const int digito = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int coluna = 0; coluna < model()->columnCount(); ++coluna) {
        const int caracteres = model()->headerData(coluna, Qt::Horizontal, PapelLargura).toInt();
        if (caracteres <= 0)
            continue;
        const int titulo =
            fontMetrics().horizontalAdvance(model()->headerData(coluna, Qt::Horizontal).toString());
        setColumnWidth(coluna, std::max(digito * caracteres, titulo) + 16);
    }
}

void GradeDemonstrativo::saiPeloTeclado(bool adiante) {
    saiDaGradePeloTeclado(this, adiante);
}

void GradeDemonstrativo::keyPressEvent(QKeyEvent* evento) {
    const auto mods = evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier |
                                             Qt::MetaModifier | Qt::ShiftModifier);
    const bool ctrl = (mods & ~Qt::ShiftModifier) == Qt::ControlModifier;
    if ((evento->key() == Qt::Key_Tab || evento->key() == Qt::Key_Backtab) && ctrl) {
        saiPeloTeclado(evento->key() == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
        evento->accept();
        return;
    }
    if (evento->matches(QKeySequence::Paste)) {
        emit colar();
        evento->accept();
        return;
    }
    if (evento->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
        emit incluir();
        evento->accept();
        return;
    }
    if (evento->key() == Qt::Key_Delete && mods == Qt::ControlModifier) {
        emit excluir();
        evento->accept();
        return;
    }
    QTableView::keyPressEvent(evento);
}
