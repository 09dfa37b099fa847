// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/clock.h"
#include "platform/ticktimer.h"

#include <QDateTime>
#include <QTimeZone>

#include <memory>
#include <vector>

namespace quandrel::test {

// A wall clock that tests set and move, and a real-time clock beside it that
// only time passing moves; the local offset comes from a time zone, so
// daylight-saving changes happen as they do on a real machine.
class ManualClock final : public Clock {
public:
    explicit ManualClock(QTimeZone zone = QTimeZone::utc()) : zone_(std::move(zone)) {}
    ClockReading now() const override { return {utcMs_, offsetAt(utcMs_), realMs_}; }
    int offsetAt(qint64 utcMs) const override
    {
        return zone_.offsetFromUtc(QDateTime::fromMSecsSinceEpoch(utcMs, QTimeZone::utc()));
    }
    // Local date and time in the clock's zone.
    void setLocal(const QDateTime& local) { utcMs_ = QDateTime(local.date(), local.time(), zone_).toMSecsSinceEpoch(); }
    void setUtcMs(qint64 ms) { utcMs_ = ms; }
    qint64 utcMs() const { return utcMs_; }
    // Moves the wall clock without time passing (the user sets the clock).
    void jump(qint64 deltaMs) { utcMs_ += deltaMs; }

private:
    friend class Simulation;
    QTimeZone zone_;
    qint64 utcMs_ = 0;
    qint64 realMs_ = 1'000'000'000; // some days after boot
};

// Tick timers driven by simulated time. Each timer runs the real enable,
// early-wake and re-arm rules (ScheduledTickTimer); its one-shot wake-ups
// are queued on a monotonic clock that advance() moves, firing them in order
// and moving the wall clock along with it.
class Simulation final : public TickTimerFactory {
public:
    explicit Simulation(ManualClock& clock) : clock_(clock) {}
    ~Simulation() override;

    std::unique_ptr<TickTimer> create(TickSchedule schedule) override;

    // Lets ms of real time pass, firing every wake-up that falls due.
    void advance(qint64 ms);
    // The machine sleeps for ms: the wall and real-time clocks move on, the
    // monotonic clock that wake-ups wait on stands still.
    void suspend(qint64 ms);
    // Advances until the wall clock reads at least utcMs.
    void advanceToUtc(qint64 utcMs) { advance(utcMs - clock_.utcMs()); }
    // Timers whose wake-up is pending.
    int armedTimers() const;
    // Wake-ups fired so far.
    int wakes() const { return wakes_; }

private:
    class SimTimer;
    friend class SimTimer;
    ManualClock& clock_;
    std::vector<SimTimer*> timers_;
    qint64 mono_ = 0;
    int wakes_ = 0;
};

} // namespace quandrel::test
