#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <cstdint>
#include <functional>

namespace quandrel {

inline constexpr int SlotCount = 6;

// Timer kinds as the launcher numbers them.
enum TimerKindCode : int16_t { KindCountUp = 1, KindCountDown = 2, KindAlarmClock = 3, KindStopwatch = 4 };

// TimerWinState values.
enum WinState : int16_t { WinNone = 0, WinShown = 1, WinHidden = 2 };

// LastFocus codes: 1 the alert-text box, 2 the sound list, 10 + n the title
// box of slot n's timer window.
inline constexpr int16_t FocusAlertText = 1;
inline constexpr int16_t FocusSoundList = 2;
inline constexpr int16_t FocusTimerTitleBase = 10;

template <typename T> using PerSlot = std::array<T, SlotCount>;

// The process-wide per-slot state of the six timers. Every field starts at
// zero, false or empty. Start instants are kept as milliseconds: DurationStart
// on the UTC clock, AlarmStart on the local wall clock (ClockReading).
struct SlotTable {
    PerSlot<int16_t> SlotInUse{};
    PerSlot<QString> LaunchTimeText{};
    PerSlot<int32_t> LaunchHour{}, LaunchMinute{}, LaunchSecond{};
    PerSlot<QString> LaunchAmPm{};
    PerSlot<int32_t> LaunchSecs{};
    PerSlot<int32_t> AlarmSecs{};
    PerSlot<int32_t> AlarmWait{};
    PerSlot<qint64> AlarmStart{}; // local wall-clock ms of the launch
    PerSlot<int32_t> AlarmElapsed{};
    PerSlot<int32_t> DurationSecs{};
    PerSlot<qint64> DurationStart{}; // UTC ms of the launch or of the current cycle
    PerSlot<int32_t> DurationElapsed{};
    PerSlot<QString> ShowHours{}, ShowMinutes{}, ShowSeconds{};

    PerSlot<int16_t> TimerWinState{};
    PerSlot<bool> AlertSoundRequest{};
    PerSlot<bool> CycleSoundRequest{};

    int16_t RunningCount = 0;
    int16_t LastFocus = 0;
    int32_t DurHourSecs = 0;
    int32_t DurMinuteSecs = 0;
    int32_t DurSecondSecs = 0;
    int32_t HalfDay = 0;

    // Kept with the main window's launch state.
    int16_t TimerKind = 0;
    PerSlot<int16_t> AutoRestart{};

    // Called whenever a sound request is raised, so that the sound player
    // need not poll an idle mailbox.
    std::function<void()> onSoundRequest;

    // Lowest slot whose SlotInUse is 0, or -1 when all six are taken.
    int findFreeSlot() const;
    // Window load and unload bookkeeping of slot n.
    void markLoaded(int n);
    void markUnloaded(int n);
    // Clears the numbered per-slot variables (window states and requests).
    void clearNumbered();

    void raiseAlertSound(int n);
    void raiseCycleSound(int n);
    bool anySoundRequest() const;
};

} // namespace quandrel
