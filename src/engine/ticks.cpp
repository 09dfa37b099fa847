// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ticks.h"

#include "engine/timearith.h"

#include <QCoreApplication>
#include <QTimeZone>

#include <algorithm>

namespace quandrel {

QString durationFace(const TimerTimes& t, qint64 nowRealMs)
{
    int32_t elapsed = elapsedSecs(t.durationStart, t.paused ? t.pausedAt : nowRealMs);
    // One that is due and not yet ticked reads what it will read when it goes off.
    if (!t.autoRestart)
        elapsed = std::min(elapsed, t.durationSecs);
    return clockFace(t.kind == TimerKind::CountDown ? qint64(t.durationSecs) - elapsed : elapsed);
}

DurationTick durationTick(TimerTimes& t, qint64 nowRealMs)
{
    const int32_t elapsed = elapsedSecs(t.durationStart, t.paused ? t.pausedAt : nowRealMs);
    DurationTick tick;
    tick.face = durationFace(t, nowRealMs);
    if (t.paused || elapsed < t.durationSecs)
        return tick;
    if (!t.autoRestart) {
        tick.expiry = Expiry::Final;
        return tick;
    }
    tick.expiry = Expiry::Restart;
    const qint64 cycleMs = qint64(t.durationSecs) * 1000;
    const qint64 deadline = t.durationStart + cycleMs;
    t.durationStart = (nowRealMs - deadline < cycleMs) ? deadline : nowRealMs;
    return tick;
}

int32_t alarmElapsedSecs(const TimerTimes& t, const ClockReading& now)
{
    return t.alarmOnRealTime ? elapsedSecs(t.alarmStart, now.utcMs)
                             : wallSecondsCrossed(t.alarmStart, now.localWallMs());
}

QString alarmProgress(int32_t elapsed, int32_t wait)
{
    return QCoreApplication::translate("Timer", "%1 elapsed of %2 sec").arg(elapsed).arg(wait);
}

AlarmTick alarmTick(const TimerTimes& t, const ClockReading& now)
{
    const int32_t elapsed = alarmElapsedSecs(t, now);
    AlarmTick tick;
    tick.progress = alarmProgress(elapsed, t.alarmWait);
    tick.expired = elapsed >= t.alarmWait;
    return tick;
}

qint64 alarmDueUtc(const TimerTimes& t, const ClockReading& now)
{
    if (t.alarmOnRealTime)
        return t.alarmStart + qint64(t.alarmWait) * 1000;
    return (floorDiv(t.alarmStart, 1000) + t.alarmWait - now.offsetSecs) * 1000;
}

QString lateNote(qint64 wentOffUtcMs, const ClockReading& now, const QLocale& locale)
{
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(wentOffUtcMs, QTimeZone(now.offsetSecs));
    const qint64 secs = std::max<qint64>(now.utcMs - wentOffUtcMs, 0) / 1000;
    // Short enough for a line of the timer's window: a day or more ago it
    // is the date that matters, and minutes only in the first hours.
    if (secs >= DaySecs)
        return QCoreApplication::translate("Timer", "went off on %1, %n day(s) ago", nullptr, int(secs / DaySecs))
            .arg(locale.toString(at.date(), QLocale::ShortFormat));
    const qint64 minutes = secs / SecsPerMinute;
    const QString ago = minutes == 0    ? QCoreApplication::translate("Timer", "%n s ago", nullptr, int(secs))
                        : minutes < 100 ? QCoreApplication::translate("Timer", "%n min ago", nullptr, int(minutes))
                                        : QCoreApplication::translate("Timer", "%n h ago", nullptr, int(minutes / 60));
    return QCoreApplication::translate("Timer", "went off at %1, %2")
        .arg(locale.toString(at.time(), QLocale::ShortFormat), ago);
}

void planAlarm(TimerTimes& t, const ClockReading& launch, int32_t launchSecs, int32_t alarmSecs,
               const OffsetAt& offsetAt)
{
    t.alarmStart = launch.localWallMs();
    t.alarmOnRealTime = false;
    t.alarmWait = alarmWaitSecs(alarmSecs, launchSecs);
    if (alarmSecs >= launchSecs || !offsetAt)
        return;
    // The alarm's time is tomorrow's by the clock face. When the clock goes
    // back later today (the end of summer time), it may show that time once
    // more today: find the first such moment under each offset of the day.
    const qint64 launchSecond = floorDiv(launch.utcMs, 1000) * 1000;
    const qint64 alarmWall =
        floorDiv(launch.localWallMs(), qint64(DaySecs) * 1000) * DaySecs * 1000 + qint64(alarmSecs) * 1000;
    qint64 ring = -1;
    for (const qint64 probe : {qint64(0), qint64(6), qint64(12), qint64(24)}) {
        const int offset = offsetAt(launch.utcMs + probe * SecsPerHour * 1000);
        const qint64 at = alarmWall - qint64(offset) * 1000;
        if (at >= launchSecond && offsetAt(at) == offset && (ring < 0 || at < ring))
            ring = at;
    }
    if (ring < 0)
        return;
    t.alarmOnRealTime = true;
    t.alarmStart = launchSecond;
    t.alarmWait = int32_t((ring - launchSecond) / 1000);
}

void pauseDuration(TimerTimes& t, qint64 nowRealMs)
{
    if (t.paused)
        return;
    t.paused = true;
    t.pausedAt = nowRealMs;
}

void resumeDuration(TimerTimes& t, qint64 nowRealMs)
{
    if (!t.paused)
        return;
    t.paused = false;
    t.durationStart += nowRealMs - t.pausedAt;
}

void restartDuration(TimerTimes& t, qint64 nowRealMs)
{
    t.durationStart = nowRealMs;
    t.paused = false;
}

int32_t moreTimeRoom(const TimerTimes& t, const ClockReading& now, Phase phase)
{
    if (phase == Phase::GoneOff)
        return LongestDurationSecs;
    const qint64 left = t.kind == TimerKind::AlarmClock
                            ? qint64(t.alarmWait) - alarmElapsedSecs(t, now)
                            : qint64(t.durationSecs) - elapsedSecs(t.durationStart, t.paused ? t.pausedAt : now.realMs);
    return int32_t(LongestDurationSecs - std::clamp<qint64>(left, 0, LongestDurationSecs));
}

bool addTime(TimerTimes& t, int32_t secs, const ClockReading& now, Phase phase)
{
    if (secs <= 0 || secs > moreTimeRoom(t, now, phase))
        return false;
    if (t.kind == TimerKind::AlarmClock) {
        if (phase == Phase::GoneOff) // from now on
            t.alarmWait = alarmElapsedSecs(t, now);
        t.alarmWait += secs;
        return true;
    }
    if (phase == Phase::GoneOff) {
        // secs left from now
        t.durationStart = now.realMs - qint64(t.durationSecs - secs) * 1000;
        t.paused = false;
        return true;
    }
    t.durationStart += qint64(secs) * 1000;
    return true;
}

qint64 nextSecondAfterStart(qint64 startMs, qint64 nowMs)
{
    return startMs + (floorDiv(nowMs - startMs, 1000) + 1) * 1000 + TickSlackMs;
}

qint64 nextLocalSecond(const ClockReading& now)
{
    const qint64 nextWall = (floorDiv(now.localWallMs(), 1000) + 1) * 1000;
    return now.realOfUtc(nextWall - qint64(now.offsetSecs) * 1000) + TickSlackMs;
}

} // namespace quandrel
