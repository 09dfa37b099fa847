// SPDX-License-Identifier: GPL-3.0-or-later
// What can be done to a running timer beyond watching it: pause, more time,
// a new start, and the desktop notification that says it went off.
#include "app/timerboard.h"

#include "engine/timearith.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "platform/timeformat.h"
#include "platform/windowops.h"
#include "timerwindow/timerwindow.h"

namespace quandrel {
namespace {

// A duration as H:MM:SS, "0:25:00".
QString durationText(int32_t secs)
{
    return QStringLiteral("%1:%2:%3")
        .arg(secs / SecsPerHour)
        .arg(secs % SecsPerHour / SecsPerMinute, 2, 10, QLatin1Char('0'))
        .arg(secs % SecsPerMinute, 2, 10, QLatin1Char('0'));
}

bool isDuration(TimerKind kind)
{
    return kind == TimerKind::CountDown || kind == TimerKind::CountUp;
}

} // namespace

TimerCommands TimerBoard::commands(int slot) const
{
    TimerCommands can;
    const TimerWindow* w = window(slot);
    if (!w)
        return can;
    const TimerKind kind = table_.kind[slot];
    can.resume = isDuration(kind) && table_.paused[slot];
    can.pause = isDuration(kind) && !can.resume && !w->hasExpired();
    can.addTime = kind == TimerKind::CountDown || kind == TimerKind::AlarmClock;
    if (can.addTime)
        can.addTimeRoom =
            moreTimeRoom(table_, slot, services_.clock.now(), w->hasExpired() ? Phase::GoneOff : Phase::Running);
    can.restart = isDuration(kind);
    return can;
}

void TimerBoard::rearm(int slot)
{
    // The schedule follows the start, which has moved: wake up afresh.
    tickTimers_[slot]->setEnabled(false);
    if (!table_.paused[slot])
        tickTimers_[slot]->setEnabled(true);
    TimerWindow* w = window(slot);
    const ClockReading now = services_.clock.now();
    if (table_.kind[slot] == TimerKind::AlarmClock)
        w->showProgress(alarmTick(table_, slot, now).progress);
    else
        w->showReading(durationFace(table_, slot, now.utcMs));
    w->showPaused(table_.paused[slot]);
}

void TimerBoard::pauseOrResume(int slot)
{
    const TimerCommands can = commands(slot);
    const qint64 now = services_.clock.now().utcMs;
    if (can.resume)
        resumeDuration(table_, slot, now);
    else if (can.pause)
        pauseDuration(table_, slot, now);
    else
        return;
    rearm(slot);
}

void TimerBoard::addTime(int slot, int secs)
{
    TimerWindow* w = window(slot);
    if (!commands(slot).addTime)
        return;
    const bool expired = w->hasExpired();
    if (!quandrel::addTime(table_, slot, secs, services_.clock.now(), expired ? Phase::GoneOff : Phase::Running))
        return;
    if (expired)
        endAlert(slot);
    rearm(slot);
}

void TimerBoard::restart(int slot)
{
    TimerWindow* w = window(slot);
    if (!commands(slot).restart)
        return;
    restartDuration(table_, slot, services_.clock.now().utcMs);
    if (w->hasExpired())
        endAlert(slot);
    rearm(slot);
}

// More time or a restart silences a timer that has gone off and takes its
// notification away.
void TimerBoard::endAlert(int slot)
{
    window(slot)->endAlert();
    services_.notifier.withdraw(slot);
    emit alertEnded(slot);
}

void TimerBoard::showTimer(int slot)
{
    TimerWindow* w = window(slot);
    if (!w)
        return;
    if (table_.winState[slot] == WinState::Hidden) {
        services_.windows.show(w);
        table_.winState[slot] = WinState::Shown;
        emit hiddenChanged(anyHidden());
    }
    WindowOps& ops = services_.windows;
    if (ops.isMinimized(w))
        ops.restore(w);
    ops.activate(w);
    services_.notifier.withdraw(slot);
}

void TimerBoard::windowSeen(int slot)
{
    services_.notifier.withdraw(slot);
}

void TimerBoard::notify(int slot, Expiry expiry)
{
    const TimerWindow* w = window(slot);
    const TimerKind kind = table_.kind[slot];
    QString what;
    if (expiry == Expiry::Restart)
        what = tr("Cycle %1 done").arg(w->cycles() + 1);
    else if (kind == TimerKind::AlarmClock)
        what = tr("Alarm %1")
                   .arg(longTimeText(QTime::fromMSecsSinceStartOfDay(table_.alarmTimeOfDay[slot] * 1000),
                                     services_.locale));
    else
        what = (kind == TimerKind::CountDown ? tr("Count-down of %1 done") : tr("Count-up of %1 done"))
                   .arg(durationText(table_.durationSecs[slot]));
    Notification n;
    n.title = w->title();
    n.body = tr("%1 at %2").arg(what, longTimeText(services_.clock.now().localTime(), services_.locale));
    n.urgent = expiry == Expiry::Final;
    n.actions = {{QStringLiteral("show"), tr("Show")}, {QStringLiteral("close"), tr("Close timer")}};
    if (commands(slot).addTimeRoom >= SecsPerMinute)
        n.actions.append({QStringLiteral("add-minute"), tr("+1 min")});
    services_.notifier.show(slot, n);
}

void TimerBoard::onNotificationAction(int slot, const QString& action)
{
    if (action == QLatin1String("show") || action == QLatin1String("default"))
        showTimer(slot);
    else if (action == QLatin1String("close") && window(slot))
        window(slot)->close();
    else if (action == QLatin1String("add-minute"))
        addTime(slot, SecsPerMinute);
}

} // namespace quandrel
