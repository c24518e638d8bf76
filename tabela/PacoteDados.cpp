#include "tabela/PacoteDados.h"

#include "sistema/ArquivoSaida.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"
#include "sistema/LeituraLimitada.h"
#include "sistema/MotivosFalha.h"
#include "sistema/ProfundidadeXml.h"

#include <QFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <charconv>
#include <cmath>
#include <string>

namespace {

struct NomeTipo {
    TipoCampo tipo;
    const char* nome;
};

constexpr NomeTipo NomesTipos[] = {
    {TipoCampo::Texto, "string"},
    {TipoCampo::TextoLargo, "string.uni"},
    {TipoCampo::TextoFixo, "string.fixed"},
    {TipoCampo::Inteiro8, "i1"},
    {TipoCampo::Inteiro16, "i2"},
    {TipoCampo::Inteiro32, "i4"},
    {TipoCampo::Inteiro64, "i8"},
    {TipoCampo::Natural8, "ui1"},
    {TipoCampo::Natural16, "ui2"},
    {TipoCampo::Natural32, "ui4"},
    {TipoCampo::AutoIncremento, "i4.autoinc"},
    {TipoCampo::Flutuante, "r8"},
    {TipoCampo::FlutuanteSimples, "r4"},
    {TipoCampo::Estendido, "r10"},
    {TipoCampo::Moeda, "r8.money"},
    {TipoCampo::Decimal, "fixed"},
    {TipoCampo::Data, "date"},
    {TipoCampo::Hora, "time"},
    {TipoCampo::DataHora, "dateTime"},
    {TipoCampo::CarimboTempo, "SQLdateTime"},
    {TipoCampo::Logico, "boolean"},
    {TipoCampo::Bytes, "bin.hex"},
    {TipoCampo::Guid, "guid"},
    {TipoCampo::Binario, "bin.hex.Binary"},
    {TipoCampo::Memo, "bin.hex.Text"},
    {TipoCampo::MemoLargo, "bin.hex.WideText"},
    {TipoCampo::Grafico, "bin.hex.Graphics"},
};

bool tipoDoNome(const QString& nome, TipoCampo& tipo) {
    for (const auto& n : NomesTipos)
        if (nome == QLatin1String(n.nome)) {
            tipo = n.tipo;
            return true;
        }
    return false;
}

[[noreturn]] void danificado(const QString& caminho, const QString& detalhe) {
    throw ErroTabela(
        QStringLiteral("O arquivo de dados \"%1\" está danificado ou não é uma tabela: %2")
            .arg(caminho, detalhe));
}

const QString FormatoData = QStringLiteral("yyyyMMdd");
const QString FormatoHora = QStringLiteral("HH:mm:ss.zzz");
const QString FormatoDataHora = QStringLiteral("yyyyMMdd'T'HH:mm:ss.zzz");

QString textoDoValor(TipoCampo tipo, const QVariant& v) {
    switch (armazenamentoDe(tipo)) {
    case Armazenamento::Flutuante:
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    case Armazenamento::Moeda:
        return Moeda::deContagem(v.toLongLong()).textoDecimal();
    case Armazenamento::Data:
        if (tipo == TipoCampo::Data)
            return Datas::paraQDate(v.toDouble()).toString(FormatoData);
        if (tipo == TipoCampo::Hora)
            return Datas::paraQDateTime(v.toDouble()).time().toString(FormatoHora);
        return Datas::paraQDateTime(v.toDouble()).toString(FormatoDataHora);
    case Armazenamento::Logico:
        return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case Armazenamento::Bytes:
        return QString::fromLatin1(v.toByteArray().toBase64());
    case Armazenamento::Inteiro:
        return QString::number(v.toLongLong());
    case Armazenamento::Texto:
        break;
    }
    return v.toString();
}

// Every row's date goes through here, and the general date parser costs more than all
// the rest of the reading: eight ASCII digits forming a valid date are read directly,
// anything else goes to the general parser, which words and refuses it as before.
QDate dataDoTexto(const QString& texto) {
    if (texto.size() == 8) {
        int digitos[8];
        bool soDigitos = true;
        for (int i = 0; i < 8 && soDigitos; ++i) {
            const char16_t c = texto[i].unicode();
            soDigitos = c >= u'0' && c <= u'9';
            digitos[i] = c - u'0';
        }
        if (soDigitos) {
            const int ano = digitos[0] * 1000 + digitos[1] * 100 + digitos[2] * 10 + digitos[3];
            const int mes = digitos[4] * 10 + digitos[5];
            const int dia = digitos[6] * 10 + digitos[7];
            if (QDate::isValid(ano, mes, dia))
                return QDate(ano, mes, dia);
        }
    }
    return QDate::fromString(texto, FormatoData);
}

bool leDouble(const QString& texto, double& valor) {
    const std::string s = texto.toStdString();
    const auto r = std::from_chars(s.data(), s.data() + s.size(), valor);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(valor);
}

// nullopt-like: returns false when the text is not a value of the type.
bool valorDoTexto(TipoCampo tipo, const QString& texto, QVariant& valor) {
    switch (armazenamentoDe(tipo)) {
    case Armazenamento::Flutuante: {
        double d = 0;
        if (!leDouble(texto, d))
            return false;
        valor = d;
        return true;
    }
    case Armazenamento::Moeda: {
        ConfiguracaoRegional ponto = ConfiguracaoRegional::brasileira();
        ponto.separadorDecimal = QLatin1Char('.');
        try {
            valor = QVariant::fromValue<qint64>(Formato::textoParaMoeda(texto, ponto).contagem());
        } catch (const ErroConversao&) {
            return false;
        }
        return true;
    }
    case Armazenamento::Data: {
        if (tipo == TipoCampo::Data) {
            const QDate d = dataDoTexto(texto);
            if (texto.size() != 8 || !d.isValid())
                return false;
            valor = Datas::deQDate(d);
            return true;
        }
        if (tipo == TipoCampo::Hora) {
            const QTime t = QTime::fromString(texto, FormatoHora);
            if (!t.isValid())
                return false;
            valor = Datas::deQDateTime(QDateTime(QDate(1899, 12, 30), t));
            return true;
        }
        const QDateTime dt = QDateTime::fromString(texto, FormatoDataHora);
        if (!dt.isValid())
            return false;
        valor = Datas::deQDateTime(dt);
        return true;
    }
    case Armazenamento::Logico:
        if (texto != QLatin1String("TRUE") && texto != QLatin1String("FALSE"))
            return false;
        valor = texto == QLatin1String("TRUE");
        return true;
    case Armazenamento::Bytes: {
        const auto r = QByteArray::fromBase64Encoding(texto.toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
        if (!r)
            return false;
        valor = *r;
        return true;
    }
    case Armazenamento::Inteiro: {
        bool ok = false;
        const qint64 n = texto.toLongLong(&ok);
        if (!ok)
            return false;
        valor = QVariant::fromValue<qint64>(n);
        return true;
    }
    case Armazenamento::Texto:
        break;
    }
    valor = texto;
    return true;
}

} // namespace

QString nomeTipoNoArquivo(TipoCampo tipo) {
    for (const auto& n : NomesTipos)
        if (n.tipo == tipo)
            return QLatin1String(n.nome);
    return QString();
}

std::function<void()>& PacoteDados::ganchoAntesDeConfirmar() {
    static std::function<void()> gancho;
    return gancho;
}

namespace {

// What one pass over the text gathers: the field definitions of the first METADATA's
// first FIELDS and the rows of the first ROWDATA, both directly under a DATAPACKET root.
// The file's meaning is checked only once the whole text is known to be well-formed, and
// always in the same order (root, fields, rows), whatever order the elements come in.
class LeituraPacote {
public:
    explicit LeituraPacote(const QString& caminho) : fCaminho(caminho) {}

    PacoteDados le(const QByteArray& conteudo);

private:
    void inicioDeElemento(QXmlStreamReader& xml);
    void fimDeElemento();
    void defineCampos();
    void acrescentaLinha(const QXmlStreamAttributes& atributos);
    // Keeps the first of the file's faults: it is the one reported.
    void falha(const QString& detalhe) {
        if (fFalha.isEmpty())
            fFalha = detalhe;
    }

    const QString& fCaminho;
    PacoteDados fPacote;
    int fProfundidade = 0;
    bool fViuDtd = false, fViuRaiz = false, fRaizCerta = false;
    bool fViuMetadados = false, fViuCampos = false, fViuDados = false;
    bool fEmMetadados = false, fEmCampos = false, fEmDados = false;
    bool fCamposProntos = false;
    QList<QXmlStreamAttributes> fDefinicoes;
    // Rows met before the fields were known wait here until they are.
    QList<QXmlStreamAttributes> fLinhasAdiadas;
    int fNumeroLinha = 0;
    QString fFalha;
};

PacoteDados LeituraPacote::le(const QByteArray& conteudo) {
    QXmlStreamReader xml(conteudo);
    xml.setNamespaceProcessing(false);
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            // Refused as soon as it goes too deep: the rest is never read.
            if (++fProfundidade > ProfundidadeMaximaXml)
                danificado(fCaminho, textoAninhamentoExcessivo());
            inicioDeElemento(xml);
            break;
        case QXmlStreamReader::EndElement:
            fimDeElemento();
            --fProfundidade;
            break;
        case QXmlStreamReader::DTD:
            // The reader lets a document type declaration through anywhere; XML allows
            // one, before the root.
            if (fViuDtd || fViuRaiz)
                danificado(fCaminho, QStringLiteral("declaração DOCTYPE fora do lugar (linha "
                                                    "%1, coluna %2)")
                                         .arg(xml.lineNumber())
                                         .arg(xml.columnNumber()));
            fViuDtd = true;
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        danificado(fCaminho, QStringLiteral("%1 (linha %2, coluna %3)")
                                 .arg(motivoDoXml(xml.error()))
                                 .arg(xml.lineNumber())
                                 .arg(xml.columnNumber()));

    if (!fRaizCerta)
        danificado(fCaminho, QStringLiteral("falta o elemento DATAPACKET"));
    if (!fViuCampos)
        danificado(fCaminho, QStringLiteral("faltam as definições dos campos"));
    if (fPacote.campos.isEmpty() && fFalha.isEmpty())
        danificado(fCaminho, QStringLiteral("nenhum campo definido"));
    if (!fFalha.isEmpty())
        danificado(fCaminho, fFalha);
    if (!fViuDados)
        danificado(fCaminho, QStringLiteral("faltam as linhas (ROWDATA)"));
    for (const auto& adiada : std::as_const(fLinhasAdiadas))
        acrescentaLinha(adiada);
    if (!fFalha.isEmpty())
        danificado(fCaminho, fFalha);
    return std::move(fPacote);
}

void LeituraPacote::inicioDeElemento(QXmlStreamReader& xml) {
    const QStringView nome = xml.qualifiedName();
    if (fProfundidade == 1) {
        fViuRaiz = true;
        fRaizCerta = nome == QLatin1String("DATAPACKET");
        return;
    }
    if (!fRaizCerta)
        return;
    if (fProfundidade == 2) {
        if (!fViuMetadados && nome == QLatin1String("METADATA"))
            fViuMetadados = fEmMetadados = true;
        else if (!fViuDados && nome == QLatin1String("ROWDATA"))
            fViuDados = fEmDados = true;
    } else if (fProfundidade == 3) {
        if (fEmMetadados && !fViuCampos && nome == QLatin1String("FIELDS"))
            fViuCampos = fEmCampos = true;
        else if (fEmDados && nome == QLatin1String("ROW")) {
            if (fCamposProntos)
                acrescentaLinha(xml.attributes());
            else
                fLinhasAdiadas.append(xml.attributes());
        }
    } else if (fProfundidade == 4 && fEmCampos && nome == QLatin1String("FIELD")) {
        fDefinicoes.append(xml.attributes());
    }
}

void LeituraPacote::fimDeElemento() {
    if (fProfundidade == 2) {
        fEmMetadados = fEmDados = false;
    } else if (fProfundidade == 3 && fEmCampos) {
        fEmCampos = false;
        defineCampos();
    }
}

void LeituraPacote::defineCampos() {
    fCamposProntos = true;
    for (const auto& f : std::as_const(fDefinicoes)) {
        DefinicaoCampo definicao;
        definicao.nome = f.value(QLatin1String("attrname")).toString();
        if (definicao.nome.isEmpty())
            return falha(QStringLiteral("campo sem nome"));
        const QString tipo = f.value(QLatin1String("fieldtype")).toString();
        if (!tipoDoNome(tipo, definicao.tipo))
            return falha(
                QStringLiteral("tipo desconhecido '%1' do campo %2").arg(tipo, definicao.nome));
        definicao.obrigatorio = f.value(QLatin1String("required")) == QLatin1String("true");
        for (const auto& outro : std::as_const(fPacote.campos))
            if (outro.nome.compare(definicao.nome, Qt::CaseInsensitive) == 0)
                return falha(QStringLiteral("campo %1 repetido").arg(definicao.nome));
        fPacote.campos.append(definicao);
    }
    fDefinicoes.clear();
}

void LeituraPacote::acrescentaLinha(const QXmlStreamAttributes& atributos) {
    ++fNumeroLinha;
    // Past the first fault nothing more is kept: the file is refused.
    if (!fFalha.isEmpty() || fPacote.campos.isEmpty())
        return;
    const auto& campos = fPacote.campos;
    QList<QVariant> valores(campos.size());
    for (const auto& atributo : atributos) {
        const QStringView nome = atributo.qualifiedName();
        qsizetype indice = -1;
        for (qsizetype c = 0; c < campos.size(); ++c)
            if (campos[c].nome == nome)
                indice = c;
        if (indice < 0)
            return falha(
                QStringLiteral("linha %1: campo desconhecido %2").arg(fNumeroLinha).arg(nome));
        if (!valorDoTexto(campos[indice].tipo, atributo.value().toString(), valores[indice]))
            return falha(QStringLiteral("linha %1: valor inválido '%2' no campo %3")
                             .arg(fNumeroLinha)
                             .arg(atributo.value(), nome));
    }
    fPacote.linhas.append(std::move(valores));
}

} // namespace

PacoteDados PacoteDados::le(const QString& caminho) {
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw ErroTabela(QStringLiteral("Não foi possível ler o arquivo de dados \"%1\": %2")
                             .arg(caminho, motivoDoArquivo(arquivo)));
    QByteArray conteudo;
    switch (leAteOLimite(arquivo, TamanhoMaximo, conteudo)) {
    case ResultadoLeitura::Completa:
        break;
    case ResultadoLeitura::GrandeDemais:
        throw ErroTabela(
            QStringLiteral(
                "O arquivo de dados \"%1\" é grande demais para uma tabela (mais de %2).")
                .arg(caminho, textoLimite(TamanhoMaximo)));
    case ResultadoLeitura::Falhou:
        throw ErroTabela(QStringLiteral("Não foi possível ler o arquivo de dados \"%1\": %2")
                             .arg(caminho, motivoDoArquivo(arquivo)));
    }
    return LeituraPacote(caminho).le(conteudo);
}

void PacoteDados::ajustaAosCampos(const QString& caminho,
                                  const std::vector<std::unique_ptr<Campo>>& camposTabela) {
    QList<qsizetype> origem;
    int dadosNaTabela = 0;
    for (const auto& c : camposTabela) {
        if (!c->ehDados())
            continue;
        ++dadosNaTabela;
        qsizetype indice = -1;
        for (qsizetype i = 0; i < campos.size(); ++i)
            if (campos[i].nome.compare(c->nome(), Qt::CaseInsensitive) == 0)
                indice = i;
        if (indice < 0)
            danificado(caminho, QStringLiteral("falta o campo %1").arg(c->nome()));
        if (campos[indice].tipo != c->tipo())
            danificado(caminho, QStringLiteral("o campo %1 tem tipo %2 em vez de %3")
                                    .arg(c->nome(), nomeTipoNoArquivo(campos[indice].tipo),
                                         nomeTipoNoArquivo(c->tipo())));
        origem.append(indice);
    }
    if (campos.size() != dadosNaTabela)
        danificado(caminho, QStringLiteral("o arquivo tem campos que a tabela não conhece"));
    // Files written here keep the table's order: nothing to move.
    bool mesmaOrdem = true;
    for (qsizetype i = 0; i < origem.size(); ++i)
        mesmaOrdem = mesmaOrdem && origem[i] == i;
    if (mesmaOrdem)
        return;
    for (auto& linha : linhas) {
        QList<QVariant> reordenada;
        for (const qsizetype i : origem)
            reordenada.append(linha.value(i));
        linha = reordenada;
    }
}

void PacoteDados::grava(const QString& caminho) const {
    // The whole document is built in memory first, so the file sees one write.
    QByteArray conteudo;
    QXmlStreamWriter xml(&conteudo);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("DATAPACKET"));
    xml.writeAttribute(QStringLiteral("Version"), QStringLiteral("2.0"));
    xml.writeStartElement(QStringLiteral("METADATA"));
    xml.writeStartElement(QStringLiteral("FIELDS"));
    for (const auto& c : campos) {
        xml.writeEmptyElement(QStringLiteral("FIELD"));
        xml.writeAttribute(QStringLiteral("attrname"), c.nome);
        xml.writeAttribute(QStringLiteral("fieldtype"), nomeTipoNoArquivo(c.tipo));
        xml.writeAttribute(QStringLiteral("required"),
                           c.obrigatorio ? QStringLiteral("true") : QStringLiteral("false"));
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("ROWDATA"));
    for (const auto& linha : linhas) {
        xml.writeEmptyElement(QStringLiteral("ROW"));
        for (qsizetype i = 0; i < campos.size(); ++i)
            if (!linha.value(i).isNull())
                xml.writeAttribute(campos[i].nome, textoDoValor(campos[i].tipo, linha[i]));
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();

    const auto erro = [&](const QString& motivo) {
        return ErroTabela(QStringLiteral("Não foi possível gravar o arquivo de dados \"%1\": %2")
                              .arg(caminho, motivo));
    };
    // A regular file is replaced whole or not at all: ArquivoSaida checks every byte before
    // the new file may take the old one's place.
    ArquivoSaida arquivo(caminho);
    try {
        arquivo.abre();
        arquivo.write(conteudo);
        if (auto& gancho = ganchoAntesDeConfirmar(); gancho && !arquivo.falhou())
            gancho();
        arquivo.conclui();
    } catch (const std::exception& e) {
        throw erro(arquivo.falhou() ? arquivo.motivo() : mensagemDe(e));
    }
}
