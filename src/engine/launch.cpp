#include "engine/launch.h"

#include "engine/ticks.h"
#include "engine/timearith.h"

namespace quandrel {

QString alarmSettingText(const AlarmSetting& alarm)
{
    return QString::number(alarm.hour12) + QLatin1Char(':') + twoDigits(alarm.minute) + QLatin1Char(':') +
           twoDigits(alarm.second) + (alarm.pm ? QStringLiteral(" PM") : QStringLiteral(" AM"));
}

LaunchCaptions setUpTimer(SlotTable& t, int n, const LaunchRequest& request, const ClockReading& now,
                          const QString& launchTimeText, const OffsetAt& offsetAt)
{
    t.kind[n] = request.kind;
    t.paused[n] = false;
    LaunchCaptions c;
    c.autoRestart = QStringLiteral("N/A");
    c.soundName = request.sound.shownName;
    c.launchLine = QStringLiteral("Alarm Set At: ") + launchTimeText;
    switch (request.kind) {
    case TimerKind::AlarmClock: {
        // A time format that cannot be read back by position: take the
        // launch time of day from the clock itself.
        const int32_t launchSecs = readLaunchTime(launchTimeText).value_or(secondsOfDay(now.localTime()));
        const AlarmSetting& a = request.alarm;
        planAlarm(t, n, now, launchSecs, alarmSecondsOfDay(a.hour12, a.minute, a.second, a.pm), offsetAt);
        c.kindTitle = QStringLiteral("Alarm Set For:");
        c.reading = alarmSettingText(a);
        c.progress = QStringLiteral("0 elapsed");
        // Room for the elapsed count to pass the wait, or go negative, when
        // the clock is changed.
        const QString wait = QString::number(t.alarmWait[n]);
        c.progressWidest = QLatin1Char('-') + wait + QStringLiteral(" elapsed of ") + wait + QStringLiteral(" sec");
        break;
    }
    case TimerKind::CountDown:
    case TimerKind::CountUp: {
        const int32_t secs = request.durationSecs;
        t.durationStart[n] = now.utcMs;
        t.durationSecs[n] = secs;
        t.durationElapsed[n] = 0;
        t.autoRestart[n] = request.autoRestart;
        c.kindTitle = request.kind == TimerKind::CountDown ? QStringLiteral("CountDown:") : QStringLiteral("CountUp:");
        c.reading = QStringLiteral("Start");
        c.progress = QStringLiteral("Counting ") + twoDigits(secs / SecsPerHour) + QStringLiteral("h ") +
                     twoDigits(secs % SecsPerHour / SecsPerMinute) + QStringLiteral("m ") +
                     twoDigits(secs % SecsPerMinute) + QStringLiteral("s");
        c.autoRestart = request.autoRestart ? QStringLiteral("Y") : QStringLiteral("N");
        break;
    }
    case TimerKind::Stopwatch:
    case TimerKind::None:
        c.kindTitle = QStringLiteral("Stopwatch");
        c.reading = QStringLiteral("00:00:00");
        c.launchLine.clear();
        c.soundName = QStringLiteral("N/A");
        c.stopwatch = true;
        t.kind[n] = TimerKind::Stopwatch;
        break;
    }
    return c;
}

} // namespace quandrel
