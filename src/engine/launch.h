// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/soundcatalog.h"
#include "engine/ticks.h"
#include "engine/timerstate.h"
#include "platform/clock.h"

#include <QString>

#include <optional>

namespace quandrel {

// An alarm time on the twelve-hour clock, as the setup panel holds it.
struct AlarmSetting {
    int hour12 = 1;
    int minute = 0;
    int second = 0;
    bool pm = false;
};

// Everything a new timer is made of: what the setup panel and the sound
// choice hold when LaunchTimer is pressed, or what a command asks for.
struct LaunchRequest {
    TimerKind kind = TimerKind::AlarmClock;
    int32_t durationSecs = 3600; // count-down and count-up, 0..23:59:59
    bool autoRestart = false;
    AlarmSetting alarm;
    QString title; // empty: the window's default title
    SoundPick sound;
    // Unset: the timer follows the main window's "pop on top" when it goes off.
    std::optional<bool> popOnTop;
    // Its alert sound comes again, with a pause, until the user acknowledges it.
    bool repeatAlert = false;
};

// What a new timer window shows.
struct LaunchCaptions {
    QString kindTitle;               // "CountDown:", "Alarm Set For:", "Stopwatch"
    QString reading;                 // "Start", "1:00:00 AM", "00:00:00"
    QString launchLine;              // "Alarm Set At: 10:00:00 AM"; empty for a stopwatch
    QString progress;                // "Counting 01h 00m 00s", "0 elapsed"
    QString progressWidest;          // the longest progress line this timer is expected to show
    std::optional<bool> autoRestart; // none for an alarm clock or a stopwatch
    // "Bleep", a picked file's name, "" for no sound; none for a stopwatch.
    std::optional<QString> soundName;
    bool stopwatch = false;
    bool counting = false; // a count-down or count-up, whose reading changes every second
};

// A time of day (seconds after midnight) on the twelve-hour clock.
AlarmSetting alarmSetting(int32_t secsOfDay);

// The alarm setting as the panel's boxes show it: "1:00:00 AM".
QString alarmSettingText(const AlarmSetting& alarm);

// Writes a timer's times for a launch at `now`, whose time of day the user's
// format writes as launchTimeText, and returns what its window shows.
LaunchCaptions setUpTimer(TimerTimes& times, const LaunchRequest& request, const ClockReading& now,
                          const QString& launchTimeText, const OffsetAt& offsetAt = {});

} // namespace quandrel
