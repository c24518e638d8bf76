#include "demonstrativo/ExportacaoDemonstrativo.h"

#include "calc/ColunasResultado.h"
#include "calc/FormataResultado.h"
#include "demonstrativo/Demonstrativo.h"
#include "planilhas/CsvPontoVirgula.h"
#include "valores/Formatacao.h"

namespace {

QString textoDaData(DataHora data) {
    return data == Datas::Vazia ? QString() : Formato::dataParaTexto(data);
}

void escreve(const Demonstrativo& d, EscritorCsv& escritor) {
    for (const QString& nome :
         {QStringLiteral("referencia"), QStringLiteral("vencimento"), QStringLiteral("valor"),
          QStringLiteral("descricao"), QStringLiteral("pagamento")})
        escritor.valor(nome);
    for (const QString& nome : nomesColunasResultado())
        escritor.valor(nome);
    // After the batch's columns, so the rows keep its layout.
    const bool extras = colunasExtras(d);
    if (extras)
        for (const QString& nome : {QStringLiteral("previsao"), QStringLiteral("pago"),
                                    QStringLiteral("principalEmAberto")})
            escritor.valor(nome);
    escritor.fimDaLinha();

    const QString pagamento = textoDaData(d.DataPagamento);
    TextosResultado textos;
    for (qsizetype i = 0; i < d.Debitos.size(); ++i) {
        const Debito& debito = d.Debitos[i];
        escritor.valor(debito.Referencia);
        escritor.valor(textoDaData(debito.Vencimento));
        escritor.valor(debito.Valor);
        escritor.valor(debito.Descricao);
        escritor.valor(pagamento);
        const ResultadoDebito* r = i < d.resultados().size() ? &d.resultados()[i] : nullptr;
        const TextosResultado::Colunas& colunas =
            r && r->Resultado ? textos.de(*r->Resultado)
                              : textos.deFalha(r ? QStringView(r->Mensagem) : QStringView());
        for (const QStringView texto : colunas)
            escritor.valor(texto);
        if (extras && r && r->Resultado) {
            escritor.valor(r->previsao() ? marcaPrevisao() : QString());
            escritor.valor(formataReais(r->Pagamentos.Pago));
            escritor.valor(formataReais(r->Resultado->ValorICMS));
        } else if (extras) {
            for (int vazio = 0; vazio < 3; ++vazio)
                escritor.valor(QStringView());
        }
        escritor.fimDaLinha();
    }
    escritor.descarrega();
}

} // namespace

void exportaCsv(const Demonstrativo& demonstrativo, ArquivoSaida& destino) {
    EscritorCsv escritor(destino);
    escreve(demonstrativo, escritor);
}

void exportaCsv(const Demonstrativo& demonstrativo, QTextStream& saida) {
    EscritorCsv escritor(saida);
    escreve(demonstrativo, escritor);
}
