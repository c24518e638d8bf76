#pragma once

#include "tabela/Campo.h"
#include "valores/ConfiguracaoRegional.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class FiltroExpressao;

// An in-memory table: typed fields, rows kept in stored order, a current row among the
// visible rows, at most one pending change (a row being edited or inserted), a filter,
// and rules that run at fixed points of every change. It is read whole from its file
// when opened and written whole, atomically, when closed after a change.
//
// Settling: every move, every change of the filter switch (and of the filter text while
// the filter is on) and every new change first settles the pending one: a modified row
// is posted (running the before-post rule), an unmodified one is dropped. Only
// desligaFiltroMantendoPendente, for failure paths, switches the filter without settling.
//
// A rule refuses by throwing; the table then keeps its state (a refused post leaves the
// row pending and modified).
class TabelaMemoria : public QObject {
    Q_OBJECT

public:
    enum class Estado { Fechada, Navegando, Editando, Inserindo };
    using Regra = std::function<void(TabelaMemoria&)>;

    explicit TabelaMemoria(QString nome = {}, QObject* parent = nullptr);
    // Releases the rows without touching the file: whoever owns the table closes it, and
    // reports a failed write, before destroying it.
    ~TabelaMemoria() override;

    const QString& nome() const { return fNome; }

    // Field definitions; only while the table is closed.
    Campo* adicionaCampo(const DefinicaoCampo& definicao);
    const std::vector<std::unique_ptr<Campo>>& campos() const { return fCampos; }
    // By name, without regard to case; throws ErroTabela when there is none.
    Campo* campo(const QString& nome) const;
    Campo* campoPorNome(const QString& nome) const;

    const QString& nomeArquivo() const { return fNomeArquivo; }
    void defineNomeArquivo(const QString& caminho) { fNomeArquivo = caminho; }

    // Reads the whole file; a missing or damaged file throws and the table stays closed.
    void abrir();
    // Opens an empty table with the defined fields and no file behind it.
    void criaVazia();
    // Drops a pending change, writes the file when a row was stored, changed or deleted
    // since it was read or when the file is gone, and empties the table. When the write
    // fails the error reaches the caller and the table stays open with its rows.
    void fechar();
    // Closes without writing anything: the pending change and every change not yet in the
    // file are lost. For callers that must leave the table closed after fechar failed.
    void fechaSemGravar();
    bool ativa() const { return fEstado != Estado::Fechada; }
    Estado estado() const { return fEstado; }
    bool alteradaDesdeLeitura() const { return fAlterada; }
    // Grows whenever the stored rows change (read, stored, deleted, closed): a reader that
    // saw the same number has seen the same rows.
    quint64 versao() const { return fVersao; }

    void primeiro();
    void anterior();
    void proximo();
    void ultimo();
    bool inicioDaTabela() const { return fInicio; }
    bool fimDaTabela() const { return fFim; }
    // Visible rows; throws on a closed table.
    int quantidade() const;
    bool vazia() const { return quantidade() == 0; }
    // 0-based index of the current row among the visible ones, -1 when there is none.
    int indiceAtual() const { return fAtual; }

    void inserir();
    void acrescentar();
    void editar();
    void gravar();
    void cancelar();
    void excluir();
    // The pending row had a value set after it began (the new-row default does not count).
    bool modificado() const { return fModificado; }
    // For rules: whether a stored row other than the one being edited holds, in campo, a
    // value from minimo to maximo that passes teste. Every stored row counts, whatever the
    // filter shows; an empty value never does. The field's ordered index names the rows
    // to test, so a rule run on every post does not grow with the table.
    bool outraLinhaArmazenada(const Campo& campo, double minimo, double maximo,
                              const std::function<bool(const QVariant&)>& teste) const;
    void resolvePendente();

    const QString& filtro() const { return fFiltro; }
    void defineFiltro(const QString& expressao);
    bool filtrado() const { return fFiltrado; }
    void defineFiltrado(bool ligado);
    // Switches the filter off without settling: a pending change stays pending on its row.
    // For a failure path that must leave the table unfiltered although its pending row is
    // refused; it does not fail.
    void desligaFiltroMantendoPendente();

    // Rules, each receiving this table.
    Regra antesInserir;
    Regra aoNovoRegistro;
    Regra antesEditar;
    Regra antesExcluir;
    Regra antesGravar;
    // Fills the calculated fields of the current row.
    Regra aoCalcularCampos;

    // For grids: the visible rows plus the row being inserted, in display order.
    int linhasExibidas() const;
    int linhaAtualExibida() const;
    QVariant valorExibido(int linha, const Campo& campo) const;
    // Identity of a displayed row, kept while the row lives whatever moves around it;
    // 0 for the row being inserted and outside the displayed rows.
    quint64 idLinhaExibida(int linha) const;
    // Makes a displayed row current, settling the pending change first.
    void irParaLinhaExibida(int linha);

    // Used by Campo.
    QVariant valorAtual(const Campo& campo) const;
    // A data field's value in the current (or pending) row, read in place: nullptr for a
    // calculated field, no current row or no such value. The computation's sum reads one
    // per month.
    const QVariant* valorAtualGuardado(const Campo& campo) const;
    void defineValorAtual(const Campo& campo, const QVariant& valor);

signals:
    // Rows, current row, state or values changed.
    void alterada();

protected:
    void connectNotify(const QMetaMethod& sinal) override;
    void disconnectNotify(const QMetaMethod& sinal) override;

private:
    using Linha = QList<QVariant>;

    // Stored rows of one floating or date field ordered by value, for range filters. Built
    // on first use, kept while the rows stay the same and extended when a row is appended.
    struct IndiceOrdenado {
        quint64 versao = 0;
        bool utilizavel = false;
        std::vector<std::pair<double, int>> valores; // value, stored position
    };

    void avisaAlteracao();
    void exigeAtiva() const;
    void exigeDefinicoes() const;
    int numeroCamposDados() const;
    Linha linhaVazia() const;
    void comecaNovaLinha(bool noFim);
    void aplicaFiltro();
    std::shared_ptr<const FiltroExpressao> expressaoDoFiltro();
    void linhasMudaram(int acrescentada = -1);
    const IndiceOrdenado& indiceOrdenado(int indiceDados) const;
    void visiveisDoIntervalo(const FiltroExpressao& expressao);
    void vaiParaPrimeiro();
    int indiceVisivelDoId(quint64 id) const;
    void esvazia();
    void gravaArquivo();
    QVariant calculado(const Campo& campo) const;

    QString fNome;
    std::vector<std::unique_ptr<Campo>> fCampos;
    QString fNomeArquivo;

    Estado fEstado = Estado::Fechada;
    QList<Linha> fLinhas;
    QList<quint64> fIds;
    quint64 fProximoId = 1;
    QList<int> fVisiveis;
    int fAtual = -1;
    bool fInicio = true;
    bool fFim = true;
    bool fAlterada = false;

    Linha fBuffer;
    bool fModificado = false;
    bool fEmNovoRegistro = false;
    int fPosicaoArmazenada = 0; // where a new row goes in stored order
    int fPosicaoExibida = 0;    // where a new row shows among the visible rows

    QString fFiltro;
    bool fFiltrado = false;
    std::shared_ptr<const FiltroExpressao> fExpressao;
    // Texts already parsed, with the regional settings they were read under: a filter
    // text set again is not parsed again.
    QHash<QString, std::shared_ptr<const FiltroExpressao>> fExpressoes;
    ConfiguracaoRegional fRegionalDasExpressoes;
    quint64 fVersao = 1;
    QList<int> fTodas;     // every stored position, for the unfiltered table
    QList<int> fFiltradas; // the rows of the last range filter, room kept between filters
    quint64 fVersaoTodas = 0;
    mutable std::vector<IndiceOrdenado> fIndices;

    // Whether alterada has a receiver; asked again once connections change (which may
    // happen on another thread).
    std::atomic<bool> fOuvintesMudaram{true};
    bool fOuvida = true;

    mutable bool fCalculando = false;
    mutable Linha fCalculados;
};
