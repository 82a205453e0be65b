#include "ui/platform/qtclock.h"

#include "ui/platform/text.h"

#include <QDateTime>
#include <QLocale>

namespace quintor::ui {

QString withoutTimeZone(const QString& timeFormat)
{
    QString result;
    bool quoted = false;
    for (const QChar c : timeFormat) {
        if (c == u'\'') quoted = !quoted;
        if (!quoted && c == u't') continue;
        result += c;
    }
    return result.trimmed();
}

LocalDateTime QtClock::now() const
{
    const QDateTime current = QDateTime::currentDateTime();
    const QDate d = current.date();
    const QTime t = current.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
}

std::chrono::milliseconds QtClock::steadyNow() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

std::string QtClock::shortDate(const LocalDateTime& when) const
{
    const QLocale locale = QLocale::system();
    return fromQt(locale.toString(QDate(when.year, when.month, when.day), QLocale::ShortFormat));
}

std::string QtClock::longTime(const LocalDateTime& when) const
{
    const QLocale locale = QLocale::system();
    const QTime time(when.hour, when.minute, when.second, when.millisecond);
    return fromQt(locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat))));
}

} // namespace quintor::ui
