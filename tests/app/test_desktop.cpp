// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop gives and takes: the window system chosen, a display that
// does not answer, notifications over a slow server, windows that come back
// where they were, a Wayland desktop that keeps windows from being raised.
#include "support/harness.h"

#include "app/traymenu.h"
#include "platform/display.h"
#include "platform/notifier.h"
#include "platform/timeformat.h"

#include <QMenu>
#include <QSignalSpy>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <gtest/gtest.h>

using namespace quandrel;
using namespace quandrel::test;

TEST(Display, XWaylandIsPreferredUnlessTheUserChose)
{
    const DisplayEnvironment gnome{{}, ":0", "wayland-0", "/run/user/1000"};
    EXPECT_EQ(preferredPlatform(gnome), "xcb;wayland");
    DisplayEnvironment chosen = gnome;
    chosen.platform = "wayland";
    EXPECT_EQ(preferredPlatform(chosen), "");
    const DisplayEnvironment waylandOnly{{}, {}, "wayland-0", "/run/user/1000"};
    EXPECT_EQ(preferredPlatform(waylandOnly), "");
    EXPECT_EQ(DisplayEnvironment::current({"quandrel", "-platform", "offscreen"}).platform, "offscreen");
}

namespace {
// A socket that listens as a compositor's does, for as long as it lives.
struct ListeningSocket {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    explicit ListeningSocket(const QString& path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, qPrintable(path), sizeof address.sun_path - 1);
        listening = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(fd, 1) == 0;
    }
    ~ListeningSocket() { ::close(fd); }
    bool listening = false;
};
} // namespace

TEST(Display, ReachableOnlyWhereAServerAnswers)
{
    QTemporaryDir dir;
    const ListeningSocket compositor(dir.filePath("wayland-test"));
    ASSERT_TRUE(compositor.listening);
    EXPECT_TRUE(displayReachable({"wayland", {}, "wayland-test", dir.path()}));
    EXPECT_TRUE(displayReachable({{}, ":99999", dir.filePath("wayland-test"), {}})) << "X is tried first, then Wayland";
    EXPECT_FALSE(displayReachable({{}, {}, "wayland-gone", dir.path()}));
    EXPECT_FALSE(displayReachable({{}, ":99999", {}, {}}));
    EXPECT_FALSE(displayReachable({{}, "junk", {}, {}}));
    EXPECT_FALSE(displayReachable({{}, {}, {}, {}}));
    EXPECT_TRUE(displayReachable({"offscreen", {}, {}, {}}));
}

namespace {

// A notification server that answers only when told, as a busy desktop does.
class SlowNotificationService final : public NotificationService {
public:
    struct Call {
        uint replaces;
        QString title;
        Answer answered;
    };
    QList<Call> waiting;
    QMap<uint, QString> onScreen; // id -> title
    uint lastId = 0;

    void notify(uint replaces, const Notification& n, Answer answered) override
    {
        waiting.append({replaces, n.title, std::move(answered)});
    }
    void close(uint id) override { onScreen.remove(id); }
    void answer()
    {
        Call call = waiting.takeFirst();
        const uint id = onScreen.contains(call.replaces) ? call.replaces : ++lastId;
        onScreen.insert(id, call.title);
        call.answered(id, {});
    }
    void fail() { waiting.takeFirst().answered(std::nullopt, "timed out"); }
};

Notification titled(const QString& title)
{
    Notification n;
    n.title = title;
    return n;
}

} // namespace

TEST(Notifier, WithdrawnBeforeTheServerAnswersIsClosedWhenItDoes)
{
    SlowNotificationService server;
    DesktopNotifier notifier(server);
    notifier.show(0, titled("Tea"));
    notifier.withdraw(0);
    server.answer();
    EXPECT_TRUE(server.onScreen.isEmpty());
}

TEST(Notifier, ALostAnswerLeavesNothingBehindAndKeysStayApart)
{
    SlowNotificationService server;
    DesktopNotifier notifier(server);
    QList<int> pressed;
    QObject::connect(&notifier, &Notifier::actionInvoked, [&pressed](int key, const QString&) { pressed << key; });
    notifier.show(0, titled("Tea"));
    notifier.show(1, titled("Eggs"));
    server.fail();
    server.answer();
    emit server.actionInvoked(server.lastId, "show");
    EXPECT_EQ(pressed, QList<int>({1}));
    notifier.withdraw(0);
    EXPECT_EQ(server.onScreen.values(), QStringList({"Eggs"}));
    emit server.closed(server.lastId); // dismissed by the user
    notifier.withdraw(1);
    notifier.show(1, titled("Eggs"));
    EXPECT_EQ(server.waiting.last().replaces, 0u) << "a dismissed notification is not replaced";
}

TEST(Notifier, ShownAgainAfterAWithdrawalStillAwaitedStays)
{
    SlowNotificationService server;
    DesktopNotifier notifier(server);
    notifier.show(0, titled("Tea"));
    notifier.withdraw(0);
    notifier.show(0, titled("Tea again"));
    server.answer();
    server.answer();
    EXPECT_EQ(server.onScreen.values(), QStringList({"Tea again"}));
}

namespace {

// A count-down of a second in slot 0, gone off after `setUp` arranged its window.
int goOff(AppHarness& h, const std::function<void(TimerWindow*)>& setUp = {})
{
    h.type("alertTextBox", "Tea");
    h.chooseDuration(0, 0, 1);
    const int slot = h.launch();
    if (setUp)
        setUp(h.window(slot));
    h.windows.calls.clear();
    h.sim.advance(1010);
    return slot;
}

} // namespace

TEST(Expiry, AMinimisedTimerIsAnnouncedAndLeftMinimised)
{
    AppHarness h;
    goOff(h, [&h](TimerWindow* w) { h.windows.minimized.insert(w); });
    EXPECT_FALSE(h.windows.calls.contains("restore timerWindow0"));
    EXPECT_EQ(h.notifier.sent, 1);
}

TEST(Expiry, AMinimisedPopOnTopTimerTriesToComeUpAndIsAnnounced)
{
    AppHarness h;
    h.click("popOnTopCheck");
    goOff(h, [&h](TimerWindow* w) { h.windows.minimized.insert(w); });
    EXPECT_TRUE(h.windows.calls.contains("restore timerWindow0"));
    EXPECT_EQ(h.notifier.sent, 1);
}

TEST(Expiry, OnWaylandATimerWhoseWindowIsNotActiveIsAnnounced)
{
    AppHarness h;
    h.windows.raising = false;
    goOff(h);
    EXPECT_EQ(h.notifier.sent, 1);
    EXPECT_FALSE(h.windows.calls.contains("top timerWindow0"));
}

TEST(HideAndShow, WindowsGoThroughTheWindowSystemThatKeepsTheirPlace)
{
    AppHarness h;
    goOff(h, [&h](TimerWindow*) { h.click("hideShowAllButton"); });
    h.notifier.press(0, "show");
    EXPECT_EQ(h.windows.calls, QStringList({"show timerWindow0", "activate timerWindow0"}));
    EXPECT_EQ(h.text("hideShowAllButton"), "Hide All") << "the only hidden window is back";
    EXPECT_EQ(h.find("hideShowAllButton")->toolTip(), "Hide all open Timers");
    h.click("hideShowAllButton");
    EXPECT_EQ(h.windows.calls.last(), "hide timerWindow0");
    EXPECT_EQ(h.find("hideShowAllButton")->accessibleDescription(), "Show all hidden Timers");
}

TEST(Tray, WhileTimersRunItNamesTheNextAndItsMenuShowsThem)
{
    AppHarness h;
    FakeStatusItem item;
    h.main->showInTray(item, false);
    EXPECT_FALSE(item.visible) << "no timer, no item";
    h.chooseDuration(0, 5, 0);
    h.type("alertTextBox", "Tea");
    h.launch();
    h.chooseAlarm(QTime(10, 2));
    h.type("alertTextBox", "Call");
    h.launch();
    h.sim.advance(1010);
    EXPECT_TRUE(item.visible);
    EXPECT_EQ(item.toolTip, "Call: 2 min left") << "the alarm comes first";
    h.click("hideShowAllButton");
    QStringList entries;
    for (const QAction* action : h.main->tray()->menu()->actions())
        entries << action->text();
    EXPECT_EQ(entries,
              QStringList({"Show All", "Hide All", "", "Tea — 00:04:59 left", "Call — 00:01:59 left", "", "Quit"}));
    h.main->tray()->menu()->actions()[3]->trigger();
    EXPECT_TRUE(h.window(0)->isVisible()) << "choosing a timer shows its window";
    EXPECT_FALSE(h.window(1)->isVisible());
    h.close(1);
    h.sim.advance(300'000);
    EXPECT_EQ(item.toolTip, "There is Currently 1 Timer running") << "Tea has gone off";
    h.close(0);
    EXPECT_FALSE(item.visible) << "the last timer closed";
    h.main->tray()->setKept(true);
    EXPECT_TRUE(item.visible) << "kept by --tray";
    h.main->tray()->menu()->actions().last()->trigger();
    AppHarness::flushDeletes();
    EXPECT_TRUE(h.main.isNull()) << "Quit closes the main window, which ends the program";
}

TEST(Idle, TimersNobodyWatchesWakeTheProgramOnlyWhenOneGoesOff)
{
    AppHarness h;
    h.chooseDuration(0, 10, 0);
    h.launch();
    h.chooseStopwatch();
    h.launch();
    h.click("stopwatchStartButton", 1);
    h.click("hideShowAllButton");
    h.windows.minimized.insert(h.main);
    QEvent minimised(QEvent::WindowStateChange);
    QCoreApplication::sendEvent(h.main, &minimised);
    const int wakes = h.sim.wakes();
    h.sim.advance(299'000);
    EXPECT_EQ(h.sim.wakes(), wakes) << "nothing due, nothing done (but a look every five minutes)";
    h.sim.advance(301'010);
    EXPECT_TRUE(h.notifier.shown.contains(0)) << "the count-down went off on time";
    h.click("hideShowAllButton");
    EXPECT_EQ(h.text("readingLabel", 1), "00:10:00") << "shown again, the stopwatch shows its time at once";
    EXPECT_EQ(h.text("clockLine", 1), "Current Time: " + longTimeText(QTime(10, 10), h.services.locale));
    h.chooseDuration(0, 5, 0);
    h.launch();
    h.click("hideShowAllButton");
    h.sim.suspend(600'000);
    h.main->board().resumed(); // as the system says when the machine wakes up
    h.sim.advance(10);
    EXPECT_TRUE(h.notifier.shown.contains(2)) << "due while the machine slept, it goes off on waking";
}

TEST(RepeatingAlert, ItsSoundComesAgainUntilStoppedForTenMinutesAtMost)
{
    AppHarness h;
    h.pickSound(1);
    h.tick("repeatAlertCheck");
    h.chooseDuration(0, 0, 1);
    const int repeating = h.launch();
    h.tick("repeatAlertCheck", false);
    const int once = h.launch();
    QSignalSpy repeats(&h.main->board().timer(repeating), &Timer::soundRequested);
    QSignalSpy plays(&h.main->board().timer(once), &Timer::soundRequested);
    h.sim.advance(1510);
    EXPECT_EQ(repeats.count(), 1);
    EXPECT_TRUE(h.shows(repeating, "stopAlertButton"));
    EXPECT_FALSE(h.shows(once, "stopAlertButton"));
    h.sim.advance(15'000);
    EXPECT_EQ(repeats.count(), 2) << "again after 15 s";
    EXPECT_EQ(plays.count(), 1) << "by default it sounds once";
    h.sim.advance(600'000);
    EXPECT_EQ(repeats.count(), 40) << "for 10 minutes, then no more";
    EXPECT_FALSE(h.shows(repeating, "stopAlertButton"));
    h.click("closeAllButton");
    // Stopped by its button, by the notification's, by going to its window.
    h.tick("repeatAlertCheck");
    h.windows.appActive = false; // the user is elsewhere: notifications tell
    for (int n = 0; n < 3; ++n)
        h.launch();
    h.sim.advance(1510);
    EXPECT_TRUE(h.notifier.shown.value(1).actions.contains({"stop", "Stop alert"}));
    h.click("stopAlertButton", 0);
    h.notifier.press(1, "stop");
    QEvent activated(QEvent::WindowActivate);
    QCoreApplication::sendEvent(h.window(2), &activated);
    for (int slot = 0; slot < 3; ++slot) {
        QSignalSpy again(&h.main->board().timer(slot), &Timer::soundRequested);
        h.sim.advance(15'000);
        EXPECT_EQ(again.count(), 0) << "slot " << slot;
        EXPECT_TRUE(h.shows(slot, "expiredBanner")) << "it still says it went off";
    }
}
