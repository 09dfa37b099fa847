// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <functional>

namespace quandrel {

inline constexpr int SlotCount = 6;

enum class TimerKind : int16_t { None = 0, CountUp = 1, CountDown = 2, AlarmClock = 3, Stopwatch = 4 };

// Whether a slot's window is open, and whether "Hide All" hid it.
enum class WinState : int16_t { None = 0, Shown = 1, Hidden = 2 };

// Which input field last got the keyboard focus from the user: the alert
// text, the sound list, or the title box of slot n's window (base + n).
inline constexpr int16_t FocusAlertText = 1;
inline constexpr int16_t FocusSoundList = 2;
inline constexpr int16_t FocusTimerTitleBase = 10;

template <typename T> using PerSlot = std::array<T, SlotCount>;

// The per-slot state of the six timers. Every field starts at zero, false or
// empty. Instants are milliseconds: durations run on the UTC clock, alarm
// clocks on the local wall clock (see ClockReading) unless alarmOnRealTime.
struct SlotTable {
    PerSlot<bool> inUse{};
    PerSlot<TimerKind> kind{};
    PerSlot<WinState> winState{};

    // Count-downs and count-ups.
    PerSlot<int32_t> durationSecs{};
    PerSlot<qint64> durationStart{}; // start of the current cycle, UTC ms
    PerSlot<int32_t> durationElapsed{};
    PerSlot<bool> autoRestart{};
    PerSlot<bool> paused{};
    PerSlot<qint64> pausedAt{}; // UTC ms of the pause

    // Alarm clocks.
    PerSlot<int32_t> alarmTimeOfDay{}; // seconds after midnight it rings at
    PerSlot<int32_t> alarmWait{};      // seconds from the launch to the alarm
    PerSlot<qint64> alarmStart{};      // launch: local wall ms, or UTC ms on real time
    PerSlot<bool> alarmOnRealTime{};   // the alarm falls in an hour the clock repeats
    PerSlot<int32_t> alarmElapsed{};

    // The sound requests: raised by a window, cleared by the player.
    PerSlot<bool> alertSoundRequest{};
    PerSlot<bool> cycleSoundRequest{};

    int16_t runningCount = 0;
    int16_t lastFocus = 0;

    // Called whenever a sound request is raised, so that the player need not
    // poll an idle mailbox.
    std::function<void()> onSoundRequest;

    // Lowest free slot, or -1 when all six are taken.
    int firstFree() const;
    void raiseAlertSound(int n);
    void raiseCycleSound(int n);
    bool anySoundRequest() const;
};

} // namespace quandrel
