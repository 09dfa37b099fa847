// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QTime>
#include <QtGlobal>

#include <limits>

namespace quandrel {

// One reading of the clocks: the wall clock's UTC instant, the local offset in
// force at that instant, and the real-time clock. Elapsed durations are taken
// from realMs, which nobody can set and which runs on while the machine
// sleeps; anything that must follow what the local clock shows (alarm clocks,
// clock lines) uses localWallMs; utcMs says when things happened.
struct ClockReading {
    qint64 utcMs = 0;
    int offsetSecs = 0;
    qint64 realMs = 0; // milliseconds on the real-time clock, from an arbitrary origin

    // The wall-clock instant (UTC ms) of an instant on the real-time clock.
    qint64 utcOfReal(qint64 real) const { return utcMs + (real - realMs); }
    // The real-time instant of a wall-clock instant (UTC ms).
    qint64 realOfUtc(qint64 utc) const { return realMs + (utc - utcMs); }

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

// The real system clock; its real-time clock is the boot-time clock where
// there is one (Linux), else the monotonic clock.
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
