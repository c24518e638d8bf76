#include "demonstrativo/GradeDemonstrativo.h"

#include "demonstrativo/DelegadoDemonstrativo.h"
#include "demonstrativo/ModeloDemonstrativo.h"
#include "widgets/CoresSelecao.h"
#include "widgets/SaidaDaGrade.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <initializer_list>
#include <utility>

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

// Each column as wide as what it shows at most, in digits of the grid's font; the
// description and the message take what is left.
void GradeDemonstrativo::ajustaColunas() {
    const int digito = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const auto largura = [&](int caracteres, int coluna) {
        const int titulo =
            fontMetrics().horizontalAdvance(ModeloDemonstrativo::tituloDaColuna(coluna));
        return std::max(digito * caracteres, titulo) + 16;
    };
    using M = ModeloDemonstrativo;
    const std::initializer_list<std::pair<int, int>> caracteres{
        {M::Referencia, 8}, {M::Vencimento, 11}, {M::Valor, 16}, {M::Descricao, 18}, {M::Dias, 5},
        {M::Taxa, 12},      {M::Multa, 14},      {M::Juros, 14}, {M::Total, 16}};
    for (const auto& [coluna, n] : caracteres)
        setColumnWidth(coluna, largura(n, coluna));
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
