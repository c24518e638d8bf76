#pragma once

// The update of the rate table from the central bank's public interface: series 4390
// ("Taxa de juros - Selic acumulada no mês") as JSON over HTTPS, asked from the month
// after the last one the table holds up to today, in windows of at most ten years (the
// interface refuses longer ones). Every month goes through the series import and the
// table's rules; the months of a window already read stay added when a later one fails.

#include "rede/ObtencaoHttp.h"
#include "valores/Relogio.h"
#include "refresh/ResultadoSerie.h"

#include <QList>
#include <QString>

class TBQDataModule;

struct DestinoBancoCentral {
    // The series' address up to "/dados", without the query, which is always added here.
    // Production takes padrao(), fixed at build time by the CMake cache variable
    // BELQOR_SERIE_BANCO_CENTRAL; tests pass a loopback server.
    QString endereco;
    OpcoesObtencao opcoes;

    static DestinoBancoCentral padrao();
};

struct JanelaConsulta {
    DataHora Inicio = 0;
    DataHora Fim = 0;
};

class AtualizacaoBancoCentral {
public:
    AtualizacaoBancoCentral(TBQDataModule& dados, const Relogio& relogio,
                            DestinoBancoCentral destino = DestinoBancoCentral::padrao());

    // Never throws for a failure of the exchange: it ends the result with one message that
    // says what happened and what the user can do instead.
    ResultadoSerie executa();

    // Consecutive windows from `inicio` to `hoje`, each at most ten years long.
    static QList<JanelaConsulta> janelas(DataHora inicio, DataHora hoje);
    // endereco?formato=json&dataInicial=dd/mm/aaaa&dataFinal=dd/mm/aaaa
    static QByteArray enderecoDaJanela(const QString& endereco, const JanelaConsulta& janela);

private:
    DataHora primeiroMesPedido();

    TBQDataModule& fDados;
    const Relogio& fRelogio;
    DestinoBancoCentral fDestino;
};
