// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program on the simulated clock, driven through its controls.
#include "support/harness.h"

#include "app/commandline.h"
#include "app/remotecontrol.h"

#include "engine/soundcatalog.h"
#include "platform/timeformat.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QLabel>

#include <gtest/gtest.h>

#include <functional>

using namespace quandrel;
using namespace quandrel::test;

namespace {
QColor titleColour(const AppHarness& h, int slot)
{
    return h.find<QLineEdit>("titleBox", slot)->palette().color(QPalette::Base);
}
} // namespace

TEST(StartUp, EveryBoxShowsItsBarAndTheClockFollowsTheLocale)
{
    AppHarness h;
    const std::vector<std::pair<const char*, QString>> boxes{
        {"hoursBox", "01"},
        {"minutesBox", "00"},
        {"secondsBox", "00"},
        {"alarmHourBox", "1"},
        {"alarmMinuteBox", "00"},
        {"alarmSecondBox", "00"},
        {"alarmHalfBox", "AM"},
        {"soundList", "None"},
        {"clockLabel", longTimeText(QTime(10, 0), h.services.locale)}};
    for (const auto& [box, shown] : boxes)
        EXPECT_EQ(h.text(box), shown) << box;
    AppHarness german(QTimeZone::utc(), QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.text("clockLabel"), "10:00:00");
    EXPECT_EQ(MainWindow::centredPosition({800, 600}, {1001, 400}), QPoint(-100, 100));
}

TEST(SetupPanel, KindsExcludeOneAnotherAndOfferOnlyTheirValues)
{
    AppHarness h;
    // After each step: which controls are offered, and whether Autostart is ticked.
    struct Step {
        std::function<void()> act;
        bool hours, alarmHour, autostart, launch, ticked;
    };
    const std::vector<std::pair<const char*, Step>> steps{
        {"start-up: the alarm clock", {[] {}, false, true, false, true, false}},
        {"count down, autostart", {[&h] { h.chooseDuration(0, 1, 0, Restart::Auto); }, true, false, true, true, true}},
        {"the alarm clock again", {[&h] { h.click("alarmClockCheck"); }, false, true, false, true, false}},
        {"count up", {[&h] { h.click("countUpOption"); }, true, false, true, true, false}},
        {"the stopwatch", {[&h] { h.click("stopwatchCheck"); }, false, false, false, true, false}},
        {"nothing: nothing to launch", {[&h] { h.click("stopwatchCheck"); }, false, false, false, false, false}},
    };
    for (const auto& [what, step] : steps) {
        step.act();
        EXPECT_EQ(h.find("hoursBox")->isEnabled(), step.hours) << what;
        EXPECT_EQ(h.find("alarmHourBox")->isEnabled(), step.alarmHour) << what;
        EXPECT_EQ(h.find("autostartCheck")->isEnabled(), step.autostart) << what;
        EXPECT_EQ(h.find("launchButton")->isEnabled(), step.launch) << what;
        EXPECT_EQ(h.find<QAbstractButton>("autostartCheck")->isChecked(), step.ticked) << what;
    }
    h.setBars({{"alarmHalfBar", 9}});
    EXPECT_EQ(h.text("alarmHalfBox"), "PM") << "bars stop at their ends";
}

TEST(CountDown, EverySecondShownThenExpiredFlashingAndHeard)
{
    AppHarness h;
    h.pickSound(1);
    h.clock.setUtcMs(h.clock.utcMs() + 437); // an odd phase of the second
    h.chooseDuration(0, 0, 10);
    const int slot = h.launch();
    const qint64 start = h.clock.utcMs();
    QStringList faces;
    for (int k = 1; k <= 10; ++k) {
        h.sim.advanceToUtc(start + k * 1000 + 10);
        faces << h.text("readingLabel", slot);
    }
    EXPECT_EQ(faces.first(), "00:00:09");
    EXPECT_EQ(faces.last(), "00:00:00");
    EXPECT_EQ(faces.removeDuplicates(), 0) << "no second shown twice";
    EXPECT_TRUE(h.shows(slot, "expiredBanner"));
    h.sim.advance(500);
    EXPECT_EQ(titleColour(h, slot), QColor(0, 0, 255));
    h.sim.advance(500);
    EXPECT_EQ(titleColour(h, slot), QColor(255, 0, 0));
    EXPECT_EQ(h.sound.take(), QStringList({"open " + builtinPick(h.services.soundFolder, 1).path, "play"}));
    h.sim.advance(60'000);
    EXPECT_TRUE(h.shows(slot, "expiredBanner")) << "flashes until closed";
    EXPECT_EQ(h.sim.armedTimers(), 3) << "the clock, the flashing and the sound's wait; the count-down has stopped";
    h.close(slot);
    EXPECT_EQ(h.sim.armedTimers(), 1) << "closing it silenced it; only the clock runs";
}

// A count-down of 10 minutes, an alarm for 10:20 and a stopwatch, launched
// at 10:00:00; two seconds later the clock is set, or the machine sleeps.
TEST(ClockChanges, DurationsCountRealTimeAlarmsFollowTheWallClock)
{
    struct Row {
        const char* what;
        qint64 setMs, sleepMs;
        const char *countDown, *alarm, *stopwatch;
        bool countDownOff, alarmOff;
        QString launchLine;
    };
    const QLocale us(QLocale::English, QLocale::UnitedStates); // Qt 6.8 writes a narrow space before AM
    const QString onTime = "Alarm Set At: " + longTimeText(QTime(10, 0), us);
    const std::vector<Row> rows{
        {"set an hour back", -3600'000, 0, "00:09:57", "-3597 elapsed of 1200 sec", "00:00:03", false, false, onTime},
        {"set an hour forward", 3600'000, 0, "00:09:57", "3603 elapsed of 1200 sec", "00:00:03", false, true, onTime},
        {"asleep 5 minutes", 0, 300'000, "00:04:57", "303 elapsed of 1200 sec", "00:05:03", false, false, onTime},
        {"asleep 30 minutes", 0, 1800'000, "00:00:00", "1803 elapsed of 1200 sec", "00:30:03", true, true,
         "Went off at " + us.toString(QTime(10, 10), QLocale::ShortFormat) + ", 20 min ago"},
    };
    for (const Row& row : rows) {
        AppHarness h;
        h.chooseDuration(0, 10, 0);
        const int down = h.launch();
        h.chooseAlarm(QTime(10, 20));
        const int alarm = h.launch();
        h.chooseStopwatch();
        const int watch = h.launch();
        h.click("stopwatchStartButton", watch);
        h.sim.advance(2010);
        h.clock.jump(row.setMs);
        h.sim.suspend(row.sleepMs);
        h.sim.advance(1000);
        EXPECT_EQ(h.text("readingLabel", down), row.countDown) << row.what;
        EXPECT_EQ(h.shows(down, "expiredBanner"), row.countDownOff) << row.what;
        EXPECT_EQ(h.text("progressLine", alarm), row.alarm) << row.what;
        EXPECT_EQ(h.shows(alarm, "expiredBanner"), row.alarmOff) << row.what;
        EXPECT_EQ(h.text("readingLabel", watch), row.stopwatch) << row.what;
        EXPECT_EQ(h.wholeText("launchLine", down), row.launchLine) << row.what;
    }
}

TEST(ClockChanges, AStopwatchGoesOnFromItsStopAndPastADayFromZero)
{
    AppHarness h;
    h.chooseStopwatch();
    const int watch = h.launch();
    h.click("stopwatchStartButton", watch);
    h.sim.advance(4010);
    EXPECT_EQ(h.text("clockLabel"), longTimeText(QTime(10, 0, 4), h.services.locale))
        << "the main window's clock ticks";
    h.click("stopwatchStartButton", watch); // Stop: the time stays; Start goes on from it
    h.sim.advance(5000);
    h.click("stopwatchStartButton", watch);
    h.sim.advance(1000);
    EXPECT_EQ(h.text("readingLabel", watch), "00:00:05");
    h.click("stopwatchResetButton", watch);
    EXPECT_EQ(h.text("readingLabel", watch), "00:00:00");
    h.click("stopwatchStartButton", watch);
    h.sim.suspend(86'400'000);
    h.sim.advance(1010);
    EXPECT_EQ(h.text("readingLabel", watch), "00:00:00") << "past a day: from zero";
    h.sim.advance(1000);
    EXPECT_EQ(h.text("readingLabel", watch), "00:00:01") << "and running";
}

TEST(PopUpAndFocus, TypingIsNeverTakenByAPoppingTimer)
{
    AppHarness h;
    h.click("popOnTopCheck");
    h.type("alertTextBox", "REP");
    h.chooseDuration(0, 0, 5, Restart::Auto);
    const int slot = h.launch();
    // The window manager activates the new window, then the user types in the alert text.
    QFocusEvent activated(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(h.find("titleBox", slot), &activated);
    QFocusEvent clicked(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(h.find("alertTextBox"), &clicked);
    h.windows.calls.clear();
    for (int cycle = 0; cycle < 3; ++cycle) {
        h.sim.advance(5000);
        QCoreApplication::sendEvent(h.find("titleBox", slot), &activated); // as if a pop-up had activated it
    }
    EXPECT_TRUE(h.windows.calls.contains("top timerWindow0"));
    EXPECT_TRUE(h.windows.calls.contains("untop timerWindow0"));
    EXPECT_FALSE(h.windows.calls.join(' ').contains("activate timerWindow")) << h.windows.calls.join(' ').toStdString();
    EXPECT_TRUE(h.windows.calls.contains("focus mainWindow.alertTextBox"));
    EXPECT_FALSE(h.windows.calls.join(' ').contains("focus timerWindow0"));
    EXPECT_EQ(h.text("titleBox", slot), "REP");
    QCoreApplication::sendEvent(h.find("titleBox", slot), &clicked); // the user goes to the title on purpose
    h.sim.advance(5000);
    EXPECT_TRUE(h.windows.calls.contains("focus timerWindow0.titleBox"));
    QCoreApplication::sendEvent(h.find("alertTextBox"), &clicked);
    // Without "pop on top" only slot 0 gives it back, never while another program is active.
    h.click("popOnTopCheck");
    h.click("closeAllButton");
    h.chooseDuration(0, 0, 1);
    h.launch();
    h.launch();
    h.windows.calls.clear();
    h.sim.advance(1510);
    EXPECT_EQ(h.windows.calls.count("focus mainWindow.alertTextBox"), 1);
}

TEST(TimerMenu, PauseResumeMoreTimeAndRestart)
{
    AppHarness h;
    h.chooseDuration(0, 0, 10, Restart::Auto);
    const int slot = h.launch();
    h.sim.advance(3010);
    ASSERT_TRUE(h.chooseFromMenu(slot, "Pause"));
    EXPECT_TRUE(h.shows(slot, "pausedLabel"));
    h.sim.advance(60'000);
    h.clock.jump(-7200'000);
    EXPECT_EQ(h.text("readingLabel", slot), "00:00:07") << "the reading stands still";
    ASSERT_TRUE(h.chooseFromMenu(slot, "Resume"));
    EXPECT_FALSE(h.shows(slot, "pausedLabel"));
    h.sim.advance(2000);
    EXPECT_EQ(h.text("readingLabel", slot), "00:00:05");
    ASSERT_TRUE(h.chooseFromMenu(slot, "+5 min"));
    EXPECT_EQ(h.text("readingLabel", slot), "00:05:05");
    ASSERT_TRUE(h.chooseFromMenu(slot, "Pause"));
    ASSERT_TRUE(h.chooseFromMenu(slot, "Restart"));
    EXPECT_FALSE(h.shows(slot, "pausedLabel")) << "a restart runs again";
    EXPECT_EQ(h.text("readingLabel", slot), "00:00:10");
    // Gone off for good: more time starts it again and ends the alert.
    h.chooseDuration(0, 0, 1);
    const int done = h.launch();
    h.sim.advance(2000);
    EXPECT_FALSE(h.chooseFromMenu(done, "Pause"));
    ASSERT_TRUE(h.chooseFromMenu(done, "+1 min"));
    EXPECT_FALSE(h.timer(done).hasGoneOff()) << "running again";
    h.sim.advance(59'000);
    EXPECT_FALSE(h.shows(done, "expiredBanner"));
    h.sim.advance(1100);
    EXPECT_TRUE(h.shows(done, "expiredBanner"));
    h.chooseDuration(0, 0, 1, Restart::Off, Direction::Up);
    EXPECT_FALSE(h.chooseFromMenu(h.launch(), "+1 min")) << "a count-up takes no more time";
}

TEST(Notifications, AnUnseenTimerIsAnnouncedAndItsButtonsWork)
{
    AppHarness h;
    h.type("alertTextBox", "Tea");
    h.chooseDuration(0, 0, 2);
    const int tea = h.launch();
    h.click("hideShowAllButton"); // Hide All
    h.sim.advance(2010);
    ASSERT_EQ(h.notifier.shown.size(), 1);
    const Notification n = h.notifier.shown.value(tea);
    EXPECT_EQ(n.title, "Tea");
    EXPECT_EQ(n.body, "Count-down of 0:00:02 done at " + longTimeText(QTime(10, 0, 2), h.services.locale));
    EXPECT_TRUE(n.urgent) << "it stays until dismissed";
    EXPECT_EQ(n.actions.size(), 3) << "Show, Close timer, +1 min";
    h.click("hideShowAllButton"); // Show All
    EXPECT_TRUE(h.window(tea)->isVisible());
    EXPECT_TRUE(h.notifier.shown.isEmpty()) << "withdrawn once shown";
    h.notifier.press(tea, "add-minute");
    EXPECT_FALSE(h.shows(tea, "expiredBanner"));
    // Seen timers are not announced; a restarting one replaces its last one.
    h.chooseDuration(0, 0, 2, Restart::Auto, Direction::Up);
    const int cycles = h.launch();
    h.sim.advance(2010);
    EXPECT_TRUE(h.notifier.shown.isEmpty());
    h.windows.appActive = false;
    h.sim.advance(4000);
    EXPECT_EQ(h.notifier.shown.size(), 1) << "one on screen";
    EXPECT_EQ(h.notifier.sent, 3) << "replaced at each cycle";
    EXPECT_TRUE(h.notifier.shown.value(cycles).body.startsWith("Cycle 3 done"));
    EXPECT_FALSE(h.notifier.shown.value(cycles).urgent);
    QEvent activated(QEvent::WindowActivate);
    QCoreApplication::sendEvent(h.window(cycles), &activated);
    EXPECT_TRUE(h.notifier.shown.isEmpty()) << "withdrawn when the user goes to its window";
    h.sim.advance(2000);
    h.notifier.press(cycles, "close");
    EXPECT_EQ(h.window(cycles), nullptr);
    EXPECT_TRUE(h.notifier.shown.isEmpty());
}

TEST(Exit, ClosingTheMainWindowStopsTheSoundFirstThenClosesEverything)
{
    AppHarness h;
    h.pickSound(1);
    h.chooseDuration(0, 0, 1);
    h.launch();
    h.sim.advance(1600);
    h.sound.take();
    QPointer<TimerWindow> w = h.window(0);
    h.main->close();
    EXPECT_EQ(h.sound.take().mid(0, 2), QStringList({"stop", "close"}));
    AppHarness::flushDeletes();
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(h.sim.armedTimers(), 0);
}

TEST(CommandLine, ReadsWhatItCanAndNamesWhatItCannot)
{
    const auto parse = [](QStringList args) { return parseCommandLine(QStringList{"quandrel"} + args); };
    const Command tea = parse({"--count-down", "25:00", "--title", "Tea", "--sound", "Bleep", "--list"}).command;
    EXPECT_EQ(tea.launch,
              QVariantMap({{"kind", "count-down"}, {"duration", 1500}, {"title", "Tea"}, {"sound", "Bleep"}}));
    EXPECT_TRUE(tea.list);
    EXPECT_FALSE(tea.hideAll);
    EXPECT_TRUE(parse({"--hide-all"}).command.hideAll);
    // Each line: the arguments, and the duration they set, or what the error names.
    for (const QString line :
         {"--count-up 1h30m --auto-restart=5400", "--count-down 90s=90", "--count-down 1:02:03=3723",
          "--count-down 23:59:59=86399", "--alarm 07:30=", "--stopwatch --pop-on-top="}) {
        const ParsedCommandLine p = parse(line.section('=', 0, 0).split(' '));
        EXPECT_EQ(p.error, "") << qPrintable(line);
        EXPECT_EQ(p.command.launch.value("duration").toString(), line.section('=', 1)) << qPrintable(line);
    }
    EXPECT_EQ(parse({"--alarm", "19:05:30"}).command.launch.value("alarm"), 19 * 3600 + 5 * 60 + 30);
    for (const QString line : {"--count-down banana|banana", "--count-down 24:00:00|24:00:00", "--count-up 5m5h|5m5h",
                               "--count-up 1:2x:03|1:2x", "--alarm 25:00|25:00", "--title Tea|--title",
                               "--stopwatch --count-down 5m|--stopwatch", "--alarm 07:00 --auto-restart|--auto-restart",
                               "--bogus|bogus", "stray|stray"})
        EXPECT_TRUE(parse(line.section('|', 0, 0).split(' ')).error.contains(line.section('|', 1))) << qPrintable(line);
    EXPECT_TRUE(parse({"--help"}).output.contains("--count-down <duration>"));
    EXPECT_TRUE(parse({"--help-all"}).output.contains("--count-down <duration>"));
}

TEST(RemoteControl, StartsListsAndCommandsTimersAsTheMainWindowDoes)
{
    AppHarness h;
    RemoteControl remote(*h.main, h.services);
    QuandrelCalls& calls = remote.localCalls();
    const auto launch = [&](QVariantMap choices) { return calls.launch(choices); };
    EXPECT_EQ(launch({{"kind", "count-down"}, {"duration", 2}, {"title", "Tea"}, {"sound", "biscuits"}}).value, 1);
    EXPECT_EQ(h.text("soundNameLabel", 0), "Biscuits");
    EXPECT_EQ(h.text("alertTextBox"), "") << "the main window's choices stay";
    EXPECT_EQ(launch({{"kind", "alarm"}, {"alarm", 12 * 3600}}).value, 2);
    EXPECT_EQ(h.text("readingLabel", 1), "12:00:00 PM");
    EXPECT_TRUE(launch({{"kind", "egg timer"}}).badArgument);
    h.sim.advance(1010);
    EXPECT_EQ(h.text("progressLine", 1), "1 elapsed of 7200 sec") << "an alarm ticks every second";
    EXPECT_EQ(calls.list().value.toStringList(),
              QStringList({"1\tTea\tcount-down\t00:00:01", "2\tTimer 2\talarm\t1 elapsed of 7200 sec"}));
    remote.Pause(1);
    EXPECT_TRUE(calls.list().value.toStringList().first().endsWith("(paused)"));
    remote.Pause(1);
    EXPECT_EQ(remote.lastError(), "Timer 1 cannot be paused now.");
    remote.Resume(1);
    remote.Resume(2);
    EXPECT_EQ(remote.lastError(), "Timer 2 is not paused.");
    remote.AddTime(2, 0);
    EXPECT_EQ(remote.lastError(), "Timer 2 cannot be given 0 seconds more.");
    remote.AddTime(2, 60);
    EXPECT_TRUE(calls.list().value.toStringList().last().endsWith("of 7260 sec"));
    remote.Restart(2);
    EXPECT_EQ(remote.lastError(), "Timer 2 cannot be restarted.");
    remote.Restart(1);
    EXPECT_TRUE(calls.list().value.toStringList().first().endsWith("\t00:00:02"));
    remote.Close(5);
    EXPECT_EQ(remote.lastError(), "There is no timer 5.");
    EXPECT_EQ(calls.list().value.toStringList().size(), 2);
    Command hide;
    hide.hideAll = true;
    EXPECT_EQ(runCommand(hide, calls), 0);
    EXPECT_EQ(h.text("hideShowAllButton"), "Show All");
    remote.ShowAll();
    EXPECT_EQ(h.text("hideShowAllButton"), "Hide All");
    EXPECT_TRUE(h.window(0)->isVisible());
}
