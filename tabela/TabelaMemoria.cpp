#include "tabela/TabelaMemoria.h"

#include "valores/ConfiguracaoRegional.h"
#include "valores/Erros.h"
#include "tabela/FiltroExpressao.h"
#include "tabela/PacoteDados.h"

#include <QFile>
#include <QMetaMethod>

#include <algorithm>
#include <cmath>
#include <utility>

TabelaMemoria::TabelaMemoria(QString nome, QObject* parent)
    : QObject(parent), fNome(std::move(nome)) {}

// Writing and its failures belong to the table's owner, which closes the table itself.
TabelaMemoria::~TabelaMemoria() = default;

Campo* TabelaMemoria::adicionaCampo(const DefinicaoCampo& definicao) {
    if (ativa())
        throw ErroTabela(
            QStringLiteral("Não é possível definir campos com a tabela %1 aberta.").arg(fNome));
    if (campoPorNome(definicao.nome))
        throw ErroTabela(
            QStringLiteral("Campo '%1' repetido na tabela %2.").arg(definicao.nome, fNome));
    const int indice = definicao.tipoDeCampo == TipoDeCampo::Dados ? numeroCamposDados() : -1;
    fCampos.push_back(std::make_unique<Campo>(*this, definicao, indice));
    fExpressoes.clear(); // parsed against the fields there were
    return fCampos.back().get();
}

Campo* TabelaMemoria::campoPorNome(const QString& nome) const {
    for (const auto& c : fCampos)
        if (c->nome().compare(nome, Qt::CaseInsensitive) == 0)
            return c.get();
    return nullptr;
}

Campo* TabelaMemoria::campo(const QString& nome) const {
    if (Campo* c = campoPorNome(nome))
        return c;
    throw ErroTabela(QStringLiteral("%1: campo '%2' não encontrado.").arg(fNome, nome));
}

int TabelaMemoria::numeroCamposDados() const {
    int n = 0;
    for (const auto& c : fCampos)
        if (c->ehDados())
            ++n;
    return n;
}

TabelaMemoria::Linha TabelaMemoria::linhaVazia() const {
    return Linha(numeroCamposDados());
}

void TabelaMemoria::exigeAtiva() const {
    if (!ativa())
        throw ErroTabela(QStringLiteral("A tabela %1 está fechada.").arg(fNome));
}

void TabelaMemoria::exigeDefinicoes() const {
    if (numeroCamposDados() == 0)
        throw ErroTabela(QStringLiteral("A tabela %1 não tem campos definidos.").arg(fNome));
}

void TabelaMemoria::abrir() {
    if (ativa())
        return;
    if (fNomeArquivo.isEmpty())
        throw ErroTabela(QStringLiteral("A tabela %1 não tem arquivo de dados.").arg(fNome));
    if (!QFile::exists(fNomeArquivo))
        throw ErroTabela(QStringLiteral("Arquivo de dados não encontrado: %1").arg(fNomeArquivo));

    PacoteDados pacote = PacoteDados::le(fNomeArquivo);
    if (numeroCamposDados() == 0) {
        for (const auto& definicao : pacote.campos)
            adicionaCampo(definicao);
    }
    pacote.ajustaAosCampos(fNomeArquivo, fCampos);

    fLinhas = std::move(pacote.linhas);
    fIds.clear();
    for (qsizetype i = 0; i < fLinhas.size(); ++i)
        fIds.append(fProximoId++);
    linhasMudaram();
    fEstado = Estado::Navegando;
    fAlterada = false;
    try {
        aplicaFiltro();
    } catch (...) {
        esvazia();
        throw;
    }
    vaiParaPrimeiro();
    avisaAlteracao();
}

void TabelaMemoria::criaVazia() {
    if (ativa())
        return;
    exigeDefinicoes();
    fLinhas.clear();
    fIds.clear();
    linhasMudaram();
    fEstado = Estado::Navegando;
    fAlterada = false;
    aplicaFiltro();
    vaiParaPrimeiro();
    avisaAlteracao();
}

void TabelaMemoria::fechar() {
    if (!ativa())
        return;
    if (fEstado == Estado::Editando || fEstado == Estado::Inserindo) {
        fBuffer.clear();
        fModificado = false;
        fEstado = Estado::Navegando;
    }
    if (!fNomeArquivo.isEmpty() && (fAlterada || !QFile::exists(fNomeArquivo))) {
        avisaAlteracao();
        gravaArquivo();
    }
    esvazia();
    avisaAlteracao();
}

void TabelaMemoria::fechaSemGravar() {
    if (!ativa())
        return;
    esvazia();
    avisaAlteracao();
}

void TabelaMemoria::esvazia() {
    fEstado = Estado::Fechada;
    fLinhas.clear();
    fIds.clear();
    linhasMudaram();
    fVisiveis.clear();
    fFiltradas.clear();
    fBuffer.clear();
    fModificado = false;
    fAtual = -1;
    fInicio = fFim = true;
    fAlterada = false;
}

void TabelaMemoria::gravaArquivo() {
    PacoteDados pacote;
    for (const auto& c : fCampos)
        if (c->ehDados())
            pacote.campos.append(c->definicao());
    pacote.linhas = fLinhas;
    pacote.grava(fNomeArquivo);
}

std::shared_ptr<const FiltroExpressao> TabelaMemoria::expressaoDoFiltro() {
    // Date constants are read with the regional settings: other settings, other readings.
    const ConfiguracaoRegional& cfg = regional();
    if (cfg != fRegionalDasExpressoes) {
        fExpressoes.clear();
        fRegionalDasExpressoes = cfg;
    }
    if (const auto lida = fExpressoes.constFind(fFiltro); lida != fExpressoes.cend())
        return *lida;
    auto expressao = std::make_shared<const FiltroExpressao>(fFiltro, *this);
    // Bounded: a long run of distinct texts starts over rather than grow without end.
    if (fExpressoes.size() >= 8192)
        fExpressoes.clear();
    fExpressoes.insert(fFiltro, expressao);
    return expressao;
}

void TabelaMemoria::aplicaFiltro() {
    std::shared_ptr<const FiltroExpressao> expressao;
    if (fFiltrado && !QStringView(fFiltro).trimmed().isEmpty())
        expressao = expressaoDoFiltro();
    if (!expressao) {
        // Unfiltered, every stored row is visible in stored order: the list of all of
        // them is shared, and built again only when the rows have changed.
        fExpressao.reset();
        if (fVersaoTodas != fVersao) {
            fTodas.resize(fLinhas.size());
            for (qsizetype i = 0; i < fLinhas.size(); ++i)
                fTodas[i] = int(i);
            fVersaoTodas = fVersao;
        }
        fVisiveis = fTodas;
        return;
    }
    if (expressao->intervalo() && indiceOrdenado(expressao->intervalo()->indiceDados).utilizavel) {
        visiveisDoIntervalo(*expressao);
    } else {
        fVisiveis.clear();
        for (qsizetype i = 0; i < fLinhas.size(); ++i)
            if (expressao->avalia(fLinhas[i]))
                fVisiveis.append(int(i));
    }
    fExpressao = std::move(expressao);
}

void TabelaMemoria::linhasMudaram(int acrescentada) {
    const quint64 anterior = fVersao++;
    const bool ultima = acrescentada >= 0 && acrescentada == int(fLinhas.size()) - 1;
    for (int campo = 0; campo < int(fIndices.size()); ++campo) {
        IndiceOrdenado& indice = fIndices[std::size_t(campo)];
        if (!ultima || indice.versao != anterior || !indice.utilizavel) {
            indice.versao = 0;
            continue;
        }
        // A row added at the end joins the order where its value goes, after equal ones.
        const QVariant& valor = fLinhas[acrescentada].at(campo);
        indice.versao = fVersao;
        if (valor.isNull())
            continue;
        if (valor.typeId() != QMetaType::Double || std::isnan(valor.toDouble())) {
            indice.utilizavel = false;
            continue;
        }
        const std::pair<double, int> par{valor.toDouble(), acrescentada};
        indice.valores.insert(std::upper_bound(indice.valores.begin(), indice.valores.end(), par),
                              par);
    }
    // One row more is one more position at the end of all of them, wherever the row
    // went. The visible rows are set again right after every change of the rows, so they
    // let go of the shared list first and the append copies nothing.
    if (fVersaoTodas == anterior && acrescentada >= 0) {
        fVisiveis = QList<int>();
        fTodas.append(int(fLinhas.size()) - 1);
        fVersaoTodas = fVersao;
    }
}

const TabelaMemoria::IndiceOrdenado& TabelaMemoria::indiceOrdenado(int indiceDados) const {
    if (fIndices.size() < std::size_t(numeroCamposDados()))
        fIndices.resize(std::size_t(numeroCamposDados()));
    IndiceOrdenado& indice = fIndices[std::size_t(indiceDados)];
    if (indice.versao == fVersao)
        return indice;
    indice.versao = fVersao;
    indice.valores.clear();
    indice.utilizavel = true;
    for (qsizetype i = 0; i < fLinhas.size(); ++i) {
        const QVariant& valor = fLinhas[i].at(indiceDados);
        if (valor.isNull())
            continue; // an empty value matches no comparison
        // A value that does not order (not a number) leaves the filter to the scan.
        if (valor.typeId() != QMetaType::Double || std::isnan(valor.toDouble())) {
            indice.utilizavel = false;
            indice.valores.clear();
            return indice;
        }
        indice.valores.emplace_back(valor.toDouble(), int(i));
    }
    std::sort(indice.valores.begin(), indice.valores.end());
    return indice;
}

void TabelaMemoria::visiveisDoIntervalo(const FiltroExpressao& expressao) {
    const FiltroExpressao::Intervalo& r = *expressao.intervalo();
    const auto& valores = indiceOrdenado(r.indiceDados).valores;
    auto inicio = valores.begin();
    if (r.temMinimo)
        inicio = r.minimoIncluso
                     ? std::lower_bound(valores.begin(), valores.end(), r.minimo,
                                        [](const auto& par, double v) { return par.first < v; })
                     : std::upper_bound(valores.begin(), valores.end(), r.minimo,
                                        [](double v, const auto& par) { return v < par.first; });
    const auto fim =
        !r.temMaximo
            ? valores.end()
            : std::partition_point(inicio, valores.end(), [&r](const auto& par) {
                  return !(par.first > r.maximo || (!r.maximoIncluso && par.first == r.maximo));
              });
    // Gathered in a list kept for it, which the visible rows let go of first: the filter
    // is switched on for every calculation, and its room is reused when no one else holds
    // it. The visible rows may share the list of all rows, which is never written here.
    fVisiveis = QList<int>();
    fFiltradas.resize(qsizetype(std::max<std::ptrdiff_t>(fim - inicio, 0)));
    int* destino = fFiltradas.data();
    for (auto it = inicio; it < fim; ++it)
        *destino++ = it->second;
    // Visible rows keep the stored order.
    std::sort(fFiltradas.begin(), fFiltradas.end());
    fVisiveis = fFiltradas;
}

void TabelaMemoria::vaiParaPrimeiro() {
    fAtual = fVisiveis.isEmpty() ? -1 : 0;
    fInicio = true;
    fFim = fVisiveis.isEmpty();
}

int TabelaMemoria::quantidade() const {
    exigeAtiva();
    return int(fVisiveis.size());
}

void TabelaMemoria::resolvePendente() {
    if (fEstado != Estado::Editando && fEstado != Estado::Inserindo)
        return;
    if (fModificado)
        gravar();
    else
        cancelar();
}

void TabelaMemoria::primeiro() {
    exigeAtiva();
    resolvePendente();
    vaiParaPrimeiro();
    avisaAlteracao();
}

void TabelaMemoria::ultimo() {
    exigeAtiva();
    resolvePendente();
    fAtual = int(fVisiveis.size()) - 1;
    fFim = true;
    fInicio = fVisiveis.isEmpty();
    avisaAlteracao();
}

void TabelaMemoria::proximo() {
    exigeAtiva();
    resolvePendente();
    if (fAtual + 1 < fVisiveis.size()) {
        ++fAtual;
        fInicio = fFim = false;
    } else {
        fFim = true;
    }
    avisaAlteracao();
}

void TabelaMemoria::anterior() {
    exigeAtiva();
    resolvePendente();
    if (fAtual > 0) {
        --fAtual;
        fInicio = fFim = false;
    } else {
        fInicio = true;
    }
    avisaAlteracao();
}

void TabelaMemoria::inserir() {
    comecaNovaLinha(false);
}

void TabelaMemoria::acrescentar() {
    comecaNovaLinha(true);
}

void TabelaMemoria::comecaNovaLinha(bool noFim) {
    exigeAtiva();
    resolvePendente();
    if (antesInserir)
        antesInserir(*this);
    if (noFim || fAtual < 0) {
        fPosicaoArmazenada = noFim
                                 ? int(fLinhas.size())
                                 : (fVisiveis.isEmpty() ? int(fLinhas.size()) : fVisiveis.first());
        fPosicaoExibida = noFim ? int(fVisiveis.size()) : 0;
    } else {
        // A new row goes before the current one.
        fPosicaoArmazenada = fVisiveis[fAtual];
        fPosicaoExibida = fAtual;
    }
    fBuffer = linhaVazia();
    fEstado = Estado::Inserindo;
    fModificado = false;
    fInicio = fFim = false;
    if (aoNovoRegistro) {
        fEmNovoRegistro = true;
        try {
            aoNovoRegistro(*this);
        } catch (...) {
            fEmNovoRegistro = false;
            cancelar();
            throw;
        }
        fEmNovoRegistro = false;
    }
    fModificado = false;
    avisaAlteracao();
}

void TabelaMemoria::editar() {
    exigeAtiva();
    if (fEstado == Estado::Editando || fEstado == Estado::Inserindo)
        return;
    if (fVisiveis.isEmpty()) {
        inserir();
        return;
    }
    if (antesEditar)
        antesEditar(*this);
    fBuffer = fLinhas[fVisiveis[fAtual]];
    fEstado = Estado::Editando;
    fModificado = false;
    avisaAlteracao();
}

void TabelaMemoria::gravar() {
    exigeAtiva();
    if (fEstado != Estado::Editando && fEstado != Estado::Inserindo)
        return;
    if (antesGravar)
        antesGravar(*this);
    for (const auto& c : fCampos)
        if (c->ehDados() && c->definicao().obrigatorio && fBuffer.value(c->indiceDados()).isNull())
            throw ErroTabela(QStringLiteral("O campo '%1' deve ser preenchido.").arg(c->nome()));

    quint64 id = 0;
    int armazenada = 0;
    if (fEstado == Estado::Inserindo) {
        id = fProximoId++;
        armazenada = fPosicaoArmazenada;
        fLinhas.insert(armazenada, fBuffer);
        fIds.insert(armazenada, id);
        linhasMudaram(armazenada);
    } else {
        armazenada = fVisiveis[fAtual];
        fLinhas[armazenada] = fBuffer;
        id = fIds[armazenada];
        linhasMudaram();
    }
    fBuffer.clear();
    fModificado = false;
    fEstado = Estado::Navegando;
    fAlterada = true;
    aplicaFiltro();
    // Unfiltered, a row's visible place is its stored place.
    const int indice = fExpressao ? indiceVisivelDoId(id) : armazenada;
    if (indice >= 0)
        fAtual = indice;
    else
        fAtual = std::min<int>(std::max(fAtual, 0), int(fVisiveis.size()) - 1);
    avisaAlteracao();
}

bool TabelaMemoria::outraLinhaArmazenada(const Campo& campo, double minimo, double maximo,
                                         const std::function<bool(const QVariant&)>& teste) const {
    exigeAtiva();
    const int editada = fEstado == Estado::Editando ? fVisiveis[fAtual] : -1;
    const int indiceDados = campo.indiceDados();
    const auto outra = [&](int i) {
        if (i == editada)
            return false;
        const QVariant& valor = fLinhas[i].at(indiceDados);
        return !valor.isNull() && teste(valor);
    };
    const IndiceOrdenado& indice = indiceOrdenado(indiceDados);
    if (!indice.utilizavel) {
        // Values that do not order: every row is looked at.
        for (int i = 0; i < fLinhas.size(); ++i) {
            const double valor = fLinhas[i].at(indiceDados).toDouble();
            if (valor >= minimo && valor <= maximo && outra(i))
                return true;
        }
        return false;
    }
    const auto& valores = indice.valores;
    auto it = std::lower_bound(valores.begin(), valores.end(), minimo,
                               [](const auto& par, double v) { return par.first < v; });
    for (; it != valores.end() && it->first <= maximo; ++it)
        if (outra(it->second))
            return true;
    return false;
}

void TabelaMemoria::cancelar() {
    exigeAtiva();
    if (fEstado != Estado::Editando && fEstado != Estado::Inserindo)
        return;
    fBuffer.clear();
    fModificado = false;
    fEstado = Estado::Navegando;
    avisaAlteracao();
}

void TabelaMemoria::excluir() {
    exigeAtiva();
    if (fEstado == Estado::Inserindo) {
        cancelar();
        return;
    }
    if (fVisiveis.isEmpty())
        throw ErroTabela(
            QStringLiteral("Não é possível excluir: a tabela %1 está vazia.").arg(fNome));
    if (antesExcluir)
        antesExcluir(*this);
    fBuffer.clear();
    fModificado = false;
    fEstado = Estado::Navegando;
    const int armazenada = fVisiveis[fAtual];
    fLinhas.removeAt(armazenada);
    fIds.removeAt(armazenada);
    linhasMudaram();
    fAlterada = true;
    const int anterior = fAtual;
    aplicaFiltro();
    fAtual = std::min<int>(anterior, int(fVisiveis.size()) - 1);
    fInicio = fVisiveis.isEmpty();
    fFim = fVisiveis.isEmpty();
    avisaAlteracao();
}

void TabelaMemoria::defineFiltro(const QString& expressao) {
    if (ativa() && fFiltrado) {
        resolvePendente();
        const QString anterior = std::exchange(fFiltro, expressao);
        try {
            aplicaFiltro();
        } catch (...) {
            fFiltro = anterior;
            aplicaFiltro();
            throw;
        }
        vaiParaPrimeiro();
        avisaAlteracao();
        return;
    }
    fFiltro = expressao;
}

void TabelaMemoria::defineFiltrado(bool ligado) {
    if (!ativa()) {
        fFiltrado = ligado;
        return;
    }
    resolvePendente();
    const bool anterior = std::exchange(fFiltrado, ligado);
    try {
        aplicaFiltro();
    } catch (...) {
        fFiltrado = anterior;
        aplicaFiltro();
        throw;
    }
    vaiParaPrimeiro();
    avisaAlteracao();
}

void TabelaMemoria::desligaFiltroMantendoPendente() {
    if (!ativa() || fEstado == Estado::Navegando || !fFiltrado) {
        defineFiltrado(false);
        return;
    }
    const quint64 editada = fEstado == Estado::Editando ? fIds[fVisiveis[fAtual]] : 0;
    fFiltrado = false;
    aplicaFiltro();
    // Every row is visible now, so visible and stored positions agree.
    if (fEstado == Estado::Editando) {
        fAtual = indiceVisivelDoId(editada);
    } else {
        fPosicaoExibida = fPosicaoArmazenada;
        fAtual = std::min<int>(fPosicaoArmazenada, int(fVisiveis.size()) - 1);
    }
    avisaAlteracao();
}

// Emitted only when someone listens: the computation switches the filter and walks the
// rows for every row of a batch, where no grid is connected and the emission would only
// look for receivers. Who listens is looked up again after each connection change, here
// and not in the notifications, which run under Qt's connection lock.
void TabelaMemoria::avisaAlteracao() {
    if (fOuvintesMudaram.load(std::memory_order_relaxed)) {
        fOuvintesMudaram.store(false, std::memory_order_relaxed);
        fOuvida = isSignalConnected(QMetaMethod::fromSignal(&TabelaMemoria::alterada));
    }
    if (fOuvida)
        emit alterada();
}

void TabelaMemoria::connectNotify(const QMetaMethod&) {
    fOuvintesMudaram.store(true, std::memory_order_relaxed);
}

void TabelaMemoria::disconnectNotify(const QMetaMethod&) {
    fOuvintesMudaram.store(true, std::memory_order_relaxed);
}

int TabelaMemoria::indiceVisivelDoId(quint64 id) const {
    for (qsizetype i = 0; i < fVisiveis.size(); ++i)
        if (fIds[fVisiveis[i]] == id)
            return int(i);
    return -1;
}

int TabelaMemoria::linhasExibidas() const {
    if (!ativa())
        return 0;
    return int(fVisiveis.size()) + (fEstado == Estado::Inserindo ? 1 : 0);
}

int TabelaMemoria::linhaAtualExibida() const {
    return fEstado == Estado::Inserindo ? fPosicaoExibida : fAtual;
}

QVariant TabelaMemoria::valorExibido(int linha, const Campo& campo) const {
    if (!ativa() || linha < 0 || linha >= linhasExibidas())
        return QVariant();
    const bool pendente = (fEstado == Estado::Inserindo && linha == fPosicaoExibida) ||
                          (fEstado == Estado::Editando && linha == fAtual);
    if (!campo.ehDados())
        return linha == linhaAtualExibida() ? calculado(campo) : QVariant();
    if (pendente)
        return fBuffer.value(campo.indiceDados());
    int visivel = linha;
    if (fEstado == Estado::Inserindo && linha > fPosicaoExibida)
        --visivel;
    return fLinhas[fVisiveis[visivel]].value(campo.indiceDados());
}

quint64 TabelaMemoria::idLinhaExibida(int linha) const {
    if (!ativa() || linha < 0 || linha >= linhasExibidas())
        return 0;
    if (fEstado == Estado::Inserindo) {
        if (linha == fPosicaoExibida)
            return 0;
        if (linha > fPosicaoExibida)
            --linha;
    }
    return fIds[fVisiveis[linha]];
}

void TabelaMemoria::irParaLinhaExibida(int linha) {
    exigeAtiva();
    if (linha == linhaAtualExibida())
        return;
    // Remember the target row by identity: settling may add or drop a row before it.
    int visivel = linha;
    if (fEstado == Estado::Inserindo && linha > fPosicaoExibida)
        --visivel;
    if (visivel < 0 || visivel >= fVisiveis.size())
        return;
    const quint64 id = fIds[fVisiveis[visivel]];
    resolvePendente();
    const int indice = indiceVisivelDoId(id);
    if (indice >= 0) {
        fAtual = indice;
        fInicio = fFim = false;
    }
    avisaAlteracao();
}

QVariant TabelaMemoria::valorAtual(const Campo& campo) const {
    if (const QVariant* guardado = valorAtualGuardado(campo))
        return *guardado;
    return campo.ehDados() ? QVariant() : calculado(campo);
}

const QVariant* TabelaMemoria::valorAtualGuardado(const Campo& campo) const {
    exigeAtiva();
    if (!campo.ehDados())
        return nullptr;
    const bool pendente = fEstado == Estado::Editando || fEstado == Estado::Inserindo;
    if (!pendente && fAtual < 0)
        return nullptr;
    const Linha& linha = pendente ? fBuffer : fLinhas[fVisiveis[fAtual]];
    const int indice = campo.indiceDados();
    return indice >= 0 && indice < linha.size() ? &linha[indice] : nullptr;
}

QVariant TabelaMemoria::calculado(const Campo& campo) const {
    // Calculated values live only while the rule computes them for the current row.
    int posicao = 0;
    for (const auto& c : fCampos) {
        if (c.get() == &campo)
            break;
        ++posicao;
    }
    if (fCalculando)
        return fCalculados.value(posicao);
    if (!aoCalcularCampos)
        return QVariant();
    fCalculados = Linha(qsizetype(fCampos.size()));
    fCalculando = true;
    try {
        aoCalcularCampos(const_cast<TabelaMemoria&>(*this));
    } catch (...) {
        fCalculando = false;
        throw;
    }
    fCalculando = false;
    return fCalculados.value(posicao);
}

void TabelaMemoria::defineValorAtual(const Campo& campo, const QVariant& valor) {
    exigeAtiva();
    if (!campo.ehDados()) {
        if (!fCalculando)
            throw ErroTabela(QStringLiteral("O campo '%1' é calculado e não pode ser modificado.")
                                 .arg(campo.nome()));
        int posicao = 0;
        for (const auto& c : fCampos) {
            if (c.get() == &campo)
                break;
            ++posicao;
        }
        fCalculados[posicao] = valor;
        return;
    }
    if (campo.somenteLeitura())
        throw ErroTabela(QStringLiteral("O campo '%1' não pode ser modificado.").arg(campo.nome()));
    if (fEstado != Estado::Editando && fEstado != Estado::Inserindo)
        throw ErroTabela(
            QStringLiteral("A tabela %1 não está em edição nem em inclusão.").arg(fNome));
    fBuffer[campo.indiceDados()] = valor;
    if (!fEmNovoRegistro)
        fModificado = true;
    avisaAlteracao();
}
