// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/timer.h"

namespace quandrel {

// What a timer window needs from the program around it. Keeps the
// dependency one-way: the window knows nothing of the main window.
class TimerWindowHost {
public:
    virtual ~TimerWindowHost() = default;
    // Whether slot n's timer comes to the front and stays on top when it goes off.
    virtual bool popOnTop(int slot) const = 0;
    // Gives the keyboard back to the field the user last typed in.
    virtual void restoreFocus() = 0;
    // The user put the keyboard into slot n's title box.
    virtual void titleFocused(int slot) = 0;
    // Slot n's window was closed, by its close box or by the program.
    virtual void windowClosed(int slot) = 0;
    // The user brought slot n's window up: what announced it may go.
    virtual void windowSeen(int slot) = 0;
    // The user acknowledged slot n's repeating alert: its sound stops.
    virtual void alertAcknowledged(int slot) = 0;
    // Slot n's window was minimised or restored.
    virtual void windowStateChanged(int slot) = 0;
    virtual TimerCommands commands(int slot) const = 0;
    virtual void pauseOrResume(int slot) = 0;
    virtual void addTime(int slot, int secs) = 0;
    virtual void restart(int slot) = 0;
};

} // namespace quandrel
