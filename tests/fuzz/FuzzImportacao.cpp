// The rate import: a rate document's text through TSelicRN::ImportaTaxas into an empty
// rate table, on 15/05/2024.
// Property: no crash; a document that does not parse is refused with a message; whatever
// the document, the table ends unfiltered, holds only first days of months that have
// ended, and the log holds at most one entry, on one line.

#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "fuzz/Alvo.h"
#include "refresh/BQrnSELIC.h"
#include "valores/Erros.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const QString texto = QString::fromUtf8(bytesDe(dados, tamanho));
    RelogioFixo relogio(Datas::codificaData(2024, 5, 15) + Datas::codificaHora(10, 0, 0));
    DialogosRoteiro dialogos;
    ModuloTeste modulo(relogio, dialogos, pastaDoAlvo());
    const QString log = modulo.ConfigApp.caminhoArqLog();
    QFile::remove(log);
    modulo.CDSSelic.criaVazia();

    DocumentoXML xml;
    xml.Linhas = texto.split(QLatin1Char('\n'));
    try {
        TSelicRN(modulo, relogio).ImportaTaxas(xml);
    } catch (const ErroBelqor& e) {
        EXIGE(!e.mensagem().isEmpty(), texto);
    }
    if (modulo.CDSSelic.estado() == TabelaMemoria::Estado::Inserindo)
        modulo.CDSSelic.cancelar();
    EXIGE(!modulo.CDSSelic.filtrado(), texto);
    const DataHora mesCorrente = Datas::codificaData(2024, 5, 1);
    for (modulo.CDSSelic.primeiro(); !modulo.CDSSelic.fimDaTabela(); modulo.CDSSelic.proximo()) {
        const DataHora data = modulo.CDSSelicData->comoDataHora();
        EXIGE(data == Datas::primeiroDiaDoMes(data) && data < mesCorrente, texto);
    }
    QFile arquivoLog(log);
    if (arquivoLog.open(QIODevice::ReadOnly)) {
        const QByteArray linhaLog = arquivoLog.readAll();
        EXIGE(linhaLog.endsWith("\r\n"), QString::fromLatin1(linhaLog));
        EXIGE(linhaLog.count('\r') == 1 && linhaLog.count('\n') == 1,
              QString::fromLatin1(linhaLog));
    }
    return 0;
}
