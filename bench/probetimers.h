#pragma once

#include "benchstubs.h"
#include "platform/ticktimer.h"

#include <functional>
#include <memory>

namespace quandrel::bench {

class ProbeTimerFactory;

// A real tick timer with a hook that runs after every tick handler, so that a
// benchmark sees exactly which tick changed what and when the tick began.
class ProbeTimer final : public TickTimer {
public:
    ProbeTimer(ProbeTimerFactory& factory, std::unique_ptr<TickTimer> inner);
    void setEnabled(bool enabled) override { inner_->setEnabled(enabled); }
    bool isEnabled() const override { return inner_->isEnabled(); }

private:
    std::unique_ptr<TickTimer> inner_;
};

class ProbeTimerFactory final : public TickTimerFactory {
public:
    explicit ProbeTimerFactory(TickTimerFactory& inner) : inner_(inner) {}
    std::unique_ptr<TickTimer> create(TickSchedule schedule) override
    {
        return std::make_unique<ProbeTimer>(*this, inner_.create(std::move(schedule)));
    }

    // Called after a tick handler returned, with the wall-clock moment at
    // which the tick began and how long the thread had waited for a CPU since
    // the last mark() (or the previous tick).
    std::function<void(const TickTimer* timer, double tickStartMs, double cpuWaitMs)> afterTick;

    // Notes the run-queue delay so far; the next tick reports what it adds.
    void mark() { lastWaitMs_ = runQueueWaitMs(); }
    double waitSinceMark() const { return runQueueWaitMs() - lastWaitMs_; }

private:
    TickTimerFactory& inner_;
    double lastWaitMs_ = runQueueWaitMs();
};

inline ProbeTimer::ProbeTimer(ProbeTimerFactory& factory, std::unique_ptr<TickTimer> inner) : inner_(std::move(inner))
{
    inner_->onTick = [this, &factory] {
        const double start = wallMs();
        const double waited = factory.waitSinceMark();
        if (onTick)
            onTick();
        if (factory.afterTick)
            factory.afterTick(this, start, waited);
        factory.mark();
    };
}

} // namespace quandrel::bench
