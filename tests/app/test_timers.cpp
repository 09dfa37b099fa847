#include "support/harness.h"

#include "engine/soundcatalog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace quandrel;
using namespace quandrel::test;

namespace {

QColor titleColour(AlarmForm* f)
{
    return f->Text1->palette().color(QPalette::Base);
}

TEST(Launch, CountDownJourneyFromLaunchToClose)
{
    AppHarness h;
    h.m().Text8->setText(QStringLiteral("Tea"));
    h.m().Combo1->setCurrentIndex(3); // Ding
    h.m().Combo1_Click();
    h.chooseCountDown(0, 0, 10);
    AlarmForm* f = h.launch();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->objectName(), "ALARMFORM0");
    EXPECT_EQ(f->windowTitle(), "Tea");
    EXPECT_EQ(f->Label1->text(), "CountDown:");
    EXPECT_EQ(f->Label3->text(), "Alarm Set At: 9:00:00 AM");
    EXPECT_EQ(f->Label5->text(), "Counting 00h 00m 10s");
    EXPECT_EQ(f->AutoLabel->text(), "N");
    EXPECT_EQ(f->WavLabel->text(), "Ding");
    EXPECT_EQ(f->Text3->text(), "3");
    EXPECT_TRUE(h.m().Timer[6]->isEnabled());
    EXPECT_EQ(h.m().Label12->text(), "There is Currently 1 Timer running");

    const qint64 launchedAt = h.clock.utcMs();
    QStringList faces;
    for (int k = 1; k <= 10; ++k) {
        h.sim.advanceToUtc(launchedAt + k * 1000 + 20);
        faces << f->Label2->text();
    }
    QStringList expected;
    for (int left = 9; left >= 0; --left)
        expected << QStringLiteral("00:00:%1").arg(left, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(faces, expected) << "no second skipped or shown twice";
    EXPECT_TRUE(f->Label6->isVisibleTo(f));
    EXPECT_EQ(f->Label6->text(), "       EXPIRED!");
    EXPECT_FALSE(h.m().Timer[6]->isEnabled());
    EXPECT_TRUE(f->Timer2->isEnabled());

    // The flashing begins half a second later and the sound is asked for once.
    h.sim.advance(500);
    EXPECT_EQ(titleColour(f), QColor(0, 0, 255));
    h.sim.advance(500);
    EXPECT_EQ(titleColour(f), QColor(255, 0, 0));
    EXPECT_FALSE(h.table.AlertSoundRequest[0]) << "taken by the player";
    EXPECT_TRUE(h.audio.log.contains(QStringLiteral("open ") +
                                     soundFilePath(h.services.soundFolder, builtinSounds()[2]) +
                                     QStringLiteral(" type waveaudio alias voice1")));

    h.closeWindow(0);
    EXPECT_EQ(h.table.SlotInUse[0], 0);
    EXPECT_EQ(h.table.RunningCount, 0);
    EXPECT_EQ(h.m().Label12->text(), "There are Currently 0 Timers running");
    EXPECT_FALSE(h.m().Command5->isEnabled());
}

TEST(Launch, ExpiryLandsWithinTheTickSlackOfTheDeadline)
{
    AppHarness h;
    h.clock.setUtcMs(h.clock.utcMs() + 437); // launch at an odd phase of the second
    h.chooseCountDown(0, 0, 3);
    AlarmForm* f = h.launch();
    const qint64 deadline = h.clock.utcMs() + 3000;
    h.sim.advanceToUtc(deadline - 1);
    EXPECT_FALSE(f->Label6->isVisibleTo(f));
    h.sim.advanceToUtc(deadline + 10);
    EXPECT_TRUE(f->Label6->isVisibleTo(f));
}

TEST(Launch, CountUpShowsTimeGone)
{
    AppHarness h;
    h.chooseCountUp(0, 0, 3);
    AlarmForm* f = h.launch();
    EXPECT_EQ(f->Label1->text(), "CountUp:");
    EXPECT_TRUE(h.m().Timer[12]->isEnabled());
    h.sim.advance(1010);
    EXPECT_EQ(f->Label2->text(), "00:00:01");
    h.sim.advance(2000);
    EXPECT_EQ(f->Label2->text(), "00:00:03");
    EXPECT_TRUE(f->Label6->isVisibleTo(f));
}

TEST(Launch, AlarmClockWaitsForItsTimeOfDay)
{
    AppHarness h; // 9:00:00 AM
    h.chooseAlarm(10, 0, 0, false);
    AlarmForm* f = h.launch();
    EXPECT_EQ(f->Label1->text(), "Alarm Set For:");
    EXPECT_EQ(f->Label2->text(), "10:00:00 AM");
    EXPECT_EQ(f->Label3->text(), "Alarm Set At: 9:00:00 AM");
    EXPECT_EQ(f->Label5->text(), "0 elapsed");
    EXPECT_EQ(f->AutoLabel->text(), "N/A");
    EXPECT_EQ(h.table.AlarmWait[0], 3600);
    EXPECT_EQ(h.m().Label8->text(), "32400");
    h.sim.advance(1010);
    EXPECT_EQ(f->Label5->text(), "1 elapsed of 3600 sec");
    EXPECT_EQ(h.m().Label5->text(), "1");
    h.sim.advance(3598 * 1000);
    EXPECT_FALSE(f->Label6->isVisibleTo(f));
    h.sim.advance(1000);
    EXPECT_EQ(f->Label5->text(), "3600 elapsed of 3600 sec");
    EXPECT_TRUE(f->Label6->isVisibleTo(f));
    EXPECT_FALSE(h.m().Timer[0]->isEnabled());
}

TEST(Launch, AlarmLaunchTimeIsRightInLocalesCountTimeCannotRead)
{
    AppHarness h(QTimeZone::utc(), QLocale(QLocale::Japanese, QLocale::Japan));
    h.clock.setLocal(QDateTime(QDate(2026, 12, 6), QTime(21, 5, 7)));
    h.chooseAlarm(10, 0, 0, true); // 22:00:00
    h.launch();
    EXPECT_EQ(h.table.LaunchSecs[0], 75907);
    EXPECT_EQ(h.table.AlarmWait[0], 3293);
}

TEST(Launch, AlarmAcrossSpringForwardRingsAtLocalFour)
{
    AppHarness h(QTimeZone("Europe/Berlin"));
    h.clock.setLocal(QDateTime(QDate(2026, 3, 29), QTime(1, 0, 0)));
    h.chooseAlarm(4, 0, 0, false);
    AlarmForm* f = h.launch();
    EXPECT_EQ(h.table.AlarmWait[0], 10800);
    h.sim.advance(7200 * 1000 - 1000);
    EXPECT_FALSE(f->Label6->isVisibleTo(f));
    h.sim.advance(1100);
    EXPECT_TRUE(f->Label6->isVisibleTo(f));
    EXPECT_EQ(h.clock.now().localTime().hour(), 4);
}

TEST(Launch, SixSlotsThenRefused)
{
    AppHarness h;
    h.chooseStopwatch();
    for (int n = 0; n < 6; ++n)
        ASSERT_NE(h.launch(), nullptr);
    EXPECT_EQ(h.m().Label12->text(), "There are Currently 6 Timers running");
    EXPECT_EQ(h.launch(), nullptr);
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0].text, "all timers are in use");
    EXPECT_EQ(h.dialogs.messages[0].title, "Quandrel");
    EXPECT_EQ(h.table.RunningCount, 6);
}

TEST(Launch, LowestFreeSlotAndItsTickTimer)
{
    AppHarness h;
    h.chooseCountDown(0, 1, 0);
    for (int n = 0; n < 4; ++n)
        h.launch();
    h.closeWindow(2);
    h.closeWindow(1);
    EXPECT_EQ(h.table.RunningCount, 2);
    EXPECT_FALSE(h.m().Timer[8]->isEnabled());
    AlarmForm* f = h.launch();
    EXPECT_EQ(f->slot(), 1);
    h.chooseCountUp(0, 1, 0);
    f = h.launch();
    EXPECT_EQ(f->slot(), 2);
    EXPECT_TRUE(h.m().Timer[14]->isEnabled());
    EXPECT_FALSE(h.m().Timer[8]->isEnabled());
}

TEST(Launch, EachLaunchMakesAFreshWindow)
{
    AppHarness h;
    h.m().Text8->setText(QStringLiteral("First"));
    h.chooseCountDown(0, 0, 0, true);
    AlarmForm* first = h.launch();
    h.sim.advance(5000);
    EXPECT_FALSE(first->CyclesLabel->text().isEmpty());
    h.closeWindow(0);
    h.m().Text8->clear();
    h.chooseStopwatch();
    AlarmForm* second = h.launch();
    EXPECT_NE(first, second);
    EXPECT_EQ(second->windowTitle(), "Timer 1");
    EXPECT_TRUE(second->CyclesLabel->text().isEmpty());
    EXPECT_EQ(second->alert.CycleCount, 0);
    EXPECT_EQ(second->Label2->text(), "00:00:00");
    EXPECT_EQ(second->WavLabel->text(), "N/A");
}

TEST(Launch, TitleBoxSetsTheCaption)
{
    AppHarness h;
    h.chooseStopwatch();
    h.launch();
    AlarmForm* f = h.launch();
    EXPECT_EQ(f->windowTitle(), "Timer 2");
    f->Text1->setText(QStringLiteral("Eggs"));
    EXPECT_EQ(f->windowTitle(), "Eggs");
    f->Text1->clear();
    EXPECT_EQ(f->windowTitle(), "Timer 2");
    f->Text1_GotFocus();
    EXPECT_EQ(h.table.LastFocus, 11);
}

TEST(AutoRestart, CyclesCountAndNeverDrift)
{
    AppHarness h;
    h.chooseCountDown(0, 0, 10, true);
    h.m().Combo1->setCurrentIndex(1);
    h.m().Combo1_Click();
    AlarmForm* f = h.launch();
    EXPECT_EQ(f->AutoLabel->text(), "Y");
    const qint64 start = h.clock.utcMs();
    h.sim.advanceToUtc(start + 10'020);
    EXPECT_EQ(f->Label2->text(), "00:00:00");
    EXPECT_TRUE(f->Timer3->isEnabled());
    EXPECT_FALSE(f->Timer2->isEnabled());
    h.sim.advance(500);
    EXPECT_EQ(f->CyclesLabel->text(), "Cycles: 1");
    EXPECT_TRUE(f->Label6->isVisibleTo(f));
    h.sim.advance(500);
    EXPECT_EQ(f->Label2->text(), "00:00:09");
    h.sim.advance(3100);
    EXPECT_FALSE(f->Label6->isVisibleTo(f)) << "the restart alert ends after four seconds";
    EXPECT_EQ(titleColour(f), QColor(255, 255, 255));
    // A hundred cycles later the timer still restarts on its exact deadlines.
    h.sim.advanceToUtc(start + 1000 * 10'000 + 20);
    EXPECT_EQ(h.table.DurationStart[0], start + 1000 * 10'000);
    h.sim.advance(500);
    EXPECT_EQ(f->CyclesLabel->text(), "Cycles: 1000");
}

TEST(AutoRestart, CyclesShorterThanTheRestartAlert)
{
    AppHarness h;
    h.chooseCountDown(0, 0, 2, true);
    AlarmForm* f = h.launch();
    // Restarts come every 2 s; the alert that the one at 2 s starts runs
    // four seconds, so the restarts at 4 s and 6 s fall inside it and are not
    // counted. The one at 8 s starts the next alert.
    h.sim.advance(7900);
    EXPECT_EQ(f->CyclesLabel->text(), "Cycles: 1");
    EXPECT_FALSE(f->Timer3->isEnabled());
    h.sim.advance(700);
    EXPECT_EQ(f->CyclesLabel->text(), "Cycles: 2");
}

TEST(AutoRestart, ZeroLengthTimerTicksOncePerSecond)
{
    AppHarness h;
    h.chooseCountUp(0, 0, 0, true);
    h.launch();
    const long before = h.sim.wakeups();
    h.sim.advance(10'000);
    EXPECT_LT(h.sim.wakeups() - before, 100) << "no busy loop";
}

TEST(Stopwatch, StartStopResetAndWrap)
{
    AppHarness h;
    h.chooseStopwatch();
    AlarmForm* f = h.launch();
    EXPECT_EQ(f->Label1->text(), "Stopwatch");
    EXPECT_TRUE(f->SWStart->isVisibleTo(f));
    EXPECT_FALSE(f->Label4->isVisibleTo(f));
    f->SWStart->click();
    EXPECT_EQ(f->SWStart->text(), "Stop");
    h.sim.advance(900);
    EXPECT_EQ(f->Label2->text(), "00:00:00") << "not written at start";
    h.sim.advance(4200);
    EXPECT_EQ(f->Label2->text(), "00:00:05");
    f->SWStart->click();
    h.sim.advance(60'000);
    EXPECT_EQ(f->Label2->text(), "00:00:05");
    f->SWStart->click();
    h.sim.advance(2010);
    EXPECT_EQ(f->Label2->text(), "00:00:07");
    f->SWReset->click();
    EXPECT_EQ(f->Label2->text(), "00:00:00");
    EXPECT_EQ(f->SWStart->text(), "Start");
    EXPECT_FALSE(f->SWTimer->isEnabled());

    f->SWStart->click();
    h.sim.advance(86'399'000 + 10);
    EXPECT_EQ(f->Label2->text(), "23:59:59");
    h.sim.advance(1000);
    EXPECT_EQ(f->Label2->text(), "00:00:00");
    EXPECT_EQ(f->SWStart->text(), "Stop");
    h.sim.advance(1000);
    EXPECT_EQ(f->Label2->text(), "00:00:01");
}

TEST(ClockChanges, EachKindFollowsTheWallClock)
{
    AppHarness h;
    h.chooseCountDown(0, 10, 0);
    AlarmForm* down = h.launch();
    h.chooseCountUp(0, 10, 0);
    AlarmForm* up = h.launch();
    h.chooseAlarm(9, 30, 0, false);
    AlarmForm* alarm = h.launch();
    h.chooseStopwatch();
    AlarmForm* sw = h.launch();
    sw->SWStart->click();
    h.sim.advance(60'010);
    EXPECT_EQ(down->Label2->text(), "00:09:00");

    h.clock.jump(-3600'000); // set back an hour
    h.sim.advance(1000);
    EXPECT_EQ(down->Label2->text(), "01:08:59");
    EXPECT_EQ(up->Label2->text(), "-00:58:59");
    EXPECT_EQ(sw->Label2->text(), "-00:58:59");
    EXPECT_FALSE(alarm->Label6->isVisibleTo(alarm));

    h.clock.jump(2 * 3600'000); // forward, past every end
    h.sim.advance(1000);
    EXPECT_TRUE(down->Label6->isVisibleTo(down));
    EXPECT_TRUE(up->Label6->isVisibleTo(up));
    EXPECT_TRUE(alarm->Label6->isVisibleTo(alarm));
    EXPECT_EQ(alarm->Label5->text(), "3662 elapsed of 1800 sec");
}

TEST(ClockLines, ChangeJustAfterTheLocalSecond)
{
    AppHarness h;
    h.chooseStopwatch();
    AlarmForm* f = h.launch();
    f->show();
    h.clock.jump(300); // the wall clock now stands 300 ms into a second
    h.sim.advance(2000);
    const qint64 toNextSecond = 1000 - h.clock.utcMs() % 1000;
    h.sim.advance(toNextSecond - 1);
    const QString before = h.m().Label2->text();
    h.sim.advance(10); // the tick lands 5 ms after the second turns
    EXPECT_NE(h.m().Label2->text(), before);
    EXPECT_EQ(f->Label4->text(), "Current Time: " + h.m().Label2->text());
}

TEST(Idle, NothingButTheClockWakesTheProgram)
{
    AppHarness h;
    h.sim.advance(1000);
    const long before = h.sim.wakeups();
    h.sim.advance(60'000);
    EXPECT_EQ(h.sim.wakeups() - before, 60);
}

} // namespace
