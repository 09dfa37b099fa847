// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/clock.h"

#include <functional>
#include <memory>

namespace quandrel {

// When a tick timer fires. An interval timer fires every intervalMs from the
// moment it is enabled. An aligned timer asks nextDue for the instant of its
// next tick on the real-time clock (ClockReading::realMs), given the current
// reading, so that a display ticks exactly when its value changes rather than
// at an arbitrary phase of the second. Setting the wall clock moves no due
// tick; one aligned to the wall clock finds its new moment when it is asked
// again, at its next tick.
struct TickSchedule {
    int intervalMs = 1000;
    std::function<qint64(const ClockReading&)> nextDue; // empty for an interval timer

    static TickSchedule interval(int ms) { return {ms, {}}; }
    static TickSchedule aligned(std::function<qint64(const ClockReading&)> due) { return {0, std::move(due)}; }
};

// A timer control: ticks while Enabled. Enabling a disabled timer starts a
// fresh interval; enabling an enabled one changes nothing.
class TickTimer {
public:
    virtual ~TickTimer() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;

    std::function<void()> onTick;
};

// The longest a tick timer waits at once before it looks at the clock again.
inline constexpr qint64 LongestWaitMs = 5 * 60 * 1000;

// The enable/fire/re-arm rules of a tick timer over a one-shot wake-up that
// a subclass provides. A wake-up before the tick's due time re-arms instead
// of ticking; a due time is never less than 1 ms ahead, so nothing spins.
class ScheduledTickTimer : public TickTimer {
public:
    ScheduledTickTimer(const Clock& clock, TickSchedule schedule);
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return enabled_; }
    // The real-time instant the next tick is due at.
    qint64 due() const { return due_; }

protected:
    // Called when the one-shot wake-up fires.
    void fire();
    virtual void startOneShot(qint64 delayMs) = 0;
    virtual void stopOneShot() = 0;

private:
    void armFrom(const ClockReading& now);
    void arm(const ClockReading& now);

    const Clock& clock_;
    TickSchedule schedule_;
    bool enabled_ = false;
    unsigned generation_ = 0;
    qint64 due_ = 0;
};

class TickTimerFactory {
public:
    virtual ~TickTimerFactory() = default;
    virtual std::unique_ptr<TickTimer> create(TickSchedule schedule) = 0;
};

// Real timers over precise single-shot QTimers, re-armed from the clock.
class QtTickTimerFactory final : public TickTimerFactory {
public:
    explicit QtTickTimerFactory(const Clock& clock) : clock_(clock) {}
    std::unique_ptr<TickTimer> create(TickSchedule schedule) override;

private:
    const Clock& clock_;
};

} // namespace quandrel
