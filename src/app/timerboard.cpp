// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/timerboard.h"

#include "engine/ticks.h"
#include "engine/timearith.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "platform/timeformat.h"
#include "platform/windowops.h"
#include "timerwindow/timerwindow.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace quandrel {

TimerBoard::TimerBoard(SlotTable& table, Services& services, BoardOwner& owner, QObject* parent)
    : QObject(parent), table_(table), services_(services), owner_(owner)
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        // A duration ticks when its own second changes, an alarm clock when
        // the local clock's does.
        tickTimers_[slot] = services_.timers.create(TickSchedule::aligned([this, slot](const ClockReading& now) {
            return table_.kind[slot] == TimerKind::AlarmClock
                       ? nextLocalSecond(now)
                       : nextSecondAfterStart(table_.durationStart[slot], now.utcMs);
        }));
        tickTimers_[slot]->onTick = [this, slot] { tick(slot); };
    }
    connect(&services_.notifier, &Notifier::actionInvoked, this, &TimerBoard::onNotificationAction);
}

TimerBoard::~TimerBoard()
{
    for (auto& timer : tickTimers_)
        timer->setEnabled(false);
}

TimerWindow* TimerBoard::window(int slot) const
{
    TimerWindow* w = windows_[size_t(slot)];
    return (w && w->isOpen()) ? w : nullptr;
}

int TimerBoard::launch(const LaunchRequest& request)
{
    const int n = table_.firstFree();
    if (n < 0)
        return -1;
    table_.winState[n] = WinState::Shown;
    table_.inUse[n] = true;
    ++table_.runningCount;
    owner_.runningCountChanged(table_.runningCount);

    auto* w = new TimerWindow(n, services_, *this);
    windows_[n] = w;
    // The six places are cut for the common window: a shorter stopwatch
    // takes the top of its place, in line with its row.
    w->adjustSize();
    const QSize place = w->size();
    popOnTop_[n] = request.popOnTop;
    const ClockReading now = services_.clock.now();
    const Clock& clock = services_.clock;
    const LaunchCaptions captions = setUpTimer(table_, n, request, now, longTimeText(now.localTime(), services_.locale),
                                               [&clock](qint64 utcMs) { return clock.offsetAt(utcMs); });
    w->showLaunch(captions, request.title, request.sound);
    if (!captions.stopwatch)
        tickTimers_[n]->setEnabled(true);
    // Shown once its captions are in, so it is placed at its final size.
    w->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        w->move(TimerWindow::initialPosition(n, place, screen->availableGeometry()));
    w->show();
    return n;
}

void TimerBoard::tick(int slot)
{
    TickTimer& timer = *tickTimers_[slot];
    TimerWindow* w = window(slot);
    if (!w) {
        timer.setEnabled(false);
        return;
    }
    const ClockReading now = services_.clock.now();
    if (table_.kind[slot] == TimerKind::AlarmClock) {
        const AlarmTick tick = alarmTick(table_, slot, now);
        w->showProgress(tick.progress);
        if (tick.expired) {
            timer.setEnabled(false);
            goOff(slot, Expiry::Final);
        }
        return;
    }
    const DurationTick tick = durationTick(table_, slot, now.utcMs);
    w->showReading(tick.face);
    if (tick.expiry == Expiry::Final)
        timer.setEnabled(false);
    if (tick.expiry != Expiry::None)
        goOff(slot, tick.expiry);
}

void TimerBoard::goOff(int slot, Expiry expiry)
{
    TimerWindow* w = window(slot);
    WindowOps& ops = services_.windows;
    WindowView view;
    view.hidden = table_.winState[slot] == WinState::Hidden;
    view.minimized = ops.isMinimized(w);
    view.active = ops.isActive(w);
    view.appActive = ops.applicationActive();
    view.popOnTop = popOnTop(slot);
    view.canRaise = ops.canRaise();
    const Presentation presentation = presentExpiry(view);
    w->goOff(expiry, presentation);
    if (presentation == Presentation::Notification)
        notify(slot, expiry);
}

void TimerBoard::showClock(const QString& timeOfDay)
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (TimerWindow* w = window(slot))
            w->showClock(timeOfDay);
    }
}

bool TimerBoard::anyHidden() const
{
    return std::find(table_.winState.begin(), table_.winState.end(), WinState::Hidden) != table_.winState.end();
}

void TimerBoard::hideAll()
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        TimerWindow* w = window(slot);
        if (w && table_.winState[slot] == WinState::Shown) {
            services_.windows.hide(w);
            table_.winState[slot] = WinState::Hidden;
        }
    }
    emit hiddenChanged(anyHidden());
}

void TimerBoard::showAll()
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        TimerWindow* w = window(slot);
        if (w && table_.winState[slot] == WinState::Hidden) {
            services_.windows.show(w);
            table_.winState[slot] = WinState::Shown;
            services_.notifier.withdraw(slot);
        }
    }
    emit hiddenChanged(anyHidden());
}

void TimerBoard::closeAll()
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (table_.winState[slot] == WinState::None)
            continue;
        if (TimerWindow* w = window(slot))
            w->close();
        table_.winState[slot] = WinState::None;
    }
}

bool TimerBoard::popOnTop(int slot) const
{
    return popOnTop_[slot].value_or(owner_.popOnTop());
}

void TimerBoard::restoreFocus()
{
    // Never take the keyboard from another program.
    if (!services_.windows.applicationActive())
        return;
    const int16_t code = table_.lastFocus;
    if (code >= FocusTimerTitleBase && code < FocusTimerTitleBase + SlotCount) {
        // A closed or hidden window cannot take the focus: leave it where it is.
        TimerWindow* w = window(code - FocusTimerTitleBase);
        if (w && w->isVisible())
            w->focusTitle();
        return;
    }
    owner_.focusField(code);
}

void TimerBoard::titleFocused(int slot)
{
    table_.lastFocus = int16_t(FocusTimerTitleBase + slot);
}

void TimerBoard::requestSound(int slot, Expiry expiry)
{
    if (expiry == Expiry::Restart)
        table_.raiseCycleSound(slot);
    else
        table_.raiseAlertSound(slot);
}

void TimerBoard::windowClosed(int slot)
{
    services_.notifier.withdraw(slot);
    // A request not yet taken belongs to this timer, not to the next one
    // launched into the slot.
    table_.alertSoundRequest[slot] = false;
    table_.cycleSoundRequest[slot] = false;
    table_.inUse[slot] = false;
    --table_.runningCount;
    owner_.runningCountChanged(table_.runningCount);
    tickTimers_[slot]->setEnabled(false);
    table_.winState[slot] = WinState::None;
    emit alertEnded(slot);
    emit hiddenChanged(anyHidden());
}

void TimerBoard::soundFailed(int slot)
{
    if (TimerWindow* w = window(slot))
        w->showSoundFailed();
}

std::optional<SoundPick> TimerBoard::timerSound(int slot) const
{
    if (const TimerWindow* w = window(slot))
        return w->sound();
    return std::nullopt;
}

} // namespace quandrel
