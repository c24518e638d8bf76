#include "valores/ConfiguracaoRegional.h"

namespace {

// Qt's pattern letters to the desktop's: M is month, m minutes, H/h hours.
QString padraoDoQt(const QString& qt) {
    QString resultado;
    for (qsizetype i = 0; i < qt.size(); ++i) {
        const QChar c = qt.at(i);
        if (c == QLatin1Char('M'))
            resultado += QLatin1Char('m');
        else if (c == QLatin1Char('m'))
            resultado += QLatin1Char('n');
        else if (c == QLatin1Char('H'))
            resultado += QLatin1Char('h');
        else
            resultado += c;
    }
    return resultado;
}

QChar primeiroSeparador(const QString& padrao, QChar padraoSeNenhum) {
    for (const QChar c : padrao)
        if (!c.isLetter())
            return c;
    return padraoSeNenhum;
}

// The unset C/POSIX locale, which counts as Brazilian Portuguese.
bool ehLocaleC(const QLocale& locale) {
    return locale.language() == QLocale::C;
}

} // namespace

ConfiguracaoRegional ConfiguracaoRegional::brasileira() {
    return ConfiguracaoRegional{};
}

ConfiguracaoRegional ConfiguracaoRegional::doSistema() {
    const QLocale sistema = QLocale::system();
    if (ehLocaleC(sistema))
        return brasileira();
    return deLocale(sistema);
}

QLocale ConfiguracaoRegional::localeDosWidgets(const QLocale& sistema) {
    return ehLocaleC(sistema) ? QLocale(QLocale::Portuguese, QLocale::Brazil) : sistema;
}

ConfiguracaoRegional ConfiguracaoRegional::deLocale(const QLocale& locale) {
    ConfiguracaoRegional cfg;
    const QString data = locale.dateFormat(QLocale::ShortFormat);
    cfg.separadorData = primeiroSeparador(data, QLatin1Char('/'));
    QString dataCurta = padraoDoQt(data);
    dataCurta.replace(cfg.separadorData, QLatin1Char('/'));
    cfg.padraoDataCurta = dataCurta;

    // Qt's long time carries the time zone ("HH:mm:ss t"); the desktop's has none.
    QString hora = locale.timeFormat(QLocale::LongFormat);
    hora.remove(QLatin1Char('t'));
    hora = hora.trimmed();
    cfg.separadorHora = primeiroSeparador(hora, QLatin1Char(':'));
    hora.replace(cfg.separadorHora, QLatin1Char(':'));
    cfg.formatoHoraLonga = padraoDoQt(hora);

    const QString decimal = locale.decimalPoint();
    const QString milhar = locale.groupSeparator();
    if (!decimal.isEmpty())
        cfg.separadorDecimal = decimal.at(0);
    if (!milhar.isEmpty())
        cfg.separadorMilhar = milhar.at(0);
    return cfg;
}

ConfiguracaoRegional& regional() {
    static ConfiguracaoRegional atual = ConfiguracaoRegional::doSistema();
    return atual;
}
