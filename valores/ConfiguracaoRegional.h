#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

// The regional settings the program formats and reads text with. Patterns use the
// desktop's tokens: d/dd day, m/mm month (minutes after h), yyyy year, h/hh hours,
// n/nn minutes, s/ss seconds; "/" and ":" stand for the date and time separators.
struct ConfiguracaoRegional {
    QChar separadorData = QLatin1Char('/');
    QChar separadorHora = QLatin1Char(':');
    QChar separadorDecimal = QLatin1Char(',');
    QChar separadorMilhar = QLatin1Char('.');
    QString padraoDataCurta = QStringLiteral("dd/mm/yyyy");
    QString formatoHoraLonga = QStringLiteral("hh:nn:ss");

    // Same settings, same texts: what a cache of formatted or parsed text is keyed by.
    bool operator==(const ConfiguracaoRegional&) const = default;

    // Brazilian Portuguese, as a desktop set to it shows it.
    static ConfiguracaoRegional brasileira();
    // The system's settings; the unset C/POSIX locale counts as Brazilian Portuguese.
    static ConfiguracaoRegional doSistema();
    static ConfiguracaoRegional deLocale(const QLocale& locale);

    // The locale Qt's widgets follow (month and day names in the date pickers' calendar):
    // the system's, or Brazilian Portuguese under the unset C/POSIX locale, as above. The
    // application makes it Qt's default at start.
    static QLocale localeDosWidgets(const QLocale& sistema = QLocale::system());
};

// The process-wide settings that formatting and conversion use by default. Read from
// the system at first use; the main window sets the short date pattern at start, and
// tests replace the whole value.
ConfiguracaoRegional& regional();
