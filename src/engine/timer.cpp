// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/timer.h"

#include "engine/alerts.h"
#include "engine/timearith.h"

#include <QCoreApplication>

#include <algorithm>

namespace quandrel {
namespace {
bool isDuration(TimerKind kind)
{
    return kind == TimerKind::CountDown || kind == TimerKind::CountUp;
}
} // namespace

Timer::Timer(int slot, QObject* parent) : QObject(parent), slot_(slot)
{
}

QString Timer::shownTitle() const
{
    return title_.isEmpty() ? QCoreApplication::translate("Timer", "Timer %1").arg(slot_ + 1) : title_;
}

LaunchCaptions Timer::launch(const LaunchRequest& request, const ClockReading& now, const QString& launchTimeText,
                             const OffsetAt& offsetAt)
{
    times_ = TimerTimes();
    active_ = true;
    phase_ = Phase::Running;
    cycles_ = 0;
    face_.clear();
    alertSoundRequest_ = cycleSoundRequest_ = false;
    sound_ = request.sound;
    popOnTop_ = request.popOnTop;
    const LaunchCaptions captions = setUpTimer(times_, request, now, launchTimeText, offsetAt);
    setTitle(request.title);
    return captions;
}

void Timer::end()
{
    if (!active_)
        return;
    active_ = false;
    alertSoundRequest_ = cycleSoundRequest_ = false;
    emit ended();
}

void Timer::setTitle(const QString& title)
{
    title_ = title;
    emit titleChanged(shownTitle());
}

void Timer::tick(const ClockReading& now)
{
    if (!active_)
        return;
    if (times_.kind == TimerKind::AlarmClock) {
        const AlarmTick tick = alarmTick(times_, now);
        emit progressChanged(tick.progress);
        if (tick.expired && phase_ == Phase::Running) {
            phase_ = Phase::GoneOff;
            emit wentOff(Expiry::Final);
        }
        return;
    }
    if (!isDuration(times_.kind))
        return;
    const DurationTick tick = durationTick(times_, now.utcMs);
    face_ = tick.face;
    emit readingChanged(tick.face);
    if (tick.expiry == Expiry::Restart && ++cycles_ >= AlertTickWrap)
        cycles_ = 0;
    if (tick.expiry == Expiry::Final)
        phase_ = Phase::GoneOff;
    if (tick.expiry != Expiry::None)
        emit wentOff(tick.expiry);
}

qint64 Timer::nextTick(const ClockReading& now) const
{
    return times_.kind == TimerKind::AlarmClock ? nextLocalSecond(now)
                                                : nextSecondAfterStart(times_.durationStart, now.utcMs);
}

QString Timer::reading(const ClockReading& now) const
{
    switch (times_.kind) {
    case TimerKind::AlarmClock:
        return alarmProgress(std::min(alarmElapsedSecs(times_, now), times_.alarmWait), times_.alarmWait);
    case TimerKind::CountDown:
    case TimerKind::CountUp:
        return hasGoneOff() ? face_ : durationFace(times_, now.utcMs);
    case TimerKind::Stopwatch:
    case TimerKind::None:
        break;
    }
    if (!times_.stopwatchRunning)
        return times_.stopwatch.stoppedFace();
    return times_.stopwatch.tick(now.utcMs).value_or(clockFace(0));
}

TimerCommands Timer::commands(const ClockReading& now) const
{
    TimerCommands can;
    if (!active_)
        return can;
    const TimerKind kind = times_.kind;
    can.resume = isDuration(kind) && times_.paused;
    can.pause = isDuration(kind) && !can.resume && !hasGoneOff();
    can.addTime = kind == TimerKind::CountDown || kind == TimerKind::AlarmClock;
    if (can.addTime)
        can.addTimeRoom = moreTimeRoom(times_, now, phase_);
    can.restart = isDuration(kind);
    return can;
}

void Timer::showNow(const ClockReading& now)
{
    if (times_.kind == TimerKind::AlarmClock) {
        emit progressChanged(alarmTick(times_, now).progress);
    } else {
        face_ = durationFace(times_, now.utcMs);
        emit readingChanged(face_);
    }
    emit pausedChanged(times_.paused);
}

void Timer::endAlertIfGoneOff()
{
    if (phase_ != Phase::GoneOff)
        return;
    phase_ = Phase::Running;
    emit alertEnded();
}

bool Timer::pauseOrResume(const ClockReading& now)
{
    const TimerCommands can = commands(now);
    if (can.resume)
        resumeDuration(times_, now.utcMs);
    else if (can.pause)
        pauseDuration(times_, now.utcMs);
    else
        return false;
    showNow(now);
    return true;
}

bool Timer::addTime(int32_t secs, const ClockReading& now)
{
    if (!commands(now).addTime || !quandrel::addTime(times_, secs, now, phase_))
        return false;
    endAlertIfGoneOff();
    showNow(now);
    return true;
}

bool Timer::restart(const ClockReading& now)
{
    if (!commands(now).restart)
        return false;
    restartDuration(times_, now.utcMs);
    endAlertIfGoneOff();
    showNow(now);
    return true;
}

void Timer::startOrStopStopwatch(qint64 nowUtcMs)
{
    times_.stopwatchRunning = !times_.stopwatchRunning;
    if (times_.stopwatchRunning) {
        times_.stopwatch.start(nowUtcMs);
        return;
    }
    times_.stopwatch.stop(nowUtcMs);
    emit readingChanged(times_.stopwatch.stoppedFace());
}

void Timer::resetStopwatch()
{
    times_.stopwatch.reset();
    times_.stopwatchRunning = false;
    emit readingChanged(clockFace(0));
}

void Timer::tickStopwatch(qint64 nowUtcMs)
{
    if (const std::optional<QString> face = times_.stopwatch.tick(nowUtcMs)) {
        emit readingChanged(*face);
        return;
    }
    // Past 23:59:59: from zero again, still running.
    resetStopwatch();
    startOrStopStopwatch(nowUtcMs);
}

void Timer::requestSound(Expiry expiry)
{
    if (!active_ || expiry == Expiry::None)
        return;
    (expiry == Expiry::Restart ? cycleSoundRequest_ : alertSoundRequest_) = true;
    emit soundRequested();
}

bool Timer::takeSoundRequest(Expiry expiry)
{
    bool& request = expiry == Expiry::Restart ? cycleSoundRequest_ : alertSoundRequest_;
    const bool was = request;
    request = false;
    return was;
}

} // namespace quandrel
