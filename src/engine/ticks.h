#pragma once

#include "engine/slottable.h"
#include "platform/clock.h"

#include <QString>

namespace quandrel {

// How long after the moment a display changes its tick is scheduled.
inline constexpr qint64 TickSlackMs = 5;

enum class Expiry { None, Final, Restart };

struct DurationTick {
    QString face; // the clock face for the window's display
    Expiry expiry = Expiry::None;
};

// One tick of slot n's count-down (countDown) or count-up at nowUtcMs: measures
// DurationElapsed, splits the shown value into the clock face and tests for
// expiry. A restart moves DurationStart to the deadline of the cycle that just
// ended, so cycles never drift; after a clock jump of more than a whole cycle
// the next cycle starts now instead of firing a burst of expiries.
DurationTick durationTick(SlotTable& table, int n, bool countDown, qint64 nowUtcMs);

struct AlarmTick {
    QString progress; // "N elapsed of M sec"
    int32_t elapsed = 0;
    bool expired = false;
};

// One tick of slot n's alarm clock; elapsed counts the second boundaries that
// the local wall clock crossed since the launch.
AlarmTick alarmTick(SlotTable& table, int n, qint64 nowLocalWallMs);

// Next tick of a display that changes every whole second after startUtcMs.
qint64 nextSecondAfterStart(qint64 startUtcMs, qint64 nowUtcMs);
// Next tick of a display that changes when the local clock's second changes.
qint64 nextLocalSecond(const ClockReading& now);

} // namespace quandrel
