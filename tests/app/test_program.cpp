// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program on the simulated clock, driven through its controls.
#include "support/harness.h"

#include "engine/soundcatalog.h"
#include "platform/reversedscrollbar.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quandrel;
using namespace quandrel::test;

namespace {
QColor titleColour(const AppHarness& h, int slot)
{
    return h.find<QLineEdit>("Text1", slot)->palette().color(QPalette::Base);
}
} // namespace

TEST(StartUp, EveryBoxShowsItsBarAndTheClockFollowsTheLocale)
{
    AppHarness h;
    QStringList boxes;
    for (const char* box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Label2", "Combo1"})
        boxes << h.text(box);
    EXPECT_EQ(boxes, QStringList({"01", "00", "00", "1", "00", "00", "AM", "10:00:00 AM", "None"}));
    EXPECT_FALSE(h.find("Command5")->isEnabled());
    AppHarness german(QTimeZone::utc(), QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.text("Label2"), "10:00:00");
    EXPECT_EQ(MainWindow::centredPosition({800, 600}, {1001, 400}), QPoint(-100, 100));
}

TEST(SetupPanel, KindsExcludeOneAnotherAndOfferOnlyTheirValues)
{
    AppHarness h;
    const auto state = [&h] {
        QString s;
        for (const char* name : {"VScroll1", "VScroll4", "Check1", "Command1"})
            s += h.find(name)->isEnabled() ? '1' : '0';
        return s + (h.find<QAbstractButton>("Check1")->isChecked() ? "+" : "-");
    };
    EXPECT_EQ(state(), "0101-"); // the alarm clock at start-up
    h.chooseDuration(0, 1, 0, true);
    EXPECT_EQ(state(), "1011+");
    h.click("Check2");
    EXPECT_EQ(state(), "0101-");
    h.click("Option1");
    EXPECT_EQ(state(), "1011-");
    h.click("Check3");
    EXPECT_EQ(state(), "0001-");
    h.click("Check3");
    EXPECT_EQ(state(), "0000-"); // nothing chosen: nothing to launch
    for (const auto& [bar, box, top] : {std::tuple{"VScroll4", "Text4", "12"},
                                        {"VScroll7", "Text7", "PM"},
                                        {"VScroll5", "Text5", "59"},
                                        {"VScroll1", "Text1", "23"}}) {
        h.setBar(bar, 99);
        EXPECT_EQ(h.text(box), top) << "bars stop at their ends";
    }
}

TEST(Launch, EachKindShowsItsSettingsAndTheSeventhIsRefused)
{
    AppHarness h;
    h.type("Text8", "Tea");
    h.pickSound(3);
    h.chooseDuration(0, 0, 10);
    ASSERT_EQ(h.launch(), 0);
    EXPECT_EQ(h.window(0)->windowTitle(), "Tea");
    EXPECT_EQ(h.text("Label3", 0), "Alarm Set At: 10:00:00 AM");
    EXPECT_EQ(h.text("Label5", 0) + h.text("WavLabel", 0), "Counting 00h 00m 10sDing");
    h.type("Text8", "");
    h.chooseAlarm(11, 30, 0, false);
    ASSERT_EQ(h.launch(), 1);
    EXPECT_EQ(h.window(1)->windowTitle(), "Timer 2");
    EXPECT_EQ(h.text("Label2", 1) + h.text("AutoLabel", 1), "11:30:00 AMN/A");
    h.chooseDuration(1, 2, 3, true, false);
    ASSERT_EQ(h.launch(), 2);
    EXPECT_EQ(h.text("Label5", 2) + h.text("AutoLabel", 2), "Counting 01h 02m 03sY");
    h.chooseStopwatch();
    ASSERT_EQ(h.launch(), 3);
    EXPECT_TRUE(h.shows(3, "SWStart") && !h.shows(3, "Label4"));
    EXPECT_EQ(h.launch() + h.launch(), 9);
    EXPECT_EQ(h.text("Label12"), "There are Currently 6 Timers running");
    h.dialogs.holdMessages = true;
    for (int press = 0; press < 6; ++press)
        EXPECT_EQ(h.launch(), -1);
    ASSERT_EQ(h.dialogs.messages.size(), 1) << "one box at a time";
    h.dialogs.pressOk();
    EXPECT_EQ(h.dialogs.messages[0].title + h.dialogs.messages[0].text, "Quandrelall timers are in use");
    // The lowest free slot is taken next, as a fresh window.
    h.close(1);
    h.close(2);
    EXPECT_EQ(h.text("Label12"), "There are Currently 4 Timers running");
    EXPECT_EQ(h.launch(), 1);
    EXPECT_EQ(h.text("Label1", 1) + h.text("CyclesLabel", 1), "Stopwatch");
}

TEST(CountDown, EverySecondShownThenExpiredFlashingAndHeard)
{
    AppHarness h;
    h.pickSound(1);
    h.clock.setUtcMs(h.clock.utcMs() + 437); // an odd phase of the second
    h.chooseDuration(0, 0, 10);
    const int slot = h.launch();
    h.windows.minimized.insert(h.window(slot));
    const qint64 start = h.clock.utcMs();
    QStringList faces;
    for (int k = 1; k <= 10; ++k) {
        h.sim.advanceToUtc(start + k * 1000 + 10);
        faces << h.text("Label2", slot);
    }
    EXPECT_EQ(faces.first() + faces.last(), "00:00:0900:00:00");
    EXPECT_EQ(faces.removeDuplicates(), 0) << "no second shown twice";
    EXPECT_TRUE(h.shows(slot, "Label6"));
    EXPECT_TRUE(h.windows.calls.contains("restore ALARMFORM0"));
    h.sim.advance(500);
    EXPECT_EQ(titleColour(h, slot), QColor(0, 0, 255));
    h.sim.advance(500);
    EXPECT_EQ(titleColour(h, slot), QColor(255, 0, 0));
    EXPECT_EQ(h.sound.take(), QStringList({"open " + builtinPick(h.services.soundFolder, 1).path, "play"}));
    h.sim.advance(60'000);
    EXPECT_TRUE(h.shows(slot, "Label6")) << "flashes until closed";
    h.close(slot);
    EXPECT_EQ(h.text("Label12"), "There are Currently 0 Timers running");
    EXPECT_EQ(h.sim.armedTimers(), 1) << "closing it silenced it; only the clock runs";
}

TEST(CountUp, AutoRestartCountsEveryCycleAndAlertsForFourSeconds)
{
    AppHarness h;
    h.pickSound(2);
    h.chooseDuration(0, 0, 10, true, false);
    const int slot = h.launch();
    h.sim.advance(10'560);
    EXPECT_EQ(h.text("Label2", slot) + h.text("CyclesLabel", slot), "00:00:10Cycles: 1");
    EXPECT_TRUE(h.shows(slot, "Label6"));
    EXPECT_EQ(h.sound.opened().size(), 1) << "a cycle plays once";
    h.sound.finishPlay();
    h.sim.advance(3500);
    EXPECT_FALSE(h.shows(slot, "Label6"));
    EXPECT_EQ(titleColour(h, slot), QColor(Qt::white));
    h.sim.advance(16'500);
    EXPECT_EQ(h.text("CyclesLabel", slot), "Cycles: 3");
}

TEST(AutoRestart, EveryRestartCountsAndIsHeardAtAnyCycleLength)
{
    for (const int cycle : {4, 2, 0}) {
        AppHarness h;
        h.pickSound(1);
        h.chooseDuration(0, 0, cycle, true);
        const int slot = h.launch();
        int plays = 0;
        const qint64 cycleMs = std::max(cycle, 1) * 1000;
        for (int restart = 1; restart <= 6; ++restart) {
            h.sim.advance(cycleMs);
            plays += h.sound.playing;
            h.sound.finishPlay();
        }
        h.sim.advance(600);
        plays += h.sound.playing;
        EXPECT_EQ(h.text("CyclesLabel", slot), "Cycles: 6") << cycle << " s cycles";
        EXPECT_EQ(plays, 6) << cycle << " s cycles";
    }
}

TEST(AlarmClock, RingsAtItsTimeOfDayAcrossMidnightAndDaylightSaving)
{
    AppHarness h;
    h.chooseAlarm(11, 0, 0, false);
    const int slot = h.launch();
    h.sim.advance(1010);
    EXPECT_EQ(h.text("Label5", slot), "1 elapsed of 3600 sec");
    h.sim.advance(3'598'000);
    EXPECT_FALSE(h.shows(slot, "Label6"));
    h.sim.advance(1000);
    EXPECT_TRUE(h.shows(slot, "Label6"));

    const QTimeZone zone("Europe/Berlin");
    AppHarness berlin(zone);
    berlin.clock.setLocal(QDateTime(QDate(2026, 3, 29), QTime(1, 0, 0)));
    berlin.chooseAlarm(4, 0, 0, false);
    const int dst = berlin.launch();
    berlin.chooseAlarm(12, 59, 59, false);
    const int tomorrow = berlin.launch();
    berlin.sim.advanceToUtc(QDateTime(QDate(2026, 3, 29), QTime(3, 59, 59), zone).toMSecsSinceEpoch());
    EXPECT_FALSE(berlin.shows(dst, "Label6"));
    berlin.sim.advance(1100);
    EXPECT_TRUE(berlin.shows(dst, "Label6")) << "at 4:00 on the local clock";
    EXPECT_FALSE(berlin.shows(tomorrow, "Label6"));

    AppHarness autumn(zone); // 2:30 comes again 32 minutes after 2:58 summer time
    autumn.clock.setUtcMs(QDateTime(QDate(2026, 10, 25), QTime(0, 58), QTimeZone::utc()).toMSecsSinceEpoch());
    autumn.chooseAlarm(2, 30, 0, false);
    const int repeated = autumn.launch();
    autumn.sim.advance(1'919'000);
    EXPECT_FALSE(autumn.shows(repeated, "Label6"));
    autumn.sim.advance(1010);
    EXPECT_EQ(autumn.text("Label5", repeated), "1920 elapsed of 1920 sec");
    EXPECT_TRUE(autumn.shows(repeated, "Label6"));
}

TEST(ClockChanges, EveryKindFollowsTheWallClock)
{
    AppHarness h;
    h.chooseDuration(0, 10, 0);
    const int down = h.launch();
    h.chooseAlarm(11, 0, 0, false);
    const int alarm = h.launch();
    h.chooseStopwatch();
    const int watch = h.launch();
    h.click("SWStart", watch);
    h.sim.advance(2010);
    h.clock.jump(-3600'000);
    h.sim.advance(1000);
    EXPECT_EQ(h.text("Label2", down), "01:09:57");
    EXPECT_EQ(h.text("Label5", alarm), "-3597 elapsed of 3600 sec");
    const auto* progress = h.find<QLabel>("Label5", alarm);
    EXPECT_GE(progress->minimumWidth(), progress->fontMetrics().horizontalAdvance(progress->text()))
        << "every text stays whole";
    EXPECT_EQ(h.text("Label2", watch), "-00:59:57");
    h.clock.jump(2 * 3600'000);
    h.sim.advance(1000);
    EXPECT_TRUE(h.shows(down, "Label6") && h.shows(alarm, "Label6"));
}

TEST(Stopwatch, StartStopGoOnAndReset)
{
    AppHarness h;
    h.chooseStopwatch();
    const int slot = h.launch();
    h.click("SWStart", slot);
    h.sim.advance(5010);
    EXPECT_EQ(h.text("Label2", slot), "00:00:05");
    h.click("SWStart", slot);
    EXPECT_EQ(h.text("SWStart", slot), "Start");
    h.sim.advance(60'000);
    h.click("SWStart", slot);
    h.sim.advance(2010);
    EXPECT_EQ(h.text("Label2", slot), "00:00:07");
    h.click("SWReset", slot);
    EXPECT_EQ(h.text("Label2", slot) + h.text("SWStart", slot), "00:00:00Start");
}

TEST(WindowCommands, HideLaunchShowAndCloseAll)
{
    AppHarness h;
    h.chooseDuration(0, 0, 3);
    h.launch();
    h.launch();
    h.click("Command4");
    EXPECT_EQ(h.text("Command4"), "Show All");
    EXPECT_FALSE(h.window(0)->isVisible() || h.window(1)->isVisible());
    h.launch();
    EXPECT_TRUE(h.window(2)->isVisible());
    h.sim.advance(3010);
    EXPECT_TRUE(h.find("Label6", 0)->isVisibleTo(h.window(0))) << "hidden timers go on and go off";
    h.click("Command4");
    EXPECT_TRUE(h.window(0)->isVisible() && h.window(1)->isVisible());
    h.click("Command4");
    h.click("Command5");
    EXPECT_EQ(h.text("Command4") + h.text("Label12"), "Hide AllThere are Currently 0 Timers running");
    EXPECT_FALSE(h.find("Command5")->isEnabled());
    h.launch();
    EXPECT_EQ(h.text("Label12"), "There is Currently 1 Timer running");
}

TEST(PopUpAndFocus, OnTopWhenAskedAndTheKeyboardGoesBack)
{
    AppHarness h;
    QFocusEvent typing(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(h.find("Text8"), &typing);
    h.chooseDuration(0, 0, 1);
    h.click("PopChk");
    h.launch();
    h.launch();
    h.sim.advance(1010);
    EXPECT_EQ(h.windows.onTop.size(), 2);
    h.windows.calls.clear();
    h.sim.advance(500);
    EXPECT_EQ(h.windows.calls.count("focus Timermain.Text8"), 2);
    // Without "pop on top" only slot 0 gives the keyboard back, and never
    // while another program is active.
    h.click("PopChk");
    h.click("Command5");
    h.launch();
    h.launch();
    h.windows.calls.clear();
    h.sim.advance(1510);
    EXPECT_EQ(h.windows.calls.count("focus Timermain.Text8"), 1);
    h.click("Command5");
    h.windows.appActive = false;
    h.launch();
    h.windows.calls.clear();
    h.sim.advance(1510);
    EXPECT_EQ(h.windows.calls, QStringList({"alert ALARMFORM0"}));
}

TEST(PopUpAndFocus, TypingIsNeverTakenByAPoppingTimer)
{
    AppHarness h;
    h.click("PopChk");
    h.type("Text8", "REP");
    h.chooseDuration(0, 0, 5, true);
    const int slot = h.launch();
    // The window manager activates the new window; then the user clicks into
    // the alert text and types.
    QFocusEvent activated(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(h.find("Text1", slot), &activated);
    QFocusEvent clicked(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(h.find("Text8"), &clicked);
    h.windows.calls.clear();
    for (int cycle = 0; cycle < 3; ++cycle) {
        h.sim.advance(5000);
        QCoreApplication::sendEvent(h.find("Text1", slot), &activated); // as if a pop-up had activated it
    }
    EXPECT_FALSE(h.windows.calls.join(' ').contains("activate ALARMFORM")) << h.windows.calls.join(' ').toStdString();
    EXPECT_TRUE(h.windows.calls.contains("focus Timermain.Text8"));
    EXPECT_FALSE(h.windows.calls.join(' ').contains("focus ALARMFORM0"));
    EXPECT_EQ(h.text("Text1", slot), "REP");
}

TEST(Keyboard, EnterPressesTheFocusedButtonAndEachActivateSaysWhich)
{
    AppHarness h;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(h.find("Command1"), &enter);
    EXPECT_EQ(h.text("Label12"), "There is Currently 1 Timer running");
    EXPECT_EQ(h.find("Check2")->accessibleName() + ", " + h.find("Check3")->accessibleName(),
              "Activate Alarm Clock, Activate StopWatch");
    h.window(0)->setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(h.window(0))->text(QAccessible::Name), "Timer 1")
        << "a minimised timer keeps its name";
}

TEST(Layout, LongNamesAreShortenedAndNoWindowOutgrowsItsScreen)
{
    AppHarness h;
    const QString name = QString(240, QLatin1Char('n'));
    h.dialogs.nextPickedFile = "/music/" + name + ".wav";
    h.pickSound(SoundListPlayFile);
    h.chooseDuration(0, 0, 5);
    const int slot = h.launch();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    h.main->adjustSize();
    EXPECT_LE(h.main->frameGeometry().width(), screen.width());
    EXPECT_LE(h.window(slot)->frameGeometry().width(), screen.width());
    EXPECT_EQ(h.find("WavLabel", slot)->accessibleDescription(), name);
    EXPECT_EQ(h.find("FilePlayLabel")->accessibleDescription(), name);
}

namespace {
// Right-clicks slot n's window and picks an entry of its menu; false when
// the menu has no such entry.
bool pick(AppHarness& h, int slot, const QString& entry)
{
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
    QCoreApplication::sendEvent(h.window(slot), &click);
    QMenu* menu = h.window(slot)->findChild<QMenu*>();
    QAction* action = nullptr;
    for (QAction* a : menu ? menu->actions() : QList<QAction*>())
        action = a->text() == entry ? a : action;
    if (action)
        action->trigger();
    delete menu;
    return action;
}
} // namespace

TEST(TimerMenu, PauseResumeMoreTimeAndRestart)
{
    AppHarness h;
    h.chooseDuration(0, 0, 10, true);
    const int slot = h.launch();
    h.sim.advance(3010);
    ASSERT_TRUE(pick(h, slot, "Pause"));
    EXPECT_TRUE(h.shows(slot, "PausedLabel"));
    h.sim.advance(60'000);
    h.clock.jump(-7200'000);
    EXPECT_EQ(h.text("Label2", slot), "00:00:07") << "the reading stands still";
    ASSERT_TRUE(pick(h, slot, "Resume"));
    EXPECT_FALSE(h.shows(slot, "PausedLabel"));
    h.sim.advance(2000);
    EXPECT_EQ(h.text("Label2", slot), "00:00:05");
    ASSERT_TRUE(pick(h, slot, "+5 min"));
    EXPECT_EQ(h.text("Label2", slot), "00:05:05");
    ASSERT_TRUE(pick(h, slot, "Restart"));
    EXPECT_EQ(h.text("Label2", slot), "00:00:10");
    // Gone off for good: more time starts it again and ends the alert.
    h.chooseDuration(0, 0, 1);
    const int done = h.launch();
    h.sim.advance(2000);
    EXPECT_FALSE(pick(h, done, "Pause"));
    ASSERT_TRUE(pick(h, done, "+1 min"));
    EXPECT_FALSE(h.shows(done, "Label6"));
    h.sim.advance(59'000);
    EXPECT_FALSE(h.shows(done, "Label6"));
    h.sim.advance(1100);
    EXPECT_TRUE(h.shows(done, "Label6"));
    h.chooseDuration(0, 0, 1, false, false);
    EXPECT_FALSE(pick(h, h.launch(), "+1 min")) << "a count-up takes no more time";
}

TEST(Notifications, AnUnseenTimerIsAnnouncedAndItsButtonsWork)
{
    AppHarness h;
    h.type("Text8", "Tea");
    h.chooseDuration(0, 0, 2);
    const int tea = h.launch();
    h.click("Command4"); // Hide All
    h.sim.advance(2010);
    ASSERT_EQ(h.notifier.shown.size(), 1);
    const Notification n = h.notifier.shown.value(tea);
    EXPECT_EQ(n.title, "Tea");
    EXPECT_EQ(n.body, "Count-down of 0:00:02 done at 10:00:02 AM");
    EXPECT_TRUE(n.urgent);
    EXPECT_EQ(n.actions.size(), 3);
    h.notifier.press(tea, "show");
    EXPECT_TRUE(h.window(tea)->isVisible());
    EXPECT_TRUE(h.notifier.shown.isEmpty()) << "withdrawn once shown";
    h.notifier.press(tea, "add-minute");
    EXPECT_FALSE(h.shows(tea, "Label6"));
    // Seen timers are not announced; a restarting one replaces its last one.
    h.chooseDuration(0, 0, 2, true, false);
    const int cycles = h.launch();
    h.sim.advance(2010);
    EXPECT_TRUE(h.notifier.shown.isEmpty());
    h.windows.appActive = false;
    h.sim.advance(4000);
    EXPECT_EQ(h.notifier.shown.size(), 1);
    EXPECT_EQ(h.notifier.sent, 3);
    EXPECT_TRUE(h.notifier.shown.value(cycles).body.startsWith("Cycle 3 done"));
    EXPECT_FALSE(h.notifier.shown.value(cycles).urgent);
    h.notifier.press(cycles, "close");
    EXPECT_EQ(h.window(cycles), nullptr);
    EXPECT_TRUE(h.notifier.shown.isEmpty());
}

TEST(Idle, NothingButTheClockWakesTheProgram)
{
    AppHarness h;
    const long before = h.sim.wakeups();
    h.sim.advance(60'010);
    EXPECT_EQ(h.sim.wakeups() - before, 60);
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

TEST(EndToEnd, TwoSecondCountDownExpiresOnTheRealClock)
{
    SystemClock clock;
    QtTickTimerFactory timers(clock);
    FakeDialogs dialogs;
    FakeWindowOps windows;
    FakeSoundDevice sound;
    FakeNotifier notifier;
    QTemporaryDir dir;
    Services services{clock, timers, dialogs, windows, sound, notifier, QLocale::c(), dir.filePath("sounds")};
    SlotTable table;
    auto* main = new MainWindow(table, services);
    main->start();
    main->findChild<QAbstractButton*>("Option2")->click();
    main->findChild<ReversedScrollBar*>("VScroll1")->setValue(0);
    main->findChild<ReversedScrollBar*>("VScroll3")->setValue(2);
    main->findChild<QAbstractButton*>("Command1")->click();
    QEventLoop loop;
    QTimer::singleShot(2600, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(main->board().window(0)->reading(), "00:00:00");
    EXPECT_TRUE(main->board().window(0)->hasExpired());
    main->close();
}
