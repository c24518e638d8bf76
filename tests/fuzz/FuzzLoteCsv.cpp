// The batch's CSV reader: the bytes as a spreadsheet file given to `lote`.
// Property: no crash; every row read has as many raw texts as values, is not made of
// separators only, and starts on a line after the previous row's; a read that stops is an
// ErroEntradaSaida with a message.

#include "Alvo.h"
#include "CsvPontoVirgula.h"
#include "Erros.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    QByteArray conteudo = bytesDe(dados, tamanho);
    QBuffer origem(&conteudo);
    origem.open(QIODevice::ReadOnly);
    const QString detalhe = QString::fromLatin1(conteudo.toHex());
    try {
        LeitorCsv leitor(origem, QStringLiteral("entrada.csv"));
        LinhaCsv linha;
        qsizetype anterior = 0;
        while (leitor.proxima(linha)) {
            EXIGE(linha.brutos.size() == linha.valores.size(), detalhe);
            EXIGE(!linha.brutos.isEmpty(), detalhe);
            EXIGE(linha.numero > anterior, detalhe);
            bool algum = false;
            for (const QString& b : linha.brutos)
                algum = algum || !b.trimmed().isEmpty();
            EXIGE(algum, detalhe);
            anterior = linha.numero;
        }
    } catch (const ErroEntradaSaida& e) {
        EXIGE(!e.mensagem().isEmpty(), detalhe);
    }
    return 0;
}
