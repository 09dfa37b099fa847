#pragma once

#include "platform/clock.h"

#include <functional>
#include <memory>

namespace quandrel {

// When a tick timer fires. An interval timer fires every intervalMs from the
// moment it is enabled. An aligned timer asks nextDue for the UTC instant of
// its next tick, given the current reading, so that a display ticks exactly
// when its value changes rather than at an arbitrary phase of the second.
struct TickSchedule {
    int intervalMs = 1000;
    std::function<qint64(const ClockReading&)> nextDue; // empty for an interval timer

    static TickSchedule interval(int ms) { return {ms, {}}; }
    static TickSchedule aligned(std::function<qint64(const ClockReading&)> due)
    {
        return {0, std::move(due)};
    }
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
