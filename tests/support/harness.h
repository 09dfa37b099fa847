#pragma once

#include "app/timermain.h"
#include "engine/slottable.h"
#include "platform/services.h"
#include "support/fakes.h"
#include "support/sim.h"
#include "timerwindow/alarmform.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QTimeZone>

namespace quandrel::test {

// The whole program on fakes: a manual clock with simulated tick timers,
// recorded dialogs, window operations and audio, and a fresh sound folder.
// The main window is loaded as at start-up.
class AppHarness {
public:
    explicit AppHarness(QTimeZone zone = QTimeZone::utc(),
                        QLocale locale = QLocale(QLocale::English, QLocale::UnitedStates));
    ~AppHarness();

    ManualClock clock;
    Simulation sim{clock};
    FakeDialogs dialogs;
    FakeWindowOps windows;
    FakeAudioCommands audio;
    QTemporaryDir dir;
    Services services;
    SlotTable table;
    QPointer<Timermain> main;

    Timermain& m() { return *main; }
    AlarmForm* form(int slot) const;

    // Setup-panel shortcuts, each through the real controls.
    void chooseCountDown(int h, int min, int s, bool autostart = false);
    void chooseCountUp(int h, int min, int s, bool autostart = false);
    void chooseAlarm(int hour12, int min, int s, bool pm);
    void chooseStopwatch();
    // Presses LaunchTimer; returns the window of the slot it took, or nullptr.
    AlarmForm* launch();
    // Closes a timer window as its close box would.
    void closeWindow(int slot);
    // Runs deferred deletions of closed windows.
    static void flushDeletes();
};

} // namespace quandrel::test
