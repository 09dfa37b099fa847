// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded random use of the whole program on the simulated clock, with the
// program's rules checked after every step. A failure names its seed and
// step; QUANDREL_JOURNEY_SEED and QUANDREL_JOURNEY_STEPS replay one.
#include "support/harness.h"

#include "engine/soundcatalog.h"

#include <gtest/gtest.h>

#include <random>

using namespace quandrel;
using namespace quandrel::test;

namespace {

class Journey {
public:
    explicit Journey(unsigned seed) : dice_(seed)
    {
        h.sound.unplayable = {"/tmp/broken.wav", "/tmp/folder.wav"};
        h.sound.lengthsMs["/home/ana/long bell.wav"] = 5000;
    }

    // One random step; returns what it did.
    QString step()
    {
        switch (roll(15)) {
        case 0:
            h.chooseDuration(0, 0, roll(12), roll(2) ? Restart::Auto : Restart::Off);
            return "count down";
        case 1:
            h.chooseDuration(0, 0, roll(12), roll(2) ? Restart::Auto : Restart::Off, Direction::Up);
            return "count up";
        case 2:
            h.chooseAlarm(h.clock.now().localTime().addSecs(roll(40)));
            return "alarm";
        case 3:
            h.chooseStopwatch();
            return "stopwatch";
        case 4: {
            static const QStringList files{"", "/home/ana/long bell.wav", "/home/ana/Klänge/Glöckchen.WAV",
                                           "/tmp/broken.wav", "/tmp/folder.wav"};
            h.dialogs.nextPickedFile = files[roll(files.size())];
            h.pickSound(roll(SoundListCount));
            return "sound " + h.text("soundList");
        }
        case 5:
        case 6:
            h.type("alertTextBox", roll(2) ? QString() : QStringLiteral("Tea %1").arg(roll(9)));
            return QStringLiteral("launch into %1").arg(h.launch());
        case 7:
            h.close(roll(SlotCount));
            return "close one";
        case 8:
            h.click(roll(3) ? "hideShowAllButton" : "closeAllButton");
            return "hide/show or close all";
        case 9:
            h.click(roll(2) ? "popOnTopCheck" : "testPlayButton");
            return "pop on top or test play";
        case 10: {
            const int slot = roll(SlotCount);
            if (h.shows(slot, "stopwatchStartButton"))
                h.click(roll(3) ? "stopwatchStartButton" : "stopwatchResetButton", slot);
            return "stopwatch button";
        }
        case 11:
            h.clock.jump((roll(2) ? 1 : -1) * qint64(roll(3) == 0 ? 86'400'000 : 1000 * roll(4000)));
            return "clock set";
        case 13: { // the timer window's menu, and the notification's buttons
            const int slot = roll(SlotCount);
            if (!h.window(slot))
                return "no timer to command";
            TimerBoard& board = h.main->board();
            const int what = roll(5);
            what == 0   ? board.pauseOrResume(slot)
            : what == 1 ? board.addTime(slot, 60)
            : what == 2 ? board.restart(slot)
                        : board.showTimer(slot);
            return QStringLiteral("command %1 on %2").arg(what).arg(slot);
        }
        case 12:
            h.sound.devices = roll(5) ? 1 : 0;
            h.windows.appActive = roll(4) != 0;
            return "machine";
        default: {
            const qint64 ms = roll(3) ? 10 + roll(3000) : roll(25'000);
            h.sim.advance(ms);
            if (roll(10) < 7)
                h.sound.finishPlay();
            if (h.dialogs.held.size() && roll(2))
                h.dialogs.pressOk();
            return QStringLiteral("%1 ms pass").arg(ms);
        }
        }
    }

    // The rules that hold after every step; "" when all do.
    QString broken() const
    {
        int open = 0;
        for (int n = 0; n < SlotCount; ++n) {
            const TimerWindow* w = h.window(n);
            open += w != nullptr;
            const WinState state = h.main->board().winState(n);
            if (bool(w) != h.timer(n).isActive() || bool(w) != (state != WinState::None))
                return QStringLiteral("slot %1: window, use and state disagree").arg(n);
            if (w && w->isVisible() != (state == WinState::Shown))
                return QStringLiteral("slot %1: visibility and state disagree").arg(n);
            const QString title = w ? h.text("titleBox", n) : QString();
            if (w && w->windowTitle() != (title.isEmpty() ? QStringLiteral("Timer %1").arg(n + 1) : title))
                return QStringLiteral("slot %1: caption is not the title").arg(n);
        }
        if (h.main->board().runningCount() != open)
            return QStringLiteral("%1 windows but a count of %2").arg(open).arg(h.main->board().runningCount());
        const QString line = open == 1 ? QStringLiteral("There is Currently 1 Timer running")
                                       : QStringLiteral("There are Currently %1 Timers running").arg(open);
        if (h.text("runningCountLine") != line || h.find("closeAllButton")->isEnabled() != (open > 0))
            return QStringLiteral("the running count shows wrong");
        if (h.sound.playing && !h.sound.openPath.startsWith(h.services.soundFolder) &&
            !h.sound.openPath.startsWith(QLatin1String("/home/ana")))
            return "playing " + h.sound.openPath;
        // The clock, one tick timer, two flashers and a stopwatch per slot, the player's two.
        if (h.sim.armedTimers() > 1 + 3 * open + 2)
            return QStringLiteral("%1 timers armed for %2 windows").arg(h.sim.armedTimers()).arg(open);
        return {};
    }

    // Closes everything and lets every pending sound play out: nothing may be
    // left waiting or running but the clock.
    QString settle()
    {
        h.dialogs.holdMessages = false;
        while (!h.dialogs.held.isEmpty())
            h.dialogs.pressOk();
        h.click("closeAllButton");
        for (int i = 0; i < 40; ++i) {
            h.sim.advance(1000);
            h.sound.finishPlay();
        }
        for (int n = 0; n < SlotCount; ++n) {
            if (h.timer(n).hasSoundRequest())
                return QStringLiteral("slot %1: a sound request nobody took").arg(n);
        }
        if (h.sim.armedTimers() != 1)
            return QStringLiteral("%1 timers armed with nothing open").arg(h.sim.armedTimers());
        return {};
    }

    AppHarness h;

private:
    int roll(qsizetype n) { return int(std::uniform_int_distribution<qsizetype>(0, n - 1)(dice_)); }
    std::mt19937 dice_;
};

} // namespace

TEST(Journey, RandomUseKeepsEveryRuleAndLosesNoSound)
{
    const bool replay = qEnvironmentVariableIsSet("QUANDREL_JOURNEY_SEED");
    const int steps = qEnvironmentVariableIsSet("QUANDREL_JOURNEY_STEPS")
                          ? qEnvironmentVariableIntValue("QUANDREL_JOURNEY_STEPS")
                          : 500;
    for (int s = 0; s < (replay ? 1 : 6); ++s) {
        const unsigned seed = replay ? qEnvironmentVariableIntValue("QUANDREL_JOURNEY_SEED") : 20261206 + s;
        Journey journey(seed);
        journey.h.dialogs.holdMessages = true;
        QStringList trail;
        for (int i = 1; i <= steps; ++i) {
            trail << journey.step();
            const QString problem = journey.broken();
            ASSERT_TRUE(problem.isEmpty()) << "seed " << seed << " step " << i << ": " << problem.toStdString()
                                           << "\nlast steps: " << trail.mid(trail.size() - 8).join(" | ").toStdString();
        }
        const QString problem = journey.settle();
        EXPECT_TRUE(problem.isEmpty()) << "seed " << seed << ": " << problem.toStdString();
        AppHarness::flushDeletes();
    }
}
