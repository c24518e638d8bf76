#include "CsvPontoVirgula.h"

QStringList separaCampos(const QString& linha) {
    QStringList campos;
    QString atual;
    bool entreAspas = false;
    for (qsizetype i = 0; i < linha.size(); ++i) {
        const QChar c = linha[i];
        if (entreAspas) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < linha.size() && linha[i + 1] == QLatin1Char('"')) {
                    atual += c;
                    ++i;
                } else {
                    entreAspas = false;
                }
            } else {
                atual += c;
            }
        } else if (c == QLatin1Char('"')) {
            entreAspas = true;
        } else if (c == QLatin1Char(';')) {
            campos.append(atual);
            atual.clear();
        } else {
            atual += c;
        }
    }
    campos.append(atual);
    return campos;
}

QString juntaCampos(const QStringList& campos) {
    QStringList saida;
    for (const QString& campo : campos) {
        if (campo.contains(QLatin1Char(';')) || campo.contains(QLatin1Char('"')) ||
            campo.contains(QLatin1Char('\n'))) {
            QString citado = campo;
            citado.replace(QStringLiteral("\""), QStringLiteral("\"\""));
            saida.append(QLatin1Char('"') + citado + QLatin1Char('"'));
        } else {
            saida.append(campo);
        }
    }
    return saida.join(QLatin1Char(';'));
}
