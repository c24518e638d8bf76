#include "widgets/GradeDados.h"

#include "tabela/Campo.h"
#include "widgets/CoresSelecao.h"
#include "widgets/SaidaDaGrade.h"
#include "widgets/DelegadoGrade.h"
#include "dialogos/Dialogos.h"
#include "valores/Erros.h"
#include "widgets/ModeloGrade.h"
#include "tabela/TabelaMemoria.h"
#include "dialogos/TextosPadrao.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QStyleOptionHeader>

#include <algorithm>

GradeDados::GradeDados(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new DelegadoGrade(*this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(false);
    connect(qApp, &QApplication::focusChanged, this, &GradeDados::focoMudou);
    defineCoresSelecao(this);
}

void GradeDados::defineFonte(ModeloGrade* modelo, Dialogos* dialogos) {
    fModelo = modelo;
    fDialogos = dialogos;
    setModel(modelo);
    if (!modelo)
        return;
    connect(&modelo->tabela(), &TabelaMemoria::alterada, this, &GradeDados::sincronizaAtual);
    connect(modelo, &QAbstractItemModel::modelReset, this, &GradeDados::ajustaColunas);
    ajustaColunas();
    sincronizaAtual();
}

void GradeDados::ajustaColunas() {
    // Rows as high as a line of text; a column as wide as its field's display width in
    // digits of the grid's font.
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // The indicator column as wide as its widest mark, whichever rows are in view: the
    // header would size itself from the first and last rows only.
    verticalHeader()->setFixedWidth(larguraIndicador());
    const int digito = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < fModelo->columnCount(); ++c)
        if (const Campo* campo = fModelo->campoDaColuna(c);
            campo && campo->definicao().larguraExibicao > 0)
            setColumnWidth(c, digito * campo->definicao().larguraExibicao + 4);
}

int GradeDados::larguraIndicador() const {
    QHeaderView* cabecalho = verticalHeader();
    QStyleOptionHeader opcao;
    opcao.initFrom(cabecalho);
    opcao.orientation = Qt::Vertical;
    opcao.textAlignment = cabecalho->defaultAlignment();
    opcao.fontMetrics = cabecalho->fontMetrics();
    int largura = 0;
    for (const auto indicador : {ModeloGrade::Indicador::Atual, ModeloGrade::Indicador::Editando,
                                 ModeloGrade::Indicador::Inserindo}) {
        opcao.text = ModeloGrade::textoIndicador(indicador);
        largura = std::max(
            largura, cabecalho->style()
                         ->sizeFromContents(QStyle::CT_HeaderSection, &opcao, QSize(), cabecalho)
                         .width());
    }
    return largura;
}

bool GradeDados::protegido(const std::function<void()>& corpo) {
    bool concluido = false;
    if (!fDialogos) {
        try {
            corpo();
            concluido = true;
        } catch (const std::exception&) {
        }
        return concluido;
    }
    executaProtegido(*fDialogos, [&] {
        corpo();
        concluido = true;
    });
    return concluido;
}

void GradeDados::editorCriado(QLineEdit* editor, int coluna) {
    fEditor = editor;
    fColunaEditor = coluna;
}

void GradeDados::editorDestruido(QWidget* editor) {
    if (fEditor == editor) {
        fEditor = nullptr;
        fColunaEditor = -1;
    }
}

void GradeDados::fechaEditor() {
    if (fEditor)
        closeEditor(fEditor, QAbstractItemDelegate::NoHint);
}

void GradeDados::aplicaEdicao() {
    if (!fEditor || !fModelo)
        return;
    QString texto = fEditor->text();
    if (texto != fTextoOriginal) {
        // A mask left with only its literals is an empty field.
        if (!fEditor->inputMask().isEmpty() &&
            std::none_of(texto.cbegin(), texto.cend(),
                         [](QChar c) { return c.isLetterOrNumber(); }))
            texto.clear();
        Campo* campo = fModelo->campoDaColuna(fColunaEditor);
        try {
            if (campo)
                campo->defineTexto(texto);
        } catch (...) {
            fEditor->setFocus();
            throw;
        }
    }
    fechaEditor();
}

bool GradeDados::aplicaEdicaoProtegida() {
    return protegido([this] { aplicaEdicao(); });
}

void GradeDados::sincronizaAtual() {
    if (!fModelo || !selectionModel())
        return;
    const TabelaMemoria& tabela = fModelo->tabela();
    const int linha = tabela.ativa() ? tabela.linhaAtualExibida() : -1;
    const QScopedValueRollback<bool> marca(fSincronizando, true);
    if (linha < 0 || linha >= fModelo->rowCount()) {
        if (currentIndex().isValid())
            selectionModel()->clear();
        return;
    }
    const int coluna = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex alvo = fModelo->index(linha, coluna);
    if (alvo != currentIndex())
        selectionModel()->setCurrentIndex(alvo, QItemSelectionModel::ClearAndSelect);
    scrollTo(alvo);
}

void GradeDados::currentChanged(const QModelIndex& atual, const QModelIndex& anterior) {
    if (fSincronizando || !fModelo || fModelo->atualizando()) {
        QTableView::currentChanged(atual, anterior);
        return;
    }
    // The user picked another cell: the typed text goes into its field first, and another
    // row becomes the table's current row, settling the pending change.
    const bool outraLinha = atual.row() != anterior.row();
    if (fEditor && (outraLinha || atual.column() != fColunaEditor) && !aplicaEdicaoProtegida()) {
        const QScopedValueRollback<bool> marca(fSincronizando, true);
        selectionModel()->setCurrentIndex(anterior, QItemSelectionModel::ClearAndSelect);
        return;
    }
    QTableView::currentChanged(atual, anterior);
    if (outraLinha && atual.isValid()) {
        const int linha = atual.row();
        protegido([&] { fModelo->tabela().irParaLinhaExibida(linha); });
    }
    sincronizaAtual();
}

void GradeDados::keyPressEvent(QKeyEvent* evento) {
    if (!fModelo) {
        QTableView::keyPressEvent(evento);
        return;
    }
    if (trataTecla(evento)) {
        evento->accept();
        return;
    }
    const auto modificadores =
        evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (evento->key() == Qt::Key_F2 && modificadores == Qt::NoModifier) {
        comecaEdicao(nullptr);
        evento->accept();
        return;
    }
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        evento->accept();
        return;
    }
    const QString texto = evento->text();
    if (modificadores == Qt::NoModifier && !texto.isEmpty() && texto.at(0).isPrint()) {
        comecaEdicao(evento);
        evento->accept();
        return;
    }
    QTableView::keyPressEvent(evento);
}

bool GradeDados::teclaDoEditor(QKeyEvent* evento) {
    if (trataTecla(evento))
        return true;
    switch (evento->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        aplicaEdicaoProtegida();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (aplicaEdicaoProtegida())
            QTableView::keyPressEvent(evento);
        return true;
    default:
        return false;
    }
}

bool GradeDados::trataTecla(QKeyEvent* evento) {
    if (!fModelo)
        return false;
    TabelaMemoria& tabela = fModelo->tabela();
    const auto modificadores =
        evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool ctrl = modificadores == Qt::ControlModifier;
    const bool nenhum = modificadores == Qt::NoModifier;
    switch (evento->key()) {
    case Qt::Key_Up:
        if (!nenhum)
            return false;
        move([&] {
            // Up from an untouched new row at the end only takes that row away.
            if (tabela.estado() == TabelaMemoria::Estado::Inserindo && !tabela.modificado() &&
                tabela.linhaAtualExibida() == tabela.linhasExibidas() - 1)
                tabela.cancelar();
            else
                tabela.anterior();
        });
        return true;
    case Qt::Key_Down:
        if (!nenhum)
            return false;
        desce();
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (!nenhum)
            return false;
        moveUmaPagina(evento->key() == Qt::Key_PageUp ? -1 : 1);
        return true;
    case Qt::Key_Home:
        if (!ctrl)
            return false;
        move([&] { tabela.primeiro(); });
        return true;
    case Qt::Key_End:
        if (!ctrl)
            return false;
        move([&] { tabela.ultimo(); });
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Tab moves between the cells; Ctrl+Tab and Ctrl+Shift+Tab leave the grid.
        if (!ctrl)
            return false;
        saiPeloTeclado(evento->key() == Qt::Key_Tab && !(evento->modifiers() & Qt::ShiftModifier));
        return true;
    case Qt::Key_Insert:
        if (!nenhum)
            return false;
        move([&] { tabela.inserir(); });
        return true;
    case Qt::Key_Delete:
        if (!ctrl)
            return false;
        exclui();
        return true;
    case Qt::Key_Escape:
        if (!nenhum)
            return false;
        escape();
        return true;
    default:
        return false;
    }
}

void GradeDados::move(const std::function<void()>& operacao) {
    if (!aplicaEdicaoProtegida())
        return;
    protegido(operacao);
    sincronizaAtual();
}

void GradeDados::desce() {
    TabelaMemoria& tabela = fModelo->tabela();
    move([&] {
        const bool naUltima =
            tabela.ativa() && tabela.linhaAtualExibida() == tabela.linhasExibidas() - 1;
        if (!naUltima) {
            tabela.proximo();
            return;
        }
        // A new row nobody has typed into is not followed by another one.
        if (tabela.estado() == TabelaMemoria::Estado::Inserindo && !tabela.modificado())
            return;
        tabela.acrescentar();
    });
}

void GradeDados::moveUmaPagina(int sentido) {
    TabelaMemoria& tabela = fModelo->tabela();
    const int altura = std::max(1, verticalHeader()->defaultSectionSize());
    const int pagina = std::max(1, viewport()->height() / altura - 1);
    move([&] {
        // Counting fails on a closed table, as every move does.
        tabela.quantidade();
        const int atual = tabela.linhaAtualExibida();
        const int alvo =
            std::clamp(atual + sentido * pagina, 0, std::max(0, tabela.linhasExibidas() - 1));
        if (atual < 0 || alvo == atual)
            tabela.resolvePendente();
        else
            tabela.irParaLinhaExibida(alvo);
    });
}

void GradeDados::escape() {
    if (fEditor) {
        if (fEditor->text() != fTextoOriginal) {
            fEditor->setText(fTextoOriginal);
            fEditor->selectAll();
            return;
        }
        fechaEditor();
    }
    TabelaMemoria& tabela = fModelo->tabela();
    if (tabela.ativa())
        protegido([&] { tabela.cancelar(); });
    sincronizaAtual();
}

void GradeDados::exclui() {
    TabelaMemoria& tabela = fModelo->tabela();
    move([&] {
        const Resposta resposta =
            fDialogos->dialogo(TextosPadraoTabela::texto(TextoPadrao::PerguntaExcluirRegistro),
                               TipoDialogo::Confirmacao, Botao::Ok | Botao::Cancelar);
        if (resposta != Resposta::Cancelar)
            tabela.excluir();
    });
}

void GradeDados::comecaEdicao(QKeyEvent* tecla) {
    TabelaMemoria& tabela = fModelo->tabela();
    const int coluna = currentIndex().isValid() ? currentIndex().column() : 0;
    const Campo* campo = fModelo->campoDaColuna(coluna);
    if (!campo || !campo->ehDados() || campo->somenteLeitura())
        return;
    if (!protegido([&] { tabela.editar(); }))
        return;
    sincronizaAtual();
    const QModelIndex indice = currentIndex();
    if (!indice.isValid() || !(fModelo->flags(indice) & Qt::ItemIsEditable))
        return;
    const bool jaAberto = fEditor;
    if (!jaAberto) {
        if (!edit(indice, QAbstractItemView::AllEditTriggers, nullptr) || !fEditor)
            return;
        fTextoOriginal = fEditor->text();
        // Typing replaces the cell's text, as in a spreadsheet.
        fEditor->selectAll();
    }
    fEditor->setFocus();
    if (tecla) {
        QKeyEvent copia(tecla->type(), tecla->key(), tecla->modifiers(), tecla->text());
        QCoreApplication::sendEvent(fEditor, &copia);
    }
}

// Leaving settles the grid as any other way out does (focoMudou).
void GradeDados::saiPeloTeclado(bool adiante) {
    saiDaGradePeloTeclado(this, adiante);
}

bool GradeDados::contem(const QWidget* widget) const {
    return widget && (widget == this || isAncestorOf(widget));
}

void GradeDados::focoMudou(QWidget*, QWidget* novo) {
    if (contem(novo)) {
        fFocoDentro = true;
        return;
    }
    // Focus moving to another window (a message box, another program) is not leaving.
    if (fFocoDentro && novo && novo->window() == window()) {
        fFocoDentro = false;
        saiDaGrade();
    }
}

void GradeDados::hideEvent(QHideEvent* evento) {
    if (fFocoDentro) {
        fFocoDentro = false;
        saiDaGrade();
    }
    QTableView::hideEvent(evento);
}

void GradeDados::saiDaGrade() {
    if (!fModelo)
        return;
    if (!aplicaEdicaoProtegida())
        return;
    // A new row nobody has typed into goes away; any other change stays pending.
    TabelaMemoria& tabela = fModelo->tabela();
    if (tabela.ativa() && tabela.estado() == TabelaMemoria::Estado::Inserindo &&
        !tabela.modificado())
        protegido([&] { tabela.cancelar(); });
}
