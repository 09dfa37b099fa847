// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/launch.h"
#include "engine/timer.h"
#include "platform/services.h"
#include "platform/ticktimer.h"
#include "sound/alertplayer.h"
#include "timerwindow/timerwindowhost.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <memory>
#include <optional>

namespace quandrel {

class TimerWindow;

// Whether a slot's window is open, and whether "Hide All" hid it.
enum class WinState : int16_t { None = 0, Shown = 1, Hidden = 2 };

// Which input field last got the keyboard focus from the user: the alert
// text, the sound list, or the title box of slot n's window (base + n).
inline constexpr int16_t FocusAlertText = 1;
inline constexpr int16_t FocusSoundList = 2;
inline constexpr int16_t FocusTimerTitleBase = 10;

// What the board needs of the main window.
class BoardOwner {
public:
    virtual ~BoardOwner() = default;
    // The main window's "pop on top" check box.
    virtual bool popOnTop() const = 0;
    // Puts the keyboard into the main window's field that `code` names (the
    // alert text unless it is the sound list).
    virtual void focusField(int16_t code) = 0;
    virtual void runningCountChanged(int count) = 0;
};

// The six timers and their windows: launches a timer into the lowest free
// slot, drives every count-down, count-up and alarm clock when its display
// changes, decides how a timer that went off is shown or announced, and
// hides, shows and closes the windows.
class TimerBoard final : public QObject, public TimerWindowHost, public SoundSource {
    Q_OBJECT
public:
    TimerBoard(Services& services, BoardOwner& owner, QObject* parent = nullptr);
    ~TimerBoard() override;

    // The slot the new timer took, or -1 when all six are in use.
    int launch(const LaunchRequest& request);
    // Brings a timer of an earlier run back into its slot, with its window;
    // false when the slot is taken.
    bool restore(const SavedTimer& saved);
    void hideAll();
    void showAll();
    void closeAll();
    // The clock line of every open window.
    void showClock(const QString& timeOfDay);
    int runningCount() const;
    // Lowest free slot, or -1 when all six are taken.
    int firstFree() const;
    WinState winState(int slot) const { return winState_[size_t(slot)]; }
    // Whether Hide All hid some open window that is hidden still.
    bool anyHidden() const;
    const Timer& timer(int slot) const { return *timers_[size_t(slot)]; }
    Timer& timer(int slot) override { return *timers_[size_t(slot)]; }
    // The user put the keyboard into one of the main window's fields.
    void fieldFocused(int16_t code) { lastFocus_ = code; }
    // Slot n's open window, or nullptr.
    TimerWindow* window(int slot) const;

    // TimerWindowHost
    bool popOnTop(int slot) const override;
    void restoreFocus() override;
    void titleFocused(int slot) override;
    void windowClosed(int slot) override;
    void windowSeen(int slot) override;
    void windowStateChanged(int slot) override;
    void alertAcknowledged(int slot) override;
    // Whether slot n's window is on the screen: open, not hidden by Hide
    // All, not minimised. A timer nobody watches wakes the program only when
    // it goes off.
    bool watched(int slot) const;
    bool anyWatched() const;
    // The machine woke up: every timer looks at the clock now.
    void resumed();
    TimerCommands commands(int slot) const override;
    void pauseOrResume(int slot) override;
    void addTime(int slot, int secs) override;
    void restart(int slot) override;
    // Shows slot n's window, also out of Hide All, and brings it to the front.
    void showTimer(int slot);
    // SoundSource
    void soundFailed(int slot) override;

signals:
    // A window was hidden by Hide All, or shown or closed again.
    void hiddenChanged(bool anyHidden);
    // Whether any timer window is watched may have changed.
    void watchedChanged();
    // A timer was launched with this set-up (not one brought back).
    void launched(const LaunchRequest& request);
    // Slot n's window was closed, or its alert ended (it was given more time
    // or started again): what it sounds must stop.
    void alertEnded(int slot);

private:
    void openWindow(int slot, const LaunchCaptions& captions);
    void goOff(int slot, Expiry expiry);
    void notify(int slot, Expiry expiry);
    void onNotificationAction(int slot, const QString& action);
    void rearm(int slot);
    // Slot n's window came on the screen or went from it: its ticks follow.
    void watchChanged(int slot);
    // A ticking timer asks its schedule afresh.
    void reschedule(int slot);

    Services& services_;
    BoardOwner& owner_;
    PerSlot<std::unique_ptr<Timer>> timers_;
    PerSlot<std::unique_ptr<TickTimer>> tickTimers_;
    PerSlot<QPointer<TimerWindow>> windows_;
    PerSlot<WinState> winState_{};
    int16_t lastFocus_ = 0;
};

} // namespace quandrel
