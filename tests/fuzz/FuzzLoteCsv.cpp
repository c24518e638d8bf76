// The batch's CSV reader: the bytes as a spreadsheet file given to `lote`.
// Property: no crash; every row read has as many raw texts as values, is not made of
// separators only, and starts on a line after the previous row's; a row whose raw texts
// leave a quote open, and only such a row, names the line of that quote, and the next row
// starts after that line (nothing after an open quote is taken into its row); a read that
// stops is an ErroEntradaSaida with a message.

#include "fuzz/Alvo.h"
#include "planilhas/CsvPontoVirgula.h"
#include "valores/Erros.h"

#include <QBuffer>

namespace {

// Whether the quotes of a row's raw texts leave one open: a run of an odd number of quotes
// opens or closes a quoted part (inside one, two quotes stand for one), an even run keeps
// the state.
bool deixaAspaAberta(const QStringList& brutos) {
    bool aberta = false;
    for (const QString& bruto : brutos) {
        qsizetype corrida = 0;
        for (const QChar c : bruto + QLatin1Char(' ')) {
            if (c == QLatin1Char('"')) {
                ++corrida;
                continue;
            }
            if (corrida % 2 != 0)
                aberta = !aberta;
            corrida = 0;
        }
    }
    return aberta;
}

} // namespace

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
            EXIGE(deixaAspaAberta(linha.brutos) == (linha.aspaAberta != 0), detalhe);
            EXIGE(linha.aspaAberta == 0 || linha.aspaAberta >= linha.numero, detalhe);
            EXIGE(linha.aspaAberta == 0 ||
                      !linha.brutos.last()
                           .sliced(linha.brutos.last().lastIndexOf(QLatin1Char('"')))
                           .contains(QLatin1Char('\n')),
                  detalhe);
            anterior = qMax(linha.numero, linha.aspaAberta);
        }
    } catch (const ErroEntradaSaida& e) {
        EXIGE(!e.mensagem().isEmpty(), detalhe);
    }
    return 0;
}
