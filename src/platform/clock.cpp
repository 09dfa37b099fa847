// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#include <QTimeZone>

namespace quandrel {

QTime ClockReading::localTime() const
{
    return QDateTime::fromMSecsSinceEpoch(localWallMs(), QTimeZone::utc()).time();
}

QDateTime ClockReading::localDateTime() const
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, QTimeZone(offsetSecs));
}

ClockReading SystemClock::now() const
{
    const qint64 utcMs = QDateTime::currentMSecsSinceEpoch();
    // Offsets change on whole seconds only.
    const qint64 second = utcMs >= 0 ? utcMs / 1000 : (utcMs - 999) / 1000;
    if (second != offsetSecond_) {
        offsetSecs_ = QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc();
        offsetSecond_ = second;
    }
    return {utcMs, offsetSecs_};
}

int SystemClock::offsetAt(qint64 utcMs) const
{
    return QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc();
}

} // namespace quandrel
