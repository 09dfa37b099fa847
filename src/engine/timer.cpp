// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/timer.h"

#include "engine/alerts.h"
#include "engine/timearith.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

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
    launchedAt_ = now.utcMs;
    broughtBackAt_ = std::numeric_limits<qint64>::min();
    wentOffLateAt_.reset();
    alertSoundRequest_ = cycleSoundRequest_ = false;
    sound_ = request.sound;
    popOnTop_ = request.popOnTop;
    repeatAlert_ = request.repeatAlert;
    const LaunchCaptions captions = setUpTimer(times_, request, now, launchTimeText, offsetAt);
    setTitle(request.title);
    return captions;
}

LaunchCaptions Timer::restore(const SavedTimer& s, const ClockReading& now, const QString& launchTimeText)
{
    LaunchRequest request;
    request.kind = s.times.kind;
    request.durationSecs = s.times.durationSecs;
    request.autoRestart = s.times.autoRestart;
    request.alarm = alarmSetting(s.times.alarmTimeOfDay);
    request.title = s.title;
    request.sound = s.sound;
    request.popOnTop = s.popOnTop;
    request.repeatAlert = s.repeatAlert;
    LaunchCaptions captions =
        launch(request, {s.launchedAt, now.offsetSecs, now.realOfUtc(s.launchedAt)}, launchTimeText);
    times_ = s.times;
    times_.durationStart = now.realOfUtc(s.times.durationStart);
    times_.pausedAt = now.realOfUtc(s.times.pausedAt);
    times_.stopwatch.origin = now.realOfUtc(s.times.stopwatch.origin);
    cycles_ = s.cycles;
    wentOffLateAt_ = s.wentOffAt;
    broughtBackAt_ = now.utcMs;
    if (times_.kind != TimerKind::AlarmClock) // it shows the alarm's setting
        captions.reading = reading(now);
    emit changed();
    return captions;
}

SavedTimer Timer::saved(const ClockReading& now) const
{
    SavedTimer s;
    s.slot = slot_;
    s.times = times_;
    s.times.durationStart = now.utcOfReal(times_.durationStart);
    s.times.pausedAt = now.utcOfReal(times_.pausedAt);
    s.times.stopwatch.origin = now.utcOfReal(times_.stopwatch.origin);
    s.title = title_;
    s.sound = sound_;
    s.popOnTop = popOnTop_;
    s.repeatAlert = repeatAlert_;
    s.cycles = cycles_;
    s.goneOff = hasGoneOff();
    s.launchedAt = launchedAt_;
    s.wentOffAt = wentOffLateAt_;
    return s;
}

void Timer::end()
{
    if (!active_)
        return;
    active_ = false;
    alertSoundRequest_ = cycleSoundRequest_ = false;
    emit ended();
    emit changed();
}

void Timer::setTitle(const QString& title)
{
    title_ = title;
    emit titleChanged(shownTitle());
    emit changed();
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
            noteIfLate(alarmDueUtc(times_, now), now);
            emit wentOff(Expiry::Final);
            emit changed();
        }
        return;
    }
    if (!isDuration(times_.kind))
        return;
    const qint64 due = times_.durationStart + qint64(times_.durationSecs) * 1000;
    const DurationTick tick = durationTick(times_, now.realMs);
    emit readingChanged(tick.face);
    if (tick.expiry == Expiry::Restart && ++cycles_ >= AlertTickWrap)
        cycles_ = 0;
    if (tick.expiry == Expiry::Final) {
        phase_ = Phase::GoneOff;
        noteIfLate(now.utcOfReal(due), now);
    }
    if (tick.expiry == Expiry::None)
        return;
    emit wentOff(tick.expiry);
    emit changed();
}

void Timer::noteIfLate(qint64 dueUtc, const ClockReading& now)
{
    if (now.utcMs - dueUtc >= LateAfterMs || dueUtc < broughtBackAt_)
        wentOffLateAt_ = dueUtc;
    else
        wentOffLateAt_.reset();
}

qint64 Timer::nextTick(const ClockReading& now) const
{
    return times_.kind == TimerKind::AlarmClock ? nextLocalSecond(now)
                                                : nextSecondAfterStart(times_.durationStart, now.realMs);
}

qint64 Timer::nextEvent(const ClockReading& now) const
{
    if (times_.kind != TimerKind::AlarmClock)
        return times_.durationStart + qint64(times_.durationSecs) * 1000 + TickSlackMs;
    return std::min(now.realOfUtc(alarmDueUtc(times_, now)) + TickSlackMs, now.realMs + AlarmLookAgainMs);
}

QString Timer::reading(const ClockReading& now) const
{
    switch (times_.kind) {
    case TimerKind::AlarmClock:
        return alarmProgress(std::min(alarmElapsedSecs(times_, now), times_.alarmWait), times_.alarmWait);
    case TimerKind::CountDown:
    case TimerKind::CountUp:
        return durationFace(times_, now.realMs);
    case TimerKind::Stopwatch:
    case TimerKind::None:
        break;
    }
    if (!times_.stopwatchRunning)
        return times_.stopwatch.stoppedFace();
    return times_.stopwatch.tick(now.realMs).value_or(clockFace(0));
}

std::optional<qint64> Timer::secondsLeft(const ClockReading& now) const
{
    if (!active_ || hasGoneOff() || times_.paused)
        return std::nullopt;
    if (times_.kind == TimerKind::AlarmClock)
        return qint64(times_.alarmWait) - alarmElapsedSecs(times_, now);
    if (!isDuration(times_.kind))
        return std::nullopt;
    return qint64(times_.durationSecs) - elapsedSecs(times_.durationStart, now.realMs);
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
        emit readingChanged(durationFace(times_, now.realMs));
    }
    emit pausedChanged(times_.paused);
}

void Timer::endAlertIfGoneOff()
{
    if (phase_ != Phase::GoneOff)
        return;
    phase_ = Phase::Running;
    wentOffLateAt_.reset();
    emit alertEnded();
}

bool Timer::pauseOrResume(const ClockReading& now)
{
    const TimerCommands can = commands(now);
    if (can.resume)
        resumeDuration(times_, now.realMs);
    else if (can.pause)
        pauseDuration(times_, now.realMs);
    else
        return false;
    showNow(now);
    emit changed();
    return true;
}

bool Timer::addTime(int32_t secs, const ClockReading& now)
{
    if (!commands(now).addTime || !quandrel::addTime(times_, secs, now, phase_))
        return false;
    endAlertIfGoneOff();
    showNow(now);
    emit changed();
    return true;
}

bool Timer::restart(const ClockReading& now)
{
    if (!commands(now).restart)
        return false;
    restartDuration(times_, now.realMs);
    endAlertIfGoneOff();
    showNow(now);
    emit changed();
    return true;
}

void Timer::startOrStopStopwatch(qint64 nowRealMs)
{
    times_.stopwatchRunning = !times_.stopwatchRunning;
    if (times_.stopwatchRunning)
        times_.stopwatch.start(nowRealMs);
    else
        times_.stopwatch.stop(nowRealMs);
    emit changed();
    if (!times_.stopwatchRunning)
        emit readingChanged(times_.stopwatch.stoppedFace());
}

void Timer::resetStopwatch()
{
    times_.stopwatch.reset();
    times_.stopwatchRunning = false;
    emit readingChanged(clockFace(0));
    emit changed();
}

void Timer::tickStopwatch(qint64 nowRealMs)
{
    if (const std::optional<QString> face = times_.stopwatch.tick(nowRealMs)) {
        emit readingChanged(*face);
        return;
    }
    // Past 23:59:59: from zero again, still running.
    resetStopwatch();
    startOrStopStopwatch(nowRealMs);
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
