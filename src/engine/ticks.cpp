// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ticks.h"

#include "engine/timearith.h"

#include <QCoreApplication>

#include <algorithm>

namespace quandrel {

QString durationFace(const SlotTable& t, int n, qint64 nowUtcMs)
{
    const int32_t elapsed = elapsedSecs(t.durationStart[n], t.paused[n] ? t.pausedAt[n] : nowUtcMs);
    return clockFace(t.kind[n] == TimerKind::CountDown ? qint64(t.durationSecs[n]) - elapsed : elapsed);
}

DurationTick durationTick(SlotTable& t, int n, qint64 nowUtcMs)
{
    t.durationElapsed[n] = elapsedSecs(t.durationStart[n], t.paused[n] ? t.pausedAt[n] : nowUtcMs);
    DurationTick tick;
    tick.face = durationFace(t, n, nowUtcMs);
    if (t.paused[n] || t.durationElapsed[n] < t.durationSecs[n])
        return tick;
    if (!t.autoRestart[n]) {
        tick.expiry = Expiry::Final;
        return tick;
    }
    tick.expiry = Expiry::Restart;
    const qint64 cycleMs = qint64(t.durationSecs[n]) * 1000;
    const qint64 deadline = t.durationStart[n] + cycleMs;
    t.durationStart[n] = (nowUtcMs - deadline < cycleMs) ? deadline : nowUtcMs;
    return tick;
}

int32_t alarmElapsedSecs(const SlotTable& t, int n, const ClockReading& now)
{
    return t.alarmOnRealTime[n] ? elapsedSecs(t.alarmStart[n], now.utcMs)
                                : wallSecondsCrossed(t.alarmStart[n], now.localWallMs());
}

QString alarmProgress(int32_t elapsed, int32_t wait)
{
    return QCoreApplication::translate("Timer", "%1 elapsed of %2 sec").arg(elapsed).arg(wait);
}

AlarmTick alarmTick(SlotTable& t, int n, const ClockReading& now)
{
    t.alarmElapsed[n] = alarmElapsedSecs(t, n, now);
    AlarmTick tick;
    tick.progress = alarmProgress(t.alarmElapsed[n], t.alarmWait[n]);
    tick.expired = t.alarmElapsed[n] >= t.alarmWait[n];
    return tick;
}

void planAlarm(SlotTable& t, int n, const ClockReading& launch, int32_t launchSecs, int32_t alarmSecs,
               const OffsetAt& offsetAt)
{
    t.alarmStart[n] = launch.localWallMs();
    t.alarmOnRealTime[n] = false;
    t.alarmWait[n] = alarmWaitSecs(alarmSecs, launchSecs);
    t.alarmElapsed[n] = 0;
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
    t.alarmOnRealTime[n] = true;
    t.alarmStart[n] = launchSecond;
    t.alarmWait[n] = int32_t((ring - launchSecond) / 1000);
}

void pauseDuration(SlotTable& t, int n, qint64 nowUtcMs)
{
    if (t.paused[n])
        return;
    t.paused[n] = true;
    t.pausedAt[n] = nowUtcMs;
}

void resumeDuration(SlotTable& t, int n, qint64 nowUtcMs)
{
    if (!t.paused[n])
        return;
    t.paused[n] = false;
    // Measured as a difference of two readings, so a clock set meanwhile
    // moves nothing.
    t.durationStart[n] += nowUtcMs - t.pausedAt[n];
}

void restartDuration(SlotTable& t, int n, qint64 nowUtcMs)
{
    t.durationStart[n] = nowUtcMs;
    t.paused[n] = false;
}

int32_t moreTimeRoom(const SlotTable& t, int n, const ClockReading& now, Phase phase)
{
    if (phase == Phase::GoneOff)
        return LongestDurationSecs;
    const qint64 left =
        t.kind[n] == TimerKind::AlarmClock
            ? qint64(t.alarmWait[n]) - alarmElapsedSecs(t, n, now)
            : qint64(t.durationSecs[n]) - elapsedSecs(t.durationStart[n], t.paused[n] ? t.pausedAt[n] : now.utcMs);
    return int32_t(LongestDurationSecs - std::clamp<qint64>(left, 0, LongestDurationSecs));
}

bool addTime(SlotTable& t, int n, int32_t secs, const ClockReading& now, Phase phase)
{
    if (secs <= 0 || secs > moreTimeRoom(t, n, now, phase))
        return false;
    if (t.kind[n] == TimerKind::AlarmClock) {
        if (phase == Phase::GoneOff) // from now on
            t.alarmWait[n] = alarmElapsedSecs(t, n, now);
        t.alarmWait[n] += secs;
        return true;
    }
    if (phase == Phase::GoneOff) {
        // secs left from now
        t.durationStart[n] = now.utcMs - qint64(t.durationSecs[n] - secs) * 1000;
        t.paused[n] = false;
        return true;
    }
    t.durationStart[n] += qint64(secs) * 1000;
    return true;
}

qint64 nextSecondAfterStart(qint64 startUtcMs, qint64 nowUtcMs)
{
    return startUtcMs + (floorDiv(nowUtcMs - startUtcMs, 1000) + 1) * 1000 + TickSlackMs;
}

qint64 nextLocalSecond(const ClockReading& now)
{
    const qint64 nextWall = (floorDiv(now.localWallMs(), 1000) + 1) * 1000;
    return nextWall - qint64(now.offsetSecs) * 1000 + TickSlackMs;
}

} // namespace quandrel
