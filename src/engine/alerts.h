#pragma once

#include <QString>

#include <cstdint>

namespace quandrel {

// Where the tick counts of the alerts wrap back to zero.
inline constexpr int32_t AlertTickWrap = 2147483645;
// Ticks of the restart alert (500 ms each).
inline constexpr int32_t RestartAlertTicks = 8;

enum class TitleColour { Unchanged, Blue, Red, White };

// Per-window alert counters; all zero when the window loads.
struct AlertState {
    int32_t ExpiryTicks = 0;
    int32_t RestartTicks = 0;
    int32_t CycleCount = 0;
};

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
    QString cyclesText;        // "Cycles: N", written every tick
    bool shut = false;         // the alert ends: run do_timer3shut
    bool restoreFocusAfterShut = false;
    TitleColour colour = TitleColour::Unchanged;
};

RestartAlertStep restartAlertTick(AlertState& state, bool popOnTop, bool hasSound);

// What do_timer3shut does to the counters.
inline void restartAlertShut(AlertState& state)
{
    state.RestartTicks = 0;
}

} // namespace quandrel
