#include "demonstrativo/ExportacaoDemonstrativo.h"

#include "demonstrativo/Demonstrativo.h"
#include "planilhas/LeituraPlanilha.h"
#include "sistema/ArquivoSaida.h"
#include "valores/Erros.h"

bool colunasExtras(const Demonstrativo& demonstrativo) {
    return demonstrativo.temPagamentos() || !demonstrativo.mesesEstimados().isEmpty();
}

void exportaDemonstrativo(const Demonstrativo& demonstrativo, const QString& caminho) {
    const auto formato = formatoPelaExtensao(caminho);
    if (formato != FormatoPlanilha::Xlsx && formato != FormatoPlanilha::Csv)
        throw ErroBelqor(QStringLiteral("O demonstrativo é exportado em .xlsx ou .csv: \"%1\" não "
                                        "tem nenhuma dessas extensões.")
                             .arg(caminho));
    ArquivoSaida destino(caminho);
    destino.abre();
    if (formato == FormatoPlanilha::Xlsx)
        exportaXlsx(demonstrativo, destino);
    else
        exportaCsv(demonstrativo, destino);
    destino.conclui();
}
