#include "cli/ComandoTabela.h"

#include "valores/Formatacao.h"
#include "cli/SessaoCli.h"

#include <algorithm>
#include <limits>

namespace {

struct LinhaTabela {
    DataHora mes;
    QString taxa;
};

QString mesAno(DataHora mes) {
    return Formato::formataData(QStringLiteral("mm/yyyy"), mes);
}

} // namespace

int comandoTabela(SessaoCli& sessao, std::optional<DataHora> desde) {
    // Without --desde the listing starts at the table's first month, even one before the
    // date scale's origin (a negative value).
    const DataHora inicio = desde.value_or(-std::numeric_limits<DataHora>::infinity());
    sessao.abreTabela();
    TBQDataModule& dados = sessao.dados();
    QList<LinhaTabela> linhas;
    for (dados.CDSSelic.primeiro(); !dados.CDSSelic.fimDaTabela(); dados.CDSSelic.proximo()) {
        const DataHora data = dados.CDSSelicData->comoDataHora();
        if (data >= inicio)
            linhas.append({Datas::primeiroDiaDoMes(data), dados.CDSSelicValor->textoExibicao()});
    }
    sessao.fechaTabela();
    std::stable_sort(linhas.begin(), linhas.end(),
                     [](const LinhaTabela& a, const LinhaTabela& b) { return a.mes < b.mes; });

    QTextStream& saida = sessao.saida;
    saida << "Mês" << '\t' << "Selic (%)" << '\n';
    for (const LinhaTabela& l : linhas)
        saida << mesAno(l.mes) << '\t' << l.taxa << '\n';
    if (linhas.isEmpty()) {
        saida << "Nenhum mês cadastrado." << '\n';
        saida.flush();
        return 0;
    }
    QStringList ausentes;
    qsizetype i = 0;
    for (DataHora mes = linhas.first().mes; mes <= linhas.last().mes;
         mes = Datas::incrementaMes(mes, 1)) {
        bool presente = false;
        while (i < linhas.size() && linhas[i].mes <= mes) {
            presente = presente || linhas[i].mes == mes;
            ++i;
        }
        if (!presente)
            ausentes.append(mesAno(mes));
    }
    saida << '\n'
          << linhas.size() << (linhas.size() == 1 ? " mês de " : " meses de ")
          << mesAno(linhas.first().mes) << " a " << mesAno(linhas.last().mes) << ". ";
    if (ausentes.isEmpty())
        saida << "Nenhum mês ausente." << '\n';
    else
        saida << "Meses ausentes: " << ausentes.join(QStringLiteral(", ")) << '\n';
    saida.flush();
    return 0;
}
