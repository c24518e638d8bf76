#include "demonstrativo/ModeloDemonstrativo.h"

#include "calc/FormataResultado.h"
#include "demonstrativo/CelulasDemonstrativo.h"
#include "valores/Formatacao.h"

#include <algorithm>
#include <array>

namespace {

// The most characters each column shows, for its width; the message takes what is left.
int larguraDaColuna(int coluna) {
    using M = ModeloDemonstrativo;
    static const std::array<int, M::Colunas> larguras{8, 11, 16, 18, 14, 14, 5, 12, 14, 14, 16, 0};
    return coluna >= 0 && coluna < M::Colunas ? larguras[std::size_t(coluna)] : 0;
}

EditorCelula editorDaColuna(int coluna) {
    using M = ModeloDemonstrativo;
    switch (coluna) {
    case M::Referencia:
        return EditorCelula::Mes;
    case M::Vencimento:
        return EditorCelula::Data;
    case M::Valor:
        return EditorCelula::Valor;
    case M::Descricao:
        return EditorCelula::Texto;
    default:
        return EditorCelula::Nenhum;
    }
}

// Why the debt failed; on a result that used an estimated month, the forecast's mark.
QString mensagem(const ResultadoDebito& r) {
    if (r.Resultado && r.previsao())
        return marcaPrevisao();
    return r.Mensagem;
}

} // namespace

QString ModeloDemonstrativo::tituloDaColuna(int coluna) {
    static const std::array<QString, Colunas> titulos{
        QStringLiteral("Referência"),    QStringLiteral("Vencimento"),
        QStringLiteral("Valor do ICMS"), QStringLiteral("Descrição"),
        QStringLiteral("Pago"),          QStringLiteral("Principal em Aberto"),
        QStringLiteral("Dias"),          QStringLiteral("Taxa de Juros"),
        QStringLiteral("Multa de Mora"), QStringLiteral("Juros de Mora"),
        QStringLiteral("Total"),         QStringLiteral("Mensagem")};
    return coluna >= 0 && coluna < Colunas ? titulos[std::size_t(coluna)] : QString();
}

ModeloDemonstrativo::ModeloDemonstrativo(TBQDataModule& dados, QObject* parent)
    : QAbstractTableModel(parent), fDados(dados) {}

bool ModeloDemonstrativo::temDebitos() const {
    return std::any_of(fDemonstrativo.Debitos.cbegin(), fDemonstrativo.Debitos.cend(),
                       [](const Debito& d) { return !d.emBranco(); });
}

void ModeloDemonstrativo::defineDataPagamento(DataHora data) {
    fDemonstrativo.DataPagamento = data;
    recalculaTodos();
}

void ModeloDemonstrativo::definePrevisao(bool prever) {
    if (fDemonstrativo.PreverMesesSemTaxa == prever)
        return;
    fDemonstrativo.PreverMesesSemTaxa = prever;
    recalculaTodos();
}

void ModeloDemonstrativo::recalculaTodos() {
    fDemonstrativo.calcula(fDados);
    if (rowCount() > 0)
        emit dataChanged(index(0, Pago), index(rowCount() - 1, Mensagem));
    emit totaisMudaram();
}

void ModeloDemonstrativo::definePagamentos(int linha, const QList<PagamentoParcial>& pagamentos) {
    if (linha < 0 || linha >= rowCount())
        return;
    Debito d = fDemonstrativo.Debitos[linha];
    d.Pagamentos = pagamentos;
    alteraDebito(linha, d);
}

void ModeloDemonstrativo::alteraDebito(int linha, const Debito& debito) {
    fDemonstrativo.alteraDebito(fDados, linha, debito);
    emit dataChanged(index(linha, 0), index(linha, Colunas - 1));
    emit totaisMudaram();
    emit debitosMudaram();
    emit debitoAlterado(linha);
}

void ModeloDemonstrativo::insereDebitos(int posicao, const QList<Debito>& debitos) {
    if (debitos.isEmpty())
        return;
    beginInsertRows(QModelIndex(), posicao, posicao + int(debitos.size()) - 1);
    fDemonstrativo.insereDebitos(fDados, posicao, debitos);
    endInsertRows();
    emit totaisMudaram();
    emit debitosMudaram();
}

void ModeloDemonstrativo::removeDebitos(int posicao, int quantidade) {
    if (quantidade <= 0)
        return;
    beginRemoveRows(QModelIndex(), posicao, posicao + quantidade - 1);
    fDemonstrativo.removeDebitos(posicao, quantidade);
    endRemoveRows();
    emit totaisMudaram();
    emit debitosMudaram();
}

int ModeloDemonstrativo::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(fDemonstrativo.Debitos.size());
}

int ModeloDemonstrativo::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Colunas;
}

QVariant ModeloDemonstrativo::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Debito& d = fDemonstrativo.Debitos[index.row()];
    const ResultadoDebito& r = fDemonstrativo.resultados()[index.row()];
    const int coluna = index.column();
    if (role == Qt::TextAlignmentRole) {
        if (coluna == Referencia || coluna == Vencimento)
            return int(Qt::AlignCenter);
        if (coluna == Descricao || coluna == Mensagem)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::ToolTipRole && coluna == Mensagem)
        return mensagem(r);
    if (role == PapelEditor)
        return int(editorDaColuna(coluna));
    if (role == PapelDataInicial)
        return dataEditada(fDemonstrativo.DataPagamento);
    if (role == PapelTamanhoMaximo)
        return coluna == Descricao ? 200 : 0;
    if (role == Qt::EditRole) {
        switch (coluna) {
        case Referencia:
            return d.Referencia;
        case Vencimento:
            return dataEditada(d.Vencimento);
        case Valor:
            return d.Valor;
        case Descricao:
            return d.Descricao;
        default:
            break;
        }
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (coluna) {
    case Referencia:
        return d.Referencia;
    case Vencimento:
        return dataExibida(d.Vencimento);
    case Valor:
        return valorExibido(d.Valor);
    case Descricao:
        return d.Descricao;
    case Mensagem:
        return mensagem(r);
    default:
        break;
    }
    if (!r.Resultado)
        return QString();
    switch (coluna) {
    case Pago:
        return d.Pagamentos.isEmpty() ? QString() : formataReais(r.Pagamentos.Pago);
    case PrincipalEmAberto:
        return formataReais(r.Resultado->ValorICMS);
    case Dias:
        return formataDias(r.Resultado->Dias);
    case Taxa:
        return formataTaxa(r.Resultado->TaxaJuros * 100);
    case Multa:
        return formataReais(r.Resultado->MultaMora);
    case Juros:
        return formataReais(r.Resultado->JurosMora);
    case Total:
        return formataReais(r.Resultado->Total);
    default:
        return {};
    }
}

QVariant ModeloDemonstrativo::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return tituloDaColuna(section);
    if (orientation == Qt::Horizontal && role == PapelLargura)
        return larguraDaColuna(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ModeloDemonstrativo::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && editorDaColuna(index.column()) != EditorCelula::Nenhum)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ModeloDemonstrativo::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.row() >= rowCount() ||
        !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int linha = index.row();
    Debito d = fDemonstrativo.Debitos[linha];
    switch (index.column()) {
    case Referencia:
        d.Referencia = value.toString().trimmed();
        break;
    case Vencimento: {
        const auto data = dataDaCelula(value);
        if (!data)
            return false;
        d.Vencimento = *data;
        break;
    }
    case Valor:
        d.Valor = value.toString().trimmed();
        break;
    case Descricao:
        d.Descricao = value.toString();
        break;
    }
    const Debito& antes = fDemonstrativo.Debitos[linha];
    if (d.Referencia == antes.Referencia && d.Vencimento == antes.Vencimento &&
        d.Valor == antes.Valor && d.Descricao == antes.Descricao)
        return true;
    alteraDebito(linha, d);
    return true;
}
