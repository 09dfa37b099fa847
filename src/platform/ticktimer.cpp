// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ticktimer.h"

#include <QTimer>

#include <algorithm>

namespace quandrel {

ScheduledTickTimer::ScheduledTickTimer(const Clock& clock, TickSchedule schedule)
    : clock_(clock), schedule_(std::move(schedule))
{
}

void ScheduledTickTimer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    ++generation_;
    if (enabled)
        armFrom(clock_.now());
    else
        stopOneShot();
}

void ScheduledTickTimer::armFrom(const ClockReading& now)
{
    due_ = schedule_.nextDue ? schedule_.nextDue(now) : now.realMs + schedule_.intervalMs;
    due_ = std::max(due_, now.realMs + 1);
    arm(now);
}

void ScheduledTickTimer::arm(const ClockReading& now)
{
    // The wait runs on a clock that stops while the machine sleeps: waking at
    // least every few minutes bounds how late a tick due in sleep comes.
    startOneShot(std::clamp<qint64>(due_ - now.realMs, 1, LongestWaitMs));
}

void ScheduledTickTimer::fire()
{
    if (!enabled_)
        return;
    const ClockReading now = clock_.now();
    if (schedule_.nextDue && now.realMs < due_) {
        // Woken a little before the tick's moment: wait for it rather than
        // show the same second twice.
        armFrom(now);
        return;
    }
    const unsigned generation = generation_;
    if (onTick)
        onTick();
    // The handler may have disabled the timer, or disabled and re-enabled it
    // (which armed a fresh interval already).
    if (enabled_ && generation == generation_)
        armFrom(clock_.now());
}

namespace {

class QtTickTimer final : public ScheduledTickTimer {
public:
    QtTickTimer(const Clock& clock, TickSchedule schedule) : ScheduledTickTimer(clock, std::move(schedule))
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { fire(); });
    }

private:
    void startOneShot(qint64 delayMs) override { timer_.start(int(delayMs)); }
    void stopOneShot() override { timer_.stop(); }

    QTimer timer_;
};

} // namespace

std::unique_ptr<TickTimer> QtTickTimerFactory::create(TickSchedule schedule)
{
    return std::make_unique<QtTickTimer>(clock_, std::move(schedule));
}

} // namespace quandrel
