#include "demonstrativo/CelulasDemonstrativo.h"

#include "calc/FormataResultado.h"
#include "calc/ValidacaoCalculo.h"
#include "valores/Formatacao.h"

#include <QDate>

QString valorExibido(const QString& digitado) {
    QString texto = digitado.trimmed();
    if (texto.isEmpty() || ValidaValorSemSinal(texto))
        return digitado;
    try {
        return formataReais(Formato::textoParaMoeda(texto));
    } catch (const std::exception&) {
        // Beyond the currency's range: the calculation gives the message.
        return digitado;
    }
}

std::optional<DataHora> dataDaCelula(const QVariant& valor) {
    if (valor.typeId() == QMetaType::QDate) {
        const QDate data = valor.toDate();
        return data.isValid() ? Datas::deQDate(data) : Datas::Vazia;
    }
    const QString texto = valor.toString().trimmed();
    DataHora data = Datas::Vazia;
    if (!texto.isEmpty() && !Formato::tentaTextoParaData(texto, data))
        return std::nullopt;
    return data;
}

QString dataExibida(DataHora data) {
    return data == Datas::Vazia ? QString() : Formato::dataParaTexto(data);
}

QDate dataEditada(DataHora data) {
    return data == Datas::Vazia ? QDate() : Datas::paraQDate(data);
}
