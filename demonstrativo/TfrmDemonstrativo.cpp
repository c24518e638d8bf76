#include "demonstrativo/TfrmDemonstrativo.h"

#include "demonstrativo/ColagemDebitos.h"
#include "demonstrativo/DocumentoDemonstrativo.h"
#include "demonstrativo/ExportacaoDemonstrativo.h"
#include "demonstrativo/LeituraDebitos.h"
#include "demonstrativo/ModeloDemonstrativo.h"
#include "demonstrativo/ModeloPagamentos.h"
#include "dialogos/Dialogos.h"
#include "calc/FormataResultado.h"
#include "calc/PreviaImpressao.h"
#include "valores/Erros.h"
#include "valores/Relogio.h"
#include "widgets/AnuncioLeitor.h"
#include "widgets/CalendarioPeloTeclado.h"
#include "widgets/CentraJanela.h"
#include "widgets/EnterPressionaBotao.h"
#include "widgets/FiltroTeclas.h"
#include "widgets/PonteiroMouse.h"
#include "ui_TfrmDemonstrativo.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QTimer>

#include <initializer_list>
#include <utility>

namespace {

PedidoArquivo pedidoPlanilha() {
    return {
        PedidoArquivo::Modo::Abrir,
        QStringLiteral("Abrir planilha de débitos"),
        {QStringLiteral("Planilhas (*.csv *.xlsx *.ods)"), QStringLiteral("Todos os arquivos (*)")},
        QString()};
}

PedidoArquivo pedidoExportacao() {
    return {PedidoArquivo::Modo::Gravar,
            QStringLiteral("Exportar demonstrativo"),
            {QStringLiteral("Planilha .xlsx (*.xlsx)"),
             QStringLiteral("CSV separado por ponto e vírgula (*.csv)")},
            QStringLiteral("demonstrativo.xlsx")};
}

// The rows of the grid's selection, or its current row: first and last; -1 for none.
std::pair<int, int> linhasSelecionadas(const QTableView* grade) {
    const QModelIndex atual = grade->currentIndex();
    if (!atual.isValid())
        return {-1, -1};
    int primeira = atual.row(), ultima = atual.row();
    for (const QModelIndex& i : grade->selectionModel()->selectedIndexes()) {
        primeira = std::min(primeira, i.row());
        ultima = std::max(ultima, i.row());
    }
    return {primeira, ultima};
}

} // namespace

TfrmDemonstrativo::TfrmDemonstrativo(TBQDataModule& dados, Dialogos& dialogos,
                                     const Relogio& relogio, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmDemonstrativo>()), fDados(dados),
      fDialogos(dialogos), fRelogio(relogio), fEscolhaArquivo(escolheArquivoQt),
      fModelo(new ModeloDemonstrativo(dados, this)),
      fPagamentos(new ModeloPagamentos(*fModelo, this)), fAnuncio(new QTimer(this)) {
    ui->setupUi(this);
    ui->grdDebitos->setModel(fModelo);
    ui->grdPagamentos->setModel(fPagamentos);

    ligaBotao(ui->btnIncluir, &TfrmDemonstrativo::actIncluirExecute);
    ligaBotao(ui->btnExcluir, &TfrmDemonstrativo::actExcluirExecute);
    ligaBotao(ui->btnFechar, &TfrmDemonstrativo::actFecharExecute);
    ligaBotao(ui->btnAbrirPlanilha, &TfrmDemonstrativo::actAbrirPlanilhaExecute);
    ligaBotao(ui->btnExportar, &TfrmDemonstrativo::actExportarExecute);
    ligaBotao(ui->btnImprimir, &TfrmDemonstrativo::actImprimirExecute);
    ligaBotao(ui->btnIncluirPagamento, &TfrmDemonstrativo::actIncluirPagamentoExecute);
    ligaBotao(ui->btnRemoverPagamento, &TfrmDemonstrativo::actRemoverPagamentoExecute);

    connect(ui->grdDebitos, &GradeDemonstrativo::colar, this, &TfrmDemonstrativo::actColarExecute);
    connect(ui->grdDebitos, &GradeDemonstrativo::incluir, this,
            &TfrmDemonstrativo::actIncluirExecute);
    connect(ui->grdDebitos, &GradeDemonstrativo::excluir, this,
            &TfrmDemonstrativo::actExcluirExecute);
    connect(ui->grdPagamentos, &GradeDemonstrativo::incluir, this,
            &TfrmDemonstrativo::actIncluirPagamentoExecute);
    connect(ui->grdPagamentos, &GradeDemonstrativo::excluir, this,
            &TfrmDemonstrativo::actRemoverPagamentoExecute);

    // The panel follows the debt selected in the grid, and the rows that come and go
    // before it.
    connect(ui->grdDebitos->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) { mostraPagamentos(atual.row()); });
    for (const QAbstractItemModel* modelo :
         std::initializer_list<const QAbstractItemModel*>{fModelo, fPagamentos}) {
        connect(modelo, &QAbstractItemModel::rowsInserted, this,
                &TfrmDemonstrativo::atualizaDebitoDosPagamentos);
        connect(modelo, &QAbstractItemModel::rowsRemoved, this,
                &TfrmDemonstrativo::atualizaDebitoDosPagamentos);
    }
    connect(fPagamentos, &QAbstractItemModel::modelReset, this,
            &TfrmDemonstrativo::atualizaDebitoDosPagamentos);
    connect(ui->chkPreverMeses, &QCheckBox::toggled, this, &TfrmDemonstrativo::chkPreverMesesClick);

    connect(ui->edtNome, &QLineEdit::textChanged, this,
            [this](const QString& texto) { fModelo->titular().Nome = texto.trimmed(); });
    connect(ui->edtInscricaoEstadual, &QLineEdit::textChanged, this, [this](const QString& texto) {
        fModelo->titular().InscricaoEstadual = texto.trimmed();
    });
    connect(ui->edtDocumento, &QLineEdit::editingFinished, this,
            &TfrmDemonstrativo::edtDocumentoExit);

    // Tab leaves the date as in the rest of the window; the arrows move between its parts.
    filtraTeclas(ui->DTPickerDataPagamento, [this](QKeyEvent* tecla) {
        if (tecla->key() != Qt::Key_Tab && tecla->key() != Qt::Key_Backtab)
            return false;
        return focusNextPrevChild(tecla->key() == Qt::Key_Tab);
    });
    abreCalendarioPeloTeclado(ui->DTPickerDataPagamento);
    ui->DTPickerDataPagamento->setDate(Datas::paraQDate(relogio.hoje()));
    DTPickerDataPagamentoChange();
    connect(ui->DTPickerDataPagamento, &QDateEdit::dateChanged, this, [this] {
        DTPickerDataPagamentoChange();
        anunciaMudanca();
    });

    connect(fModelo, &ModeloDemonstrativo::totaisMudaram, this, &TfrmDemonstrativo::atualizaTotais);
    connect(fModelo, &ModeloDemonstrativo::debitosMudaram, this, [this] { fAlterado = true; });
    connect(fModelo, &ModeloDemonstrativo::debitoAlterado, this, [this](int linha) {
        fLinhaAlterada = linha;
        if (linha == fPagamentos->debito())
            atualizaDebitoDosPagamentos();
        anunciaMudanca();
    });
    fAnuncio->setSingleShot(true);
    fAnuncio->setInterval(0);
    connect(fAnuncio, &QTimer::timeout, this, &TfrmDemonstrativo::anunciaResultados);

    // A row to type the first debt into, selected, so the panel shows its payments.
    fModelo->insereDebitos(0, {Debito()});
    ui->grdDebitos->setCurrentIndex(fModelo->index(0, ModeloDemonstrativo::Referencia));
    fAlterado = false;
    atualizaTotais();
}

TfrmDemonstrativo::~TfrmDemonstrativo() {
    // An editor left open puts its text in as the window goes: nothing here hears of it.
    disconnect(fModelo, nullptr, this, nullptr);
}

void TfrmDemonstrativo::ligaBotao(QPushButton* botao, void (TfrmDemonstrativo::*acao)()) {
    connect(botao, &QPushButton::clicked, this, acao);
    enterPressionaBotao(botao);
}

QString TfrmDemonstrativo::perguntaDescartar() {
    return QStringLiteral(
        "Os débitos digitados não foram exportados nem impressos. Deseja descartá-los?");
}

Demonstrativo TfrmDemonstrativo::demonstrativo() const {
    return fModelo->demonstrativo().semBrancos();
}

void TfrmDemonstrativo::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (evento->spontaneous())
        return;
    centraSobreJanela(this, parentWidget());
    ui->edtNome->setFocus(Qt::OtherFocusReason);
}

void TfrmDemonstrativo::atualizaTotais() {
    const TotaisDemonstrativo& t = fModelo->demonstrativo().totais();
    ui->lblTotQuantidade->setText(QString::number(t.Quantidade));
    ui->lblTotValor->setText(formataReais(t.ValorDebitos));
    ui->lblTotPago->setText(formataReais(t.Pago));
    ui->lblTotPrincipal->setText(formataReais(t.Valor));
    ui->lblTotMulta->setText(formataReais(t.Multa));
    ui->lblTotJuros->setText(formataReais(t.Juros));
    ui->lblTotTotal->setText(formataReais(t.Total));
    // The months are gathered from every debt only when some result used one.
    const QString previsao =
        t.previsao() ? textoMesesEstimados(fModelo->demonstrativo().mesesEstimados()) : QString();
    ui->lblPrevisao->setText(previsao);
    ui->lblPrevisao->setVisible(!previsao.isEmpty());
    ui->lblTotTotal->setAccessibleDescription(t.previsao() ? marcaPrevisao() : QString());
}

// Once the event that changed something is over (an edit's editor closed), so that the
// focus is where it stays.
void TfrmDemonstrativo::anunciaMudanca() {
    fAnuncio->start();
}

// A screen reader user hears, where the focus is, what the edit made of its row (the total,
// marked when it is a forecast, or the message) and the totals, each after its caption:
// what was paid and the principal open once something was paid, and the estimated months
// when a result used one.
void TfrmDemonstrativo::anunciaResultados() {
    using M = ModeloDemonstrativo;
    QStringList partes;
    if (fLinhaAlterada >= 0 && fLinhaAlterada < fModelo->rowCount()) {
        const QString mensagem = fModelo->index(fLinhaAlterada, M::Mensagem).data().toString();
        QString total = M::tituloDaColuna(M::Total) + QLatin1Char(' ') +
                        fModelo->index(fLinhaAlterada, M::Total).data().toString();
        if (fModelo->demonstrativo().resultados()[fLinhaAlterada].Resultado) {
            if (!mensagem.isEmpty())
                total += QStringLiteral(", ") + mensagem;
        } else if (!mensagem.isEmpty()) {
            total = mensagem;
        }
        partes << QStringLiteral("Linha %1: %2").arg(fLinhaAlterada + 1).arg(total);
    }
    fLinhaAlterada = -1;
    QList<const QLabel*> legendas{ui->lblQuantidade, ui->lblValor};
    if (fModelo->demonstrativo().totais().Pago != Moeda())
        legendas << ui->lblPago << ui->lblPrincipal;
    legendas << ui->lblMulta << ui->lblJuros << ui->lblTotal;
    for (const QLabel* legenda : legendas)
        partes << legenda->text() + QStringLiteral(": ") +
                      static_cast<const QLabel*>(legenda->buddy())->text();
    if (!ui->lblPrevisao->text().isEmpty())
        partes << ui->lblPrevisao->text();
    anunciaNoFoco(this, partes.join(QStringLiteral("; ")));
}

void TfrmDemonstrativo::edtDocumentoExit() {
    executaProtegido(fDialogos, [this] {
        Contribuinte& titular = fModelo->titular();
        const auto falha = titular.defineDocumento(ui->edtDocumento->text());
        if (falha) {
            // The number refused is not kept behind the text on screen either.
            titular.defineDocumento(QString());
            ui->lblMensagemDocumento->setText(*falha);
            ui->edtDocumento->setAccessibleDescription(*falha);
            anunciaNoFoco(this, *falha);
            return;
        }
        ui->lblMensagemDocumento->clear();
        ui->edtDocumento->setAccessibleDescription(QString());
        ui->edtDocumento->setText(titular.documentoFormatado());
    });
}

void TfrmDemonstrativo::DTPickerDataPagamentoChange() {
    executaProtegido(fDialogos, [this] {
        fModelo->defineDataPagamento(Datas::deQDate(ui->DTPickerDataPagamento->date()));
        const QString falha = fModelo->demonstrativo().validaDataPagamento().value_or(QString());
        ui->lblMensagemPagamento->setText(falha);
        ui->DTPickerDataPagamento->setAccessibleDescription(falha);
    });
}

void TfrmDemonstrativo::chkPreverMesesClick() {
    executaProtegido(fDialogos, [this] {
        fModelo->definePrevisao(ui->chkPreverMeses->isChecked());
        anunciaMudanca();
    });
}

void TfrmDemonstrativo::mostraPagamentos(int linha) {
    if (linha != fPagamentos->debito())
        fPagamentos->defineDebito(linha);
    atualizaDebitoDosPagamentos();
}

void TfrmDemonstrativo::atualizaDebitoDosPagamentos() {
    const int linha = fPagamentos->debito();
    QString texto = QStringLiteral("(nenhum débito selecionado)");
    if (linha >= 0) {
        const QString referencia = fModelo->demonstrativo().Debitos[linha].Referencia;
        texto = referencia.isEmpty()
                    ? QStringLiteral("do débito da linha %1").arg(linha + 1)
                    : QStringLiteral("do débito da linha %1 (%2)").arg(linha + 1).arg(referencia);
    }
    ui->lblDebitoPagamentos->setText(texto);
    ui->grdPagamentos->setAccessibleDescription(texto);
    ui->btnIncluirPagamento->setEnabled(linha >= 0);
    ui->btnRemoverPagamento->setEnabled(fPagamentos->rowCount() > 0);
}

void TfrmDemonstrativo::vaiParaPagamento(int linha) {
    if (linha >= 0 && linha < fPagamentos->rowCount()) {
        const QModelIndex alvo = fPagamentos->index(linha, ModeloPagamentos::Data);
        ui->grdPagamentos->setCurrentIndex(alvo);
        ui->grdPagamentos->scrollTo(alvo);
    }
    ui->grdPagamentos->setFocus(Qt::OtherFocusReason);
}

void TfrmDemonstrativo::actIncluirPagamentoExecute() {
    executaProtegido(fDialogos, [this] { vaiParaPagamento(fPagamentos->incluiPagamento()); });
}

void TfrmDemonstrativo::actRemoverPagamentoExecute() {
    executaProtegido(fDialogos, [this] {
        const auto [primeira, ultima] = linhasSelecionadas(ui->grdPagamentos);
        if (primeira < 0 || !confirmaExclusao())
            return;
        fPagamentos->removePagamentos(primeira, ultima);
        vaiParaPagamento(std::min(primeira, fPagamentos->rowCount() - 1));
    });
}

bool TfrmDemonstrativo::confirmaExclusao() {
    return fDialogos.dialogo(TextosPadraoTabela::texto(TextoPadrao::PerguntaExcluirRegistro),
                             TipoDialogo::Confirmacao, Botao::Ok | Botao::Cancelar) == Resposta::Ok;
}

void TfrmDemonstrativo::vaiParaLinha(int linha) {
    if (linha < 0 || linha >= fModelo->rowCount())
        return;
    const QModelIndex alvo = fModelo->index(linha, ModeloDemonstrativo::Referencia);
    ui->grdDebitos->setCurrentIndex(alvo);
    ui->grdDebitos->scrollTo(alvo);
    ui->grdDebitos->setFocus(Qt::OtherFocusReason);
}

void TfrmDemonstrativo::actIncluirExecute() {
    executaProtegido(fDialogos, [this] {
        const int linha = fModelo->rowCount();
        fModelo->insereDebitos(linha, {Debito()});
        vaiParaLinha(linha);
    });
}

void TfrmDemonstrativo::actExcluirExecute() {
    executaProtegido(fDialogos, [this] {
        const auto [primeira, ultima] = linhasSelecionadas(ui->grdDebitos);
        if (primeira < 0 || !confirmaExclusao())
            return;
        fModelo->removeDebitos(primeira, ultima - primeira + 1);
        vaiParaLinha(std::min(primeira, fModelo->rowCount() - 1));
        anunciaMudanca();
    });
}

void TfrmDemonstrativo::incluiDebitos(const QList<Debito>& debitos) {
    if (debitos.isEmpty())
        return;
    int fim = fModelo->rowCount();
    while (fim > 0 && fModelo->demonstrativo().Debitos[fim - 1].emBranco())
        --fim;
    fModelo->removeDebitos(fim, fModelo->rowCount() - fim);
    fModelo->insereDebitos(fim, debitos);
    vaiParaLinha(fim);
    anunciaMudanca();
}

void TfrmDemonstrativo::actColarExecute() {
    executaProtegido(fDialogos, [this] {
        const DebitosColados colados = leDebitosColados(QGuiApplication::clipboard()->text());
        incluiDebitos(colados.Debitos);
        // Every row that could not be read, in one message.
        if (!colados.NaoLidas.isEmpty())
            fDialogos.mensagem(textoNaoLidas(colados.NaoLidas));
    });
}

void TfrmDemonstrativo::actAbrirPlanilhaExecute() {
    executaProtegido(fDialogos, [this] {
        const QString caminho = fEscolhaArquivo(this, pedidoPlanilha());
        if (caminho.isEmpty())
            return;
        DebitosLidos lidos;
        try {
            PonteiroMouse::define(Ponteiro::Ampulheta);
            const auto restaura = qScopeGuard([] { PonteiroMouse::define(Ponteiro::Padrao); });
            lidos = leDebitos(caminho);
            incluiDebitos(lidos.Debitos);
        } catch (const ErroBelqor& e) {
            // A file that cannot be read, in its one message, naming it.
            fDialogos.erro(e.mensagem());
            return;
        }
        // Every row that could not be read, in one message; a file without any debt says so.
        if (!lidos.Recusadas.isEmpty())
            fDialogos.mensagem(textoRecusadas(caminho, lidos.Recusadas));
        else if (lidos.Debitos.isEmpty())
            fDialogos.mensagem(
                QStringLiteral("A planilha \"%1\" não tem débitos abaixo do cabeçalho.")
                    .arg(caminho));
    });
}

void TfrmDemonstrativo::actExportarExecute() {
    executaProtegido(fDialogos, [this] {
        QString caminho = fEscolhaArquivo(this, pedidoExportacao());
        if (caminho.isEmpty())
            return;
        // A name given without an extension is the workbook's, the first kind offered.
        if (QFileInfo(caminho).suffix().isEmpty())
            caminho += QStringLiteral(".xlsx");
        try {
            PonteiroMouse::define(Ponteiro::Ampulheta);
            const auto restaura = qScopeGuard([] { PonteiroMouse::define(Ponteiro::Padrao); });
            exportaDemonstrativo(demonstrativo(), caminho);
        } catch (const ErroBelqor& e) {
            fDialogos.erro(e.mensagem());
            return;
        }
        marcaEntregue();
    });
}

void TfrmDemonstrativo::actImprimirExecute() {
    executaProtegido(fDialogos, [this] {
        const Demonstrativo dados = demonstrativo();
        if (const auto recusa = validaImpressaoDemonstrativo(dados)) {
            fDialogos.mensagem(*recusa);
            ui->edtNome->setFocus(Qt::OtherFocusReason);
            return;
        }
        // Only what went to a printer or a PDF file counts as delivered: a preview closed
        // without printing leaves the question before closing as it was.
        if (abrePreviaImpressao(
                this, fDialogos,
                impressoDemonstrativo(documentoDemonstrativo(fDados, dados, fRelogio)),
                QStringLiteral("PreviaDemonstrativo")))
            marcaEntregue();
    });
}

void TfrmDemonstrativo::marcaEntregue() {
    fAlterado = false;
}

bool TfrmDemonstrativo::podeFechar() {
    if (!fAlterado || !fModelo->temDebitos())
        return true;
    return fDialogos.dialogo(perguntaDescartar(), TipoDialogo::Confirmacao,
                             Botao::Sim | Botao::Nao) == Resposta::Sim;
}

void TfrmDemonstrativo::actFecharExecute() {
    executaProtegido(fDialogos, [this] { close(); });
}

void TfrmDemonstrativo::closeEvent(QCloseEvent* evento) {
    bool fecha = false;
    executaProtegido(fDialogos, [&] { fecha = podeFechar(); });
    if (!fecha) {
        evento->ignore();
        return;
    }
    // The dialog's own close ends in reject, which must not ask again.
    fFechando = true;
    QDialog::closeEvent(evento);
    fFechando = false;
}

void TfrmDemonstrativo::reject() {
    // Escape, or the close that closeEvent already allowed.
    bool fecha = fFechando;
    if (!fecha)
        executaProtegido(fDialogos, [&] { fecha = podeFechar(); });
    if (fecha)
        QDialog::reject();
}
