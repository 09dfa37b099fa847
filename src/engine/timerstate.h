// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/stopwatch.h"

#include <QtGlobal>

#include <array>
#include <cstdint>

namespace quandrel {

inline constexpr int SlotCount = 6;

enum class TimerKind : int16_t { None = 0, CountUp = 1, CountDown = 2, AlarmClock = 3, Stopwatch = 4 };

template <typename T> using PerSlot = std::array<T, SlotCount>;

// The times of one timer, as the time arithmetic reads and moves them. Every
// field starts at zero, false or empty. Instants are milliseconds: durations
// and the stopwatch run on the real-time clock, alarm clocks on the local
// wall clock (see ClockReading), or on UTC when alarmOnRealTime.
struct TimerTimes {
    TimerKind kind = TimerKind::None;

    // Count-downs and count-ups.
    int32_t durationSecs = 0;
    qint64 durationStart = 0; // start of the current cycle, real-time ms
    bool autoRestart = false;
    bool paused = false;
    qint64 pausedAt = 0; // real-time ms of the pause

    // Alarm clocks.
    int32_t alarmTimeOfDay = 0;   // seconds after midnight it rings at
    int32_t alarmWait = 0;        // seconds from the launch to the alarm
    qint64 alarmStart = 0;        // launch: local wall ms, or UTC ms when alarmOnRealTime
    bool alarmOnRealTime = false; // the alarm falls in an hour the clock repeats: count UTC seconds

    // The stopwatch.
    Stopwatch stopwatch;
    bool stopwatchRunning = false;
};

} // namespace quandrel
