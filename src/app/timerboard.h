// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/launch.h"
#include "engine/slottable.h"
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

// The running timers: launches a timer into the lowest free slot, drives
// every count-down, count-up and alarm clock once a second against the wall
// clock, tells each window what to show and when it went off, and hides,
// shows and closes the windows.
class TimerBoard final : public QObject, public TimerWindowHost, public SoundSource {
    Q_OBJECT
public:
    TimerBoard(SlotTable& table, Services& services, BoardOwner& owner, QObject* parent = nullptr);
    ~TimerBoard() override;

    // The slot the new timer took, or -1 when all six are in use.
    int launch(const LaunchRequest& request);
    void hideAll();
    void showAll();
    void closeAll();
    // The clock line of every open window.
    void showClock(const QString& timeOfDay);
    int runningCount() const { return table_.runningCount; }
    // Whether Hide All hid some open window that is hidden still.
    bool anyHidden() const;
    const SlotTable& table() const { return table_; }
    // Slot n's open window, or nullptr.
    TimerWindow* window(int slot) const;

    // TimerWindowHost
    bool popOnTop(int slot) const override;
    void restoreFocus() override;
    void titleFocused(int slot) override;
    void requestSound(int slot, Expiry expiry) override;
    void windowClosed(int slot) override;
    void windowSeen(int slot) override;
    TimerCommands commands(int slot) const override;
    void pauseOrResume(int slot) override;
    void addTime(int slot, int secs) override;
    void restart(int slot) override;
    // Shows slot n's window, also out of Hide All, and brings it to the front.
    void showTimer(int slot);
    // SoundSource
    std::optional<SoundPick> timerSound(int slot) const override;
    void soundFailed(int slot) override;

signals:
    // A window was hidden by Hide All, or shown or closed again.
    void hiddenChanged(bool anyHidden);
    // Slot n's window was closed, or its alert ended (it was given more time
    // or started again): what it sounds must stop.
    void alertEnded(int slot);

private:
    void tick(int slot);
    void goOff(int slot, Expiry expiry);
    void notify(int slot, Expiry expiry);
    void onNotificationAction(int slot, const QString& action);
    void rearm(int slot);
    void endAlert(int slot);

    SlotTable& table_;
    Services& services_;
    BoardOwner& owner_;
    std::array<std::unique_ptr<TickTimer>, SlotCount> tickTimers_;
    std::array<QPointer<TimerWindow>, SlotCount> windows_;
    PerSlot<std::optional<bool>> popOnTop_;
};

} // namespace quandrel
