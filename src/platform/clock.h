// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QTime>
#include <QtGlobal>

#include <limits>

namespace quandrel {

// One reading of the wall clock: the UTC instant and the local offset in force
// at that instant. Elapsed durations are taken from utcMs; anything that must
// follow what the local clock shows (alarm clocks, clock lines) uses localWallMs.
struct ClockReading {
    qint64 utcMs = 0;
    int offsetSecs = 0;

    // Milliseconds of the local date and time fields counted as if they were UTC.
    qint64 localWallMs() const { return utcMs + qint64(offsetSecs) * 1000; }
    QTime localTime() const;
    QDateTime localDateTime() const;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual ClockReading now() const = 0;
    // The local offset from UTC in force at a UTC instant, in seconds.
    virtual int offsetAt(qint64 utcMs) const = 0;
};

// The real system clock.
class SystemClock final : public Clock {
public:
    ClockReading now() const override;
    int offsetAt(qint64 utcMs) const override;

private:
    // The local offset of the last second read: looking it up reads the
    // time-zone file's status, and every tick reads the clock several times.
    mutable qint64 offsetSecond_ = std::numeric_limits<qint64>::min();
    mutable int offsetSecs_ = 0;
};

} // namespace quandrel
