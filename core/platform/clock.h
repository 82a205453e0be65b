// The current local time and the user's date and time formats.
#pragma once

#include <chrono>
#include <string>

namespace quintor {

struct LocalDateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    bool isMidnight() const { return hour == 0 && minute == 0 && second == 0 && millisecond == 0; }
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
    // A clock that only goes forward, from an arbitrary start: what durations are measured with, so that
    // setting the wall clock (daylight saving, a sync after sleep) stretches or shrinks none of them.
    virtual std::chrono::milliseconds steadyNow() const = 0;
    // The user's short date format (e.g. 08.12.2026) and long time format (e.g. 17:02:06).
    virtual std::string shortDate(const LocalDateTime& when) const = 0;
    virtual std::string longTime(const LocalDateTime& when) const = 0;
};

// Date and time as a log entry shows them: the short date, and the long time unless it is midnight.
inline std::string dateTimeText(const Clock& clock, const LocalDateTime& when)
{
    std::string text = clock.shortDate(when);
    if (!when.isMidnight()) {
        text += ' ';
        text += clock.longTime(when);
    }
    return text;
}

} // namespace quintor
