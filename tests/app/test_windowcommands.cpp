#include "support/harness.h"

#include "platform/clock.h"
#include "platform/reversedscrollbar.h"
#include "platform/ticktimer.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace quandrel;
using namespace quandrel::test;

namespace {

TEST(WindowCommands, HideLaunchShowAndCloseAll)
{
    AppHarness h;
    h.chooseStopwatch();
    AlarmForm* a = h.launch();
    AlarmForm* b = h.launch();
    EXPECT_TRUE(h.m().Command4->isEnabled());
    h.m().Command4->click();
    EXPECT_EQ(h.m().Command4->text(), "Show All");
    EXPECT_FALSE(a->isVisible());
    EXPECT_EQ(h.table.TimerWinState[0], WinHidden);
    AlarmForm* c = h.launch();
    EXPECT_TRUE(c->isVisible());
    EXPECT_EQ(h.table.TimerWinState[2], WinShown);
    EXPECT_EQ(h.m().Command4->text(), "Show All");
    EXPECT_FALSE(b->isVisible());
    h.m().Command4->click();
    EXPECT_EQ(h.m().Command4->text(), "Hide All");
    EXPECT_TRUE(a->isVisible() && b->isVisible() && c->isVisible());
    h.m().Command4->click(); // hide again, then close everything
    h.m().Command5->click();
    EXPECT_EQ(h.m().Command4->text(), "Hide All");
    EXPECT_EQ(h.table.RunningCount, 0);
    for (int n = 0; n < SlotCount; ++n) {
        EXPECT_EQ(h.table.TimerWinState[n], WinNone);
        EXPECT_EQ(h.table.SlotInUse[n], 0);
    }
    EXPECT_EQ(h.m().Label12->text(), "There are Currently 0 Timers running");
    EXPECT_FALSE(h.m().Command4->isEnabled());
    EXPECT_FALSE(h.m().Command5->isEnabled());
}

TEST(WindowCommands, HiddenTimersKeepRunningAndAlert)
{
    AppHarness h;
    h.chooseCountDown(0, 0, 3);
    AlarmForm* f = h.launch();
    h.m().Command4->click();
    h.sim.advance(3010);
    EXPECT_TRUE(f->Label6->isVisibleTo(f));
    EXPECT_TRUE(f->Timer2->isEnabled());
    EXPECT_FALSE(f->isVisible()) << "hidden windows are not shown by their alert";
}

TEST(WindowCommands, HideAllDoesNothingWithoutTimers)
{
    AppHarness h;
    h.m().Command4_Click();
    EXPECT_EQ(h.m().Command4->text(), "Hide All");
}

TEST(WindowCommands, ClosingATimerStopsItsTicksAtOnce)
{
    AppHarness h;
    h.chooseCountDown(0, 0, 5);
    h.launch();
    h.chooseAlarm(11, 0, 0, false);
    h.launch();
    h.closeWindow(0);
    h.closeWindow(1);
    for (const auto& timer : h.m().Timer)
        EXPECT_FALSE(timer->isEnabled());
    AppHarness::flushDeletes();
    h.sim.advance(10'000); // nothing reaches the closed windows
    EXPECT_EQ(h.table.RunningCount, 0);
}

// The pop-up and the focus, against a window layer that records calls.
TEST(PopUp, RestoresAMinimisedWindowAndPutsItOnTopWhenAsked)
{
    AppHarness h;
    h.m().PopChk->setChecked(true);
    h.chooseCountDown(0, 0, 2);
    AlarmForm* f = h.launch();
    f->setWindowState(Qt::WindowMinimized);
    h.sim.advance(2010);
    EXPECT_TRUE(h.windows.calls.contains("restore ALARMFORM0"));
    EXPECT_TRUE(h.windows.calls.contains("topmost ALARMFORM0 on"));
    EXPECT_TRUE(h.windows.calls.contains("activate ALARMFORM0"));
}

TEST(PopUp, WithoutPopOnTopOnlyRestores)
{
    AppHarness h;
    h.chooseCountDown(0, 0, 2);
    AlarmForm* f = h.launch();
    f->setWindowState(Qt::WindowMinimized);
    h.sim.advance(2600);
    EXPECT_TRUE(h.windows.calls.contains("restore ALARMFORM1") || h.windows.calls.contains("restore ALARMFORM0"));
    EXPECT_FALSE(h.windows.anyCallStartingWith("topmost"));
    EXPECT_EQ(h.windows.onTop.value(f, false), false);
}

TEST(Focus, GoesBackToTheRememberedField)
{
    AppHarness h;
    h.m().PopChk->setChecked(true);
    h.m().Combo1_GotFocus();
    h.chooseCountDown(0, 0, 1);
    h.launch();
    h.sim.advance(1010);
    h.windows.calls.clear();
    h.sim.advance(500); // the first flash
    EXPECT_TRUE(h.windows.calls.contains("focus Timermain/Combo1"));
}

TEST(Focus, SlotZeroGivesItBackEvenWithoutPopOnTop)
{
    AppHarness h;
    h.m().Text8_GotFocus();
    h.chooseStopwatch();
    h.launch(); // slot 0 stays open as a stopwatch
    h.chooseCountDown(0, 0, 1);
    h.launch(); // slot 1
    h.sim.advance(1510);
    EXPECT_FALSE(h.windows.anyCallStartingWith("focus")) << "slot 1 moves no focus without pop on top";
    h.closeWindow(0);
    h.launch(); // slot 0, a count-down
    h.sim.advance(1510);
    EXPECT_TRUE(h.windows.calls.contains("focus Timermain/Text8"));
}

TEST(Focus, NeverTakenFromAnotherProgram)
{
    AppHarness h;
    h.windows.appActive = false;
    h.m().PopChk->setChecked(true);
    h.chooseCountDown(0, 0, 1); // slot 0: expiry
    h.launch();
    h.chooseCountDown(0, 0, 2, true); // slot 1: restarts with pop on top
    h.launch();
    h.sim.advance(7000);
    EXPECT_FALSE(h.windows.anyCallStartingWith("activate"));
    EXPECT_FALSE(h.windows.anyCallStartingWith("focus"));
    EXPECT_TRUE(h.windows.calls.contains("raise ALARMFORM0"));
    EXPECT_TRUE(h.windows.calls.contains("alert ALARMFORM1"));
    EXPECT_TRUE(h.windows.calls.contains("topmost ALARMFORM1 off")) << "the restart alert ends the on-top state";
}

TEST(Focus, ClosedOrHiddenTitleLeavesTheFocusAlone)
{
    AppHarness h;
    h.m().PopChk->setChecked(true);
    h.chooseStopwatch();
    AlarmForm* a = h.launch();
    a->Text1_GotFocus(); // LastFocus 10
    h.closeWindow(0);
    h.chooseCountDown(0, 0, 1);
    h.launch(); // takes slot 0 again: its title box is a new one
    h.launch(); // slot 1
    h.closeWindow(0);
    h.windows.calls.clear();
    h.sim.advance(1600);
    EXPECT_FALSE(h.windows.anyCallStartingWith("focus"));
    EXPECT_TRUE(h.m().isVisible()) << "nothing reopened, nothing ended";
}

// One run on the real clock and real timers: the event loop, QTimer and the
// clock together make a two-second count-down expire about two seconds later.
TEST(EndToEnd, TwoSecondCountDownExpiresOnTheRealClock)
{
    SystemClock clock;
    QtTickTimerFactory timers(clock);
    FakeDialogs dialogs;
    FakeWindowOps windows;
    FakeAudioCommands audio;
    QTemporaryDir dir;
    Services services{clock, timers, dialogs, windows, audio, QLocale::c(), dir.path()};
    SlotTable table;
    auto* main = new Timermain(table, services);
    main->Form_Load();
    main->Option2->click();
    main->VScroll1->setValue(0);
    main->VScroll3->setValue(2);
    QElapsedTimer elapsed;
    elapsed.start();
    main->Command1->click();
    AlarmForm* f = main->ALARMFORM[0];
    ASSERT_NE(f, nullptr);
    qint64 expiredAfter = -1;
    while (elapsed.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (f->Label6->isVisibleTo(f)) {
            expiredAfter = elapsed.elapsed();
            break;
        }
    }
    EXPECT_EQ(f->Label6->text(), "       EXPIRED!");
    EXPECT_GE(expiredAfter, 1990);
    EXPECT_LE(expiredAfter, 3000);
    EXPECT_EQ(f->Label2->text(), "00:00:00");
    main->close();
    AppHarness::flushDeletes();
}

} // namespace
