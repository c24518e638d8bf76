#include "framework/NURFWUtils.h"

#include "dialogos/Dialogos.h"
#include "valores/Formatacao.h"
#include "sistema/PaginaAnsi.h"
#include "tabela/TabelaMemoria.h"

#include <QCollator>
#include <QCryptographicHash>

#include <algorithm>

namespace {

const QString CampoHash = QStringLiteral("NURCRC");

// What a field's value in the current row adds to a fingerprint, chosen by its type. An
// empty value reads as the type's zero.
QString contribuicao(const Campo& campo) {
    switch (campo.tipo()) {
    case TipoCampo::Texto:
    case TipoCampo::TextoLargo:
    case TipoCampo::Inteiro16:
    case TipoCampo::Inteiro32:
    case TipoCampo::Natural16:
    case TipoCampo::AutoIncremento:
    case TipoCampo::Inteiro64:
        return Formato::apara(campo.comoTexto());
    case TipoCampo::Flutuante:
    case TipoCampo::Moeda: {
        const Estendido valor = campo.tipo() == TipoCampo::Moeda
                                    ? campo.comoMoeda().contagemEstendida() / Moeda::Escala
                                    : static_cast<Estendido>(campo.comoFloat());
        QString texto = Formato::formataNumero(QStringLiteral("#,##0.00"), valor);
        texto.remove(QLatin1Char(',')).remove(QLatin1Char('.'));
        return Formato::apara(texto);
    }
    case TipoCampo::Data:
    case TipoCampo::DataHora:
        return Formato::apara(
            Formato::formataData(QStringLiteral("ddmmyyyy"), campo.comoDataHora()));
    case TipoCampo::Hora:
    case TipoCampo::CarimboTempo:
        return Formato::apara(Formato::formataData(QStringLiteral("hhmmss"), campo.comoDataHora()));
    default:
        return QString();
    }
}

bool ficaDeFora(const Campo& campo) {
    return campo.nome() == CampoHash || ehObjetoGrande(campo.tipo());
}

QString sha1(const QString& texto) {
    return QString::fromLatin1(
        QCryptographicHash::hash(PaginaAnsi::codifica(texto), QCryptographicHash::Sha1)
            .toHex()
            .toUpper());
}

QString textoDaTabela(TabelaMemoria& Dataset) {
    Dataset.fechar();
    Dataset.abrir();
    Dataset.primeiro();
    QString texto;
    while (!Dataset.fimDaTabela()) {
        // Each field adds a line repeating the row's text so far.
        QString linha;
        for (const auto& campo : Dataset.campos()) {
            if (campo->ehDados()) {
                if (ficaDeFora(*campo))
                    continue;
                linha += contribuicao(*campo);
            }
            texto += linha + QStringLiteral("\r\n");
        }
        Dataset.proximo();
    }
    return texto;
}

// The table ends closed on every path, even when closing it fails (its file cannot be
// written): the failure still reaches the caller.
void fechaDeQualquerModo(TabelaMemoria& Dataset) {
    try {
        Dataset.fechar();
    } catch (...) {
        Dataset.fechaSemGravar();
        throw;
    }
}

} // namespace

QString TNURUtils::RetornaHashDataset(TabelaMemoria& Dataset) {
    QString texto;
    try {
        texto = textoDaTabela(Dataset);
    } catch (...) {
        // The first failure is the one reported.
        try {
            fechaDeQualquerModo(Dataset);
        } catch (...) {
        }
        throw;
    }
    fechaDeQualquerModo(Dataset);
    return sha1(texto);
}

QString TNURUtils::RetornaHashLinha(TabelaMemoria& Dataset) {
    QStringList nomes;
    for (const auto& campo : Dataset.campos())
        nomes << campo->nome();
    QCollator colacao;
    colacao.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(nomes.begin(), nomes.end(), [&colacao](const QString& a, const QString& b) {
        return colacao.compare(a, b) < 0;
    });
    QString texto;
    for (const QString& nome : nomes) {
        const Campo& campo = *Dataset.campo(nome);
        if (campo.ehDados() && !ficaDeFora(campo))
            texto += contribuicao(campo);
    }
    return sha1(texto);
}

bool TNURUtils::ValidaHashDataset(TabelaMemoria& Dataset, const QString& HashAtual) {
    return RetornaHashDataset(Dataset) == HashAtual;
}

bool TNURUtils::ValidaHashLinha(TabelaMemoria& Dataset, const QString&, Dialogos& dialogos) {
    if (!Dataset.ativa()) {
        dialogos.erro(QStringLiteral("Dataset ") + Dataset.nome() + QStringLiteral(" fechado."));
        return false;
    }
    return RetornaHashLinha(Dataset) == Dataset.campo(CampoHash)->comoTexto();
}
