// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/sim.h"

#include <algorithm>

namespace quandrel::test {

class Simulation::SimTimer final : public ScheduledTickTimer {
public:
    SimTimer(Simulation& sim, TickSchedule schedule) : ScheduledTickTimer(sim.clock_, std::move(schedule)), sim_(sim)
    {
        sim_.timers_.push_back(this);
    }
    ~SimTimer() override { std::erase(sim_.timers_, this); }

    bool armed = false;
    qint64 wakeAtMono = 0;
    void wake() { armed = false, fire(); }

private:
    void startOneShot(qint64 delayMs) override { armed = true, wakeAtMono = sim_.mono_ + delayMs; }
    void stopOneShot() override { armed = false; }

    Simulation& sim_;
};

Simulation::~Simulation() = default;

std::unique_ptr<TickTimer> Simulation::create(TickSchedule schedule)
{
    return std::make_unique<SimTimer>(*this, std::move(schedule));
}

void Simulation::advance(qint64 ms)
{
    const qint64 end = mono_ + std::max<qint64>(ms, 0);
    for (;;) {
        SimTimer* next = nullptr;
        for (SimTimer* t : timers_) {
            if (t->armed && t->wakeAtMono <= end && (!next || t->wakeAtMono < next->wakeAtMono))
                next = t;
        }
        if (!next)
            break;
        suspend(next->wakeAtMono - mono_);
        mono_ = next->wakeAtMono;
        ++wakes_;
        next->wake();
    }
    suspend(end - mono_);
    mono_ = end;
}

void Simulation::suspend(qint64 ms)
{
    clock_.utcMs_ += ms;
    clock_.realMs_ += ms;
}

int Simulation::armedTimers() const
{
    return int(std::count_if(timers_.begin(), timers_.end(), [](const SimTimer* t) { return t->armed; }));
}

} // namespace quandrel::test
