// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/launch.h"

#include "engine/ticks.h"
#include "engine/timearith.h"

#include <QCoreApplication>

namespace quandrel {

AlarmSetting alarmSetting(int32_t secsOfDay)
{
    const int hour = secsOfDay / SecsPerHour;
    return {hour % 12 == 0 ? 12 : hour % 12, secsOfDay % SecsPerHour / SecsPerMinute, secsOfDay % SecsPerMinute,
            hour >= 12};
}

QString alarmSettingText(const AlarmSetting& alarm)
{
    return QString::number(alarm.hour12) + QLatin1Char(':') + twoDigits(alarm.minute) + QLatin1Char(':') +
           twoDigits(alarm.second) + (alarm.pm ? QStringLiteral(" PM") : QStringLiteral(" AM"));
}

LaunchCaptions setUpTimer(TimerTimes& t, const LaunchRequest& request, const ClockReading& now,
                          const QString& launchTimeText, const OffsetAt& offsetAt)
{
    t.kind = request.kind;
    t.paused = false;
    LaunchCaptions c;
    c.soundName = request.sound.isSilent() ? QString() : request.sound.shownName;
    c.launchLine = QCoreApplication::translate("Timer", "Alarm Set At: %1").arg(launchTimeText);
    switch (request.kind) {
    case TimerKind::AlarmClock: {
        const int32_t launchSecs = secondsOfDay(now.localTime());
        const AlarmSetting& a = request.alarm;
        t.alarmTimeOfDay = alarmSecondsOfDay(a.hour12, a.minute, a.second, a.pm);
        planAlarm(t, now, launchSecs, t.alarmTimeOfDay, offsetAt);
        c.kindTitle = QCoreApplication::translate("Timer", "Alarm Set For:");
        c.reading = alarmSettingText(a);
        c.progress = QCoreApplication::translate("Timer", "0 elapsed");
        // Room for the elapsed count to pass the wait, or go negative, when
        // the clock is changed.
        c.progressWidest = alarmProgress(-t.alarmWait, t.alarmWait);
        break;
    }
    case TimerKind::CountDown:
    case TimerKind::CountUp: {
        const int32_t secs = request.durationSecs;
        t.durationStart = now.realMs;
        t.durationSecs = secs;
        t.autoRestart = request.autoRestart;
        c.kindTitle = request.kind == TimerKind::CountDown ? QCoreApplication::translate("Timer", "CountDown:")
                                                           : QCoreApplication::translate("Timer", "CountUp:");
        c.reading = QCoreApplication::translate("Timer", "Start");
        c.counting = true;
        c.progress = QCoreApplication::translate("Timer", "Counting %1h %2m %3s")
                         .arg(twoDigits(secs / SecsPerHour), twoDigits(secs % SecsPerHour / SecsPerMinute),
                              twoDigits(secs % SecsPerMinute));
        c.autoRestart = request.autoRestart;
        break;
    }
    case TimerKind::Stopwatch:
    case TimerKind::None:
        c.kindTitle = QCoreApplication::translate("Timer", "Stopwatch");
        c.reading = clockFace(0);
        c.launchLine.clear();
        c.soundName.reset();
        c.stopwatch = true;
        t.kind = TimerKind::Stopwatch;
        break;
    }
    return c;
}

} // namespace quandrel
