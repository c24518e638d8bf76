#include "tabela/Campo.h"

#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "tabela/TabelaMemoria.h"

#include <cmath>
#include <utility>

bool ehObjetoGrande(TipoCampo tipo) {
    return tipo == TipoCampo::Binario || tipo == TipoCampo::Memo || tipo == TipoCampo::MemoLargo ||
           tipo == TipoCampo::Grafico;
}

Armazenamento armazenamentoDe(TipoCampo tipo) {
    switch (tipo) {
    case TipoCampo::Texto:
    case TipoCampo::TextoLargo:
    case TipoCampo::TextoFixo:
    case TipoCampo::Memo:
    case TipoCampo::MemoLargo:
    case TipoCampo::Guid:
    case TipoCampo::Decimal:
        return Armazenamento::Texto;
    case TipoCampo::Inteiro8:
    case TipoCampo::Inteiro16:
    case TipoCampo::Inteiro32:
    case TipoCampo::Inteiro64:
    case TipoCampo::Natural8:
    case TipoCampo::Natural16:
    case TipoCampo::Natural32:
    case TipoCampo::AutoIncremento:
        return Armazenamento::Inteiro;
    case TipoCampo::Flutuante:
    case TipoCampo::FlutuanteSimples:
    case TipoCampo::Estendido:
        return Armazenamento::Flutuante;
    case TipoCampo::Moeda:
        return Armazenamento::Moeda;
    case TipoCampo::Data:
    case TipoCampo::Hora:
    case TipoCampo::DataHora:
    case TipoCampo::CarimboTempo:
        return Armazenamento::Data;
    case TipoCampo::Logico:
        return Armazenamento::Logico;
    case TipoCampo::Bytes:
    case TipoCampo::Binario:
    case TipoCampo::Grafico:
        return Armazenamento::Bytes;
    }
    return Armazenamento::Texto;
}

namespace {

double floatDoValor(const QVariant& v, TipoCampo tipo) {
    // A stored floating value is read in place: the computation reads one per month summed.
    if (tipo != TipoCampo::Moeda && v.metaType() == QMetaType::fromType<double>())
        return v.isNull() ? 0 : *static_cast<const double*>(v.constData());
    if (v.isNull())
        return 0;
    if (tipo == TipoCampo::Moeda)
        return double(v.toLongLong()) / double(Moeda::Escala);
    if (v.typeId() == QMetaType::QString)
        return double(Formato::textoParaEstendido(v.toString()));
    return v.toDouble();
}

} // namespace

Campo::Campo(TabelaMemoria& tabela, DefinicaoCampo definicao, int indiceDados)
    : fTabela(tabela), fDefinicao(std::move(definicao)), fIndiceDados(indiceDados) {}

QVariant Campo::valor() const {
    return fTabela.valorAtual(*this);
}

double Campo::comoFloat() const {
    if (const QVariant* guardado = fTabela.valorAtualGuardado(*this))
        return floatDoValor(*guardado, tipo());
    return floatDoValor(valor(), tipo());
}

DataHora Campo::comoDataHora() const {
    const QVariant v = valor();
    return v.isNull() ? 0 : v.toDouble();
}

Moeda Campo::comoMoeda() const {
    const QVariant v = valor();
    if (v.isNull())
        return Moeda();
    if (tipo() == TipoCampo::Moeda)
        return Moeda::deContagem(v.toLongLong());
    return Moeda::deEstendido(static_cast<Estendido>(comoFloat()) * Moeda::Escala);
}

QString Campo::comoTexto() const {
    return textoDoValor(valor());
}

QString Campo::textoExibicao() const {
    return textoExibicaoDoValor(valor());
}

QString Campo::textoDoValor(const QVariant& v) const {
    if (v.isNull())
        return QString();
    switch (armazenamentoDe(tipo())) {
    case Armazenamento::Data:
        if (tipo() == TipoCampo::Data)
            return Formato::dataParaTexto(v.toDouble());
        if (tipo() == TipoCampo::Hora)
            return Formato::horaParaTexto(v.toDouble());
        return Formato::dataHoraParaTexto(v.toDouble());
    case Armazenamento::Flutuante:
    case Armazenamento::Moeda: {
        QString texto = QString::number(floatDoValor(v, tipo()), 'g', 15);
        texto.replace(QLatin1Char('.'), regional().separadorDecimal);
        return texto;
    }
    case Armazenamento::Logico:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case Armazenamento::Bytes:
        return QString::fromLatin1(v.toByteArray());
    case Armazenamento::Inteiro:
        return QString::number(v.toLongLong());
    case Armazenamento::Texto:
        break;
    }
    return v.toString();
}

QString Campo::textoExibicaoDoValor(const QVariant& v) const {
    const Armazenamento a = armazenamentoDe(tipo());
    if (!fDefinicao.formatoExibicao.isEmpty() && !v.isNull() &&
        (a == Armazenamento::Flutuante || a == Armazenamento::Moeda || a == Armazenamento::Inteiro))
        return Formato::formataNumero(fDefinicao.formatoExibicao, floatDoValor(v, tipo()));
    return textoDoValor(v);
}

void Campo::defineValor(const QVariant& valor) {
    fTabela.defineValorAtual(*this, converte(valor));
}

void Campo::defineTexto(const QString& texto) {
    if (texto.trimmed().isEmpty() && armazenamentoDe(tipo()) != Armazenamento::Texto) {
        limpa();
        return;
    }
    switch (armazenamentoDe(tipo())) {
    case Armazenamento::Data:
        defineValor(tipo() == TipoCampo::Data ? Formato::textoParaData(texto)
                                              : Formato::textoParaDataHora(texto));
        return;
    case Armazenamento::Flutuante:
        defineValor(double(Formato::textoParaEstendido(texto)));
        return;
    case Armazenamento::Moeda:
        fTabela.defineValorAtual(
            *this, QVariant::fromValue<qint64>(Formato::textoParaMoeda(texto).contagem()));
        return;
    default:
        defineValor(texto);
    }
}

QVariant Campo::converte(const QVariant& valor) const {
    if (valor.isNull() || !valor.isValid())
        return QVariant();
    auto falha = [&]() -> QVariant {
        throw ErroConversao(
            QStringLiteral("Valor inválido para o campo '%1': %2").arg(nome(), valor.toString()));
    };
    bool ok = true;
    switch (armazenamentoDe(tipo())) {
    case Armazenamento::Texto:
        return valor.toString();
    case Armazenamento::Inteiro: {
        const qint64 v = valor.toLongLong(&ok);
        return ok ? QVariant::fromValue<qint64>(v) : falha();
    }
    case Armazenamento::Flutuante:
    case Armazenamento::Data: {
        const double v = valor.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            return falha();
        // A date field holds whole days: a time given with it is dropped.
        return tipo() == TipoCampo::Data ? QVariant(double(Datas::parteInteira(v))) : QVariant(v);
    }
    case Armazenamento::Moeda: {
        // Floating input is in currency units; the stored value is the count.
        const double v = valor.toDouble(&ok);
        if (!ok)
            return falha();
        return QVariant::fromValue<qint64>(
            Moeda::deEstendido(static_cast<Estendido>(v) * Moeda::Escala).contagem());
    }
    case Armazenamento::Logico:
        return valor.toBool();
    case Armazenamento::Bytes:
        return valor.toByteArray();
    }
    return falha();
}
