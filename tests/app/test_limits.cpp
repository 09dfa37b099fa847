// SPDX-License-Identifier: GPL-3.0-or-later
// Inputs at and past their limits, from the windows, the command line and the
// bus: more time, zero durations, typed values, wrong types,
// titles that would break a listing; and texts that follow the state.
#include "support/harness.h"

#include "app/commandline.h"
#include "app/remotecontrol.h"
#include "engine/ticks.h"
#include "engine/timearith.h"
#include "platform/timeformat.h"

#include <QTest>
#include <QValidator>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace quandrel;
using namespace quandrel::test;

TEST(MoreTime, NoTimerIsGivenMoreThan23h59m59sLeft)
{
    AppHarness h;
    h.chooseDuration(23, 58, 0);
    const int slot = h.launch();
    EXPECT_TRUE(h.chooseFromMenu(slot, "+1 min"));
    EXPECT_FALSE(h.chooseFromMenu(slot, "+1 min")) << "59 s of room left";
    EXPECT_FALSE(h.chooseFromMenu(slot, "+5 min"));
    h.sim.advance(1010);
    EXPECT_EQ(h.text("readingLabel", slot), "23:58:59");
}

TEST(MoreTime, AnAlarmGivenMoreOverTheBusStopsAtTheLimit)
{
    AppHarness h;
    RemoteControl remote(*h.main, h.services);
    remote.Launch({{"kind", "alarm"}, {"alarm", 11 * 3600}}); // an hour away
    remote.AddTime(1, 82'799);
    EXPECT_EQ(remote.lastError(), "");
    remote.AddTime(1, 1);
    EXPECT_TRUE(remote.lastError().contains("at most 0 seconds more"));
    h.sim.advance(1010);
    EXPECT_EQ(remote.List().value(0), "1\tTimer 1\talarm\t1 elapsed of 86399 sec");
}

TEST(MoreTime, TheArithmeticRefusesWhatWouldPassTheLimit)
{
    TimerTimes t;
    t.kind = TimerKind::CountDown;
    t.durationSecs = 60;
    const ClockReading now{0, 0};
    EXPECT_EQ(moreTimeRoom(t, now, Phase::Running), LongestDurationSecs - 60);
    EXPECT_FALSE(addTime(t, LongestDurationSecs - 59, now, Phase::Running));
    EXPECT_EQ(t.durationStart, 0) << "nothing changed";
    EXPECT_FALSE(addTime(t, -5, now, Phase::Running));
    EXPECT_EQ(moreTimeRoom(t, now, Phase::GoneOff), LongestDurationSecs) << "gone off: a whole new span";
}

// Typed as a new user types: into the box, then on to the next control.
TEST(TypedValues, ABoxTakesANumberInItsRangeTheArrowsAndTheWheel)
{
    AppHarness h;
    h.click("countDownOption");
    const auto typeInto = [&h](const char* name, const char* keys) {
        QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason), out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(h.find(name), &in);
        QCoreApplication::processEvents(); // the box selects its value
        QTest::keyClicks(h.find(name), keys);
        QCoreApplication::sendEvent(h.find(name), &out);
        return h.text(name);
    };
    EXPECT_EQ(typeInto("minutesBox", "25"), "25");
    EXPECT_EQ(typeInto("secondsBox", "75"), "00") << "past 59: refused, the box keeps its value";
    QTest::keyClick(h.find("hoursBox"), Qt::Key_Up);
    EXPECT_EQ(h.text("hoursBox"), "02");
    QWheelEvent down({}, {}, {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(h.find("hoursBox"), &down);
    EXPECT_EQ(h.text("hoursBox"), "01");
    h.launch();
    EXPECT_EQ(h.timer(0).times().durationSecs, 3600 + 25 * 60);
    h.tick("alarmClockCheck");
    EXPECT_EQ(typeInto("alarmHourBox", "0"), "1") << "the 12-hour clock's hours start at 1";
    EXPECT_EQ(typeInto("alarmHalfBox", "p"), "PM");
}

TEST(ZeroDuration, IsRefusedEverywhere)
{
    AppHarness h;
    h.chooseDuration(0, 0, 0, Restart::Auto);
    EXPECT_EQ(h.launch(), -1);
    EXPECT_EQ(h.dialogs.messages.value(0).text, "Set a duration of at least 1 second for the count-down or count-up.");
    const ParsedCommandLine zero = parseCommandLine({"quandrel", "--count-down", "0s"});
    EXPECT_TRUE(zero.error.contains("needs at least 1 second"));
    RemoteControl remote(*h.main, h.services);
    EXPECT_TRUE(remote.localCalls().launch({{"kind", "count-up"}}).badArgument) << "no duration";
}

TEST(BusLaunch, WrongTypesAndUnknownKeysAreNamedBeforeASlotIsLookedFor)
{
    AppHarness h;
    RemoteControl remote(*h.main, h.services);
    QuandrelCalls& calls = remote.localCalls();
    for (int n = 0; n < SlotCount; ++n)
        calls.launch({{"kind", "stopwatch"}});
    const QVariantMap countDown{{"kind", "count-down"}};
    const std::vector<std::pair<QVariantMap, const char*>> cases{
        {{{"kind", "count-down"}, {"duration", "60"}}, "'duration' must be a whole number"},
        {{{"kind", "count-down"}, {"duration", 60.5}}, "'duration' must be a whole number"},
        {{{"kind", "count-down"}, {"duration", QVariantList{60}}}, "'duration' must be a whole number"},
        {{{"kind", "count-down"}, {"duration", qulonglong(4294967356)}}, "'duration' must be from 1 second"},
        {{{"kind", "count-down"}, {"duration", qlonglong(-1)}}, "'duration' must be from 1 second"},
        {{{"kind", "alarm"}}, "'alarm' must be a time of day"},
        {{{"kind", "stopwatch"}, {"pop-on-top", "yes"}}, "'pop-on-top' must be a boolean"},
        {{{"kind", "stopwatch"}, {"colour", "red"}}, "Unknown key 'colour'"},
        {{{"kind", 4}}, "'kind' must be a string"},
    };
    for (const auto& [choices, error] : cases) {
        const CallResult result = calls.launch(choices);
        EXPECT_TRUE(result.error.startsWith(QLatin1String(error))) << qPrintable(result.error);
        EXPECT_TRUE(result.badArgument) << error;
    }
    const CallResult sound = calls.launch({{"kind", "stopwatch"}, {"sound", "/no/such.wav"}});
    EXPECT_FALSE(sound.error.contains("--sound")) << "bus errors name bus keys";
}

TEST(List, ShowsTheComingReadingAndOneLinePerTimer)
{
    AppHarness h;
    RemoteControl remote(*h.main, h.services);
    remote.Launch({{"kind", "count-down"}, {"duration", 600}, {"title", "Tea\tfor\ntwo \x1b[31m\\\u2028"}});
    remote.Launch({{"kind", "alarm"}, {"alarm", 11 * 3600}});
    const QStringList lines = remote.List();
    EXPECT_EQ(lines.value(0), "1\tTea\\tfor\\ntwo \\x1b[31m\\\\\\x2028\tcount-down\t00:10:00");
    EXPECT_EQ(lines.value(1), "2\tTimer 2\talarm\t0 elapsed of 3600 sec");
}

TEST(TitleBoxes, TakeNoControlCharacters)
{
    AppHarness h;
    h.chooseStopwatch();
    h.launch();
    QString tab = "Tea\tparty", escape = "Tea\x1b";
    int at = 0;
    EXPECT_EQ(h.find<QLineEdit>("alertTextBox")->validator()->validate(tab, at), QValidator::Invalid);
    EXPECT_EQ(h.find<QLineEdit>("titleBox", 0)->validator()->validate(escape, at), QValidator::Invalid);
}

TEST(German, TheBannerAndTheNotificationsTimesSpeakGerman)
{
    const QLocale de(QLocale::German, QLocale::Germany);
    AppHarness h(QTimeZone::utc(), de);
    RemoteControl remote(*h.main, h.services);
    remote.Launch({{"kind", "alarm"}, {"alarm", 10 * 3600 + 5}, {"title", "Tee"}});
    h.click("hideShowAllButton"); // Hide All
    h.sim.advance(5010);
    EXPECT_EQ(h.notifier.shown.value(0).body,
              "Alarm " + longTimeText(QTime(10, 0, 5), de) + " at " + longTimeText(QTime(10, 0, 5), de))
        << "the test runs untranslated: the format is what counts";
}

TEST(Layout, AStopwatchStandsInLineWithItsRow)
{
    AppHarness h;
    h.chooseDuration(0, 5, 0);
    for (int n = 0; n < 3; ++n)
        h.launch();
    h.chooseStopwatch();
    const int watch = h.launch();
    h.chooseDuration(0, 5, 0);
    const int next = h.launch();
    EXPECT_EQ(h.window(watch)->pos().y(), h.window(next)->pos().y());
}
