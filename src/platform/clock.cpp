// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#include <QTimeZone>

#include <chrono>
#include <ctime>

namespace quandrel {

QTime ClockReading::localTime() const
{
    return QDateTime::fromMSecsSinceEpoch(localWallMs(), QTimeZone::utc()).time();
}

QDateTime ClockReading::localDateTime() const
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, QTimeZone(offsetSecs));
}

namespace {

qint64 realTimeMs()
{
#ifdef CLOCK_BOOTTIME
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
#else
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
#endif
}

} // namespace

ClockReading SystemClock::now() const
{
    const qint64 utcMs = QDateTime::currentMSecsSinceEpoch();
    // Offsets change on whole seconds only.
    const qint64 second = utcMs >= 0 ? utcMs / 1000 : (utcMs - 999) / 1000;
    if (second != offsetSecond_) {
        offsetSecs_ = QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc();
        offsetSecond_ = second;
    }
    return {utcMs, offsetSecs_, realTimeMs()};
}

int SystemClock::offsetAt(qint64 utcMs) const
{
    return QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc();
}

} // namespace quandrel
