#include "demonstrativo/ModeloPagamentos.h"

#include "calc/FormataResultado.h"
#include "demonstrativo/CelulasDemonstrativo.h"
#include "demonstrativo/ModeloDemonstrativo.h"

#include <array>

namespace {

// The most characters each column shows, for its width; the last takes what is left.
int larguraDaColuna(int coluna) {
    using P = ModeloPagamentos;
    static const std::array<int, P::Colunas> larguras{11, 16, 16, 16, 14, 14, 0};
    return coluna >= 0 && coluna < P::Colunas ? larguras[std::size_t(coluna)] : 0;
}

} // namespace

QString ModeloPagamentos::tituloDaColuna(int coluna) {
    static const std::array<QString, Colunas> titulos{
        QStringLiteral("Data"),          QStringLiteral("Valor Pago"),
        QStringLiteral("Total na Data"), QStringLiteral("Principal"),
        QStringLiteral("Multa de Mora"), QStringLiteral("Juros de Mora"),
        QStringLiteral("Pago a maior")};
    return coluna >= 0 && coluna < Colunas ? titulos[std::size_t(coluna)] : QString();
}

ModeloPagamentos::ModeloPagamentos(ModeloDemonstrativo& debitos, QObject* parent)
    : QAbstractTableModel(parent), fDebitos(debitos) {
    connect(&fDebitos, &QAbstractItemModel::dataChanged, this, &ModeloPagamentos::debitosAlterados);
    connect(&fDebitos, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &ModeloPagamentos::debitosSaindo);
}

void ModeloPagamentos::defineDebito(int linha) {
    beginResetModel();
    fDebito = linha >= 0 && linha < fDebitos.rowCount()
                  ? QPersistentModelIndex(fDebitos.index(linha, 0))
                  : QPersistentModelIndex();
    fLinhas = int(pagamentos().size());
    endResetModel();
}

int ModeloPagamentos::debito() const {
    return fDebito.isValid() ? fDebito.row() : -1;
}

QList<PagamentoParcial> ModeloPagamentos::pagamentos() const {
    if (!fDebito.isValid())
        return {};
    return fDebitos.demonstrativo().Debitos[fDebito.row()].Pagamentos;
}

const ParcelaImputada* ModeloPagamentos::parcela(int linha) const {
    if (!fDebito.isValid())
        return nullptr;
    for (const ParcelaImputada& p :
         fDebitos.demonstrativo().resultados()[fDebito.row()].Pagamentos.Parcelas)
        if (p.Pagamento == linha)
            return &p;
    return nullptr;
}

void ModeloPagamentos::alteraPagamentos(const QList<PagamentoParcial>& pagamentos) {
    fAlterando = true;
    fDebitos.definePagamentos(fDebito.row(), pagamentos);
    fAlterando = false;
}

void ModeloPagamentos::avisaAlocacoes() {
    if (fLinhas > 0)
        emit dataChanged(index(0, 0), index(fLinhas - 1, Colunas - 1));
}

int ModeloPagamentos::incluiPagamento() {
    if (!fDebito.isValid())
        return -1;
    QList<PagamentoParcial> lista = pagamentos();
    const int linha = int(lista.size());
    lista.append(PagamentoParcial());
    beginInsertRows(QModelIndex(), linha, linha);
    alteraPagamentos(lista);
    fLinhas = linha + 1;
    endInsertRows();
    avisaAlocacoes();
    return linha;
}

void ModeloPagamentos::removePagamentos(int primeira, int ultima) {
    if (!fDebito.isValid() || primeira < 0 || ultima >= fLinhas || primeira > ultima)
        return;
    QList<PagamentoParcial> lista = pagamentos();
    lista.remove(primeira, ultima - primeira + 1);
    beginRemoveRows(QModelIndex(), primeira, ultima);
    alteraPagamentos(lista);
    fLinhas = int(lista.size());
    endRemoveRows();
    avisaAlocacoes();
}

// A change of the debt shown (its payments, its amount or dates, the payment date, the
// forecast) moves every allocation; a change of its payments from outside, their count.
void ModeloPagamentos::debitosAlterados(const QModelIndex& de, const QModelIndex& ate) {
    if (fAlterando || !fDebito.isValid() || fDebito.row() < de.row() || fDebito.row() > ate.row())
        return;
    if (pagamentos().size() != fLinhas) {
        defineDebito(fDebito.row());
        return;
    }
    avisaAlocacoes();
}

void ModeloPagamentos::debitosSaindo(const QModelIndex&, int primeira, int ultima) {
    if (fDebito.isValid() && fDebito.row() >= primeira && fDebito.row() <= ultima)
        defineDebito(-1);
}

int ModeloPagamentos::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : fLinhas;
}

int ModeloPagamentos::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Colunas;
}

QVariant ModeloPagamentos::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= fLinhas)
        return {};
    const int coluna = index.column();
    switch (role) {
    case Qt::TextAlignmentRole:
        return coluna == Data ? int(Qt::AlignCenter) : int(Qt::AlignRight | Qt::AlignVCenter);
    case PapelEditor:
        return int(coluna == Data    ? EditorCelula::Data
                   : coluna == Valor ? EditorCelula::Valor
                                     : EditorCelula::Nenhum);
    case PapelDataInicial:
        return dataEditada(fDebitos.demonstrativo().DataPagamento);
    case Qt::DisplayRole:
    case Qt::EditRole:
        break;
    default:
        return {};
    }
    const PagamentoParcial p = pagamentos().value(index.row());
    if (coluna == Data)
        return role == Qt::EditRole ? QVariant(dataEditada(p.Data)) : dataExibida(p.Data);
    if (coluna == Valor)
        return role == Qt::EditRole ? p.Valor : valorExibido(p.Valor);
    const ParcelaImputada* parte = parcela(index.row());
    if (!parte)
        return QString();
    switch (coluna) {
    case TotalNaData:
        return formataReais(parte->NaData.Total);
    case Principal:
        return formataReais(parte->Principal);
    case Multa:
        return formataReais(parte->Multa);
    case Juros:
        return formataReais(parte->Juros);
    case PagoAMaior:
        return parte->PagoAMaior > Moeda() ? formataReais(parte->PagoAMaior) : QString();
    default:
        return {};
    }
}

QVariant ModeloPagamentos::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return tituloDaColuna(section);
    if (orientation == Qt::Horizontal && role == PapelLargura)
        return larguraDaColuna(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ModeloPagamentos::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && (index.column() == Data || index.column() == Valor))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ModeloPagamentos::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.row() >= fLinhas ||
        !(flags(index) & Qt::ItemIsEditable))
        return false;
    QList<PagamentoParcial> lista = pagamentos();
    PagamentoParcial& p = lista[index.row()];
    if (index.column() == Data) {
        const auto data = dataDaCelula(value);
        if (!data)
            return false;
        if (*data == p.Data)
            return true;
        p.Data = *data;
    } else {
        const QString valor = value.toString().trimmed();
        if (valor == p.Valor)
            return true;
        p.Valor = valor;
    }
    alteraPagamentos(lista);
    avisaAlocacoes();
    return true;
}
