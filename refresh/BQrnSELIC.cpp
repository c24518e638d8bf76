#include "refresh/BQrnSELIC.h"

#include "ratetable/BQDataModule.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"

#include <dlfcn.h>

namespace {

// Characters first..first+count-1 of texto, counting from 1; shorter or empty past the end.
QString pedaco(const QString& texto, qsizetype primeiro, qsizetype quantidade) {
    return texto.mid(primeiro - 1, quantidade);
}

QString hex8(quintptr valor) {
    return QStringLiteral("%1").arg(valor, 8, 16, QLatin1Char('0')).toUpper();
}

[[gnu::noinline]] const void* enderecoAqui() {
    return __builtin_return_address(0);
}

} // namespace

bool TSelicRN::ImportaTaxas(DocumentoXML& XML) {
    importaTaxasComResultado(XML);
    return true;
}

ResultadoSerie TSelicRN::importaTaxasComResultado(DocumentoXML& XML) {
    XML.defineAtivo(true);
    ResultadoSerie resultado;
    int entrada = 0;
    try {
        importa(XML, resultado, entrada);
    } catch (const std::exception& e) {
        const QString mensagem = mensagemDe(e);
        const QString linha =
            linhaLog(fRelogio.agora(), textoLocalizacao(enderecoAqui()), mensagem);
        fDados.ConfigApp.WriteArqLog(linha);
        resultado.Falha = textoParada(entrada, mensagem);
    }
    return resultado;
}

void TSelicRN::importa(DocumentoXML& XML, ResultadoSerie& resultado, int& entrada) {
    QDomElement lista;
    for (QDomNode n = XML.documento().firstChild(); !n.isNull(); n = n.nextSibling())
        if (n.isElement() && n.nodeName() == QLatin1String("list")) {
            lista = n.toElement();
            break;
        }
    if (lista.isNull())
        throw ErroBelqor(QStringLiteral("Nó \"list\" não encontrado."));

    const QDomNodeList entradas = lista.childNodes();
    const int n = entradas.size();
    const DataHora hoje = fRelogio.hoje();
    for (int i = 0; i < n; ++i) {
        entrada = i + 1;
        const QDomNode item = entradas.at(i);
        const QString textoData = textoSimples(XML.filho(item, QStringLiteral("dataSelic")));
        const QString data = pedaco(textoData, 9, 2) + QLatin1Char('/') + pedaco(textoData, 6, 2) +
                             QLatin1Char('/') + pedaco(textoData, 1, 4);
        const DataHora dt = Formato::textoParaData(data);
        QString textoValor = textoSimples(XML.filho(item, QStringLiteral("valorTaxaSelic")));
        textoValor.replace(QLatin1Char('.'), QLatin1Char(','));
        const double vlr = static_cast<double>(Formato::textoParaEstendido(textoValor));
        resultado.Meses << desfechoDaInsercao(dt, vlr, fDados.insereRegistroComDesfecho(dt, vlr),
                                              hoje);
    }
}

QString TSelicRN::textoParada(int entrada, const QString& mensagem) const {
    QString texto = entrada > 0
                        ? QStringLiteral("A leitura do documento parou na entrada %1").arg(entrada)
                        : QStringLiteral("A leitura do documento parou antes da primeira entrada");
    // Logging switches itself off when the log cannot be written: then no log is claimed.
    if (fDados.ConfigApp.GeraLog())
        texto += QStringLiteral(" (registrada em %1)").arg(fDados.ConfigApp.caminhoArqLog());
    return texto + QStringLiteral(": ") + mensagem;
}

QString TSelicRN::textoLocalizacao(const void* endereco) {
    const auto absoluto = reinterpret_cast<quintptr>(endereco);
    quintptr inicioCodigo = 0;
    Dl_info info{};
    if (dladdr(endereco, &info) != 0 && info.dli_fbase != nullptr)
        inicioCodigo = reinterpret_cast<quintptr>(info.dli_fbase) + 4096;
    return QStringLiteral("(%1) [%2]").arg(hex8(absoluto - inicioCodigo), hex8(absoluto));
}

QString TSelicRN::linhaLog(DataHora momento, const QString& localizacao, const QString& mensagem) {
    return Formato::dataHoraParaTexto(momento) + QStringLiteral(" - ") + localizacao +
           QStringLiteral(" - ") + mensagem;
}
