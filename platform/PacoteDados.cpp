#include "PacoteDados.h"

#include "Erros.h"
#include "Formatacao.h"
#include "LeituraLimitada.h"
#include "ProfundidadeXml.h"

#include <QDomDocument>
#include <QFile>
#include <QSaveFile>
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
            const QDate d = QDate::fromString(texto, FormatoData);
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

PacoteDados PacoteDados::le(const QString& caminho) {
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw ErroTabela(QStringLiteral("Não foi possível ler o arquivo de dados \"%1\": %2")
                             .arg(caminho, arquivo.errorString()));
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
                             .arg(caminho, arquivo.errorString()));
    }
    if (!aninhamentoAceitavel(conteudo))
        danificado(caminho, textoAninhamentoExcessivo());
    QDomDocument documento;
    QString erro;
    int linha = 0, coluna = 0;
    if (!documento.setContent(conteudo, false, &erro, &linha, &coluna))
        danificado(caminho,
                   QStringLiteral("%1 (linha %2, coluna %3)").arg(erro).arg(linha).arg(coluna));

    const QDomElement raiz = documento.documentElement();
    if (raiz.tagName() != QLatin1String("DATAPACKET"))
        danificado(caminho, QStringLiteral("falta o elemento DATAPACKET"));
    const QDomElement campos = raiz.firstChildElement(QStringLiteral("METADATA"))
                                   .firstChildElement(QStringLiteral("FIELDS"));
    if (campos.isNull())
        danificado(caminho, QStringLiteral("faltam as definições dos campos"));

    PacoteDados pacote;
    for (QDomElement f = campos.firstChildElement(QStringLiteral("FIELD")); !f.isNull();
         f = f.nextSiblingElement(QStringLiteral("FIELD"))) {
        DefinicaoCampo definicao;
        definicao.nome = f.attribute(QStringLiteral("attrname"));
        if (definicao.nome.isEmpty())
            danificado(caminho, QStringLiteral("campo sem nome"));
        if (!tipoDoNome(f.attribute(QStringLiteral("fieldtype")), definicao.tipo))
            danificado(caminho, QStringLiteral("tipo desconhecido '%1' do campo %2")
                                    .arg(f.attribute(QStringLiteral("fieldtype")), definicao.nome));
        definicao.obrigatorio = f.attribute(QStringLiteral("required")) == QLatin1String("true");
        for (const auto& outro : pacote.campos)
            if (outro.nome.compare(definicao.nome, Qt::CaseInsensitive) == 0)
                danificado(caminho, QStringLiteral("campo %1 repetido").arg(definicao.nome));
        pacote.campos.append(definicao);
    }
    if (pacote.campos.isEmpty())
        danificado(caminho, QStringLiteral("nenhum campo definido"));

    const QDomElement dados = raiz.firstChildElement(QStringLiteral("ROWDATA"));
    if (dados.isNull())
        danificado(caminho, QStringLiteral("faltam as linhas (ROWDATA)"));
    int numero = 0;
    for (QDomElement r = dados.firstChildElement(QStringLiteral("ROW")); !r.isNull();
         r = r.nextSiblingElement(QStringLiteral("ROW"))) {
        ++numero;
        QList<QVariant> valores(pacote.campos.size());
        const QDomNamedNodeMap atributos = r.attributes();
        for (int a = 0; a < atributos.count(); ++a) {
            const QDomAttr atributo = atributos.item(a).toAttr();
            qsizetype indice = -1;
            for (qsizetype c = 0; c < pacote.campos.size(); ++c)
                if (pacote.campos[c].nome == atributo.name())
                    indice = c;
            if (indice < 0)
                danificado(caminho, QStringLiteral("linha %1: campo desconhecido %2")
                                        .arg(numero)
                                        .arg(atributo.name()));
            if (!valorDoTexto(pacote.campos[indice].tipo, atributo.value(), valores[indice]))
                danificado(caminho, QStringLiteral("linha %1: valor inválido '%2' no campo %3")
                                        .arg(numero)
                                        .arg(atributo.value(), atributo.name()));
        }
        pacote.linhas.append(valores);
    }
    return pacote;
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
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw erro(arquivo.errorString());
    // QSaveFile::commit() does not notice a short write (a full disk, a size limit), so
    // every byte is checked here before the new file may replace the old one.
    qint64 escritos = 0;
    while (escritos < conteudo.size()) {
        const qint64 n = arquivo.write(conteudo.constData() + escritos, conteudo.size() - escritos);
        if (n <= 0) {
            const QString motivo = arquivo.errorString();
            arquivo.cancelWriting();
            throw erro(motivo);
        }
        escritos += n;
    }
    if (!arquivo.flush() || arquivo.size() != conteudo.size()) {
        const QString motivo = arquivo.errorString();
        arquivo.cancelWriting();
        throw erro(motivo);
    }
    if (auto& gancho = ganchoAntesDeConfirmar()) {
        try {
            gancho();
        } catch (const std::exception& e) {
            arquivo.cancelWriting();
            throw erro(mensagemDe(e));
        }
    }
    if (!arquivo.commit())
        throw erro(arquivo.errorString());
}
