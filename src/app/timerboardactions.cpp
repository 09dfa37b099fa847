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

} // namespace

TimerCommands TimerBoard::commands(int slot) const
{
    return timers_[slot]->commands(services_.clock.now());
}

// The schedule follows the start, which has moved: wake up afresh.
void TimerBoard::rearm(int slot)
{
    tickTimers_[slot]->setEnabled(false);
    if (!timers_[slot]->isPaused())
        tickTimers_[slot]->setEnabled(true);
}

void TimerBoard::pauseOrResume(int slot)
{
    if (timers_[slot]->pauseOrResume(services_.clock.now()))
        rearm(slot);
}

// More time or a restart silences a timer that has gone off and takes its
// notification away.
void TimerBoard::addTime(int slot, int secs)
{
    if (timers_[slot]->addTime(secs, services_.clock.now()))
        rearm(slot);
}

void TimerBoard::restart(int slot)
{
    if (timers_[slot]->restart(services_.clock.now()))
        rearm(slot);
}

void TimerBoard::showTimer(int slot)
{
    TimerWindow* w = window(slot);
    if (!w)
        return;
    if (winState_[slot] == WinState::Hidden) {
        services_.windows.show(w);
        winState_[slot] = WinState::Shown;
        emit hiddenChanged(anyHidden());
    }
    WindowOps& ops = services_.windows;
    if (ops.isMinimized(w))
        ops.restore(w);
    ops.activate(w);
    services_.notifier.withdraw(slot);
    watchChanged(slot);
}

void TimerBoard::windowSeen(int slot)
{
    services_.notifier.withdraw(slot);
}

void TimerBoard::notify(int slot, Expiry expiry)
{
    const Timer& timer = *timers_[slot];
    const TimerKind kind = timer.kind();
    QString what;
    if (expiry == Expiry::Restart)
        what = tr("Cycle %1 done").arg(timer.cycles());
    else if (kind == TimerKind::AlarmClock)
        what = tr("Alarm %1")
                   .arg(longTimeText(QTime::fromMSecsSinceStartOfDay(timer.times().alarmTimeOfDay * 1000),
                                     services_.locale));
    else
        what = (kind == TimerKind::CountDown ? tr("Count-down of %1 done") : tr("Count-up of %1 done"))
                   .arg(durationText(timer.times().durationSecs));
    Notification n;
    n.title = timer.shownTitle();
    const ClockReading now = services_.clock.now();
    n.body = timer.wentOffLateAt() ? tr("%1, %2").arg(what, lateNote(*timer.wentOffLateAt(), now, services_.locale))
                                   : tr("%1 at %2").arg(what, longTimeText(now.localTime(), services_.locale));
    n.urgent = expiry == Expiry::Final;
    n.actions = {{QStringLiteral("show"), tr("Show")}, {QStringLiteral("close"), tr("Close timer")}};
    if (commands(slot).addTimeRoom >= SecsPerMinute)
        n.actions.append({QStringLiteral("add-minute"), tr("+1 min")});
    if (expiry == Expiry::Final && timer.repeatsAlert())
        n.actions.append({QStringLiteral("stop"), tr("Stop alert")});
    services_.notifier.show(slot, n);
}

void TimerBoard::onNotificationAction(int slot, const QString& action)
{
    if (slot < 0 || slot >= SlotCount) // not a timer's
        return;
    if (action == QLatin1String("show") || action == QLatin1String("default"))
        showTimer(slot);
    else if (action == QLatin1String("close") && window(slot))
        window(slot)->close();
    else if (action == QLatin1String("add-minute"))
        addTime(slot, SecsPerMinute);
    else if (action == QLatin1String("stop") && window(slot))
        window(slot)->acknowledgeAlert();
}

} // namespace quandrel
