// The readers of .xlsx and .ods files: the bytes as a file of each kind and, when they are
// no zip container, as the sheet's XML inside a container made for them (content.xml of an
// .ods, the first sheet of an .xlsx), so the XML readers are reached too.
// Property: no crash; a sheet read has rows in increasing order within the sheet's bounds,
// each holding something, its last cell not empty, no more cells than the cap; a refusal is
// an ErroPlanilha whose message names the file; nothing goes to Qt's log (Qt's and QuaZip's
// English on standard error).

#include "fuzz/Alvo.h"
#include "planilhas/ErrosPlanilha.h"
#include "planilhas/LeituraPlanilha.h"
#include "planilhas/MontagemFolha.h"

#include <QBuffer>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace {

void semTextoNoLog(QtMsgType, const QMessageLogContext&, const QString& texto) {
    propriedadeViolada("nada no log do Qt", texto);
}

QByteArray zip(const QList<std::pair<QString, QByteArray>>& membros) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip pacote(&buffer);
    if (!pacote.open(QuaZip::mdCreate))
        propriedadeViolada("zip montado", QString());
    for (const auto& [nome, conteudo] : membros) {
        QuaZipFile membro(&pacote);
        if (!membro.open(QIODevice::WriteOnly, QuaZipNewInfo(nome)) ||
            membro.write(conteudo) != conteudo.size())
            propriedadeViolada("membro gravado", nome);
        membro.close();
    }
    pacote.close();
    return bytes;
}

void confere(const QByteArray& bytes, FormatoPlanilha formato, const QString& detalhe) {
    const QString nome = formato == FormatoPlanilha::Xlsx ? QStringLiteral("entrada.xlsx")
                                                          : QStringLiteral("entrada.ods");
    try {
        const QList<LinhaPlanilha> linhas = lePrimeiraFolha(bytes, nome, formato);
        qint64 anterior = 0, celulas = 0;
        for (const LinhaPlanilha& linha : linhas) {
            EXIGE(linha.numero > anterior && linha.numero <= MontagemFolha::MaximoLinhas, detalhe);
            EXIGE(!linha.celulas.isEmpty() && !linha.celulas.last().vazia(), detalhe);
            EXIGE(linha.celulas.size() <= MontagemFolha::MaximoColunas, detalhe);
            celulas += linha.celulas.size();
            anterior = linha.numero;
        }
        EXIGE(celulas <= MontagemFolha::MaximoCelulas, detalhe);
    } catch (const ErroPlanilha& e) {
        EXIGE(e.mensagem().contains(QLatin1Char('"') + nome + QLatin1Char('"')), detalhe);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    static const QtMessageHandler anterior = qInstallMessageHandler(semTextoNoLog);
    Q_UNUSED(anterior);
    const QByteArray bytes = bytesDe(dados, tamanho);
    const QString detalhe = QString::fromLatin1(bytes.left(4096).toHex());
    confere(bytes, FormatoPlanilha::Xlsx, detalhe);
    confere(bytes, FormatoPlanilha::Ods, detalhe);
    if (bytes.startsWith("PK"))
        return 0;
    confere(zip({{QStringLiteral("content.xml"), bytes}}), FormatoPlanilha::Ods, detalhe);
    confere(zip({{QStringLiteral("xl/workbook.xml"),
                  "<workbook xmlns:r=\"urn:r\"><sheets><sheet r:id=\"f\"/></sheets></workbook>"},
                 {QStringLiteral("xl/_rels/workbook.xml.rels"),
                  "<Relationships><Relationship Id=\"f\" Type=\"/worksheet\" "
                  "Target=\"folha.xml\"/><Relationship Id=\"t\" Type=\"/sharedStrings\" "
                  "Target=\"textos.xml\"/></Relationships>"},
                 {QStringLiteral("xl/textos.xml"), "<sst><si><t>a</t></si></sst>"},
                 {QStringLiteral("xl/folha.xml"), bytes}}),
            FormatoPlanilha::Xlsx, detalhe);
    return 0;
}
