// The local clock and the user's date and time formats, from the system locale.
#pragma once

#include "platform/clock.h"

#include <QString>

namespace quintor::ui {

// A long time format without its time zone part ("HH:mm:ss t" gives "HH:mm:ss"): the statistic
// and the log show hours, minutes and seconds.
QString withoutTimeZone(const QString& timeFormat);

class QtClock : public Clock {
public:
    LocalDateTime now() const override;
    std::chrono::milliseconds steadyNow() const override;
    std::string shortDate(const LocalDateTime& when) const override;
    std::string longTime(const LocalDateTime& when) const override;
};

} // namespace quintor::ui
