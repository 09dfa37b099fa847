// SPDX-License-Identifier: GPL-3.0-or-later
// The engine on its own: time arithmetic, one tick of each kind, the alerts
// and the stopwatch, as tables of inputs and what must come out.
#include "engine/alerts.h"
#include "engine/launch.h"
#include "engine/ticks.h"
#include "engine/timearith.h"
#include "engine/timer.h"
#include "engine/timerfile.h"
#include "support/printers.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace quandrel;

namespace {
int berlinOffset(qint64 utcMs)
{
    return QTimeZone("Europe/Berlin").offsetFromUtc(QDateTime::fromMSecsSinceEpoch(utcMs, QTimeZone::utc()));
}
} // namespace

TEST(TimeArithmetic, AlarmSettingsWaitsFacesAndElapsedSeconds)
{
    EXPECT_EQ(alarmSecondsOfDay(12, 0, 0, false), 0) << "12 AM is midnight";
    EXPECT_EQ(alarmSecondsOfDay(12, 0, 0, true), 43200) << "12 PM is noon";
    EXPECT_EQ(alarmSecondsOfDay(11, 59, 59, true), 86399);
    EXPECT_EQ(alarmWaitSecs(3600, 3600), 0);
    EXPECT_EQ(alarmWaitSecs(3599, 3600), 86399) << "an earlier time is tomorrow's";
    const std::vector<std::pair<qint64, const char*>> faces{
        {0, "00:00:00"},     {59, "00:00:59"},      {3599, "00:59:59"}, {3600, "01:00:00"},
        {86399, "23:59:59"}, {360000, "100:00:00"}, {-1, "-00:00:01"},  {-61, "-00:01:01"},
    };
    for (const auto& [secs, face] : faces)
        EXPECT_EQ(clockFace(secs), QLatin1String(face)) << secs;
    EXPECT_EQ(leadingNumber(u" -12ab"), -12);
    EXPECT_EQ(leadingNumber(u"x7"), 0);
    EXPECT_FALSE(parseDuration(u" ").has_value()) << "nothing is no duration";
    // Elapsed seconds floor toward minus infinity; on the wall clock they
    // are boundaries crossed: 0.9 s across a boundary is one second.
    const std::vector<std::tuple<int32_t, int32_t, const char*>> elapsed{
        {elapsedSecs(1000, 1999), 0, "0.999 s"},          {elapsedSecs(1000, 2000), 1, "1 s"},
        {elapsedSecs(1000, 999), -1, "set back 1 ms"},    {elapsedSecs(0, qint64(1) << 50), INT32_MAX, "clamped"},
        {wallSecondsCrossed(900, 1800), 1, "a boundary"}, {wallSecondsCrossed(100, 900), 0, "none"}};
    for (const auto& [got, expected, what] : elapsed)
        EXPECT_EQ(got, expected) << what;
}

TEST(AlarmTick, CountsLocalSecondsAndRingsInTheRepeatedHour)
{
    TimerTimes a, b;
    a.kind = b.kind = TimerKind::AlarmClock;
    const ClockReading launch{1'000'000, 3600};
    planAlarm(a, launch, 36000, 36000 + 3600, [](qint64) { return 3600; });
    EXPECT_EQ(alarmTick(a, {launch.utcMs + 1000, 3600}).progress, QLatin1String("1 elapsed of 3600 sec"));
    EXPECT_FALSE(alarmTick(a, {launch.utcMs + 3'599'000, 3600}).expired);
    EXPECT_TRUE(alarmTick(a, {launch.utcMs + 3'600'000, 3600}).expired);
    // An offset change (the clock goes forward an hour) counts on the local clock.
    EXPECT_TRUE(alarmTick(a, {launch.utcMs + 2'600'000, 7200}).expired);
    planAlarm(a, launch, 36000, 36000, {});
    EXPECT_TRUE(alarmTick(a, launch).expired);
    const OffsetAt offsetAt = berlinOffset;
    const auto reading = [&](QDate day, QTime time, int offset) {
        const qint64 utc = QDateTime(day, time, QTimeZone(offset)).toMSecsSinceEpoch();
        return ClockReading{utc, offset};
    };
    // 2:58 summer time on the night the clocks go back: 2:30 comes again at
    // 2:30 winter time, 32 minutes later.
    const ClockReading autumn = reading(QDate(2026, 10, 25), QTime(2, 58), 7200);
    planAlarm(b, autumn, 2 * 3600 + 58 * 60, 2 * 3600 + 30 * 60, offsetAt);
    EXPECT_EQ(b.alarmWait, 1920);
    EXPECT_FALSE(alarmTick(b, {autumn.utcMs + 1'919'000, 3600}).expired);
    EXPECT_EQ(alarmTick(b, {autumn.utcMs + 1'920'000, 3600}).progress, QLatin1String("1920 elapsed of 1920 sec"));
    // The same setting on an ordinary night is tomorrow's, on the local clock.
    planAlarm(b, reading(QDate(2026, 10, 20), QTime(2, 58), 7200), 10680, 9000, offsetAt);
    EXPECT_EQ(b.alarmWait, 86400 - 1680);
    EXPECT_FALSE(b.alarmOnRealTime);
    // 2:30 does not happen on the night the clocks go forward: tomorrow's.
    planAlarm(b, reading(QDate(2026, 3, 29), QTime(3, 10), 7200), 11400, 9000, offsetAt);
    EXPECT_FALSE(b.alarmOnRealTime);
}

TEST(Alerts, ExpiryAsksOnceAndFlashesRestartAsksOnceInEightTicks)
{
    AlertState s;
    const ExpiryAlertStep first = expiryAlertTick(s, 1, false, true);
    // Slots 1..5 give the focus back only with "pop on top".
    EXPECT_TRUE(first.raiseSound);
    EXPECT_FALSE(first.restoreFocus);
    EXPECT_EQ(first.colour, TitleColour::Blue);
    const ExpiryAlertStep second = expiryAlertTick(s, 1, true, true);
    EXPECT_FALSE(second.raiseSound);
    EXPECT_EQ(second.colour, TitleColour::Red);
    AlertState zero;
    EXPECT_TRUE(expiryAlertTick(zero, 0, false, false).restoreFocus);
    EXPECT_FALSE(expiryAlertTick(zero, 0, false, true).raiseSound);
    s.expiryTicks = AlertTickWrap - 1; // it wraps and starts over
    expiryAlertTick(s, 1, false, true);
    EXPECT_TRUE(expiryAlertTick(s, 1, false, true).raiseSound);
    std::vector<TitleColour> colours;
    RestartAlertStep step;
    for (int tick = 1; tick <= RestartAlertTicks; ++tick) {
        step = restartAlertTick(s, true, true);
        EXPECT_EQ(step.raiseSound, tick == 1) << tick;
        EXPECT_EQ(step.restoreFocus, tick == 1) << tick;
        if (!step.end)
            colours.push_back(step.colour);
    }
    EXPECT_TRUE(step.end);
    EXPECT_TRUE(step.restoreFocusAfterEnd);
    EXPECT_EQ(s.restartTicks, 0);
    EXPECT_EQ(colours.size(), 7u);
    EXPECT_EQ(colours.front(), TitleColour::Blue);
    EXPECT_FALSE(restartAlertTick(s, false, false).raiseSound);
}

TEST(Timer, ALaunchIntoAUsedSlotStartsAfresh)
{
    Timer timer(0);
    LaunchRequest restarting;
    restarting.kind = TimerKind::CountUp;
    restarting.durationSecs = 1;
    restarting.autoRestart = true;
    timer.launch(restarting, {0, 0, 0}, {});
    timer.tick({1005, 0, 1005});
    ASSERT_EQ(timer.cycles(), 1);
    LaunchRequest once = restarting;
    once.autoRestart = false;
    timer.launch(once, {2000, 0, 2000}, {});
    EXPECT_EQ(timer.cycles(), 0);
    timer.tick({3005, 0, 3005});
    ASSERT_TRUE(timer.hasGoneOff());
    timer.requestSound(Expiry::Final);
    timer.end();
    EXPECT_FALSE(timer.hasSoundRequest()) << "closing a timer drops its sound";
    timer.launch(once, {4000, 0, 4000}, {});
    EXPECT_FALSE(timer.hasGoneOff());
    once.kind = TimerKind::Stopwatch;
    timer.launch(once, {5000, 0, 5000}, {});
    timer.startOrStopStopwatch(5000);
    timer.launch(once, {9000, 0, 9000}, {});
    EXPECT_EQ(timer.reading({9000, 0, 9000}), "00:00:00");
}

// A count-down of two hours and an alarm launched at 1:30 on the nights the
// clocks change: the count-down goes off after two hours of real time, the
// alarm when the clock shows its time (here an hour later both nights).
TEST(Timer, OnTheNightsTheClocksChangeDurationsCountRealHoursAlarmsTheClockFace)
{
    for (const auto& [night, alarmAt] :
         {std::pair{QDate(2026, 3, 29), QTime(3, 30)}, {QDate(2026, 10, 25), QTime(2, 30)}}) {
        const qint64 launch = QDateTime(night, QTime(1, 30), QTimeZone("Europe/Berlin")).toMSecsSinceEpoch();
        const auto after = [launch](qint64 secs) {
            return ClockReading{launch + secs * 1000, berlinOffset(launch + secs * 1000), launch + secs * 1000};
        };
        Timer down(0), alarm(1);
        LaunchRequest request;
        request.kind = TimerKind::CountDown;
        request.durationSecs = 7200;
        down.launch(request, after(0), {});
        request.kind = TimerKind::AlarmClock;
        request.alarm = alarmSetting(secondsOfDay(alarmAt));
        alarm.launch(request, after(0), {}, berlinOffset);
        alarm.tick(after(3599));
        EXPECT_FALSE(alarm.hasGoneOff()) << qPrintable(night.toString());
        alarm.tick(after(3600));
        EXPECT_TRUE(alarm.hasGoneOff()) << qPrintable(night.toString());
        down.tick(after(7199));
        EXPECT_FALSE(down.hasGoneOff()) << qPrintable(night.toString());
        down.tick(after(7200));
        EXPECT_TRUE(down.hasGoneOff()) << qPrintable(night.toString());
    }
}

TEST(RecentSetups, NewestFirstEachOnceAtMostEightWrittenAndReadBack)
{
    LaunchRequest tea;
    tea.kind = TimerKind::CountDown;
    tea.durationSecs = 240;
    tea.title = "Tea";
    LaunchRequest eggs = tea;
    eggs.title = "Eggs";
    QList<LaunchRequest> recent = withLaunched(withLaunched(withLaunched({}, tea), eggs), tea);
    EXPECT_EQ(recent.size(), 2) << "Tea once";
    EXPECT_EQ(recent[0].title, "Tea") << "the newest first";
    EXPECT_EQ(setupText(recent[0]), "Tea — count-down 0:04:00");
    for (int secs = 1; secs <= 10; ++secs) {
        tea.durationSecs = secs;
        recent = withLaunched(recent, tea);
    }
    EXPECT_EQ(recent.size(), RecentCount);
    QString error;
    EXPECT_EQ(writeRecentFile(readRecentFile(writeRecentFile(recent), &error)), writeRecentFile(recent));
    EXPECT_TRUE(readRecentFile("{\"format\": 1, \"recent\": [{\"kind\": \"egg\"}]}", &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}
