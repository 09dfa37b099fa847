// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/timerstate.h"
#include "platform/clock.h"

#include <QLocale>
#include <QString>

#include <functional>

namespace quandrel {

// How long after the moment a display changes its tick is scheduled.
inline constexpr qint64 TickSlackMs = 5;
// The longest an alarm clock nobody watches waits before it looks at the
// wall clock again.
inline constexpr qint64 AlarmLookAgainMs = 60'000;

enum class Expiry { None, Final, Restart };

struct DurationTick {
    QString face; // what the window's reading shows
    Expiry expiry = Expiry::None;
};

// One tick of a timer's count-down or count-up: measures the elapsed seconds,
// makes the clock face (time left, or time gone) and tests for expiry. A
// restart moves the start to the deadline of the cycle that just ended, so
// cycles never drift; after a sleep of more than a whole cycle the next
// cycle starts now instead of firing a burst of expiries.
DurationTick durationTick(TimerTimes& times, qint64 nowRealMs);
// What a timer's count-down or count-up shows now, without ticking it.
QString durationFace(const TimerTimes& times, qint64 nowRealMs);

struct AlarmTick {
    QString progress; // "N elapsed of M sec"
    bool expired = false;
};

// One tick of a timer's alarm clock: the seconds elapsed on the clock the
// alarm measures against, and whether they reached the wait.
AlarmTick alarmTick(const TimerTimes& times, const ClockReading& now);
// Seconds a timer's alarm clock has counted by now, without ticking it.
int32_t alarmElapsedSecs(const TimerTimes& times, const ClockReading& now);
// "N elapsed of M sec".
QString alarmProgress(int32_t elapsed, int32_t wait);

// The local offset from UTC in force at a UTC instant, in seconds.
using OffsetAt = std::function<int(qint64 utcMs)>;

// Sets a timer up as an alarm clock launched at `launch` that goes off when
// the local clock next shows alarmSecs (seconds after midnight); launchSecs
// is the launch time of day as the launch line shows it. The wait counts on
// the local clock, unless the clock goes back before the alarm's time comes
// round on the next day and shows that time again today: then the alarm
// rings then, counting real seconds.
void planAlarm(TimerTimes& times, const ClockReading& launch, int32_t launchSecs, int32_t alarmSecs,
               const OffsetAt& offsetAt);

// The wall-clock instant (UTC ms) a timer's alarm clock is due at.
qint64 alarmDueUtc(const TimerTimes& times, const ClockReading& now);

// A timer whose going off was noticed this late or later (the machine slept,
// or Quandrel was not running) says when it went off.
inline constexpr qint64 LateAfterMs = 60'000;
// "went off at 07:00, 25 min ago": when a timer went off (UTC ms), in the
// locale's short time format; its date when that was a day or more ago.
QString lateNote(qint64 wentOffUtcMs, const ClockReading& now, const QLocale& locale);

// Pausing a count-down or count-up freezes its reading; the time it stays
// paused does not count, so an auto-restarting timer resumes within its cycle.
void pauseDuration(TimerTimes& times, qint64 nowRealMs);
void resumeDuration(TimerTimes& times, qint64 nowRealMs);
// Starts a timer's count-down or count-up again from its full duration.
void restartDuration(TimerTimes& times, qint64 nowRealMs);
// Whether a timer still runs toward its end or has gone off.
enum class Phase { Running, GoneOff };

// The most time a timer's count-down or alarm clock can be given now: what
// keeps the time left within 23:59:59.
int32_t moreTimeRoom(const TimerTimes& times, const ClockReading& now, Phase phase);
// Gives a timer's count-down or alarm clock secs more; one that has gone off
// goes off again secs from now. False, and nothing changes, when secs is not
// from 1 second to the room there is.
bool addTime(TimerTimes& times, int32_t secs, const ClockReading& now, Phase phase);

// Next tick of a display that changes every whole second after startMs (both
// on the real-time clock).
qint64 nextSecondAfterStart(qint64 startMs, qint64 nowMs);
// Next tick, on the real-time clock, of a display that changes when the local
// clock's second changes.
qint64 nextLocalSecond(const ClockReading& now);

} // namespace quandrel
