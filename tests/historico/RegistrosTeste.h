#pragma once

// Records for the history's tests, from real calculations and statements on a copy of the
// rate table shipped with the program, issued at moments the tests choose.

#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "apoio/TabelaDistribuida.h"
#include "historico/RegistroHistorico.h"
#include "valores/Formatacao.h"

#include <memory>

inline IdentidadeRegistro identidadeTeste() {
    return {QStringLiteral("ana"), QStringLiteral("estacao-1"), QStringLiteral("3.02.00")};
}

// 2026-12-dia hh:mm:ss.zzz
inline DataHora momentoTeste(int dia, int hora, int minuto = 0, int segundo = 0, int ms = 0) {
    return Datas::combinaDataHora(Datas::codificaData(2026, 12, dia),
                                  Datas::codificaHora(hora, minuto, segundo, ms));
}

class FabricaRegistros {
public:
    explicit FabricaRegistros(const QString& pasta)
        : fDados(std::make_unique<ModuloTeste>(fRelogio, fDialogos, pasta)) {
        fDados->abreArquivo(copiaTabelaDistribuida(pasta));
    }

    RegistroHistorico calculo(const QString& valor, const QString& vencimento,
                              const QString& pagamento, DataHora momento) {
        MemoriaCalculo memoria;
        const auto r = CalculaValores(*fDados, Formato::textoParaMoeda(valor),
                                      Formato::textoParaData(vencimento),
                                      Formato::textoParaData(pagamento), &memoria);
        if (!r)
            qFatal("cálculo de teste recusado: %s", qPrintable(fDialogos.textos().join(u' ')));
        return registroDeCalculo(*r, memoria, momento, identidadeTeste());
    }

    // Each debt "MM/AAAA;vencimento;valor", as typed.
    RegistroHistorico demonstrativo(const QString& nome, const QString& documento,
                                    const QStringList& debitos, const QString& pagamento,
                                    DataHora momento) {
        Demonstrativo d;
        d.Titular.Nome = nome;
        if (d.Titular.defineDocumento(documento))
            qFatal("documento de teste inválido: %s", qPrintable(documento));
        d.Titular.InscricaoEstadual = QStringLiteral("123.456.789");
        d.DataPagamento = Formato::textoParaData(pagamento);
        for (const QString& debito : debitos) {
            const QStringList campos = debito.split(u';');
            d.Debitos.append({campos[0], Formato::textoParaData(campos[1]), campos[2],
                              QStringLiteral("ICMS ") + campos[0]});
        }
        d.calcula(*fDados);
        return registroDeDemonstrativo(d, momento, identidadeTeste());
    }

private:
    RelogioFixo fRelogio{Datas::codificaData(2026, 12, 10)};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;
};
