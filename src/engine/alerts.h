// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

namespace quandrel {

// Where the tick counts of the alerts wrap back to zero.
inline constexpr int32_t AlertTickWrap = 2147483645;
// Ticks of the restart alert (500 ms each).
inline constexpr int32_t RestartAlertTicks = 8;

enum class TitleColour { Unchanged, Blue, Red, White };

// A window's alert counters; all zero when the window opens.
struct AlertState {
    int32_t expiryTicks = 0;
    int32_t restartTicks = 0;
    bool repeating = false; // its sound comes again until the user acknowledges it
};

// A repeating alert asks for its sound again every RepeatEveryTicks ticks
// (15 s: the plays, then a pause), for 10 minutes at the most.
inline constexpr int32_t RepeatEveryTicks = 30;
inline constexpr int32_t RepeatForTicks = 1200;

struct ExpiryAlertStep {
    bool restoreFocus = false;
    bool raiseSound = false;
    TitleColour colour = TitleColour::Unchanged;
};

// One tick of the expiry alert of slot `slot`. Slot 0 gives the focus back
// whether or not "pop on top" is ticked; the others only when it is.
ExpiryAlertStep expiryAlertTick(AlertState& state, int slot, bool popOnTop, bool hasSound);

struct RestartAlertStep {
    bool restoreFocus = false; // on the first tick, with "pop on top"
    bool raiseSound = false;   // on the first tick, when the window has a sound
    bool end = false;          // the alert is over
    bool restoreFocusAfterEnd = false;
    TitleColour colour = TitleColour::Unchanged;
};

RestartAlertStep restartAlertTick(AlertState& state, bool popOnTop, bool hasSound);

// How the user learns that a timer went off: its window comes up, or, where
// it could go unseen, a desktop notification says so. Decided once per
// expiry; a notification stays until the user goes to the window or acts.
enum class Presentation { Window, Notification };

// What is known of a timer's window when it goes off.
struct WindowView {
    bool hidden = false;    // by Hide All
    bool minimized = false; // known only where the window system tells
    bool active = false;    // the window itself is the active one
    bool appActive = false; // one of the program's windows is
    bool popOnTop = false;  // it comes to the front and stays on top
    bool canRaise = true;   // the window system lets the program restore and raise it
};

Presentation presentExpiry(const WindowView& view);

} // namespace quandrel
