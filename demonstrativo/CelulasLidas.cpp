#include "demonstrativo/CelulasLidas.h"

#include "framework/ConfigApp.h"
#include "planilhas/FormasPlanilha.h"
#include "valores/Formatacao.h"

#include <QRegularExpression>

QString semAcentos(const QString& texto) {
    QString limpo;
    for (const QChar c : texto.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            limpo += c.toLower();
    return limpo.simplified();
}

QString citacao(const CelulaPlanilha& celula) {
    QString texto;
    switch (celula.tipo) {
    case CelulaPlanilha::Tipo::Vazia:
        break;
    case CelulaPlanilha::Tipo::Numero:
        texto = numeroDaPlanilha(celula.numero);
        break;
    case CelulaPlanilha::Tipo::Data:
        texto = Formato::dataParaTexto(celula.numero);
        break;
    case CelulaPlanilha::Tipo::Texto:
        texto = emUmaLinha(celula.texto.trimmed());
        break;
    }
    constexpr qsizetype Maximo = 40;
    if (texto.size() > Maximo)
        texto = texto.first(Maximo - 1) + QChar(0x2026);
    return QLatin1Char('"') + texto + QLatin1Char('"');
}

std::optional<QString> mesAnoDoTexto(const QString& texto) {
    static const QRegularExpression forma(QStringLiteral("^(\\d{1,2})/(\\d{4})$"));
    const auto achado = forma.match(texto.trimmed());
    if (!achado.hasMatch())
        return std::nullopt;
    const int mes = achado.capturedView(1).toInt();
    if (mes < 1 || mes > 12)
        return std::nullopt;
    return QStringLiteral("%1/%2").arg(mes, 2, 10, QLatin1Char('0')).arg(achado.capturedView(2));
}

std::optional<QString> valorDaCelula(const CelulaPlanilha& celula) {
    static const QRegularExpression forma(QStringLiteral("^\\d*,\\d\\d$"));
    QString texto;
    if (celula.tipo == CelulaPlanilha::Tipo::Numero)
        texto = valorDaPlanilha(numeroDaPlanilha(celula.numero));
    else if (celula.tipo == CelulaPlanilha::Tipo::Texto)
        texto = valorDaPlanilha(celula.texto).trimmed();
    if (forma.match(texto).hasMatch())
        return texto;
    return std::nullopt;
}

std::optional<QString> mesAnoDaCelula(const CelulaPlanilha& celula) {
    if (celula.tipo == CelulaPlanilha::Tipo::Data)
        return Formato::mesAno(celula.numero);
    if (celula.tipo == CelulaPlanilha::Tipo::Texto)
        return mesAnoDoTexto(celula.texto);
    return std::nullopt;
}

std::optional<DataHora> dataDaCelula(const CelulaPlanilha& celula) {
    if (celula.tipo == CelulaPlanilha::Tipo::Data)
        return DataHora(Datas::parteInteira(celula.numero));
    DataHora data = 0;
    if (celula.tipo == CelulaPlanilha::Tipo::Texto &&
        Formato::tentaTextoParaData(dataDaPlanilha(celula.texto).trimmed(), data))
        return DataHora(Datas::parteInteira(data));
    return std::nullopt;
}

QString descricaoDaCelula(const CelulaPlanilha& celula) {
    switch (celula.tipo) {
    case CelulaPlanilha::Tipo::Numero:
        return numeroDaPlanilha(celula.numero);
    case CelulaPlanilha::Tipo::Data:
        return Formato::dataParaTexto(celula.numero);
    case CelulaPlanilha::Tipo::Texto:
        return celula.texto.trimmed();
    case CelulaPlanilha::Tipo::Vazia:
        break;
    }
    return QString();
}

bool semConteudo(const CelulaPlanilha& celula) {
    return celula.vazia() || (celula.tipo == CelulaPlanilha::Tipo::Texto &&
                              QStringView(celula.texto).trimmed().isEmpty());
}
