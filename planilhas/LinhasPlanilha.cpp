#include "planilhas/LinhasPlanilha.h"

#include "planilhas/CsvPontoVirgula.h"
#include "planilhas/ErrosPlanilha.h"
#include "planilhas/LeituraPlanilha.h"
#include "sistema/MotivosFalha.h"
#include "valores/Erros.h"

#include <QFile>

void percorreCsv(LeitorCsv& leitor, const VisitaLinha& visita) {
    LinhaCsv registro;
    LinhaPlanilha linha;
    while (leitor.proximaMesmoVazia(registro)) {
        ++linha.numero;
        linha.celulas.clear();
        for (const QString& valor : std::as_const(registro.valores))
            linha.celulas.append(CelulaPlanilha::deTexto(valor));
        visita(linha, registro.aspaAberta != 0 ? textoAspaAberta(registro.aspaAberta) : QString());
    }
}

bool percorrePlanilha(const QString& caminho, const VisitaLinha& visita) {
    const auto formato = formatoPelaExtensao(caminho);
    if (!formato)
        throw ErroBelqor(QStringLiteral("O arquivo \"%1\" não é uma planilha .csv, .xlsx ou .ods: "
                                        "abra um arquivo com uma dessas extensões.")
                             .arg(caminho));
    if (*formato != FormatoPlanilha::Csv) {
        for (const LinhaPlanilha& linha : lePrimeiraFolha(caminho, *formato))
            visita(linha, QString());
        return false;
    }
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        planilhaIlegivel(caminho, motivoDoArquivo(arquivo));
    LeitorCsv leitor(arquivo, caminho);
    percorreCsv(leitor, visita);
    return leitor.windows1252();
}
