#include "platform/ticktimer.h"

#include <QTimer>

#include <algorithm>

namespace quandrel {
namespace {

class QtTickTimer final : public TickTimer {
public:
    QtTickTimer(const Clock& clock, TickSchedule schedule) : clock_(clock), schedule_(std::move(schedule))
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { fire(); });
    }

    void setEnabled(bool enabled) override
    {
        if (enabled == enabled_)
            return;
        enabled_ = enabled;
        ++generation_;
        if (enabled)
            armFrom(clock_.now());
        else
            timer_.stop();
    }

    bool isEnabled() const override { return enabled_; }

private:
    void armFrom(const ClockReading& now)
    {
        due_ = schedule_.nextDue ? schedule_.nextDue(now) : now.utcMs + schedule_.intervalMs;
        // Never re-arm at 0 ms: a due time that is not in the future would spin.
        due_ = std::max(due_, now.utcMs + 1);
        arm(now);
    }

    void arm(const ClockReading& now)
    {
        const qint64 delay = std::clamp<qint64>(due_ - now.utcMs, 1, 24LL * 3600 * 1000);
        timer_.start(int(delay));
    }

    void fire()
    {
        if (!enabled_)
            return;
        const ClockReading now = clock_.now();
        if (schedule_.nextDue && now.utcMs < due_) {
            // Woken before the tick's moment: wait for it rather than tick
            // early. Recomputing also follows a clock that was set back.
            armFrom(now);
            return;
        }
        const unsigned generation = generation_;
        if (onTick)
            onTick();
        // The handler may have disabled the timer, or disabled and re-enabled
        // it (which armed a fresh interval already).
        if (enabled_ && generation == generation_)
            armFrom(clock_.now());
    }

    const Clock& clock_;
    TickSchedule schedule_;
    QTimer timer_;
    bool enabled_ = false;
    unsigned generation_ = 0;
    qint64 due_ = 0;
};

} // namespace

std::unique_ptr<TickTimer> QtTickTimerFactory::create(TickSchedule schedule)
{
    return std::make_unique<QtTickTimer>(clock_, std::move(schedule));
}

} // namespace quandrel
