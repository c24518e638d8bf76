#pragma once

#include "valores/Datas.h"
#include "valores/Moeda.h"

#include <QString>
#include <QVariant>

class TabelaMemoria;

// Value types a field can hold. Large-object kinds (Binario, Memo, MemoLargo, Grafico)
// are kept whole but play no part in fingerprints.
enum class TipoCampo {
    Texto,
    TextoLargo,
    TextoFixo,
    Inteiro8,
    Inteiro16,
    Inteiro32,
    Inteiro64,
    Natural8,
    Natural16,
    Natural32,
    AutoIncremento,
    Flutuante,
    FlutuanteSimples,
    Estendido,
    Moeda,
    Decimal,
    Data,
    Hora,
    DataHora,
    CarimboTempo,
    Logico,
    Bytes,
    Guid,
    Binario,
    Memo,
    MemoLargo,
    Grafico,
};

// A stored field, or one the table computes for each row (calculated) or looks up.
enum class TipoDeCampo { Dados, Calculado, Pesquisa };

bool ehObjetoGrande(TipoCampo tipo);

// How a type's values are held (see Campo): the one place that groups the types.
enum class Armazenamento { Texto, Inteiro, Flutuante, Moeda, Data, Logico, Bytes };
Armazenamento armazenamentoDe(TipoCampo tipo);

struct DefinicaoCampo {
    QString nome;
    TipoCampo tipo = TipoCampo::Texto;
    bool obrigatorio = false;
    TipoDeCampo tipoDeCampo = TipoDeCampo::Dados;
    int larguraExibicao = 0;
    QString formatoExibicao; // number pattern such as "#,##0.000000"
    QString mascaraEdicao;   // edit mask such as "!99/99/0000;1;_"
};

// One field of a table, read and written on the table's current row.
//
// Values are held as: text kinds QString; integer kinds qint64; floating kinds double;
// Moeda its count of ten-thousandths (qint64); date and time kinds DataHora (double), a
// Data field's value always a whole day;
// Logico bool; byte kinds QByteArray. A null QVariant is the empty value.
class Campo {
public:
    Campo(TabelaMemoria& tabela, DefinicaoCampo definicao, int indiceDados);

    const DefinicaoCampo& definicao() const { return fDefinicao; }
    const QString& nome() const { return fDefinicao.nome; }
    TipoCampo tipo() const { return fDefinicao.tipo; }
    TipoDeCampo tipoDeCampo() const { return fDefinicao.tipoDeCampo; }
    bool ehDados() const { return fDefinicao.tipoDeCampo == TipoDeCampo::Dados; }
    int indiceDados() const { return fIndiceDados; }
    TabelaMemoria& tabela() const { return fTabela; }

    // While set, no value can be put into the field; the attempt names the field.
    bool somenteLeitura() const { return fSomenteLeitura; }
    void defineSomenteLeitura(bool valor) { fSomenteLeitura = valor; }

    QVariant valor() const;
    bool ehNulo() const { return valor().isNull(); }
    // Readings of an empty value give the type's zero.
    double comoFloat() const;
    DataHora comoDataHora() const;
    Moeda comoMoeda() const;
    // Plain text: dates in the short date pattern, numbers in the regional notation.
    QString comoTexto() const;
    // Text as shown: numbers with the display format when one is set.
    QString textoExibicao() const;
    // The same two texts for a value held by this field on any row (grids show every row).
    QString textoDoValor(const QVariant& valor) const;
    QString textoExibicaoDoValor(const QVariant& valor) const;

    // Only while the table's row is being edited or inserted.
    void defineValor(const QVariant& valor);
    void defineDataHora(DataHora valor) { defineValor(valor); }
    void defineFloat(double valor) { defineValor(valor); }
    // Reads text as the field's type (a date in the short date pattern, a number in the
    // regional notation); empty text empties the field.
    void defineTexto(const QString& texto);
    void limpa() { defineValor(QVariant()); }

    // The value converted to the field's storage type; throws ErroConversao.
    QVariant converte(const QVariant& valor) const;

private:
    TabelaMemoria& fTabela;
    DefinicaoCampo fDefinicao;
    int fIndiceDados;
    bool fSomenteLeitura = false;
};
