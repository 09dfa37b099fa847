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
    const QDateTime local = QDateTime::currentDateTime();
    return {local.toMSecsSinceEpoch(), local.offsetFromUtc()};
}

} // namespace quandrel
