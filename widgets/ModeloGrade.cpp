#include "widgets/ModeloGrade.h"

#include <QScopedValueRollback>

#include <algorithm>

namespace {

bool ehNumerico(TipoCampo tipo) {
    const Armazenamento a = armazenamentoDe(tipo);
    return a == Armazenamento::Inteiro || a == Armazenamento::Flutuante ||
           a == Armazenamento::Moeda;
}

} // namespace

QString ModeloGrade::textoIndicador(Indicador indicador) {
    switch (indicador) {
    case Indicador::Atual:
        return QStringLiteral("\u25B6");
    case Indicador::Editando:
        return QStringLiteral("I");
    case Indicador::Inserindo:
        return QStringLiteral("*");
    case Indicador::Nenhum:
        break;
    }
    return QString();
}

ModeloGrade::ModeloGrade(TabelaMemoria& tabela, QObject* parent)
    : QAbstractTableModel(parent), fTabela(tabela) {
    fColunas = int(fTabela.campos().size());
    fLinhas = leLinhas();
    connect(&fTabela, &TabelaMemoria::alterada, this, &ModeloGrade::atualiza);
}

Campo* ModeloGrade::campoDaColuna(int coluna) const {
    if (coluna < 0 || coluna >= int(fTabela.campos().size()))
        return nullptr;
    return fTabela.campos()[std::size_t(coluna)].get();
}

int ModeloGrade::colunaDoCampo(const Campo* campo) const {
    for (int c = 0; c < fColunas; ++c)
        if (campoDaColuna(c) == campo)
            return c;
    return -1;
}

QList<ModeloGrade::Linha> ModeloGrade::leLinhas() const {
    QList<Linha> linhas;
    const int n = fTabela.linhasExibidas();
    const int atual = fTabela.linhaAtualExibida();
    for (int i = 0; i < n; ++i) {
        Linha linha;
        linha.id = fTabela.idLinhaExibida(i);
        for (const auto& campo : fTabela.campos())
            linha.valores << fTabela.valorExibido(i, *campo);
        if (i == atual) {
            switch (fTabela.estado()) {
            case TabelaMemoria::Estado::Editando:
                linha.indicador = Indicador::Editando;
                break;
            case TabelaMemoria::Estado::Inserindo:
                linha.indicador = Indicador::Inserindo;
                break;
            default:
                linha.indicador = Indicador::Atual;
            }
        }
        linhas << linha;
    }
    return linhas;
}

void ModeloGrade::atualiza() {
    const QScopedValueRollback<bool> marca(fAtualizando, true);
    QList<Linha> novas = leLinhas();
    const int colunas = int(fTabela.campos().size());
    if (colunas != fColunas) {
        beginResetModel();
        fColunas = colunas;
        fLinhas = std::move(novas);
        endResetModel();
        return;
    }

    // Rows are matched by identity: what lies between the common start and the common end
    // went away and what lies there now came in.
    const int antigas = int(fLinhas.size());
    const int total = int(novas.size());
    int inicio = 0;
    while (inicio < antigas && inicio < total && fLinhas[inicio].id == novas[inicio].id)
        ++inicio;
    int fim = 0;
    while (fim < antigas - inicio && fim < total - inicio &&
           fLinhas[antigas - 1 - fim].id == novas[total - 1 - fim].id)
        ++fim;
    if (antigas - inicio - fim > 0) {
        beginRemoveRows(QModelIndex(), inicio, antigas - fim - 1);
        fLinhas.remove(inicio, antigas - inicio - fim);
        endRemoveRows();
    }
    if (total - inicio - fim > 0) {
        beginInsertRows(QModelIndex(), inicio, total - fim - 1);
        for (int i = inicio; i < total - fim; ++i)
            fLinhas.insert(i, novas[i]);
        endInsertRows();
    }

    int primeiroValor = -1, ultimoValor = -1, primeiroIndicador = -1, ultimoIndicador = -1;
    for (int i = 0; i < total; ++i) {
        if (fLinhas[i].valores != novas[i].valores) {
            fLinhas[i].valores = novas[i].valores;
            if (primeiroValor < 0)
                primeiroValor = i;
            ultimoValor = i;
        }
        if (fLinhas[i].indicador != novas[i].indicador) {
            fLinhas[i].indicador = novas[i].indicador;
            if (primeiroIndicador < 0)
                primeiroIndicador = i;
            ultimoIndicador = i;
        }
    }
    if (primeiroValor >= 0 && fColunas > 0)
        emit dataChanged(index(primeiroValor, 0), index(ultimoValor, fColunas - 1));
    if (primeiroIndicador >= 0)
        emit headerDataChanged(Qt::Vertical, primeiroIndicador, ultimoIndicador);
}

int ModeloGrade::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(fLinhas.size());
}

int ModeloGrade::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : fColunas;
}

QVariant ModeloGrade::data(const QModelIndex& index, int role) const {
    if (!index.isValid() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const Campo* campo = campoDaColuna(index.column());
    if (!campo)
        return QVariant();
    const QVariant& valor = fLinhas[index.row()].valores.value(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return campo->textoExibicaoDoValor(valor);
    case Qt::EditRole:
        return campo->textoDoValor(valor);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(
            (ehNumerico(campo->tipo()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    default:
        return QVariant();
    }
}

QVariant ModeloGrade::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        const Campo* campo = campoDaColuna(section);
        if (campo && section < fColunas && role == Qt::DisplayRole)
            return campo->nome();
        return QVariant();
    }
    if (section < 0 || section >= fLinhas.size())
        return QVariant();
    if (role == PapelIndicador)
        return int(fLinhas[section].indicador);
    if (role == Qt::DisplayRole)
        return textoIndicador(fLinhas[section].indicador);
    return QVariant();
}

Qt::ItemFlags ModeloGrade::flags(const QModelIndex& index) const {
    if (!index.isValid() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const Campo* campo = campoDaColuna(index.column());
    if (campo && campo->ehDados() && !campo->somenteLeitura())
        f |= Qt::ItemIsEditable;
    return f;
}
