#include "engine/ticks.h"

#include "engine/timearith.h"

namespace quandrel {

DurationTick durationTick(SlotTable& t, int n, bool countDown, qint64 nowUtcMs)
{
    t.DurationElapsed[n] = elapsedSecs(t.DurationStart[n], nowUtcMs);
    if (countDown)
        setlabel(t, n, t.DurationSecs[n], t.DurationElapsed[n]);
    else
        setlabelforward(t, n, t.DurationElapsed[n]);

    DurationTick tick;
    tick.face = t.ShowHours[n] + QLatin1Char(':') + t.ShowMinutes[n] + QLatin1Char(':') + t.ShowSeconds[n];
    if (t.DurationElapsed[n] < t.DurationSecs[n])
        return tick;
    if (t.AutoRestart[n] == 0) {
        tick.expiry = Expiry::Final;
        return tick;
    }
    tick.expiry = Expiry::Restart;
    const qint64 cycleMs = qint64(t.DurationSecs[n]) * 1000;
    const qint64 deadline = t.DurationStart[n] + cycleMs;
    t.DurationStart[n] = (nowUtcMs - deadline < cycleMs) ? deadline : nowUtcMs;
    return tick;
}

AlarmTick alarmTick(SlotTable& t, int n, qint64 nowLocalWallMs)
{
    t.AlarmElapsed[n] = wallSecondsCrossed(t.AlarmStart[n], nowLocalWallMs);
    AlarmTick tick;
    tick.elapsed = t.AlarmElapsed[n];
    tick.progress = QString::number(t.AlarmElapsed[n]) + QStringLiteral(" elapsed of ") +
                    QString::number(t.AlarmWait[n]) + QStringLiteral(" sec");
    tick.expired = t.AlarmElapsed[n] >= t.AlarmWait[n];
    return tick;
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
