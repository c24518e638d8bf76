#include "planilhas/LeituraPlanilha.h"

#include "planilhas/ErrosPlanilha.h"
#include "planilhas/LeitorOds.h"
#include "planilhas/LeitorXlsx.h"
#include "planilhas/PacoteZip.h"
#include "sistema/LeituraLimitada.h"
#include "sistema/MotivosFalha.h"

#include <QFile>

namespace {

// The signature of a compound file, the container of the binary formats before zip, and
// of a workbook encrypted with a password: its zip travels encrypted inside one.
const QByteArray ArquivoComposto = QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
// The name of that encrypted stream, in the compound file's UTF-16 directory.
const QByteArray PacoteCriptografado =
    QByteArrayLiteral("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0");

bool ehZip(const QByteArray& bytes) {
    // A local file header first; an empty container holds its end record alone.
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06");
}

} // namespace

std::optional<FormatoPlanilha> formatoPelaExtensao(const QString& caminho) {
    const QString nome = caminho.section(u'/', -1);
    for (const FormatoPlanilha f :
         {FormatoPlanilha::Csv, FormatoPlanilha::Xlsx, FormatoPlanilha::Ods})
        if (nome.endsWith(extensaoDoFormato(f), Qt::CaseInsensitive) &&
            nome.size() > extensaoDoFormato(f).size())
            return f;
    return std::nullopt;
}

QString extensaoDoFormato(FormatoPlanilha formato) {
    switch (formato) {
    case FormatoPlanilha::Csv:
        return QStringLiteral(".csv");
    case FormatoPlanilha::Xlsx:
        return QStringLiteral(".xlsx");
    case FormatoPlanilha::Ods:
        return QStringLiteral(".ods");
    }
    return QString();
}

QList<LinhaPlanilha> lePrimeiraFolha(const QString& caminho, FormatoPlanilha formato) {
    return *leFolha(caminho, formato, 0);
}

std::optional<QList<LinhaPlanilha>> leFolha(const QString& caminho, FormatoPlanilha formato,
                                            int indice) {
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        planilhaIlegivel(caminho, motivoDoArquivo(arquivo));
    QByteArray bytes;
    switch (leAteOLimite(arquivo, TamanhoMaximoPlanilha, bytes)) {
    case ResultadoLeitura::Completa:
        break;
    case ResultadoLeitura::GrandeDemais:
        planilhaGrandeDemais(
            caminho,
            QStringLiteral("o arquivo passa de %1").arg(textoLimite(TamanhoMaximoPlanilha)));
    case ResultadoLeitura::Falhou:
        planilhaIlegivel(caminho, motivoDoArquivo(arquivo));
    }
    return leFolha(bytes, caminho, formato, indice);
}

QList<LinhaPlanilha> lePrimeiraFolha(const QByteArray& bytes, const QString& nome,
                                     FormatoPlanilha formato) {
    return *leFolha(bytes, nome, formato, 0);
}

std::optional<QList<LinhaPlanilha>> leFolha(const QByteArray& bytes, const QString& nome,
                                            FormatoPlanilha formato, int indice) {
    Q_ASSERT(formato != FormatoPlanilha::Csv);
    const QString extensao = extensaoDoFormato(formato);
    if (bytes.isEmpty())
        naoEPlanilha(nome, extensao, QStringLiteral("o arquivo está vazio"));
    if (bytes.startsWith(ArquivoComposto)) {
        if (bytes.contains(PacoteCriptografado))
            planilhaProtegida(nome);
        naoEPlanilha(nome, extensao,
                     QStringLiteral("está num formato binário antigo; salve-a como .xlsx ou "
                                    ".ods no programa de planilhas"));
    }
    if (!ehZip(bytes))
        naoEPlanilha(nome, extensao);
    PacoteZip pacote(bytes, nome, extensao);
    return formato == FormatoPlanilha::Xlsx ? leFolhaXlsx(pacote, indice)
                                            : leFolhaOds(pacote, indice);
}
